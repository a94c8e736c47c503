#pragma once
// A host of the measuring ruler for tests: sizes and calibration chosen by
// the test, repaints counted; Config.ini and scale.ini in a folder of the
// test's own.
#include <windows.h>

#include <filesystem>
#include <string>

#include "calibration_store.h"
#include "ini_profile.h"
#include "ruler_overlay_host.h"

namespace ruler_testing {

class TestHost : public IRulerOverlayHost {
public:
    RulerSizes GetRulerSizes() const override { return sizes; }
    int GetCalibrationIndex() const override { return calibration; }
    void RedrawRuler() override { ++redraws; }

    RulerSizes sizes{200, 100, 200, 100};
    int calibration = 1;
    int redraws = 0;
};

class RulerFiles {
public:
    RulerFiles() {
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
    }
    ~RulerFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    void SetRuler(const wchar_t* key, int value) const { SetConfig(L"Ruler", key, std::to_wstring(value)); }
    void SetConfig(const wchar_t* section, const wchar_t* key, const std::wstring& value) const {
        WritePrivateProfileStringW(section, key, value.c_str(), Config().c_str());
    }
    std::wstring ConfigText(const wchar_t* section, const wchar_t* key) const {
        wchar_t text[64] = {};
        GetPrivateProfileStringW(section, key, L"(missing)", text, 64, Config().c_str());
        return text;
    }
    // Calibration 1: "10x", 0.5 μm per pixel, with this ruler spacing text.
    void SaveCalibration(const char16_t* value, const char16_t* spacing) const {
        IniProfile file(Scale());
        CalibrationStore store(file);
        store.Save(u"10x", 0.5f, u"\u03bcm", 200, 100);
        file.Write(u"scl_1", u"Value", value);
        file.Write(u"scl_1", u"RulerScale", spacing);
    }
    std::u16string ScaleText(const char16_t* section, const char16_t* key) const {
        IniProfile file(Scale());
        return file.Read(section, key).value_or(u"(missing)");
    }
    std::wstring Config() const { return (root / L"Config.ini").wstring(); }
    std::wstring Scale() const { return (root / L"scale.ini").wstring(); }

    std::filesystem::path root = std::filesystem::temp_directory_path() / L"vizcam_ruler_overlay";
};

}  // namespace ruler_testing
