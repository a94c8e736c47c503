// Pieces of the software auto exposure: the blinking mark drawn into the raw
// frame, the brightness peak of the measurement window, the target windows
// and the next exposure. The loop that strings them together lives in
// CImageAlgorithm.
#pragma once

#include <cstdint>
#include <span>

#include "frame_layout.h"

namespace kqge {

// The mark is a 50 x 50 block at rows 50..99 and columns width-100 ..
// width-51, drawn only on frames at least 100 x 100.
inline constexpr int kAeMarkMinSize = 100;

// Adds 100 (200 on an odd countdown) to each byte of the mark, wrapping as
// a byte does; on 16-bit samples 1024 (2048), wrapping at 16 bits.
void DrawAeMark(FrameSize size, int bytesPerSample, int countdown, std::span<std::uint8_t> raw);

// The largest of the blue, red and green site means over the centred
// 640 x 480 window (the whole frame when smaller), each the sum over the
// window's 2 x 2 cells divided by the cell count + 1. 16-bit samples are
// divided by 16 first. 0 for a buffer smaller than the frame.
int AePeak(FrameSize size, int measurementPhase, int bytesPerSample, std::span<const std::uint8_t> raw);

struct AeWindow {
    int low;
    int high;
    bool Contains(int peak) const { return peak >= low && peak <= high; }
};

// Selector 0: 230..245, 2: 85..125, any other: 140..180.
AeWindow AeTargetWindow(int selector);

// The next exposure in register units: the last cur x t / (peak + 1) over
// t = low .. high - 1 that divides evenly, else cur x mid / (peak + 1); 0
// becomes 2 x cur. Kept within int32.
std::int32_t NextAeExposure(std::int32_t current, int peak, AeWindow window);

}  // namespace kqge
