// The correction and tone step on the raw Bayer frame: a per-cell correction
// of the phase's two diagonal sites (the convert flag) and the tone curve on
// every sample (the HDR flag).
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "frame_layout.h"

namespace kqge {

using ToneCurve = std::array<std::uint8_t, 256>;

// The piecewise-linear curve that lifts the shadows: 0 -> 0, 40 -> 70,
// 255 -> 255.
const ToneCurve& HdrToneCurve();

// Runs on every whole 2 x 2 cell of an 8-bit raw frame: with `convert` the
// two passes over the phase's corrected and reference sites and the greens,
// then with `hdr` the tone curve on all four samples. Nothing when both are
// off or the buffer is smaller than the frame.
void CorrectAndTone(FrameSize size, int measurementPhase, bool convert, bool hdr, std::span<std::uint8_t> raw);

}  // namespace kqge
