#pragma once
// The USB CMOS parameter files (section "CMOSE" of "Params\CMOSE\<name>.ini"
// in the program folder): their keys with the defaults a missing key gives,
// the analogue gains a file sets for a device type, and the start-up
// settings (section "CMOS" of Config.ini) a file becomes. Platform-free: the
// caller reads and writes the INI files.
#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

inline constexpr const wchar_t* kCmosParamSection = L"CMOSE";

struct CmosParamValues {
    int exposure = 200;
    int gainR = 32;  // digital gains: the user gains
    int gainG = 32;
    int gainB = 32;
    int gainAD = 100;  // analogue gain, its low byte
    int contrast = 16;
    int gamma = 16;
    int control = 0;  // one byte: the capture record's option bits
    int sharpness = 1;
    int saturation = 8;
    int colorKinds = 0;
    int flipKinds = 0;
};

// Reads an int key with a default, as the caller's INI file answers.
using ParamKeyReader = std::function<int(const wchar_t* key, int defaultValue)>;

// Every key of a parameter file, with the defaults above.
CmosParamValues ReadCmosParamValues(const ParamKeyReader& read);

// The analogue gains (red, green, blue) a file sets: device type 15 takes
// each channel's own value, or 32 from 128 on; every other type the low
// byte of "Gain_AD" for all three.
std::array<std::uint8_t, 3> AnalogueGainsOf(int deviceType, const CmosParamValues& values);

struct SettingsKeyValue {
    const wchar_t* key;
    int value;

    friend bool operator==(const SettingsKeyValue&, const SettingsKeyValue&) = default;
};

// What a file becomes as start-up settings of a camera of this device type:
// exactly what applying it sets, under the keys the camera's settings read
// back — the digital gains as "U_R", "U_G", "U_B", the analogue gains as
// the red (device type 16: "Gain_All120"), green and blue gain keys, the
// sharpness as "SharpYUV" for device type 15, the option bits as their low
// byte.
std::vector<SettingsKeyValue> CmosStartupSettingsOf(int deviceType, const CmosParamValues& values);
