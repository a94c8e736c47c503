#pragma once
// Counts the frames the camera's stream delivers, so the application's
// thread can wait for the next one without holding any library lock. The
// count is bumped from the library's frame callback on the capture thread.

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "KQCMOSu.h"

namespace twain::win32 {

class FrameArrivals {
public:
    std::uint64_t Count() const;
    // True once more than `seen` frames have arrived; false at `deadline`.
    bool WaitPast(std::uint64_t seen, std::chrono::steady_clock::time_point deadline) const;

    // The library's frame callback; context is the FrameArrivals.
    static int KQAPI OnFrame(unsigned char* frame, int unused, void* context);

private:
    mutable std::mutex lock_;
    mutable std::condition_variable arrived_;
    std::uint64_t count_ = 0;
};

}  // namespace twain::win32
