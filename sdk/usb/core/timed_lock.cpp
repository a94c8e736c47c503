#include "timed_lock.h"

namespace kq {

bool RecursiveTimedLock::TakeLocked(std::thread::id self) {
    if (depth_ != 0 && owner_ != self) return false;
    owner_ = self;
    ++depth_;
    return true;
}

void RecursiveTimedLock::lock() {
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock<std::mutex> hold(state_);
    released_.wait(hold, [&] { return TakeLocked(self); });
}

bool RecursiveTimedLock::try_lock() {
    std::lock_guard<std::mutex> hold(state_);
    return TakeLocked(std::this_thread::get_id());
}

bool RecursiveTimedLock::try_lock_for(std::chrono::steady_clock::duration wait) {
    const std::thread::id self = std::this_thread::get_id();
    std::unique_lock<std::mutex> hold(state_);
    return released_.wait_for(hold, wait, [&] { return TakeLocked(self); });
}

void RecursiveTimedLock::unlock() {
    {
        std::lock_guard<std::mutex> hold(state_);
        if (depth_ == 0 || --depth_ != 0) return;
        owner_ = std::thread::id();
    }
    released_.notify_one();
}

}  // namespace kq
