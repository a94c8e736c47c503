#pragma once
// Scenes with known content for the engines' tests and benchmarks: a
// textured colour scene (smooth patches at several scales with fine grain),
// a box blur, a cut-out and a lossless file writer.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <vector>

#include "bgr_image.h"
#include "picture.h"

namespace bgr_testing {

// Patches of about `cell` pixels bilinearly blended, plus grain of +-`grain`.
inline BgrImage TexturedScene(int width, int height, unsigned seed, int cell = 24, int grain = 40) {
    std::mt19937 random(seed);
    const int gridW = width / cell + 2;
    const int gridH = height / cell + 2;
    std::vector<std::uint8_t> grid(static_cast<std::size_t>(gridW) * gridH * 3);
    for (std::uint8_t& value : grid) {
        value = static_cast<std::uint8_t>(random() % 256);
    }
    std::uniform_int_distribution<int> noise(-grain, grain);
    BgrImage image;
    image.Resize(width, height);
    for (int y = 0; y < height; ++y) {
        const int gy = y / cell;
        const int fy = y % cell;
        for (int x = 0; x < width; ++x) {
            const int gx = x / cell;
            const int fx = x % cell;
            for (int c = 0; c < 3; ++c) {
                auto at = [&](int ix, int iy) { return grid[(static_cast<std::size_t>(iy) * gridW + ix) * 3 + c]; };
                const int top = at(gx, gy) * (cell - fx) + at(gx + 1, gy) * fx;
                const int bottom = at(gx, gy + 1) * (cell - fx) + at(gx + 1, gy + 1) * fx;
                const int smooth = (top * (cell - fy) + bottom * fy) / (cell * cell);
                const int value = std::clamp(smooth + noise(random), 0, 255);
                image.pixels[(static_cast<std::size_t>(y) * width + x) * 3 + c] = static_cast<std::uint8_t>(value);
            }
        }
    }
    return image;
}

// One colour everywhere.
inline BgrImage FlatScene(int width, int height, std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    BgrImage image;
    image.Resize(width, height);
    for (std::size_t i = 0; i < image.pixels.size(); i += 3) {
        image.pixels[i] = blue;
        image.pixels[i + 1] = green;
        image.pixels[i + 2] = red;
    }
    return image;
}

// Mean over a (2 r + 1) square, the border repeated.
inline BgrImage BoxBlur(const BgrImage& source, int radius) {
    BgrImage out;
    out.Resize(source.width, source.height);
    const int w = source.width;
    const int h = source.height;
    const int area = (2 * radius + 1) * (2 * radius + 1);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = -radius; dy <= radius; ++dy) {
                    const int sy = std::clamp(y + dy, 0, h - 1);
                    for (int dx = -radius; dx <= radius; ++dx) {
                        const int sx = std::clamp(x + dx, 0, w - 1);
                        sum += source.pixels[(static_cast<std::size_t>(sy) * w + sx) * 3 + c];
                    }
                }
                out.pixels[(static_cast<std::size_t>(y) * w + x) * 3 + c] = static_cast<std::uint8_t>(sum / area);
            }
        }
    }
    return out;
}

// The w x h part of `source` whose top-left corner is (x, y).
inline BgrImage Cut(const BgrImage& source, int x, int y, int w, int h) {
    BgrImage out;
    out.Resize(w, h);
    for (int row = 0; row < h; ++row) {
        std::copy_n(source.pixels.begin() + static_cast<std::ptrdiff_t>(
                                                (static_cast<std::size_t>(y + row) * source.width + x) * 3),
                    static_cast<std::size_t>(w) * 3, out.pixels.begin() + static_cast<std::ptrdiff_t>(row * out.RowBytes()));
    }
    return out;
}

// Writes the image losslessly (BMP or PNG by `type`); false on failure.
inline bool SaveBgr(const BgrImage& image, const std::filesystem::path& path, int type = kPictureBmp) {
    CPicture picture(type);
    return picture.CreateFromArray(image.pixels, image.width, image.height, 24, static_cast<int>(image.RowBytes()),
                                   true) &&
           picture.Save(path, type);
}

}  // namespace bgr_testing
