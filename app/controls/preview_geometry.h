#pragma once
// The arithmetic of the zoomable preview: where the picture lies in the
// client area, which scroll bars it needs, where the four selection lines go
// and how dragging one moves the selection. Client coordinates are pixels of
// the control; selection coordinates are picture pixels.
#include <array>

#include "pixel_box.h"

namespace preview {

using Rect = PixelBox;

enum class Mode : int { kFit = 0, kActualSize = 1 };

inline constexpr int kBarThickness = 17;
inline constexpr int kLineThickness = 2;
inline constexpr int kLineStep = 5;

struct Layout {
    Mode mode = Mode::kActualSize;
    float scale = 1.0f;
    int xOffset = 0;
    int yOffset = 0;
    bool horizontalBar = false;
    bool verticalBar = false;
    // The picture area of the client (excluding the bars).
    Rect visible;
    int horizontalPosition = 0;
    int verticalPosition = 0;
    int pictureWidth = 0;
    int pictureHeight = 0;
    // Scroll positions that count (0 while the bar is hidden).
    int ShownHorizontal() const { return horizontalBar ? horizontalPosition : 0; }
    int ShownVertical() const { return verticalBar ? verticalPosition : 0; }
    int MaxHorizontal() const;
    int MaxVertical() const;
};

// Lays a picture out in a client of clientWidth x clientHeight. previous is
// the layout before (its scroll positions move back by as much as the
// visible area grew).
Layout ComputeLayout(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight, Mode mode,
                     const Layout& previous);

// A scroll position after a step of delta, kept within 0..maximum.
int ClampPosition(int position, int maximum);

// The selection in picture pixels (floating, as dragged).
struct Selection {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};

enum Edge : int { kNoEdge = -1, kTopEdge = 0, kBottomEdge = 1, kLeftEdge = 2, kRightEdge = 3 };

// The line rectangles, in the order top, bottom, left, right.
using Lines = std::array<Rect, 4>;

// Places the lines of a selection; nearest rounds each position to the
// nearest pixel (otherwise truncates).
Lines PlaceLines(const Selection& selection, const Layout& layout, bool nearest);

// The edge under a client point: each line widened by 2 pixels across it.
Edge HitTestLines(const Lines& lines, int x, int y);

// Whether a drag point is close enough inside the picture to move a line.
bool AcceptsDragPoint(const Layout& layout, int x, int y);

// Moves the grabbed line by (dx, dy) with the crossing lines' ends. False
// (lines unchanged) when the line would reach its opposite line.
bool DragLine(Lines& lines, Edge edge, int dx, int dy);

// The selection the lines show.
Selection SelectionFromLines(const Lines& lines, const Layout& layout);

// Rounded to whole pixels and clamped to the picture.
Rect RoundSelection(const Selection& selection, int pictureWidth, int pictureHeight);

// A client point as a picture pixel, within the picture.
struct PicturePoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PicturePoint&, const PicturePoint&) = default;
};
PicturePoint ClientToPicture(const Layout& layout, int x, int y);

}  // namespace preview
