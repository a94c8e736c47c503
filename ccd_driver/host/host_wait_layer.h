// The wait/event layer over the C++ thread library, for running the driver
// core in a user-mode process (native tests, the SDK's simulated device).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "kqff_ports.h"

namespace kqff::host {

class HostWaitLayer final : public WaitLayer {
public:
    HostWaitLayer();
    ~HostWaitLayer();
    HostWaitLayer(const HostWaitLayer&) = delete;
    HostWaitLayer& operator=(const HostWaitLayer&) = delete;

    void SetEvent(KqEvent event) override;
    void ClearEvent(KqEvent event) override;
    int WaitAny(std::span<const KqEvent> events, std::uint32_t timeoutMs) override;
    void Lock(KqLock lock) override;
    void Unlock(KqLock lock) override;
    NtStatus StartThread(void (*entry)(void*), void* context) override;
    void JoinThread() override;
    void Sleep(std::uint32_t milliseconds) override;

private:
    struct EventState {
        bool signalled = false;
        // Counts sets, so that a waiter on a manual-reset event that is set and
        // cleared again before it runs still wakes, as kernel waiters do.
        std::uint64_t sets = 0;
    };

    std::mutex eventMutex_;
    std::condition_variable eventChanged_;
    EventState events_[kEventCount];
    std::mutex locks_[kLockCount];
    std::thread thread_;
};

}  // namespace kqff::host
