#pragma once
// Counts the frames a device delivers to its frame callback; tests wait for
// a count with a bounded wait.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

#include "core/callbacks.h"

namespace kq::test {

struct FrameCount {
    std::atomic<int> frames{0};
    static int KQ_STDCALL OnFrame(std::uint8_t*, std::int32_t, void* context) {
        ++static_cast<FrameCount*>(context)->frames;
        return 0;
    }
    // Bounded: false when the count is not reached in 20 s.
    bool WaitFor(int count) const {
        for (int i = 0; i < 2000 && frames < count; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return frames >= count;
    }
};

}  // namespace kq::test
