#pragma once
// The registry values the device library writes for a camera model, as its
// users find them: the tests' own list, not the library's.

#include <array>

namespace twain::test {

inline constexpr std::array<const char*, 40> kSavedValueNames{
    "HOffset320",  "HOffset640",    "HOffset768", "HOffset800",  "HOffset1024", "HOffset1280", "HOffset1600",
    "HOffset2048", "VOffset240",    "VOffset480", "VOffset576",  "VOffset600",  "VOffset768",  "VOffset1024",
    "VOffset1200", "VOffset1536",   "RedGain",    "GreenGain",   "BlueGain",    "U_R",         "U_G",
    "U_B",         "Exposure",      "Endian",     "ZoomMode",    "ClearView",   "SharpView",   "ConAe",
    "SizeMode",    "SensitiveMode", "BW",         "ColorAdjust", "Gamma",       "GammaValue",  "WinMode",
    "UpDownRev",   "HDR",           "XWJ",        "SubSample",   "SubPixel",
};

}  // namespace twain::test
