#include "ruler_bar_ticks.h"

#include <cmath>

namespace {

struct TickSet {
    int step;
    int depth;
    bool labelled;
    float minZoom;  // drawn when either zoom is above this
};

constexpr TickSet kTickSets[] = {
    {100, 4, true, -1.0f},
    {50, 8, false, -1.0f},
    {10, 10, false, 0.49f},
    {5, 12, false, 0.99f},
};

bool Usable(float zoom) { return std::isfinite(zoom) && zoom > 0.0f; }

}  // namespace

std::vector<RulerBarTick> RulerBarTicks(const RulerBarAxis& axis) {
    std::vector<RulerBarTick> ticks;
    if (axis.size <= 0 || !Usable(axis.zoom)) {
        return ticks;
    }
    const double edge = static_cast<double>(axis.origin) - axis.scroll;
    for (const TickSet& set : kTickSets) {
        if (!(axis.zoom > set.minZoom || axis.otherZoom > set.minZoom)) {
            continue;
        }
        // length / (step × zoom) with length = size × zoom.
        const long count = std::lround(static_cast<double>(axis.size) / set.step);
        for (long i = 0; i <= count; ++i) {
            const double position = edge + static_cast<double>(i) * set.step * axis.zoom;
            RulerBarTick tick;
            tick.position = static_cast<int>(std::lround(position));
            tick.depth = set.depth;
            if (set.labelled) {
                tick.label = static_cast<int>(i * set.step);
            }
            ticks.push_back(tick);
        }
    }
    return ticks;
}

bool IsOnRulerPicture(const RulerBarAxis& axis, int mouse) {
    if (axis.size <= 0 || !Usable(axis.zoom)) {
        return false;
    }
    const double edge = static_cast<double>(axis.origin) - axis.scroll;
    return mouse >= edge && mouse <= edge + static_cast<double>(axis.size) * axis.zoom;
}
