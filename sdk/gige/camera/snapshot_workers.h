// The threads that convert triggered frames and hand them to the trigger
// callback: at most eleven run at once, counted atomically. Every worker is
// joined, so none outlives the camera or the buffers it reads.
#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace kqge {

class SnapshotWorkers {
public:
    static constexpr int kMostRunning = 11;

    SnapshotWorkers() = default;
    SnapshotWorkers(const SnapshotWorkers&) = delete;
    SnapshotWorkers& operator=(const SnapshotWorkers&) = delete;
    ~SnapshotWorkers() { JoinAll(); }

    // Runs `work` on a new thread unless eleven run; false then.
    bool Start(std::function<void()> work);
    // Returns once every worker has ended.
    void JoinAll();
    int Running() const { return running_.load(); }

private:
    struct Slot {
        std::thread thread;
        std::atomic<bool> done{true};
    };

    std::mutex lock_;
    std::array<Slot, kMostRunning> slots_;
    std::atomic<int> running_{0};
};

}  // namespace kqge
