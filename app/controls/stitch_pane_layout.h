#pragma once
// The arithmetic of the picture grid pane: a grid smaller than the pane is
// centred in it, a larger one gets the pane's own scroll bars (16 pixels
// thick, each bar's thickness possibly making the other needed).
namespace stitch_pane {

inline constexpr int kBarThickness = 16;
inline constexpr int kLineStep = 5;

struct Box {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Box&, const Box&) = default;
};

struct Layout {
    int offsetX = 0;  // centring offsets
    int offsetY = 0;
    bool horizontal = false;  // which bars show
    bool vertical = false;
    int visibleWidth = 0;  // the client area less the bars
    int visibleHeight = 0;
    int scrollX = 0;
    int scrollY = 0;
    Box horizontalBar;
    Box verticalBar;
    Box inner;  // where the grid's parent frame lies
};

// The layout of a width x height client area over a gridWidth x gridHeight
// grid. scrollX and scrollY are the positions before; lastWidth and
// lastHeight the client size at the previous layout: a client that grew
// pulls the scroll position back by the growth, so that a grid scrolled to
// its end stays at the pane's edge.
Layout LayOut(int width, int height, int gridWidth, int gridHeight, int scrollX, int scrollY, int lastWidth,
              int lastHeight);

enum class ScrollCode { kLineBack, kLineForward, kPageBack, kPageForward, kThumb, kStart, kEnd, kOther };

// The position after one scroll action of a bar over `grid` pixels of which
// `visible` show; page steps leave it.
int Scroll(ScrollCode code, int position, int thumb, int grid, int visible);

}  // namespace stitch_pane
