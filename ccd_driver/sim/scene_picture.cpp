#include "scene_picture.h"

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

void ScenePicture::Fill(std::uint32_t frameNumber, const SceneLayout& layout, std::uint32_t offset,
                        std::span<std::uint8_t> out) {
    FillScenePicture(frameNumber, layout, offset, out);
}

}  // namespace kqff::sim
