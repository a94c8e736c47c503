#pragma once
// Plain geometry types of the measurement objects (no platform types).
#include <cstdint>

// A point in image pixels.
struct PointF {
    float x = 0;
    float y = 0;
    friend bool operator==(const PointF&, const PointF&) = default;
};

// A rectangle in device or zoomed-picture pixels; right and bottom exclusive.
struct PixelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A colour in the platform's COLORREF layout: 0x00BBGGRR.
using ColourRef = std::uint32_t;

constexpr ColourRef MakeColourRef(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return ColourRef{red} | (ColourRef{green} << 8) | (ColourRef{blue} << 16);
}
