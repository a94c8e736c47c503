#pragma once
// Small pictures written as top-down lists of 0xRRGGBB (24-bit) or grey
// values (8-bit), and read back the same way.
#include <cstdint>
#include <vector>

#include "picture.h"

inline CPicture MakeColour(int width, int height, const std::vector<std::uint32_t>& rgb) {
    CPicture p(width, height, 24, kPictureBmp);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = p.GetBits(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = rgb[static_cast<std::size_t>(y * width + x)];
            row[x * 3] = static_cast<std::uint8_t>(c);
            row[x * 3 + 1] = static_cast<std::uint8_t>(c >> 8);
            row[x * 3 + 2] = static_cast<std::uint8_t>(c >> 16);
        }
    }
    return p;
}

inline CPicture MakeGrey(int width, int height, const std::vector<std::uint8_t>& grey) {
    CPicture p(width, height, 8, kPictureBmp);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = p.GetBits(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            row[x] = grey[static_cast<std::size_t>(y * width + x)];
        }
    }
    return p;
}

inline std::vector<std::uint32_t> Colours(const CPicture& p) {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < p.GetHeight(); ++y) {
        for (int x = 0; x < p.GetWidth(); ++x) {
            out.push_back(p.GetPixelColor(x, y));
        }
    }
    return out;
}

inline std::vector<std::uint8_t> GreyValues(const CPicture& p) {
    std::vector<std::uint8_t> out;
    for (int y = 0; y < p.GetHeight(); ++y) {
        const std::uint8_t* row = p.GetBits(p.GetHeight() - 1 - y);
        out.insert(out.end(), row, row + p.GetWidth());
    }
    return out;
}
