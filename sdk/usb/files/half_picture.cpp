#include "files/half_picture.h"

#include <algorithm>
#include <cstddef>

namespace kq::files {

bool HalvePicture(std::span<const std::uint8_t> picture, std::int32_t width, std::int32_t height,
                  std::int32_t bytesPerPixel, std::span<std::uint8_t> half) {
    if (width <= 0 || height <= 0 || bytesPerPixel <= 0) return false;
    const auto bpp = static_cast<std::size_t>(bytesPerPixel);
    const auto row = static_cast<std::size_t>(width) * bpp;
    const HalfSize size = HalfOf(width, height);
    const auto halfRow = static_cast<std::size_t>(size.width) * bpp;
    if (picture.size() < row * static_cast<std::size_t>(height)) return false;
    if (half.size() < halfRow * static_cast<std::size_t>(size.height)) return false;
    for (std::size_t y = 0; y < static_cast<std::size_t>(size.height); ++y) {
        const std::uint8_t* from = picture.data() + 2 * y * row;
        std::uint8_t* to = half.data() + y * halfRow;
        for (std::size_t x = 0; x < static_cast<std::size_t>(size.width); ++x) {
            std::copy_n(from + 2 * x * bpp, bpp, to + x * bpp);
        }
    }
    return true;
}

}  // namespace kq::files
