#pragma once
// A deterministic 24-bit scene like a stained specimen under a microscope:
// smooth background shading, round cells with dark rims and fine grain, so
// a JPEG of it compresses about as a camera picture does.
#include <cstdint>

#include "picture.h"

inline CPicture SyntheticScene(int width, int height) {
    CPicture p(width, height, 24, kPictureBmp);
    std::uint32_t grain = 12345;
    const int cell = width / 9 + 1;
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = p.GetBits(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            grain = grain * 1664525u + 1013904223u;
            const int noise = static_cast<int>(grain >> 28) - 8;
            const int cx = x % cell - cell / 2;
            const int cy = y % cell - cell / 2;
            const int r2 = (cx * cx + cy * cy) * 100 / (cell * cell / 4 + 1);
            int red = 200 - y * 60 / height + noise;
            int green = 190 - x * 50 / width + noise;
            int blue = 210 + noise;
            if (r2 < 70) {  // cell body
                red -= 40 + r2 / 2;
                green -= 90;
                blue -= 20;
            } else if (r2 < 100) {  // rim
                red -= 120;
                green -= 130;
                blue -= 60;
            }
            row[x * 3] = static_cast<std::uint8_t>(blue < 0 ? 0 : (blue > 255 ? 255 : blue));
            row[x * 3 + 1] = static_cast<std::uint8_t>(green < 0 ? 0 : (green > 255 ? 255 : green));
            row[x * 3 + 2] = static_cast<std::uint8_t>(red < 0 ? 0 : (red > 255 ? 255 : red));
        }
    }
    return p;
}
