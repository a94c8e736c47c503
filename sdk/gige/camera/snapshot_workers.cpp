#include "snapshot_workers.h"

#include <utility>

namespace kqge {

bool SnapshotWorkers::Start(std::function<void()> work) {
    std::lock_guard guard(lock_);
    for (Slot& slot : slots_) {
        if (!slot.done.load()) continue;
        // A finished worker's thread is joined before its slot is reused.
        if (slot.thread.joinable()) slot.thread.join();
        slot.done = false;
        ++running_;
        slot.thread = std::thread([this, &slot, work = std::move(work)] {
            work();
            --running_;
            slot.done = true;
        });
        return true;
    }
    return false;
}

void SnapshotWorkers::JoinAll() {
    std::lock_guard guard(lock_);
    for (Slot& slot : slots_) {
        if (slot.thread.joinable()) slot.thread.join();
    }
}

}  // namespace kqge
