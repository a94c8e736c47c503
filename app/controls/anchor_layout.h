#pragma once
// Anchoring arithmetic of resizable dialogs: a control's corners follow
// points given in percent of the dialog's client size, each at the margin
// the corner had from its point when it was anchored.
#include "pixel_box.h"

namespace anchor_layout {

struct Anchor {
    int x = 0;  // percent of the client width
    int y = 0;  // percent of the client height
    friend bool operator==(const Anchor&, const Anchor&) = default;
};
// (-1, -1): no anchor, which behaves as the top-left one.
inline constexpr Anchor kNoAnchor{-1, -1};
inline constexpr Anchor kTopLeft{0, 0};
inline constexpr Anchor kTopRight{100, 0};
inline constexpr Anchor kBottomLeft{0, 100};
inline constexpr Anchor kBottomRight{100, 100};

using Box = PixelBox;

struct Anchoring {
    Anchor topLeft;
    Anchor bottomRight;
    int marginLeft = 0;
    int marginTop = 0;
    int marginRight = 0;
    int marginBottom = 0;
};

// Anchors a control at `box` in a client of width x height; a bottom-right
// kNoAnchor takes the top-left anchor.
Anchoring Anchored(const Box& box, Anchor topLeft, Anchor bottomRight, int width, int height);
// The control's rectangle in a client of width x height.
Box Place(const Anchoring& anchoring, int width, int height);

// The size grip: the client's bottom-right square of the grip size.
Box GripBox(int width, int height, int gripWidth, int gripHeight);

}  // namespace anchor_layout
