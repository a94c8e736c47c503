#pragma once
// What a ruler bar beside the view shows along its axis: the tick sets at
// picture coordinates, their labels and where the mouse marker may go. All
// positions are bar pixels, which are the view's window pixels on that axis.
#include <optional>
#include <vector>

// One axis of the picture (or video frame) as the view shows it.
struct RulerBarAxis {
    int origin = 0;     // window position of the picture's edge, unscrolled
    int scroll = 0;     // the view's scroll position
    int size = 0;       // picture pixels
    float zoom = 1.0f;  // window pixels per picture pixel on this axis
    // Zoom of the other axis: the finer tick sets appear when either is large.
    float otherZoom = 1.0f;
};

struct RulerBarTick {
    int position = 0;  // bar pixels from the bar's start
    // Where the tick starts, counted from the bar's outer edge; it reaches
    // the inner edge.
    int depth = 0;
    // The picture coordinate written beside the tick, for labelled ticks.
    std::optional<int> label;
};

// Every tick from the picture's edge to its far end: every 100 picture
// pixels (depth 4, labelled), 50 (depth 8), 10 (depth 10) when either zoom
// is above 0.49 and 5 (depth 12) above 0.99. A set's ticks run from 0 to the
// picture's length rounded to the nearest step. Ticks of coarser sets come
// first; a position may repeat across sets. No picture or a zoom that is not
// positive and finite gives none.
std::vector<RulerBarTick> RulerBarTicks(const RulerBarAxis& axis);

// Whether a mouse position (window pixels on the axis) lies on the picture
// as it is shown, scrolling included.
bool IsOnRulerPicture(const RulerBarAxis& axis, int mouse);
