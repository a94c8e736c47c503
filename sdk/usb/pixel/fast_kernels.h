// Row-streaming forms of the heavier per-frame kernels, compiled once per
// instruction set. Each gives byte for byte the result of its reference (the
// plain kernel named in its comment) and is tested against it; callers pick a
// table once with KernelsFor and never call a table their CPU does not
// support.
#pragma once

#include <cstddef>
#include <cstdint>

#include "simd_level.h"

namespace kqcmos {

struct LinearGainPair;

// 16-bit words of row scratch SharpenChainRows needs for frames `width` wide.
constexpr std::size_t SharpenChainScratchWords(int width) {
    return width <= 0 ? 0 : 20 * static_cast<std::size_t>(width);
}

struct FastKernels {
    // SharpenChainReference::Run on a 24-bit frame of at least 9 x 9 pixels,
    // in place, without its final CopyBorderFromInside: rows and columns 4 ..
    // size - 5 are final, the outer four are left as they were.
    void (*sharpenChainRows)(int width, int height, std::uint8_t* rgb, std::int16_t* scratch);
    // ApplySaturationReference with s other than 8 on a 24-bit frame of at
    // least 1 x 3 pixels.
    void (*saturationRows)(int width, int height, std::uint8_t* rgb, int s);
    // ApplySharpnessReference with s above 1 on a frame of at least 3 x 3
    // pixels, `step` bytes a pixel, with 2 x rowBytes bytes of scratch.
    void (*sharpnessRows)(int rowBytes, int height, int step, std::uint8_t* frame, int s, std::uint8_t* scratch);
    // ApplySaturationReference with saturation other than 8 and then
    // ApplySharpnessReference with sharpness above 1 on a 24-bit frame of at
    // least 3 x 3 pixels, with 2 x 3 x width bytes of scratch.
    void (*saturateSharpenRows)(int width, int height, std::uint8_t* rgb, int saturation, int sharpness,
                                std::uint8_t* scratch);
    // One output row of the BayerToRgbA members, width >= 2: `red` is the
    // raw row holding red, `blue` the one holding blue.
    void (*bayerColourRow)(int width, const std::uint8_t* red, const std::uint8_t* blue, bool mirrored,
                           std::uint8_t* out);
    // One raw row of `width` >= 1 samples through the gain tables (even and
    // odd columns), the flat field's row of gains and a table for every
    // byte, in that order, into `out`; a null `flatGains` or `after` skips
    // that step. Byte for byte ApplyGainLut, FlatFieldTable::Apply and
    // ApplyTable on that row. `linear`, when given, is the two tables as
    // lines (FitLinearGains), computed instead of looked up.
    void (*correctRawRow)(int width, const std::uint8_t* raw, const std::uint8_t* evenTable,
                          const std::uint8_t* oddTable, const LinearGainPair* linear, const std::int16_t* flatGains,
                          const std::uint8_t* after, std::uint8_t* out);
    // bayerColourRow with the colour of `red` written in the blue bytes and
    // that of `blue` in the red bytes.
    void (*bayerColourRowExchanged)(int width, const std::uint8_t* red, const std::uint8_t* blue, bool mirrored,
                                    std::uint8_t* out);
};

const FastKernels& KernelsSse2();
const FastKernels& KernelsAvx2();

// The table for `level`; the caller has checked CpuSupports(level).
const FastKernels& KernelsFor(SimdLevel level);

}  // namespace kqcmos
