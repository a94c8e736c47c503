#include "ruler_settings_store.h"

#include <algorithm>

#include "calibration_store.h"
#include "ini_file.h"
#include "ini_profile.h"
#include "units.h"

namespace {

constexpr const wchar_t* kRuler = L"Ruler";

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

}  // namespace

RulerSettingsFiles::RulerSettingsFiles(std::wstring configPath, std::wstring scalePath)
    : configPath_(std::move(configPath)), scalePath_(std::move(scalePath)) {}

RulerStoredSettings RulerSettingsFiles::ReadRuler() const {
    CIniFile ini;
    ini.m_strPath = configPath_;
    RulerStoredSettings s;
    ini.GetInt(s.rulerX, kRuler, L"RulerX", 100);
    ini.GetInt(s.rulerY, kRuler, L"RulerY", 100);
    int colour = 0;
    ini.GetInt(colour, kRuler, L"RulerColor", static_cast<int>(RGB(255, 255, 255)));
    s.colour = static_cast<COLORREF>(colour) & 0xFFFFFF;
    ini.GetInt(s.middle, kRuler, L"Middle", 0);
    ini.GetInt(s.show, kRuler, L"Show", 0);
    return s;
}

void RulerSettingsFiles::WriteRuler(const RulerStoredSettings& s, bool writeX, bool writeY) const {
    CIniFile ini;
    ini.m_strPath = configPath_;
    if (writeX) {
        ini.WriteInt(s.rulerX, kRuler, L"RulerX");
    }
    if (writeY) {
        ini.WriteInt(s.rulerY, kRuler, L"RulerY");
    }
    ini.WriteInt(static_cast<int>(s.colour), kRuler, L"RulerColor");
    ini.WriteInt(s.middle, kRuler, L"Middle");
    ini.WriteInt(s.show, kRuler, L"Show");
}

RulerCalibration RulerSettingsFiles::ReadCalibration(int index) const {
    CIniFile config;
    config.m_strPath = configPath_;
    RulerCalibration c;
    config.GetInt(c.decimals, L"Option", L"NF", 2);
    IniProfile scale(scalePath_);
    CalibrationStore store(scale);
    const int section = std::max(0, index);
    c.spacing = store.ReadRulerScale(section);
    if (const auto stored = section > 0 ? store.Read(section) : std::nullopt) {
        c.value = stored->value;
        c.unit = Wide(stored->unit);
        return c;
    }
    std::wstring unit;
    config.GetString(unit, L"CLdraw", L"Unit");
    const std::u16string text(unit.begin(), unit.end());
    c.unit = unit.empty() || unit == CIniFile::kMissing ? L"mm" : Wide(NormalizeUnit(text));
    return c;
}

void RulerSettingsFiles::WriteSpacing(int index, int spacing) const {
    IniProfile scale(scalePath_);
    CalibrationStore(scale).WriteRulerScale(std::max(0, index), spacing);
}
