#include "frame_pace.h"

namespace kqff::sim {

std::chrono::nanoseconds SensorFrameTime(std::uint32_t rows, std::uint32_t exposureLines,
                                         std::chrono::nanoseconds rowTime) {
    return rowTime * static_cast<std::int64_t>(std::max(rows, exposureLines));
}

FramePacer::Clock::time_point FramePacer::TakeDue(std::chrono::nanoseconds frameTime) {
    const Clock::time_point now = Clock::now();
    if (frameTime <= std::chrono::nanoseconds::zero()) {
        started_ = false;
        return now;
    }
    const Clock::time_point due = started_ ? std::max(last_ + frameTime, now) : now;
    last_ = due;
    started_ = true;
    return due;
}

}  // namespace kqff::sim
