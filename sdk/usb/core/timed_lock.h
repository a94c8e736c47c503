#pragma once
// A recursive lock whose waits can be bounded. It is built on a plain mutex
// and a condition variable rather than on a timed mutex: every hand-over then
// goes through calls that thread checkers follow, where a timed mutex's
// bounded wait is invisible to them and makes them report the data it guards
// as raced. Meets the standard's Lockable and TimedLockable requirements for
// the durations used here.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace kq {

class RecursiveTimedLock {
public:
    RecursiveTimedLock() = default;
    RecursiveTimedLock(const RecursiveTimedLock&) = delete;
    RecursiveTimedLock& operator=(const RecursiveTimedLock&) = delete;

    void lock();
    bool try_lock();
    // False when another thread still holds the lock after `wait`.
    bool try_lock_for(std::chrono::steady_clock::duration wait);
    void unlock();

private:
    // Takes the lock for this thread when it is free or already its own.
    bool TakeLocked(std::thread::id self);

    std::mutex state_;
    std::condition_variable released_;
    std::thread::id owner_;
    std::uint32_t depth_ = 0;
};

}  // namespace kq
