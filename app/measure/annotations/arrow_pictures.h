#pragma once
// The eight arrow pictures: which bitmap each direction uses and where its
// tip lies within the picture, and how a picture takes the arrow's colour.
#include <cstdint>
#include <optional>
#include <span>

#include "geometry.h"

struct ArrowPicture {
    int bitmapId;
    PointF tip;  // within the 120 x 120 picture
};

inline constexpr int kArrowPictureSize = 120;

// Directions 0 to 7 (up, down, left, right, up-left, up-right, down-left,
// down-right); nothing for any other value.
std::optional<ArrowPicture> ArrowPictureFor(std::int32_t direction);

// Gives every pixel darker than (200, 200, 200) the arrow colour; lighter
// pixels, the white background among them, stay. Pixels are blue, green,
// red first (the layout of 24- and 32-bit bitmaps); rows are `stride` bytes
// apart. The darkness test compares blue, green and red in that order as
// one packed number.
void RecolourArrowPixels(std::span<std::uint8_t> bits, int width, int height, int stride, int bytesPerPixel,
                         ColourRef colour);
