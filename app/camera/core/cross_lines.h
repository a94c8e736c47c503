#pragma once
// Burning the crosshair lines into a frame the camera library delivered, on
// the library's frame thread. Everything is drawn within the frame's own
// width, height and depth as delivered, never the capture size the UI chose:
// the library may clamp the window and the colour mode may change between
// frames. Nothing here allocates.
#include <cstdint>
#include <span>

// A frame in the library's buffer: rows packed without padding, width x
// bits / 8 bytes each, row 0 first in the buffer.
// A colour reference: red in the low byte, then green and blue; the high
// byte is 0 (colour_ref.h makes one).
using ColourRef = std::uint32_t;

// How a 16-bit frame holds a grey value g: the same byte twice, or as a
// 10-bit sample high byte first, (g >> 6, (g << 2) & 0xFF).
enum class SixteenBitGrey { sameInBothBytes, tenBitHighFirst };

struct CameraFrame {
    std::span<std::uint8_t> bytes;
    int width = 0;
    int height = 0;
    int bitsPerPixel = 24;  // 24 (blue, green, red), 16 or 8 (grey)
    SixteenBitGrey sixteenBitGrey = SixteenBitGrey::sameInBothBytes;
};

// One pair of crosshair lines, as the crosshair dialog and Config.ini keep it.
struct CrossLineEntry {
    std::int32_t index = 0;    // "Index": number shown in the dialog
    std::int32_t draw = 0;     // "IsDraw": nonzero draws the pair
    std::int32_t centre = 0;   // "IsCenter": nonzero crosses at the frame centre
    std::int32_t xOffset = 0;  // "OffX": column of the vertical line
    std::int32_t yOffset = 0;  // "OffY": the horizontal line lies in row height - yOffset
    ColourRef colour = 0;      // "R", "G", "B"

    friend bool operator==(const CrossLineEntry&, const CrossLineEntry&) = default;
};

// A family's own single red cross.
struct SingleCross {
    bool on = false;
    bool centred = false;
    int x = 0;  // column when not centred
    int y = 0;  // the row is height - y when not centred
};

// The grey value an 8- or 16-bit frame gets for a colour:
// trunc(0.299 R + 0.587 G + 0.114 B + 0.5).
std::uint8_t GreyOfColour(ColourRef colour);

// Draws every entry whose draw field is set, in list order, so later entries
// win where lines cross. A frame whose depth is not 8, 16 or 24 bits, whose
// size is not positive or whose buffer is shorter than its rows is left
// untouched (returns false).
bool DrawCrossLines(const CameraFrame& frame, std::span<const CrossLineEntry> entries);

// Draws the single cross in `colour` (pure red unless given) when it is on;
// false as above.
bool DrawSingleCross(const CameraFrame& frame, const SingleCross& cross, ColourRef colour = 0x0000FF);
