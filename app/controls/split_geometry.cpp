#include "split_geometry.h"

#include <algorithm>
#include <initializer_list>
#include <climits>
#include <numeric>

namespace split_geometry {

namespace {

Box Bounds(const Group& group) {
    Box b{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const Control& c : group) {
        b.left = std::min(b.left, c.box.left);
        b.top = std::min(b.top, c.box.top);
        b.right = std::max(b.right, c.box.right);
        b.bottom = std::max(b.bottom, c.box.bottom);
    }
    return b;
}

// The cross-axis view of a box: `along` the cut direction's axis.
struct Span {
    int low;
    int high;
};
Span Across(const Box& b, bool vertical) { return vertical ? Span{b.left, b.right} : Span{b.top, b.bottom}; }
Span Along(const Box& b, bool vertical) { return vertical ? Span{b.top, b.bottom} : Span{b.left, b.right}; }

struct Cut {
    std::vector<int> before;  // group indices
    std::vector<int> after;
    int gapLow;
    int gapHigh;
};

// Splits the groups at every empty band across them; `vertical` cuts into
// groups side by side. Returns the parts in order, empty when nothing cuts.
std::vector<std::vector<int>> Parts(std::span<const Box> bounds, const std::vector<int>& set, bool vertical,
                                    std::vector<std::pair<int, int>>& gaps) {
    std::vector<int> order = set;
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return Across(bounds[a], vertical).low < Across(bounds[b], vertical).low; });
    std::vector<std::vector<int>> parts;
    gaps.clear();
    std::vector<int> current;
    int reach = INT_MIN;
    for (int g : order) {
        const Span s = Across(bounds[g], vertical);
        if (!current.empty() && s.low > reach) {
            parts.push_back(std::move(current));
            current.clear();
            gaps.emplace_back(reach, s.low);
        }
        current.push_back(g);
        reach = std::max(reach, s.high);
    }
    parts.push_back(std::move(current));
    if (parts.size() < 2) {
        parts.clear();
    }
    return parts;
}

// Whether group g of `side` faces the gap: no other group of the side lies
// between it and the gap on its cross extent.
bool Faces(std::span<const Box> bounds, const std::vector<int>& side, int g, bool vertical, bool beforeGap) {
    const Span mine = Across(bounds[g], vertical);
    const Span mineAlong = Along(bounds[g], vertical);
    for (int h : side) {
        if (h == g) {
            continue;
        }
        const Span other = Across(bounds[h], vertical);
        const Span otherAlong = Along(bounds[h], vertical);
        const bool overlaps = otherAlong.low < mineAlong.high && mineAlong.low < otherAlong.high;
        const bool between = beforeGap ? other.low >= mine.high : other.high <= mine.low;
        if (overlaps && between) {
            return false;
        }
    }
    return true;
}

void AddFacingControls(std::span<const Group> groups, std::span<const Box> bounds, const std::vector<int>& side,
                       bool vertical, bool beforeGap, std::vector<ControlEdges>& moves) {
    const unsigned edge = vertical ? (beforeGap ? kRightEdge : kLeftEdge) : (beforeGap ? kBottomEdge : kTopEdge);
    for (int g : side) {
        if (!Faces(bounds, side, g, vertical, beforeGap)) {
            continue;
        }
        const int groupEdge = beforeGap ? Across(bounds[g], vertical).high : Across(bounds[g], vertical).low;
        for (const Control& c : groups[static_cast<std::size_t>(g)]) {
            const Span s = Across(c.box, vertical);
            if ((beforeGap ? s.high : s.low) == groupEdge) {
                moves.push_back({c.index, edge});
            }
        }
    }
}

struct Placement {
    std::vector<Bar> bars;
    int firstVertical = -1;
    int junctionPartner = -1;  // the first horizontal bar beside the first vertical one
};

Box BarBox(int gapLow, int gapHigh, Span along, bool vertical) {
    const int middle = (gapLow + gapHigh) / 2;
    return vertical ? Box{middle - 1, along.low, middle + 2, along.high}
                    : Box{along.low, middle - 1, along.high, middle + 2};
}

void Place(std::span<const Group> groups, std::span<const Box> bounds, const std::vector<int>& set, Placement& out,
           int besideVertical) {
    for (bool vertical : {true, false}) {
        std::vector<std::pair<int, int>> gaps;
        const std::vector<std::vector<int>> parts = Parts(bounds, set, vertical, gaps);
        if (parts.empty()) {
            continue;
        }
        Box all{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int g : set) {
            all = {std::min(all.left, bounds[g].left), std::min(all.top, bounds[g].top),
                   std::max(all.right, bounds[g].right), std::max(all.bottom, bounds[g].bottom)};
        }
        const Span along = Along(all, vertical);
        std::vector<int> barOfGap;
        for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
            if (along.high - along.low <= kMinimumGapLength) {
                barOfGap.push_back(-1);
                continue;
            }
            Bar bar;
            bar.kind = vertical ? kVerticalBar : kHorizontalBar;
            bar.box = BarBox(gaps[i].first, gaps[i].second, along, vertical);
            AddFacingControls(groups, bounds, parts[i], vertical, true, bar.moves);
            AddFacingControls(groups, bounds, parts[i + 1], vertical, false, bar.moves);
            barOfGap.push_back(static_cast<int>(out.bars.size()));
            if (vertical && out.firstVertical < 0) {
                out.firstVertical = barOfGap.back();
            }
            if (!vertical && besideVertical >= 0 && out.junctionPartner < 0) {
                out.junctionPartner = barOfGap.back();
            }
            out.bars.push_back(std::move(bar));
        }
        for (std::size_t i = 0; i < parts.size(); ++i) {
            // A part touching the first vertical bar passes it on to its own bars.
            int beside = -1;
            if (vertical) {
                if (i > 0 && barOfGap[i - 1] == out.firstVertical) beside = out.firstVertical;
                if (i + 1 < parts.size() && barOfGap[i] == out.firstVertical) beside = out.firstVertical;
            } else {
                beside = besideVertical;
            }
            Place(groups, bounds, parts[i], out, beside);
        }
        return;
    }
}

}  // namespace

