#pragma once
// Where a rectangle of the picture's window lies on the picture, for the
// floating piece: cut out, and dropped back where it was moved to.
#include <cstdint>
#include <optional>

struct PictureBox {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const PictureBox&, const PictureBox&) = default;
};

// How window pixels map onto the picture.
struct WindowPlacement {
    float zoom = 1.0f;
    std::int32_t centreX = 0;  // where the picture starts in the window
    std::int32_t centreY = 0;
    std::int32_t scrollX = 0;  // zoomed pixels scrolled off
    std::int32_t scrollY = 0;
};

// The window rectangle (x, y, width, height) in picture pixels: the corner
// divided by the zoom and rounded to nearest, the sides divided by the zoom
// and cut, so that the same window rectangle always gives the same box.
PictureBox WindowToPicture(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                           const WindowPlacement& place);

// The part of `box` inside a picture of that size; none when nothing is.
std::optional<PictureBox> ClipToPicture(const PictureBox& box, std::int32_t pictureWidth, std::int32_t pictureHeight);
