#include "busy_progress.h"

#include <algorithm>
#include <initializer_list>

namespace busy_progress {

int CountingPercent(std::int64_t current, std::int64_t count) {
    if (count <= 0) {
        return 0;
    }
    // A count near the 64-bit limit must not overflow the product.
    const std::int64_t clampedCurrent = std::clamp<std::int64_t>(current, 0, count);
    return static_cast<int>(static_cast<__int128>(clampedCurrent) * 100 / count);
}

int ClampPercent(int percent) { return std::clamp(percent, 0, 100); }

ProgressRamp::Step ProgressRamp::Tick(bool working, int enginePercent) {
    if (working) {
        progress_ = ClampPercent(enginePercent);
        return {false, progress_};
    }
    // The ramp shows 101 before it closes.
    if (progress_ > 101) {
        return {true, progress_};
    }
    return {false, progress_++};
}

namespace {

Colour Channel(Colour colour, int shift) { return (colour >> shift) & 0xFFu; }

template <typename Step>
Colour EachChannel(Colour colour, Step step) {
    Colour result = 0;
    for (int shift : {0, 8, 16}) {
        result |= step(Channel(colour, shift)) << shift;
    }
    return result;
}

}  // namespace

Colour Lighter(Colour colour) {
    return EachChannel(colour, [](Colour c) { return c + 51 > 255 ? c : c + 51; });
}

Colour Darker(Colour colour) {
    return EachChannel(colour, [](Colour c) { return c < 51 ? c : c - 51; });
}

Box BarSize(Orientation orientation) {
    return orientation == kVerticalLeft || orientation == kVerticalRight ? Box{0, 0, 20, 100} : Box{0, 0, 100, 20};
}

Box PlaceBeside(Orientation orientation, int x, int y, int cursorWidth, int cursorHeight) {
    int left = 0;
    int top = 0;
    switch (orientation) {
    case kVerticalLeft:
        left = x - cursorWidth / 3 - 20;
        top = y - 50;
        break;
    case kVerticalRight:
        left = x + cursorWidth / 2 + 20;
        top = y - 50;
        break;
    case kHorizontalAbove:
        left = x + cursorWidth / 4 - 50;
        top = y - cursorWidth / 4 - 20;
        break;
    case kHorizontalBelow:
        left = x + cursorWidth / 3 - 50;
        top = y + cursorHeight;
        break;
    }
    const Box size = BarSize(orientation);
    return {left, top, left + size.right, top + size.bottom};
}

Box FilledPart(Orientation orientation, const Box& inner, int percent) {
    const int p = std::clamp(percent, 0, 100);
    Box filled = inner;
    if (orientation == kHorizontalAbove || orientation == kHorizontalBelow) {
        filled.right = inner.left + (inner.right - inner.left) * p / 100;
    } else {
        filled.top = inner.bottom - (inner.bottom - inner.top) * p / 100;
    }
    return filled;
}

}  // namespace busy_progress
