#include "exposure_timer.h"

#include <algorithm>
#include <mutex>
#include <utility>
#include <vector>

namespace twain::win32 {
namespace {

// A windowless timer's procedure learns only the id: the running timers of
// the process, by id.
std::mutex& TimersLock() {
    static std::mutex lock;
    return lock;
}
std::vector<std::pair<UINT_PTR, ExposureTimer*>>& Timers() {
    static std::vector<std::pair<UINT_PTR, ExposureTimer*>> timers;
    return timers;
}

}  // namespace

ExposureTimer::ExposureTimer(std::function<void()> tick) : tick_(std::move(tick)) {}

ExposureTimer::~ExposureTimer() { Stop(); }

void ExposureTimer::Start(int periodMs) {
    Stop();
    id_ = SetTimer(nullptr, 0, static_cast<UINT>(periodMs), &ExposureTimer::Tick);
    if (id_ == 0) return;
    std::lock_guard<std::mutex> hold(TimersLock());
    Timers().emplace_back(id_, this);
}

bool ExposureTimer::Stop() {
    if (id_ == 0) return false;
    const bool killed = KillTimer(nullptr, id_) != FALSE;
    {
        std::lock_guard<std::mutex> hold(TimersLock());
        auto& timers = Timers();
        timers.erase(std::remove_if(timers.begin(), timers.end(), [&](const auto& t) { return t.first == id_; }),
                     timers.end());
    }
    id_ = 0;
    return killed;
}

void CALLBACK ExposureTimer::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    ExposureTimer* owner = nullptr;
    {
        std::lock_guard<std::mutex> hold(TimersLock());
        for (const auto& [running, timer] : Timers()) {
            if (running == id) owner = timer;
        }
    }
    // The tick may stop this timer: it runs without the lock.
    if (owner != nullptr && owner->tick_) owner->tick_();
}

}  // namespace twain::win32
