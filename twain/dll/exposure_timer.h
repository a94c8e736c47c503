#pragma once
// The continuous-exposure timer: a thread timer without a window, so it
// ticks on the thread that started it, through that thread's message loop.
// Only that thread may start or stop it; other threads ask the tick to stop
// it (see TwainDevice::OnExposureResult).

#include <windows.h>

#include <functional>

namespace twain::win32 {

class ExposureTimer {
public:
    explicit ExposureTimer(std::function<void()> tick);
    // Kills a running timer: no tick reaches a destroyed owner.
    ~ExposureTimer();
    ExposureTimer(const ExposureTimer&) = delete;
    ExposureTimer& operator=(const ExposureTimer&) = delete;

    // Starts or restarts with the period, on the calling thread.
    void Start(int periodMs);
    // True when a running timer was killed.
    bool Stop();
    bool Running() const { return id_ != 0; }
    // The timer's id while it runs, 0 otherwise.
    UINT_PTR Id() const { return id_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);

    std::function<void()> tick_;
    UINT_PTR id_ = 0;
};

}  // namespace twain::win32
