#pragma once
// What the GigE camera hands its video-parameter dialog and reads back: the
// camera's values when the dialog opens, and what the library took while
// it was open.
#include <array>
#include <cstdint>

#include "cross_lines.h"
#include "gige_models.h"
#include "labelled_size.h"

struct GigeVideoParams {
    int cameraIndex = 0;
    std::uint32_t modelCode = 0;
    GigeColourKind colourKind = GigeColourKind::colour;
    bool cmos = false;
    bool zoomAllowed = true;
    bool offsetAllowed = false;
    int gainR = 8, gainG = 8, gainB = 8, gainAll = 32;
    int contrast = 32;
    int exposure = 480;
    int offsetH = 0, offsetV = 0;
    int captureWidth = 0, captureHeight = 0;
    int maxWidth = 0, maxHeight = 0;
    int correcting = 0;
    int packetDelay = 0, packetSize = 1500, watchdog = 0;
    int hdr = 0, flip = 0, colourMode = 0, zoomMode = 0, speedMode = 0, validBits = 0, aeLevel = 1;
    SingleCross cross;
    int aeLiving = 0;
    ExposureRange exposureRange{1, 1000000};
    int saturation = 8, sharpness = 1;
    int paramFileIndex = -1;
    std::array<int, 3> whiteBalance{1, 1, 1};
};
