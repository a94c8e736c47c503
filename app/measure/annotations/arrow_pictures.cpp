#include "arrow_pictures.h"

#include <array>

#include "annotations_resource.h"

std::optional<ArrowPicture> ArrowPictureFor(std::int32_t direction) {
    static constexpr std::array<ArrowPicture, 8> kPictures = {{
        {IDB_ARROW_UP, {60, 10}},
        {IDB_ARROW_DOWN, {60, 110}},
        {IDB_ARROW_LEFT, {10, 60}},
        {IDB_ARROW_RIGHT, {110, 60}},
        {IDB_ARROW_UP_LEFT, {21, 23}},
        {IDB_ARROW_UP_RIGHT, {95, 23}},
        {IDB_ARROW_DOWN_LEFT, {24, 95}},
        {IDB_ARROW_DOWN_RIGHT, {95, 95}},
    }};
    if (direction < 0 || direction >= static_cast<std::int32_t>(kPictures.size())) {
        return std::nullopt;
    }
    return kPictures[static_cast<std::size_t>(direction)];
}

void RecolourArrowPixels(std::span<std::uint8_t> bits, int width, int height, int stride, int bytesPerPixel,
                         ColourRef colour) {
    constexpr std::uint32_t kLightest = (200u << 16) | (200u << 8) | 200u;
    if (width <= 0 || height <= 0 || stride <= 0 || bytesPerPixel < 3) {
        return;
    }
    const auto blue = static_cast<std::uint8_t>(colour >> 16);
    const auto green = static_cast<std::uint8_t>(colour >> 8);
    const auto red = static_cast<std::uint8_t>(colour);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(bytesPerPixel);
    for (int row = 0; row < height; ++row) {
        const std::size_t start = static_cast<std::size_t>(row) * static_cast<std::size_t>(stride);
        if (start + rowBytes > bits.size()) {
            return;
        }
        for (std::size_t at = start; at < start + rowBytes; at += static_cast<std::size_t>(bytesPerPixel)) {
            const std::uint32_t packed =
                (std::uint32_t{bits[at]} << 16) | (std::uint32_t{bits[at + 1]} << 8) | std::uint32_t{bits[at + 2]};
            if (packed < kLightest) {
                bits[at] = blue;
                bits[at + 1] = green;
                bits[at + 2] = red;
            }
        }
    }
}
