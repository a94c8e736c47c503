#include <windows.h>

#include "log_font.h"

LogFont SystemLogFont() {
    LOGFONTW lf{};
    ::GetObjectW(::GetStockObject(SYSTEM_FONT), sizeof lf, &lf);
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
