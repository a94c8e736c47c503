// Row-streaming forms of the model cameras' colour kernels, compiled once
// per instruction set like the fast kernels. Each gives byte for byte the
// result of its reference (named in its comment) and is tested against it.
#pragma once

#include <cstdint>

#include "simd_level.h"

namespace kqcmos {

// The largest contrast magnitude whose products stay within 16-bit lanes in
// contrastRgbFrame; callers take the reference beyond it.
inline constexpr int kFastContrastLimit = 40;

struct ModelKernels {
    // BayerToRgbContrastReference on a frame of at least 2 x 2 pixels with
    // |c| (the contrast already through ContrastValue) at most
    // kFastContrastLimit; `phase` 0, 1 or 2 as ContrastPhase.
    void (*contrastRgbFrame)(int width, int height, std::uint8_t* raw, std::uint8_t* out, int c, int phase);
    // One source row of ConvertYuvFrame's conversion (width even, at least
    // 4) into the output row starting at `out`, each pixel x at column x, or
    // at width - 1 - x when mirrored.
    void (*yuvRow)(int width, const std::uint8_t* row, bool mirrored, std::uint8_t* out);
};

const ModelKernels& ModelKernelsSse2();
const ModelKernels& ModelKernelsAvx2();

// The table for `level`; the caller has checked CpuSupports(level).
const ModelKernels& ModelKernelsFor(SimdLevel level);

}  // namespace kqcmos
