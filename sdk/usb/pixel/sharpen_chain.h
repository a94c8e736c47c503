// The edge-gated sharpening chain of colour mode 1: a Laplacian sharpening of
// each colour plane applied only where the summed colour is busy, so flat
// areas keep their noise level. The steps are separate functions on planes
// so they can be checked one by one; SharpenChain owns the work planes.
//
// Every 16-bit step saturates at -32768 and 32767. Steps that look at the
// 3 x 3 neighbourhood compute rows 1 .. height - 2 and columns 1 .. width - 2
// only and write 0 (or, for SharpenGated, the input) on the border, so no
// step reads outside its plane.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "fast_kernels.h"
#include "frame_size.h"
#include "simd_level.h"

namespace kqcmos {

inline constexpr int kSharpenActivityThreshold = 1000;

using BytePlane = std::span<std::uint8_t>;
using ConstBytePlane = std::span<const std::uint8_t>;
using WordPlane = std::span<std::int16_t>;
using ConstWordPlane = std::span<const std::int16_t>;

// Byte 0, 1 and 2 of each pixel of a 24-bit picture into three planes, and back.
void SplitPlanes(FrameSize size, ConstBytePlane rgb, BytePlane plane0, BytePlane plane1, BytePlane plane2);
void MergePlanes(FrameSize size, BytePlane rgb, ConstBytePlane plane0, ConstBytePlane plane1, ConstBytePlane plane2);

// (2v + 2 x (N + S + E + W) + (NE + NW + SE + SW)) / 16 for rows 1 .. height - 3
// and columns 1 .. width - 2; other samples are copied.
void SmoothPlane(FrameSize size, BytePlane out, ConstBytePlane in);

void WidenPlane(FrameSize size, WordPlane out, ConstBytePlane in);
void AddPlanes3(FrameSize size, WordPlane sum, ConstWordPlane a, ConstWordPlane b, ConstWordPlane c);
void BoxSum3x3(FrameSize size, WordPlane out, ConstWordPlane in);
// A(x) = sum over the 3 x 3 neighbourhood p of |9 x S(p) - B(x)|.
void ActivityMeasure(FrameSize size, WordPlane activity, ConstWordPlane sum, ConstWordPlane box);
// out = P + (9P - Q) where A > kSharpenActivityThreshold, else P.
void SharpenGated(FrameSize size, WordPlane out, ConstWordPlane plane, ConstWordPlane box, ConstWordPlane activity);
// Each word limited to 0..255.
void NarrowPlane(FrameSize size, BytePlane out, ConstWordPlane in);

inline constexpr int kSharpenChainMinSize = 9;

// The steps above in order on whole planes: the chain as they define it, the
// reference SharpenChain is checked against.
class SharpenChainReference {
public:
    // Allocates every work plane for frames up to `maxSize`.
    explicit SharpenChainReference(FrameSize maxSize);

    // Smooths, sharpens and merges a 24-bit picture in place, then copies the
    // outer 4 rows and columns from their inner neighbours. False (frame
    // untouched) when the frame is smaller than kSharpenChainMinSize or larger
    // than the planes.
    [[nodiscard]] bool Run(FrameSize size, std::span<std::uint8_t> rgb);

private:
    std::size_t capacity_;
    std::vector<std::uint8_t> bytes_[3];
    std::vector<std::uint8_t> smoothed_;
    std::vector<std::int16_t> words_[3];
    std::vector<std::int16_t> sum_;
    std::vector<std::int16_t> sumBox_;
    std::vector<std::int16_t> activity_;
    std::vector<std::int16_t> planeBox_;
    std::vector<std::int16_t> sharpened_;
};

// The same chain in one pass over the rows, with a few rows of scratch: the
// result is byte for byte SharpenChainReference's.
class SharpenChain {
public:
    static constexpr int kMinSize = kSharpenChainMinSize;

    // Allocates row scratch for frames up to `maxSize`; runs the kernels of
    // `level`, which the CPU must support.
    explicit SharpenChain(FrameSize maxSize, SimdLevel level = BestSimdLevel());

    // As SharpenChainReference::Run; also false (frame untouched) for a
    // frame wider than `maxSize` or with more pixels.
    [[nodiscard]] bool Run(FrameSize size, std::span<std::uint8_t> rgb);

private:
    FrameSize maxSize_;
    const FastKernels* kernels_;
    std::vector<std::int16_t> scratch_;
};

// Copies the outer `border` rows and columns of a picture from the nearest
// row or column inside them.
void CopyBorderFromInside(FrameSize size, int bytesPerPixel, int border, std::span<std::uint8_t> frame);

}  // namespace kqcmos
