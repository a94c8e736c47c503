// The device lock's bounded wait: it gives up while another thread holds the
// lock, takes it once released, lets its owner take it again, and hands the
// guarded data over between threads (under the thread checker, a wait it
// cannot follow is reported as a race on that data).

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "core/timed_lock.h"

namespace kq::test {
namespace {

using namespace std::chrono_literals;

// Runs `op` on another thread and returns its result.
template <class Op>
bool OnOtherThread(Op&& op) {
    return std::async(std::launch::async, std::forward<Op>(op)).get();
}

TEST(RecursiveTimedLock, BoundedWaitGivesUpWhileHeldAndTakesItOnceReleased) {
    RecursiveTimedLock lock;
    lock.lock();
    EXPECT_FALSE(OnOtherThread([&] { return lock.try_lock_for(20ms); }));
    EXPECT_FALSE(OnOtherThread([&] { return lock.try_lock(); }));

    std::promise<void> waiting;
    auto taken = std::async(std::launch::async, [&] {
        waiting.set_value();
        const bool got = lock.try_lock_for(30s);
        if (got) lock.unlock();
        return got;
    });
    waiting.get_future().wait();
    lock.unlock();
    EXPECT_TRUE(taken.get());
    EXPECT_TRUE(OnOtherThread([&] {
        const bool got = lock.try_lock_for(0ms);
        if (got) lock.unlock();
        return got;
    }));
}

TEST(RecursiveTimedLock, OwnerTakesItAgainAndOthersWaitForTheLastRelease) {
    RecursiveTimedLock lock;
    lock.lock();
    ASSERT_TRUE(lock.try_lock_for(0ms));
    ASSERT_TRUE(lock.try_lock());
    lock.unlock();
    lock.unlock();
    EXPECT_FALSE(OnOtherThread([&] { return lock.try_lock_for(10ms); }));
    lock.unlock();
    EXPECT_TRUE(OnOtherThread([&] {
        const bool got = lock.try_lock_for(0ms);
        if (got) lock.unlock();
        return got;
    }));
}

TEST(RecursiveTimedLock, GuardedDataPassesBetweenThreadsThroughTheBoundedWait) {
    RecursiveTimedLock lock;
    std::int64_t guarded = 0;
    constexpr int kThreads = 4;
    constexpr int kRounds = 2000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < kRounds; ++i) {
                std::unique_lock<RecursiveTimedLock> hold(lock, std::defer_lock);
                while (!hold.try_lock_for(1ms)) {
                }
                std::lock_guard<RecursiveTimedLock> again(lock);
                ++guarded;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(guarded, std::int64_t{kThreads} * kRounds);
}

}  // namespace
}  // namespace kq::test
