#include "anchor_layout.h"

namespace anchor_layout {

namespace {
Anchor Effective(Anchor anchor) { return anchor == kNoAnchor ? kTopLeft : anchor; }
}  // namespace

Anchoring Anchored(const Box& box, Anchor topLeft, Anchor bottomRight, int width, int height) {
    Anchoring a;
    a.topLeft = Effective(topLeft);
    a.bottomRight = bottomRight == kNoAnchor ? a.topLeft : Effective(bottomRight);
    a.marginLeft = box.left - a.topLeft.x * width / 100;
    a.marginTop = box.top - a.topLeft.y * height / 100;
    a.marginRight = box.right - a.bottomRight.x * width / 100;
    a.marginBottom = box.bottom - a.bottomRight.y * height / 100;
    return a;
}

Box Place(const Anchoring& a, int width, int height) {
    return {a.marginLeft + width * a.topLeft.x / 100, a.marginTop + height * a.topLeft.y / 100,
            a.marginRight + width * a.bottomRight.x / 100, a.marginBottom + height * a.bottomRight.y / 100};
}

Box GripBox(int width, int height, int gripWidth, int gripHeight) {
    return {width - gripWidth, height - gripHeight, width, height};
}

}  // namespace anchor_layout
