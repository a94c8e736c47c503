#include "frame_copy.h"

#include <algorithm>
#include <cstring>

namespace twain {

std::size_t DibRowBytes(std::int32_t width, std::int32_t bitsPerPixel) {
    if (width <= 0 || bitsPerPixel <= 0) return 0;
    return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32) * 4;
}

std::size_t PackedFrameBytes(const FrameShape& shape) {
    if (shape.width <= 0 || shape.height <= 0 || shape.bitsPerPixel <= 0) return 0;
    return static_cast<std::size_t>(shape.width) * static_cast<std::size_t>(shape.bitsPerPixel / 8) *
           static_cast<std::size_t>(shape.height);
}

std::size_t CopyFrameToDib(std::span<const std::uint8_t> topDown, const FrameShape& shape,
                           std::span<std::uint8_t> dib) {
    const std::size_t packed = PackedFrameBytes(shape);
    if (packed == 0 || topDown.size() < packed) return 0;
    const std::size_t sourceRow = packed / static_cast<std::size_t>(shape.height);
    const std::size_t dibRow = DibRowBytes(shape.width, shape.bitsPerPixel);
    std::size_t written = 0;
    for (std::int32_t row = 0; row < shape.height && written < dib.size(); ++row) {
        const std::uint8_t* source = topDown.data() + static_cast<std::size_t>(shape.height - 1 - row) * sourceRow;
        const std::size_t room = std::min(dibRow, dib.size() - written);
        const std::size_t pixels = std::min(sourceRow, room);
        std::memcpy(dib.data() + written, source, pixels);
        std::memset(dib.data() + written + pixels, 0, room - pixels);
        written += room;
    }
    return written;
}

}  // namespace twain
