#include "scene_picture.h"

#include <algorithm>
#include <cstring>

namespace kqff::sim {
namespace {

struct Rgb {
    std::uint32_t red, green, blue;
};

// Levels that stay clear of both ends, so a gain or offset downstream keeps
// the bars apart.
constexpr std::uint32_t kOn = 224u << 8;
constexpr std::uint32_t kOff = 16u << 8;
constexpr std::uint32_t kBarCount = 8;
constexpr Rgb kBars[kBarCount] = {
    {kOn, kOn, kOn},  {kOn, kOn, kOff},  {kOff, kOn, kOn},  {kOff, kOn, kOff},
    {kOn, kOff, kOn}, {kOn, kOff, kOff}, {kOff, kOff, kOn}, {kOff, kOff, kOff},
};

// The scene's colour at column u of a frame width pixels wide, row y.
Rgb SceneColour(const SceneLayout& layout, std::uint32_t width, std::uint32_t u, std::uint32_t y) {
    if (y >= layout.rows - layout.rows / 4) {
        const auto grey =
            width > 1 ? static_cast<std::uint32_t>(std::uint64_t{u} * 0xFFFFu / (width - 1)) : std::uint32_t{0};
        return {grey, grey, grey};
    }
    return kBars[std::uint64_t{u} * kBarCount / width];
}

std::uint16_t Sample(const SceneLayout& layout, Rgb c, std::uint32_t x, std::uint32_t y) {
    if (layout.monochrome) return static_cast<std::uint16_t>((3 * c.red + 6 * c.green + c.blue) / 10);
    const std::uint32_t redAt = static_cast<std::uint32_t>(layout.phase) - 1;
    const std::uint32_t column = (x ^ redAt) & 1u;
    const std::uint32_t row = (y ^ (redAt >> 1)) & 1u;
    if (column == 0 && row == 0) return static_cast<std::uint16_t>(c.red);
    if (column == 1 && row == 1) return static_cast<std::uint16_t>(c.blue);
    return static_cast<std::uint16_t>(c.green);
}

}  // namespace

void FillScenePicture(std::uint32_t frameNumber, const SceneLayout& layout, std::uint32_t offset,
                      std::span<std::uint8_t> out) {
    const std::uint32_t bytesPerPixel = layout.bytesPerPixel == 2 ? 2 : 1;
    const std::uint32_t width = layout.rowBytes / bytesPerPixel;
    if (width == 0) return;
    const auto shift =
        static_cast<std::uint32_t>(std::uint64_t{kSceneStepPixels} * ((frameNumber - 1) % width) % width);
    const std::uint32_t pixel = offset / bytesPerPixel;
    std::uint32_t part = offset % bytesPerPixel;
    std::uint32_t x = pixel % width;
    std::uint32_t y = pixel / width;
    std::uint32_t u = (x + width - shift) % width;
    for (std::size_t i = 0; i < out.size();) {
        const std::uint16_t sample = Sample(layout, SceneColour(layout, width, u, y), x, y);
        // Little-endian: the low byte first; a 1-byte camera keeps the high one.
        for (; part < bytesPerPixel && i < out.size(); ++part, ++i)
            out[i] = static_cast<std::uint8_t>(part + 1 == bytesPerPixel ? sample >> 8 : sample);
        part = 0;
        if (++u == width) u = 0;
        if (++x == width) {
            x = 0;
            u = (width - shift) % width;
            ++y;
        }
    }
}

void ScenePicture::Prepare(const SceneLayout& layout) {
    layout_ = layout;
    bytesPerPixel_ = layout.bytesPerPixel == 2 ? 2 : 1;
    width_ = layout.rowBytes / bytesPerPixel_;
    const std::size_t rowLength = std::size_t{width_} * bytesPerPixel_;
    rows_.assign(8 * rowLength, 0);
    // Row (ramp, y parity, x parity of column u less u's) at 4 r + 2 q + p;
    // the bars and the ramp are told apart by the row number only.
    const std::uint32_t rampRow = layout.rows - layout.rows / 4;
    for (std::uint32_t k = 0; k < 8; ++k) {
        const std::uint32_t y = (k & 4u) != 0 ? rampRow + ((rampRow ^ (k >> 1)) & 1u) : ((k >> 1) & 1u);
        std::uint8_t* row = rows_.data() + k * rowLength;
        for (std::uint32_t u = 0; u < width_; ++u) {
            const std::uint16_t sample = Sample(layout, SceneColour(layout, width_, u, y), u + (k & 1u), y);
            for (std::uint32_t part = 0; part < bytesPerPixel_; ++part)
                row[u * bytesPerPixel_ + part] =
                    static_cast<std::uint8_t>(part + 1 == bytesPerPixel_ ? sample >> 8 : sample);
        }
    }
}

void ScenePicture::Fill(std::uint32_t frameNumber, const SceneLayout& layout, std::uint32_t offset,
                        std::span<std::uint8_t> out) {
    if (rows_.empty() || !(layout == layout_)) Prepare(layout);
    if (width_ == 0) return;
    const std::uint32_t rowLength = width_ * bytesPerPixel_;
    const auto shift =
        static_cast<std::uint32_t>(std::uint64_t{kSceneStepPixels} * ((frameNumber - 1) % width_) % width_);
    // Pixels at x >= shift show column u = x - shift; those before the cut
    // show u = x + width - shift, whose parity differs from x's by the
    // parity of width - shift.
    const std::uint32_t cut = shift * bytesPerPixel_;
    const std::uint32_t afterCut = shift & 1u;
    const std::uint32_t beforeCut = (width_ - shift) & 1u;
    const std::uint32_t rampRow = layout.rows - layout.rows / 4;
    std::uint32_t y = offset / rowLength;
    std::uint32_t column = offset % rowLength;
    for (std::size_t i = 0; i < out.size();) {
        const std::uint8_t* rows = rows_.data() + std::size_t{(y >= rampRow ? 4u : 0u) + 2 * (y & 1u)} * rowLength;
        const std::uint32_t end =
            static_cast<std::uint32_t>(std::min<std::size_t>(rowLength, column + (out.size() - i)));
        if (column < cut) {
            const std::uint32_t stop = std::min(end, cut);
            std::memcpy(out.data() + i, rows + beforeCut * rowLength + column + (rowLength - cut), stop - column);
            i += stop - column;
            column = stop;
        }
        if (column < end) {
            std::memcpy(out.data() + i, rows + afterCut * rowLength + column - cut, end - column);
            i += end - column;
            column = end;
        }
        if (column == rowLength) {
            column = 0;
            ++y;
        }
    }
}

}  // namespace kqff::sim
