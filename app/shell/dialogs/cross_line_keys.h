#pragma once
// Moving the camera's cross line from the keyboard in full-screen video.
// Platform-free so the arithmetic is checked in every build.
#include <optional>

struct CrossPosition {
    int x = 0;
    int y = 0;
    bool operator==(const CrossPosition&) const = default;
};

struct FrameSize {
    int width = 0;
    int height = 0;
};

// Keys as the platform reports them: upper-case letters and the space bar.
inline constexpr unsigned kCrossCentreKey = ' ';
inline constexpr unsigned kCrossLeftKey = 'A';
inline constexpr unsigned kCrossRightKey = 'D';
inline constexpr unsigned kCrossUpKey = 'W';
inline constexpr unsigned kCrossDownKey = 'S';

// Space centres the cross line at (W/2, H/2 - 1); A, D, W and S move it one
// pixel left, right, up and down; any key then holds it within x 1..W-2 and
// y 1..H-1. Empty when the frame is too small to hold it at all.
std::optional<CrossPosition> MoveCrossLine(unsigned key, CrossPosition current, FrameSize frame);
