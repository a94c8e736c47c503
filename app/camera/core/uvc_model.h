#pragma once
// What a UVC camera of the maker's own library offers: its resolution table
// by camera type, and the sixteen numbered properties it keeps in section
// "UVC" of Config.ini.
#include <span>

#include "labelled_size.h"

inline constexpr int kUvcZelphaType = 0x5001;

// reportedCount: how many resolutions the library reports (asked only of
// type 0x5001 cameras); more than 4 gives that type its long table.
std::span<const LabelledSize> UvcResolutionTable(int cameraType, int reportedCount);

// The display name of a device of that type in the device list.
const wchar_t* UvcDeviceName(int cameraType);

// Property ids of the library.
enum class UvcProperty : int {
    brightness = 0,
    contrast = 1,
    hue = 2,
    saturation = 3,
    sharpness = 4,
    whiteBalance = 6,
    backlightCompensation = 7,
    zoom = 10,
    offsetY = 13,
    offsetX = 14,
    exposure = 15,
    gamma = 16,
    colourMode = 17,
    flip = 18,
    autoExposure = 19,
    autoWhiteBalance = 20,
};

struct UvcPropertyKey {
    UvcProperty id;
    const wchar_t* key;  // in section "UVC"
};

// Every property in the order an opened device is given them.
std::span<const UvcPropertyKey> UvcPropertiesInOpenOrder();
// Every property in the order the settings are written.
std::span<const UvcPropertyKey> UvcPropertiesInSaveOrder();
