#include "preview_geometry.h"

#include <algorithm>
#include <cmath>

namespace preview {

namespace {

int Place(float value, bool nearest) {
    return nearest ? static_cast<int>(std::lround(value)) : static_cast<int>(value);
}

int Centre(int client, int picture) { return client > picture ? (client - picture) / 2 : 0; }

// The new scroll position: back by the visible growth, within range, 0
// without a bar.
int Rescroll(int previous, int grown, bool bar, int maximum) {
    if (!bar) {
        return 0;
    }
    return ClampPosition(previous - std::max(0, grown), maximum);
}

}  // namespace

int Layout::MaxHorizontal() const { return std::max(0, pictureWidth - visible.Width()); }
int Layout::MaxVertical() const { return std::max(0, pictureHeight - visible.Height()); }

int ClampPosition(int position, int maximum) { return std::clamp(position, 0, std::max(0, maximum)); }

Layout ComputeLayout(int clientWidth, int clientHeight, int pictureWidth, int pictureHeight, Mode mode,
                     const Layout& previous) {
    Layout layout;
    layout.mode = mode;
    layout.pictureWidth = pictureWidth;
    layout.pictureHeight = pictureHeight;
    if (pictureWidth <= 0 || pictureHeight <= 0) {
        return layout;
    }
    if (mode == Mode::kFit) {
        layout.scale = std::min(static_cast<float>(clientWidth) / static_cast<float>(pictureWidth),
                                static_cast<float>(clientHeight) / static_cast<float>(pictureHeight));
        const int width = static_cast<int>(static_cast<float>(pictureWidth) * layout.scale);
        const int height = static_cast<int>(static_cast<float>(pictureHeight) * layout.scale);
        layout.xOffset = Centre(clientWidth, width);
        layout.yOffset = Centre(clientHeight, height);
        layout.visible = {layout.xOffset, layout.yOffset, layout.xOffset + width, layout.yOffset + height};
        return layout;
    }
    layout.xOffset = Centre(clientWidth, pictureWidth);
    layout.yOffset = Centre(clientHeight, pictureHeight);
    const bool wide = clientWidth < pictureWidth;
    const bool tall = clientHeight < pictureHeight;
    layout.horizontalBar = wide || (tall && clientWidth - kBarThickness < pictureWidth);
    layout.verticalBar = tall || (wide && clientHeight - kBarThickness < pictureHeight);
    const int areaRight = clientWidth - (layout.verticalBar ? kBarThickness : 0);
    const int areaBottom = clientHeight - (layout.horizontalBar ? kBarThickness : 0);
    layout.visible = {layout.xOffset, layout.yOffset,
                      std::min(layout.xOffset + pictureWidth, std::max(layout.xOffset, areaRight)),
                      std::min(layout.yOffset + pictureHeight, std::max(layout.yOffset, areaBottom))};
    layout.horizontalPosition = Rescroll(previous.horizontalPosition, layout.visible.Width() - previous.visible.Width(),
                                         layout.horizontalBar, layout.MaxHorizontal());
    layout.verticalPosition = Rescroll(previous.verticalPosition, layout.visible.Height() - previous.visible.Height(),
                                       layout.verticalBar, layout.MaxVertical());
    return layout;
}

Lines PlaceLines(const Selection& s, const Layout& layout, bool nearest) {
    const float k = layout.scale;
    const float x = s.left * k + static_cast<float>(layout.xOffset - layout.ShownHorizontal());
    const float y = s.top * k + static_cast<float>(layout.yOffset - layout.ShownVertical());
    const float bottomY = s.bottom * k + static_cast<float>(layout.yOffset - kLineThickness - layout.ShownVertical());
    const float rightX = s.right * k + static_cast<float>(layout.xOffset - kLineThickness - layout.ShownHorizontal());
    const int left = Place(x, nearest);
    const int top = Place(y, nearest);
    const int width = Place((s.right - s.left) * k, nearest);
    const int height = Place((s.bottom - s.top) * k, nearest);
    const int bottom = Place(bottomY, nearest);
    const int right = Place(rightX, nearest);
    return {
        Rect{left, top, left + width, top + kLineThickness}, Rect{left, bottom, left + width, bottom + kLineThickness},
        Rect{left, top, left + kLineThickness, top + height}, Rect{right, top, right + kLineThickness, top + height}};
}

Edge HitTestLines(const Lines& lines, int x, int y) {
    constexpr int kSlack = 2;
    for (int edge = kTopEdge; edge <= kRightEdge; ++edge) {
        Rect r = lines[static_cast<std::size_t>(edge)];
        if (edge == kTopEdge || edge == kBottomEdge) {
            r.top -= kSlack;
            r.bottom += kSlack;
        } else {
            r.left -= kSlack;
            r.right += kSlack;
        }
        if (r.Contains(x, y)) {
            return static_cast<Edge>(edge);
        }
    }
    return kNoEdge;
}

bool AcceptsDragPoint(const Layout& layout, int x, int y) {
    constexpr int kMargin = 2;
    if (x - kMargin < 0 || y - kMargin < 0 || x - kMargin < layout.xOffset || y - kMargin < layout.yOffset) {
        return false;
    }
    return x + kMargin <= layout.visible.right && y + kMargin <= layout.visible.bottom;
}

bool DragLine(Lines& lines, Edge edge, int dx, int dy) {
    Rect& top = lines[kTopEdge];
    Rect& bottom = lines[kBottomEdge];
    Rect& left = lines[kLeftEdge];
    Rect& right = lines[kRightEdge];
    switch (edge) {
    case kTopEdge:
        if (top.top + dy >= bottom.top) {
            return false;
        }
        top.top += dy;
        top.bottom += dy;
        left.top += dy;
        right.top += dy;
        return true;
    case kBottomEdge:
        if (bottom.top + dy <= top.top) {
            return false;
        }
        bottom.top += dy;
        bottom.bottom += dy;
        left.bottom += dy;
        right.bottom += dy;
        return true;
    case kLeftEdge:
        if (left.left + dx >= right.left) {
            return false;
        }
        left.left += dx;
        left.right += dx;
        top.left += dx;
        bottom.left += dx;
        return true;
    case kRightEdge:
        if (right.left + dx <= left.left) {
            return false;
        }
        right.left += dx;
        right.right += dx;
        top.right += dx;
        bottom.right += dx;
        return true;
    case kNoEdge: break;
    }
    return false;
}

Selection SelectionFromLines(const Lines& lines, const Layout& layout) {
    const float k = layout.scale > 0 ? layout.scale : 1.0f;
    const float dx = static_cast<float>(layout.ShownHorizontal() - layout.xOffset);
    const float dy = static_cast<float>(layout.ShownVertical() - layout.yOffset);
    return {(static_cast<float>(lines[kLeftEdge].left) + dx) / k, (static_cast<float>(lines[kTopEdge].top) + dy) / k,
            (static_cast<float>(lines[kRightEdge].right) + dx) / k,
            (static_cast<float>(lines[kBottomEdge].bottom) + dy) / k};
}

Rect RoundSelection(const Selection& s, int pictureWidth, int pictureHeight) {
    auto round = [](float v) { return static_cast<int>(v + 0.5f); };
    Rect r{round(s.left), round(s.top), round(s.right), round(s.bottom)};
    if (r.left < 1) {
        r.left = 0;
    }
    if (r.top < 1) {
        r.top = 0;
    }
    r.right = std::min(r.right, pictureWidth);
    r.bottom = std::min(r.bottom, pictureHeight);
    return r;
}

PicturePoint ClientToPicture(const Layout& layout, int x, int y) {
    const float k = layout.scale > 0 ? layout.scale : 1.0f;
    const float px = static_cast<float>(x - layout.xOffset + layout.ShownHorizontal()) / k;
    const float py = static_cast<float>(y - layout.yOffset + layout.ShownVertical()) / k;
    return {std::clamp(static_cast<int>(std::floor(px)), 0, layout.pictureWidth),
            std::clamp(static_cast<int>(std::floor(py)), 0, layout.pictureHeight)};
}

}  // namespace preview
