#include "capture_geometry.h"

#include <algorithm>

namespace twain {

std::optional<int> OffsetSlot(std::int32_t sizeMode, std::size_t tableEntries) {
    constexpr int kFirstSlot = 2;  // size mode 0 is 768 x 576 in the slot names
    if (tableEntries <= 1 || sizeMode < 0) return std::nullopt;
    if (sizeMode >= 5 && tableEntries >= 7) return std::nullopt;
    if (sizeMode > 5) return std::nullopt;
    return kFirstSlot + sizeMode;
}

std::int32_t StartWithin(std::int32_t start, std::int32_t size, std::int32_t sensor) {
    if (size >= sensor) return 0;
    return std::clamp(start, 0, sensor - size);
}

PanOutcome Pan(std::int32_t code, std::int32_t thumb, std::int32_t position, std::int32_t limit) {
    limit = std::max(limit, 0);
    PanOutcome out{position, false, true};
    switch (static_cast<ScrollCode>(code)) {
    case ScrollCode::lineBack:
        if (position <= 0) return {position, false, false};
        out.position = position - 1;
        break;
    case ScrollCode::lineForward:
        if (position >= limit) return {position, false, false};
        out.position = position + 1;
        break;
    case ScrollCode::pageBack:
        if (position - kPanPageStep < 0) {
            out.position = 0;
            out.accepted = false;
        } else {
            out.position = position - kPanPageStep;
        }
        break;
    case ScrollCode::pageForward:
        if (position + kPanPageStep > limit) {
            out.position = limit;
            out.accepted = false;
        } else {
            out.position = position + kPanPageStep;
        }
        break;
    case ScrollCode::thumbTrack: out.position = std::clamp(thumb, 0, limit); break;
    default: return out;
    }
    out.moved = true;
    return out;
}

}  // namespace twain
