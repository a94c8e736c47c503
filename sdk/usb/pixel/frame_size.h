// Geometry of a frame held in a caller-owned byte buffer, and the checks every
// kernel runs before touching it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kqcmos {

struct FrameSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const FrameSize&, const FrameSize&) = default;
};

// Bytes of a frame of `size` with `bytesPerPixel` bytes per pixel, no row
// padding; 0 for a size that is not positive.
constexpr std::size_t FrameBytes(FrameSize size, int bytesPerPixel = 1) {
    if (size.width <= 0 || size.height <= 0 || bytesPerPixel <= 0) {
        return 0;
    }
    return static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height) *
           static_cast<std::size_t>(bytesPerPixel);
}

// True when `buffer` holds a whole frame of at least `minWidth` x `minHeight`.
template <typename T>
constexpr bool HoldsFrame(std::span<T> buffer, FrameSize size, int bytesPerPixel = 1, int minWidth = 1,
                          int minHeight = 1) {
    return size.width >= minWidth && size.height >= minHeight && buffer.size() >= FrameBytes(size, bytesPerPixel);
}

constexpr std::uint8_t ClampToByte(int v) { return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

}  // namespace kqcmos
