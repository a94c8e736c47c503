#pragma once
// LogFont as the platform's LOGFONTW (Windows only).
#include <windows.h>

#include <algorithm>

#include "log_font.h"

inline LOGFONTW ToLogFontW(const LogFont& font) {
    LOGFONTW lf{};
    lf.lfHeight = font.height;
    lf.lfWidth = font.width;
    lf.lfEscapement = font.escapement;
    lf.lfOrientation = font.orientation;
    lf.lfWeight = font.weight;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfStrikeOut = font.strikeOut;
    lf.lfCharSet = font.charSet;
    lf.lfOutPrecision = font.outPrecision;
    lf.lfClipPrecision = font.clipPrecision;
    lf.lfQuality = font.quality;
    lf.lfPitchAndFamily = font.pitchAndFamily;
    const std::u16string_view face = font.FaceName();
    std::copy(face.begin(), face.end(), lf.lfFaceName);
    return lf;
}

inline LogFont FromLogFontW(const LOGFONTW& lf) {
    LogFont font;
    font.height = lf.lfHeight;
    font.width = lf.lfWidth;
    font.escapement = lf.lfEscapement;
    font.orientation = lf.lfOrientation;
    font.weight = lf.lfWeight;
    font.italic = lf.lfItalic;
    font.underline = lf.lfUnderline;
    font.strikeOut = lf.lfStrikeOut;
    font.charSet = lf.lfCharSet;
    font.outPrecision = lf.lfOutPrecision;
    font.clipPrecision = lf.lfClipPrecision;
    font.quality = lf.lfQuality;
    font.pitchAndFamily = lf.lfPitchAndFamily;
    font.SetFaceName(std::u16string_view(reinterpret_cast<const char16_t*>(lf.lfFaceName)));
    return font;
}
