#include "crop_window.h"

#include <algorithm>

namespace kq {

std::optional<CropBlock> PlaceCrop(const CropRequest& crop, std::int32_t flipMode, kqcmos::FrameSize frame) {
    const std::int64_t W = frame.width, H = frame.height;
    const std::int64_t x = crop.x, y = crop.y, w = crop.width, h = crop.height;
    std::int64_t column = x, row = y, bw = w, bh = h;
    switch (flipMode) {
    case 1: column = W - x - w; break;
    case 2: row = H - y - h; break;
    case 3:
        column = W - x - w;
        row = H - y - h;
        break;
    case 4:
        column = y;
        row = W - x - w;
        bw = h;
        bh = w;
        break;
    case 5:
        column = H - y - h;
        row = x;
        bw = h;
        bh = w;
        break;
    default: break;
    }
    if (w <= 0 || h <= 0 || column < 0 || row < 0 || column + bw > W || row + bh > H) return std::nullopt;
    return CropBlock{static_cast<std::int32_t>(column), static_cast<std::int32_t>(row), static_cast<std::int32_t>(bw),
                     static_cast<std::int32_t>(bh)};
}

bool CopyCrop(const CropBlock& block, kqcmos::FrameSize frame, int bytesPerPixel, std::span<const std::uint8_t> picture,
              std::span<std::uint8_t> out) {
    const std::size_t rowBytes = static_cast<std::size_t>(frame.width) * bytesPerPixel;
    const std::size_t blockRowBytes = static_cast<std::size_t>(block.width) * bytesPerPixel;
    if (picture.size() < rowBytes * frame.height || out.size() < blockRowBytes * block.height) return false;
    for (std::int32_t r = 0; r < block.height; ++r) {
        const auto from = picture.subspan((block.row + r) * rowBytes + block.column * bytesPerPixel, blockRowBytes);
        std::copy(from.begin(), from.end(), out.begin() + r * blockRowBytes);
    }
    return true;
}

}  // namespace kq
