#include "host_wait_layer.h"

#include <chrono>

namespace kqff::host {

HostWaitLayer::HostWaitLayer() {
    for (int i = 0; i < kEventCount; ++i) events_[i].signalled = IsInitiallySignalled(static_cast<KqEvent>(i));
}

HostWaitLayer::~HostWaitLayer() {
    if (thread_.joinable()) thread_.join();
}

void HostWaitLayer::SetEvent(KqEvent event) {
    {
        std::lock_guard lock(eventMutex_);
        EventState& e = events_[static_cast<int>(event)];
        e.signalled = true;
        ++e.sets;
    }
    eventChanged_.notify_all();
}

void HostWaitLayer::ClearEvent(KqEvent event) {
    std::lock_guard lock(eventMutex_);
    events_[static_cast<int>(event)].signalled = false;
}

int HostWaitLayer::WaitAny(std::span<const KqEvent> events, std::uint32_t timeoutMs) {
    std::unique_lock lock(eventMutex_);
    std::uint64_t setsAtStart[kEventCount] = {};
    for (KqEvent e : events) setsAtStart[static_cast<int>(e)] = events_[static_cast<int>(e)].sets;

    auto ready = [&]() -> int {
        for (std::size_t i = 0; i < events.size(); ++i) {
            EventState& e = events_[static_cast<int>(events[i])];
            const bool pulsed = IsManualReset(events[i]) && e.sets != setsAtStart[static_cast<int>(events[i])];
            if (e.signalled || pulsed) {
                if (!IsManualReset(events[i])) e.signalled = false;
                return static_cast<int>(i);
            }
        }
        return kWaitTimedOut;
    };

    int index = kWaitTimedOut;
    if (timeoutMs == kWaitForever) {
        eventChanged_.wait(lock, [&] { return (index = ready()) != kWaitTimedOut; });
    } else {
        eventChanged_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [&] { return (index = ready()) != kWaitTimedOut; });
    }
    return index;
}

void HostWaitLayer::Lock(KqLock lock) { locks_[static_cast<int>(lock)].lock(); }

void HostWaitLayer::Unlock(KqLock lock) { locks_[static_cast<int>(lock)].unlock(); }

NtStatus HostWaitLayer::StartThread(void (*entry)(void*), void* context) {
    if (thread_.joinable()) return kStatusUnsuccessful;
    try {
        thread_ = std::thread(entry, context);
    } catch (const std::system_error&) {
        return kStatusInsufficientResources;
    }
    return kStatusSuccess;
}

void HostWaitLayer::JoinThread() {
    if (thread_.joinable()) thread_.join();
}

void HostWaitLayer::Sleep(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace kqff::host
