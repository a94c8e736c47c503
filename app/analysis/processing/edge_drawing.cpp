#include "edge_drawing.h"

#include <vector>

#include "edge_detection.h"
#include "picture.h"

namespace {

constexpr double kSigma = 0.1;
constexpr double kLowRatio = 0.9;
constexpr double kPercentile = 0.76;

}  // namespace

bool DrawEdges(CPicture& picture) {
    if (!picture.IsValid()) {
        return false;
    }
    const int width = picture.GetWidth();
    const int height = picture.GetHeight();
    const bool colour = picture.GetBpp() == 24;
    const std::size_t w = static_cast<std::size_t>(width);

    // Grey of every palette entry: an 8-bit picture's index may stand for
    // any colour, and on the grey ramp this is the index itself.
    std::uint8_t paletteGrey[256] = {};
    const auto palette = picture.GetPalette();
    for (std::size_t i = 0; i < palette.size() && i < 256; ++i) {
        paletteGrey[i] = static_cast<std::uint8_t>((palette[i].blue + palette[i].green + palette[i].red) / 3);
    }

    // Rows in the picture's own (bottom-up) order, without their padding.
    std::vector<std::uint8_t> grey(w * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* bits = picture.GetBits(row);
        std::uint8_t* out = grey.data() + static_cast<std::size_t>(row) * w;
        for (std::size_t x = 0; x < w; ++x) {
            out[x] = colour ? static_cast<std::uint8_t>((bits[x * 3] + bits[x * 3 + 1] + bits[x * 3 + 2]) / 3)
                            : paletteGrey[bits[x]];
        }
    }
    std::vector<std::uint8_t> edges(grey.size());
    if (!DetectEdges(grey, width, height, kSigma, kLowRatio, kPercentile, edges)) {
        return false;
    }
    for (int row = 0; row < height; ++row) {
        std::uint8_t* bits = picture.GetBits(row);
        const std::uint8_t* in = edges.data() + static_cast<std::size_t>(row) * w;
        for (std::size_t x = 0; x < w; ++x) {
            const auto value = static_cast<std::uint8_t>(255 - in[x]);
            if (colour) {
                bits[x * 3] = bits[x * 3 + 1] = bits[x * 3 + 2] = value;
            } else {
                bits[x] = value;
            }
        }
    }
    if (!colour) {
        const auto ramp = CPicture::GreyPalette();
        picture.SetPalette(ramp);
    }
    return true;
}