std::vector<Bar> PlaceBars(std::span<const Group> groups) {
    std::vector<Box> bounds;
    std::vector<int> set;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        if (!groups[g].empty()) {
            bounds.push_back(Bounds(groups[g]));
            set.push_back(static_cast<int>(bounds.size() - 1));
        }
    }
    std::vector<Group> nonEmpty;
    for (const Group& g : groups) {
        if (!g.empty()) nonEmpty.push_back(g);
    }
    Placement placement;
    Place(nonEmpty, bounds, set, placement, -1);
    if (placement.firstVertical >= 0 && placement.junctionPartner >= 0) {
        const Bar& v = placement.bars[static_cast<std::size_t>(placement.firstVertical)];
        const Bar& h = placement.bars[static_cast<std::size_t>(placement.junctionPartner)];
        const int cx = (v.box.left + v.box.right) / 2;
        const int cy = (h.box.top + h.box.bottom) / 2;
        Bar junction;
        junction.kind = kJunction;
        junction.joins[0] = placement.firstVertical;
        junction.joins[1] = placement.junctionPartner;
        junction.box = {cx - kJunctionSize / 2, cy - kJunctionSize / 2, cx + kJunctionSize / 2, cy + kJunctionSize / 2};
        for (const Bar* bar : {&v, &h}) {
            for (const ControlEdges& m : bar->moves) {
                auto it = std::find_if(junction.moves.begin(), junction.moves.end(),
                                       [&](const ControlEdges& e) { return e.control == m.control; });
                if (it == junction.moves.end()) {
                    junction.moves.push_back(m);
                } else {
                    it->edges |= m.edges;
                }
            }
        }
        placement.bars.push_back(std::move(junction));
    }
    return placement.bars;
}

std::vector<Box> BarBoxes(std::span<const Bar> bars, std::span<const Box> controls) {
    std::vector<Box> boxes;
    for (const Bar& bar : bars) {
        if (bar.kind == kJunction) {
            boxes.push_back(bar.box);
            continue;
        }
        const bool vertical = bar.kind == kVerticalBar;
        int gapLow = INT_MIN;
        int gapHigh = INT_MAX;
        Span along{INT_MAX, INT_MIN};
        for (const ControlEdges& m : bar.moves) {
            const Box& c = controls[static_cast<std::size_t>(m.control)];
            if (m.edges & (kRightEdge | kBottomEdge)) {
                gapLow = std::max(gapLow, Across(c, vertical).high);
            } else {
                gapHigh = std::min(gapHigh, Across(c, vertical).low);
            }
            along = {std::min(along.low, Along(c, vertical).low), std::max(along.high, Along(c, vertical).high)};
        }
        boxes.push_back(bar.moves.empty() ? bar.box : BarBox(gapLow, gapHigh, along, vertical));
    }
    for (std::size_t i = 0; i < bars.size(); ++i) {
        if (bars[i].kind == kJunction && bars[i].joins[0] >= 0 && bars[i].joins[1] >= 0) {
            const Box& v = boxes[static_cast<std::size_t>(bars[i].joins[0])];
            const Box& h = boxes[static_cast<std::size_t>(bars[i].joins[1])];
            const int cx = (v.left + v.right) / 2;
            const int cy = (h.top + h.bottom) / 2;
            boxes[i] = {cx - kJunctionSize / 2, cy - kJunctionSize / 2, cx + kJunctionSize / 2, cy + kJunctionSize / 2};
        }
    }
    return boxes;
}

std::optional<Step> PlanStep(const Box& bar, unsigned movement, int dx, int dy, int clientWidth, int clientHeight,
                             std::span<const Box> controls, std::span<const unsigned> edges) {
    Step step;
    step.dx = (dx < 0 && (movement & kMayMoveLeft)) || (dx > 0 && (movement & kMayMoveRight)) ? dx : 0;
    step.dy = (dy < 0 && (movement & kMayMoveUp)) || (dy > 0 && (movement & kMayMoveDown)) ? dy : 0;
    step.bar = {bar.left + step.dx, bar.top + step.dy, bar.right + step.dx, bar.bottom + step.dy};
    for (std::size_t i = 0; i < controls.size(); ++i) {
        Box b = controls[i];
        const unsigned e = i < edges.size() ? edges[i] : 0u;
        if (e & kLeftEdge) b.left += step.dx;
        if (e & kRightEdge) b.right += step.dx;
        if (e & kTopEdge) b.top += step.dy;
        if (e & kBottomEdge) b.bottom += step.dy;
        if (b.right <= b.left || b.bottom <= b.top) {
            return std::nullopt;
        }
        step.controls.push_back(b);
    }
    if (step.bar.left <= 0 || step.bar.top <= 0 || step.bar.left >= clientWidth || step.bar.top >= clientHeight) {
        return std::nullopt;
    }
    return step;
}

}  // namespace split_geometry
