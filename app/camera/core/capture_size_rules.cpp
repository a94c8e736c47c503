#include "capture_size_rules.h"

#include <algorithm>
#include <limits>

StillPlan PlanStillAtSize(CaptureSize capture, CaptureSize snapshot, std::uint32_t exposure, bool exposureInLines) {
    StillPlan plan{false, exposure};
    if (snapshot.width <= 0 || snapshot.height <= 0 || snapshot.width == capture.width ||
        snapshot.height == capture.height) {
        return plan;
    }
    plan.switchSize = true;
    if (exposureInLines) {
        const std::uint64_t scaled =
            std::uint64_t(std::max(capture.width, 0)) * std::uint64_t(exposure) / std::uint64_t(snapshot.width);
        plan.exposure =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(scaled, std::numeric_limits<std::uint32_t>::max()));
    }
    return plan;
}

std::uint32_t ClampWindowOffset(std::uint32_t offset, int size, int largest) {
    const std::int64_t room = std::max<std::int64_t>(std::int64_t(largest) - size, 0);
    return static_cast<std::uint32_t>(std::min<std::int64_t>(offset, room));
}

CaptureSize DeliveredFrameSize(CaptureSize requested, bool halfReadout, CaptureSize largest) {
    auto side = [&](int request, int limit) {
        const int bounded = std::clamp(request, 0, std::max(halfReadout ? limit / 2 : limit, 0));
        return bounded - bounded % 8;
    };
    return {side(requested.width, largest.width), side(requested.height, largest.height)};
}
