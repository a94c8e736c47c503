#pragma once
// Synthetic pictures with known targets: a grey background with discs and
// bars of given grey levels, drawn from the same inclusion test the tests
// count pixels with. Grey is written to all three channels, so every grey
// channel of the engine reads it unchanged.
#include <cstdint>
#include <vector>

#include "count_geometry.h"

struct SceneShape {
    enum class Kind { disc, bar } kind = Kind::disc;
    int x = 0;  // disc centre, or bar's left column
    int y = 0;  // disc centre, or bar's bottom row (rows from the bottom)
    int a = 0;  // disc radius, or bar width
    int b = 0;  // bar height
    std::uint8_t grey = 0;

    bool Covers(int px, int py) const {
        if (kind == Kind::disc) {
            return (px - x) * (px - x) + (py - y) * (py - y) <= a * a;
        }
        return px >= x && px < x + a && py >= y && py < y + b;
    }
};

struct CountScene {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> grey;  // width x height, rows from the bottom

    CountScene(int w, int h, std::uint8_t background)
        : width(w), height(h), grey(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), background) {}

    void Draw(const SceneShape& shape) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (shape.Covers(x, y)) {
                    At(x, y) = shape.grey;
                }
            }
        }
    }

    std::uint8_t& At(int x, int y) {
        return grey[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }

    // Padded 24-bit rows; the padding bytes hold 0xEE so a copy that
    // ignores the stride shows.
    std::vector<std::uint8_t> Bits() const {
        const std::size_t stride = BgrStride(width);
        std::vector<std::uint8_t> bits(stride * static_cast<std::size_t>(height), 0xEE);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint8_t g =
                    grey[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
                std::uint8_t* p = bits.data() + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 3;
                p[0] = p[1] = p[2] = g;
            }
        }
        return bits;
    }
};
