#pragma once
// What the TWAIN device library's parameter logic asks of the world: the
// camera (the USB library's calls on the open camera) and the host (the
// settings dialog, the preview window's scroll bars, the exposure timer and
// the trace file). The Windows device implements both; tests record them.

#include <cstdint>

#include "core/capinfo_record.h"

namespace twain {

// Where a view draws: its own top-level style (visible, maximised,
// overlapped) or a visible child of the preview window.
struct ViewPlacement {
    bool ownWindow = false;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const ViewPlacement&) const = default;
};

enum class GainChannel { red, green, blue };

// Calls on the open camera. StopView and any call that changes the frame
// size wait for the capture thread, so they are made without holding
// anything a camera callback needs.
class CameraPort {
public:
    virtual void SetCapInfo(const kq::CapInfo& record) = 0;
    virtual void SetWhiteBalanceGain(GainChannel channel, std::int32_t gain) = 0;
    virtual void SetContrast(std::int32_t value) = 0;
    virtual void SetColorMode(std::int32_t mode) = 0;  // 0 colour, 3 grey, 5 microscope
    virtual void SetFlip(std::int32_t flip) = 0;
    virtual void SetHdr(std::int32_t on) = 0;
    virtual void SetColorAdjust(std::int32_t value) = 0;
    virtual void SetGamma(std::int32_t index) = 0;
    virtual void SetVideoSize(std::int32_t width, std::int32_t height) = 0;
    virtual void SetScrollOffset(std::int32_t x, std::int32_t y) = 0;
    virtual void StartView(const ViewPlacement& placement) = 0;
    virtual void StopView() = 0;
    // One automatic white balance or exposure step; the result comes back
    // on the capture thread. The stops cancel a step not yet finished.
    virtual void RunWhiteBalanceOnce() = 0;
    virtual void StopWhiteBalance() = 0;
    virtual void RunExposureOnce() = 0;
    virtual void StopExposure() = 0;

protected:
    ~CameraPort() = default;
};

// The preview's scroll bars after a size change: disabled at 0 (a fixed
// 800 x 600 display), or enabled over 0 .. range with pages of 800 x 600.
struct ScrollBarLayout {
    bool enabled = false;
    std::int32_t horizontalRange = 0;
    std::int32_t verticalRange = 0;
    bool paintBlack = false;  // the preview is cleared first

    bool operator==(const ScrollBarLayout&) const = default;
};

class HostPort {
public:
    // Tells the settings dialog that the library changed a value by itself
    // (message 1174, wParam id, lParam value | range << 16). Any thread;
    // never waits for the dialog.
    virtual void Report(std::uint32_t id, std::int32_t value) = 0;
    virtual void ResetScrollBars(const ScrollBarLayout& layout) = 0;
    virtual void FocusPreview() = 0;
    virtual void ShowError(const char* text) = 0;
    // The continuous-exposure timer, owned by the thread that starts it:
    // every tick calls TwainDevice::OnExposureTick on that thread.
    virtual void StartExposureTimer(std::int32_t periodMs) = 0;
    virtual void StopExposureTimer() = 0;
    // The trace line of a height change.
    virtual void TraceHeightChange() = 0;

protected:
    ~HostPort() = default;
};

}  // namespace twain
