#pragma once
// What the USB CMOS and CCD cameras hand their video-parameter dialog and
// read back: the camera's values when the dialog opens, and what the
// library took while it was open.
#include <windows.h>

#include <array>
#include <functional>
#include <optional>

#include "KQCMOSu.h"
#include "cross_lines.h"
#include "labelled_size.h"
#include "video_param_rules.h"

struct UsbVideoParams {
    HANDLE device = nullptr;
    UsbCameraFacts facts;
    // The camera's capture record: left alone while the dialog runs (Cancel
    // sends it back), read back from the library on OK.
    KQ_CAPINFO capInfo{};
    std::array<int, 3> userGains{500, 500, 500};  // USB CMOS red, green, blue
    int contrast = 16, gamma = 16, saturation = 8, sharpness = 1;
    int flip = 0, colourMode = 0, colourAdjust = 0, aeLevel = 0, validBits = 0;
    int lightAverage = 0, hdr = 0, applyCorrection = 0, offCentre = 0;
    SingleCross cross;
    int aeLiving = 0;
    // The lowest step and highest exposure in time units; none for line counts.
    std::optional<ExposureRange> exposureRange;
    int dialogMode = 0;
    int paramFileIndex = -1;
    std::array<int, 3> whiteBalance{1, 1, 1};  // CCD
    // Changes the colour mode through the camera, which draws its crosshairs
    // into the frames that mode delivers (an 8-bit mode delivers a third of
    // the bytes); the library's code.
    std::function<int(int)> sendColourMode;
};
