// The controller's settings in Config.ini: drawing style, label font and
// print settings, read at construction and written after a setting dialog.
#include <string>

#include "calibration_store.h"
#include "image_controller.h"
#include "ini_profile.h"
#include "units.h"

namespace {

constexpr const wchar_t* kDrawSection = L"CLdraw";
constexpr const wchar_t* kOptionSection = L"Option";
constexpr const wchar_t* kPrintSection = L"Print";
constexpr const wchar_t* kFontSection = L"FSet";

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// A missing key reads as "NULL"; that and an empty text mean the default
// unit rather than a unit called "NULL".
std::u16string ReadUnit(CIniFile& ini, const wchar_t* section, const wchar_t* key) {
    std::wstring text;
    ini.GetString(text, section, key);
    return std::u16string(NormalizeUnit(std::u16string(text.begin(), text.end())));
}

int ReadInt(CIniFile& ini, const wchar_t* section, const wchar_t* key, int fallback) {
    int value = 0;
    return ini.GetInt(value, section, key, fallback);
}

COLORREF ReadColour(CIniFile& ini, const wchar_t* key, COLORREF fallback) {
    return static_cast<COLORREF>(ReadInt(ini, kDrawSection, key, static_cast<int>(fallback)));
}

void ReadByte(CIniFile& ini, std::uint8_t& field, const wchar_t* key) { ini.GetInt(field, kFontSection, key, field); }

// Keys that are missing keep the field of `font`.
void ReadFont(CIniFile& ini, LogFont& font) {
    font.height = ReadInt(ini, kFontSection, L"He", font.height);
    font.width = ReadInt(ini, kFontSection, L"Wi", font.width);
    font.escapement = ReadInt(ini, kFontSection, L"Es", font.escapement);
    font.orientation = ReadInt(ini, kFontSection, L"Or", font.orientation);
    font.weight = ReadInt(ini, kFontSection, L"We", font.weight);
    ReadByte(ini, font.italic, L"It");
    ReadByte(ini, font.underline, L"Un");
    ReadByte(ini, font.strikeOut, L"St");
    ReadByte(ini, font.charSet, L"Ch");
    ReadByte(ini, font.outPrecision, L"Ou");
    ReadByte(ini, font.clipPrecision, L"Cl");
    ReadByte(ini, font.quality, L"Qu");
    ReadByte(ini, font.pitchAndFamily, L"Pi");
    // The face name fits the font's 31 characters and its terminator.
    wchar_t face[LogFont::kFaceChars + 1] = {};
    const std::wstring current = Wide(font.FaceName());
    ini.GetFaceName(face, kFontSection, current.c_str());
    font.SetFaceName(std::u16string_view(reinterpret_cast<const char16_t*>(face)));
}

void WriteFont(CIniFile& ini, const LogFont& font) {
    ini.WriteInt(font.height, kFontSection, L"He");
    ini.WriteInt(font.width, kFontSection, L"Wi");
    ini.WriteInt(font.escapement, kFontSection, L"Es");
    ini.WriteInt(font.orientation, kFontSection, L"Or");
    ini.WriteInt(font.weight, kFontSection, L"We");
    ini.WriteInt(font.italic, kFontSection, L"It");
    ini.WriteInt(font.underline, kFontSection, L"Un");
    ini.WriteInt(font.strikeOut, kFontSection, L"St");
    ini.WriteInt(font.charSet, kFontSection, L"Ch");
    ini.WriteInt(font.outPrecision, kFontSection, L"Ou");
    ini.WriteInt(font.clipPrecision, kFontSection, L"Cl");
    ini.WriteInt(font.quality, kFontSection, L"Qu");
    ini.WriteInt(font.pitchAndFamily, kFontSection, L"Pi");
    ini.WriteString(Wide(font.FaceName()).c_str(), kFontSection, L"Fa");
}

}  // namespace

// A missing key gives the value a new controller has.
void CImageController::LoadSettings() {
    CIniFile& ini = settings_;
    penStyle = ReadInt(ini, kDrawSection, L"PenType", PS_SOLID);
    lineWidth = ReadInt(ini, kDrawSection, L"LW", 1);
    drawColour = ReadColour(ini, L"Color", 0);
    selectedColour = ReadColour(ini, L"SColor", RGB(200, 0, 0));
    labelBoxShown = ReadInt(ini, kDrawSection, L"TB", 1);
    labelBoxColour = ReadColour(ini, L"TBColor", 0x649664);
    labelMode = ReadInt(ini, kDrawSection, L"LT", CCLObject::kLabelAll);
    unitText = ReadUnit(ini, kDrawSection, L"Unit");
    decimals = ReadInt(ini, kOptionSection, L"NF", 2);
    thOption = ReadInt(ini, kOptionSection, L"TH", 0);
    printMagnification = ReadInt(ini, kPrintSection, L"PScl", 1);
    ini.GetFloat(printScale, kPrintSection, L"PBS", 1);
    printUnitText = ReadUnit(ini, kPrintSection, L"PUnit");
    labelFont = SystemLogFont();
    ReadFont(ini, labelFont);
}

void CImageController::SaveSettings() {
    CIniFile& ini = settings_;
    // A new Config.ini holds the unit texts ("μm") as they are.
    EnsureUnicodeIniFile(ini.m_strPath);
    ini.WriteInt(penStyle, kDrawSection, L"PenType");
    ini.WriteInt(lineWidth, kDrawSection, L"LW");
    ini.WriteInt(static_cast<int>(drawColour), kDrawSection, L"Color");
    ini.WriteInt(static_cast<int>(selectedColour), kDrawSection, L"SColor");
    ini.WriteInt(labelBoxShown, kDrawSection, L"TB");
    ini.WriteInt(static_cast<int>(labelBoxColour), kDrawSection, L"TBColor");
    ini.WriteInt(labelMode, kDrawSection, L"LT");
    ini.WriteString(Wide(unitText).c_str(), kDrawSection, L"Unit");
    ini.WriteInt(decimals, kOptionSection, L"NF");
    ini.WriteInt(thOption, kOptionSection, L"TH");
    ini.WriteInt(printMagnification, kPrintSection, L"PScl");
    // "%f" would keep six decimals: a scale of 0.0000625 would read back as
    // 0.000063.
    ini.WriteString(Wide(CalibrationStore::FormatValue(printScale)).c_str(), kPrintSection, L"PBS");
    ini.WriteString(Wide(printUnitText).c_str(), kPrintSection, L"PUnit");
    WriteFont(ini, labelFont);
}

void CImageController::LoadStartupSettings() {
    LoadSettings();
    counterColourKey = ReadInt(settings_, kDrawSection, L"CColor", 0);
}
