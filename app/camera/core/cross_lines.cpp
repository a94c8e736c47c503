#include "colour_ref.h"
#include "cross_lines.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

bool IsDrawable(const CameraFrame& frame) {
    if (frame.width <= 0 || frame.height <= 0) {
        return false;
    }
    if (frame.bitsPerPixel != 8 && frame.bitsPerPixel != 16 && frame.bitsPerPixel != 24) {
        return false;
    }
    const std::uint64_t needed =
        std::uint64_t(frame.width) * std::uint64_t(frame.height) * std::uint64_t(frame.bitsPerPixel / 8);
    return frame.bytes.size() >= needed;
}

// Wide arithmetic: offsets come from Config.ini and may be any int.
int ClampTo(std::int64_t value, int size) { return static_cast<int>(std::clamp<std::int64_t>(value, 0, size - 1)); }

// The whole row `row` and the whole column `column` in one colour.
void DrawPair(const CameraFrame& frame, int column, int row, ColourRef colour) {
    const std::size_t pixelBytes = std::size_t(frame.bitsPerPixel / 8);
    const std::size_t stride = std::size_t(frame.width) * pixelBytes;
    std::uint8_t* const base = frame.bytes.data();
    std::uint8_t* const rowStart = base + std::size_t(row) * stride;
    std::uint8_t* const columnStart = base + std::size_t(column) * pixelBytes;
    if (pixelBytes == 3) {
        const std::uint8_t bgr[3] = {std::uint8_t(colour >> 16), std::uint8_t(colour >> 8), std::uint8_t(colour)};
        for (std::size_t x = 0; x < std::size_t(frame.width); ++x) {
            std::memcpy(rowStart + x * 3, bgr, 3);
        }
        for (std::size_t y = 0; y < std::size_t(frame.height); ++y) {
            std::memcpy(columnStart + y * stride, bgr, 3);
        }
        return;
    }
    const std::uint8_t grey = GreyOfColour(colour);
    if (pixelBytes == 2 && frame.sixteenBitGrey == SixteenBitGrey::tenBitHighFirst) {
        const std::uint8_t sample[2] = {std::uint8_t(grey >> 6), std::uint8_t((grey << 2) & 0xFF)};
        for (std::size_t x = 0; x < std::size_t(frame.width); ++x) {
            std::memcpy(rowStart + x * 2, sample, 2);
        }
        for (std::size_t y = 0; y < std::size_t(frame.height); ++y) {
            std::memcpy(columnStart + y * stride, sample, 2);
        }
        return;
    }
    // 8 and 16 bits: the grey goes into every byte of the pixel.
    std::memset(rowStart, grey, stride);
    for (std::size_t y = 0; y < std::size_t(frame.height); ++y) {
        std::memset(columnStart + y * stride, grey, pixelBytes);
    }
}

}  // namespace

std::uint8_t GreyOfColour(ColourRef colour) {
    const double red = colour & 0xFF;
    const double green = (colour >> 8) & 0xFF;
    const double blue = (colour >> 16) & 0xFF;
    return static_cast<std::uint8_t>(0.299 * red + 0.587 * green + 0.114 * blue + 0.5);
}

bool DrawCrossLines(const CameraFrame& frame, std::span<const CrossLineEntry> entries) {
    if (!IsDrawable(frame)) {
        return false;
    }
    for (const CrossLineEntry& entry : entries) {
        if (entry.draw == 0) {
            continue;
        }
        const bool centred = entry.centre != 0;
        const int column = ClampTo(centred ? frame.width / 2 : std::int64_t{entry.xOffset}, frame.width);
        const int row = ClampTo(centred ? frame.height / 2 : std::int64_t{frame.height} - entry.yOffset, frame.height);
        DrawPair(frame, column, row, entry.colour);
    }
    return true;
}

bool DrawSingleCross(const CameraFrame& frame, const SingleCross& cross, ColourRef colour) {
    if (!IsDrawable(frame)) {
        return false;
    }
    if (!cross.on) {
        return true;
    }
    const int column = ClampTo(cross.centred ? frame.width / 2 : std::int64_t{cross.x}, frame.width);
    const int row = ClampTo(cross.centred ? frame.height / 2 : std::int64_t{frame.height} - cross.y, frame.height);
    DrawPair(frame, column, row, colour);
    return true;
}
