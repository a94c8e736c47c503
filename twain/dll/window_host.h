#pragma once
// The host side of the TWAIN device library: the settings dialog hears of
// changed values by posted message 1174, the preview window's scroll bars
// follow the capture size, the continuous-exposure timer ticks on the
// thread that started it, and a height change leaves the trace line.

#include <windows.h>

#include <functional>

#include "ctwain.h"
#include "device_ports.h"
#include "exposure_timer.h"

namespace twain::win32 {

class WindowHost final : public HostPort {
public:
    // windows: read at each call (the data source sets them after creating
    // the object). camera: the handle the trace line names.
    WindowHost(const CTWAIN& windows, HANDLE camera, std::function<void()> exposureTick);

    void Report(std::uint32_t id, std::int32_t value) override;
    void ResetScrollBars(const ScrollBarLayout& layout) override;
    void FocusPreview() override;
    void ShowError(const char* text) override;
    void StartExposureTimer(std::int32_t periodMs) override;
    void StopExposureTimer() override;
    void TraceHeightChange() override;

    const ExposureTimer& Timer() const { return timer_; }

private:
    const CTWAIN& windows_;
    HANDLE camera_;
    ExposureTimer timer_;
};

}  // namespace twain::win32
