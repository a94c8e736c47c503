#include "cross_line_keys.h"

#include <algorithm>

std::optional<CrossPosition> MoveCrossLine(unsigned key, CrossPosition current, FrameSize frame) {
    // The bounds 1..W-2 and 1..H-1 are empty below these sizes.
    if (frame.width < 3 || frame.height < 2) {
        return std::nullopt;
    }
    // Wide arithmetic: the camera may report any position, even the int limits.
    long long x = current.x;
    long long y = current.y;
    switch (key) {
    case kCrossCentreKey:
        x = frame.width / 2;
        y = frame.height / 2 - 1;
        break;
    case kCrossLeftKey: --x; break;
    case kCrossRightKey: ++x; break;
    case kCrossUpKey: --y; break;
    case kCrossDownKey: ++y; break;
    default: break;
    }
    return CrossPosition{static_cast<int>(std::clamp<long long>(x, 1, frame.width - 2)),
                         static_cast<int>(std::clamp<long long>(y, 1, frame.height - 1))};
}
