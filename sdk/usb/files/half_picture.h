#pragma once
// Half-size pictures for the zoomed snapshots: the sample at every even row
// and even column of the source remains.

#include <cstdint>
#include <span>

namespace kq::files {

struct HalfSize {
    std::int32_t width = 0, height = 0;
};

constexpr HalfSize HalfOf(std::int32_t width, std::int32_t height) { return {width / 2, height / 2}; }

// `picture` holds height rows of width pixels of `bytesPerPixel` bytes
// without gaps; `half` receives HalfOf(width, height) rows the same way.
// False when either buffer is too small for its picture.
bool HalvePicture(std::span<const std::uint8_t> picture, std::int32_t width, std::int32_t height,
                  std::int32_t bytesPerPixel, std::span<std::uint8_t> half);

}  // namespace kq::files
