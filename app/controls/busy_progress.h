#pragma once
// The busy indicator's arithmetic: the percent read from an engine, the
// ramp that runs the bar on after the engine stops, the bar's shades, its
// place beside the pointer and the filled part of its face.
#include <cstdint>

#include "pixel_box.h"

namespace busy_progress {

// Percent of a counting run: current * 100 / count in 64 bits, 0 for an
// empty count, clamped to 0..100.
int CountingPercent(std::int64_t current, std::int64_t count);
// An engine's own step, clamped to 0..100.
int ClampPercent(int percent);

// One tick of the busy dialog's timer. While the engine works the bar shows
// its percent; once it stops, the bar goes on one percent a tick from the
// last one shown and the dialog closes after 101.
class ProgressRamp {
public:
    struct Step {
        bool close = false;
        int percent = 0;  // shown when not closing
    };
    // enginePercent: the engine's percent when it still works.
    Step Tick(bool working, int enginePercent);

private:
    int progress_ = 1;
};

using Colour = std::uint32_t;  // red in the low byte
// One shade step: each channel plus 51 (a channel that would pass 255 stays).
Colour Lighter(Colour colour);
// Each channel minus 51 (a channel below 51 stays).
Colour Darker(Colour colour);

enum Orientation : int { kVerticalLeft = 0, kVerticalRight = 1, kHorizontalAbove = 2, kHorizontalBelow = 3 };

using Box = PixelBox;

// The bar's screen rectangle for the pointer at (x, y) with the system
// cursor size (cursorWidth, cursorHeight).
Box PlaceBeside(Orientation orientation, int x, int y, int cursorWidth, int cursorHeight);
// The bar's size in an orientation.
Box BarSize(Orientation orientation);
// The filled part of the face `inner` for a percent (from the left when
// horizontal, from the bottom when vertical; 101 fills it all).
Box FilledPart(Orientation orientation, const Box& inner, int percent);

}  // namespace busy_progress
