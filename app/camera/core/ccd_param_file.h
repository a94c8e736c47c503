#pragma once
// A CCD parameter file (section "CCD" of "Params\CCD\<preset>.ini"): the
// values it carries with the defaults a missing key reads as, what applying
// it resets, and what copying it into the program's settings writes.
//
// Copying writes exactly what applying the file gives the camera, with the
// same defaults, so the settings at the next start are the ones the user
// just saw: the analogue gains and "Control" as the single bytes the camera
// takes, and a missing "Gamma", "Saturation" or "Sharpness" as 16, 8 and 1.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

// Reads an integer key of the file, `fallback` when it is missing.
using ParamFileReader = std::function<int(const wchar_t* key, int fallback)>;

struct CcdParamFile {
    int exposure = 200;
    std::uint8_t gainRed = 32;  // the low byte of "Gain_R"
    std::uint8_t gainGreen = 32;
    std::uint8_t gainBlue = 32;
    int gainAD = 100;
    int contrast = 16;
    int gamma = 16;
    std::uint8_t control = 0;  // option bits
    int sharpness = 1;
    int saturation = 8;
    int colourMode = 0;       // "ColorKinds"
    int flip = 0;             // "FilpKinds"
    int whiteBalanceRed = 1;  // "AVGR", "AVGG", "AVGB"
    int whiteBalanceGreen = 1;
    int whiteBalanceBlue = 1;
};

CcdParamFile ReadCcdParamFile(const ParamFileReader& read);

// A white-balance value the library takes back: 2 to 255.
bool IsWhiteBalanceValue(int value);
// Applying the file resets the library's white balance only when all three
// of its values are white-balance values.
bool ResetsWhiteBalance(const CcdParamFile& file);

struct SettingValue {
    std::wstring_view key;
    int value;

    friend bool operator==(const SettingValue&, const SettingValue&) = default;
};

// What copying the file into section "CCD" of Config.ini writes, in order.
std::vector<SettingValue> CcdStartupSettings(const CcdParamFile& file);
