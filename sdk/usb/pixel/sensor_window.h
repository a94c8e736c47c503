// Where a frame lies on the sensor. Tables that outlive a window change
// (flat field, bad pixels) are kept in sensor coordinates and reach a frame
// through its origin.
#pragma once

#include "frame_size.h"

namespace kqcmos {

struct SensorWindow {
    int columnStart = 0;
    int rowStart = 0;
    FrameSize size;
    friend bool operator==(const SensorWindow&, const SensorWindow&) = default;
};

struct SensorPoint {
    int column = 0;
    int row = 0;
};

// Sensor position of the frame's pixel (0, 0). The readout starts on a whole
// Bayer cell, so the window start is rounded down to even.
constexpr SensorPoint FrameOrigin(const SensorWindow& window) {
    return {window.columnStart & ~1, window.rowStart & ~1};
}

}  // namespace kqcmos
