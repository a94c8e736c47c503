#pragma once
// The TWAIN device library's camera state and its parameter ids: what
// GetParam answers, what SetParam changes and which camera and host calls
// follow, the preview's start and stop, panning, and the automatic exposure
// and white-balance results. Platform-free: the camera and the windows are
// reached through the two ports.
//
// Threads: everything runs on the application's thread except the two
// result handlers, which run on the camera's capture thread. They touch
// only the atomic values (exposure, white-balance gains, continuous
// exposure) and report through HostPort::Report, which never waits, so
// the application's thread may stop the capture thread at any time.

#include <atomic>
#include <cstdint>

#include "capture_geometry.h"
#include "core/capinfo_record.h"
#include "device_ports.h"
#include "resolution_table.h"
#include "twain_settings.h"

namespace twain {

// The settings dialog's message for values the library changed itself.
inline constexpr std::uint32_t kParamChangedMessage = 1174;  // WM_USER + 150
inline constexpr std::uint32_t kLastParamId = 32;
// Fixed display of ZoomMode 1, and the scroll bars' pages.
inline constexpr std::int32_t kZoomDisplayWidth = 800;
inline constexpr std::int32_t kZoomDisplayHeight = 600;
// Period of the continuous exposure started at open, and by the dialog.
inline constexpr std::int32_t kOpenExposurePeriodMs = 1000;
inline constexpr std::int32_t kDialogExposurePeriodMs = 100;

// value | range << 16, as GetParam answers and message 1174 carries.
constexpr std::int32_t PackParam(std::int32_t value, std::int32_t range) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(range) << 16) |
                                     (static_cast<std::uint32_t>(value) & 0xFFFFu));
}

enum class ScrollAxis { horizontal, vertical };

class TwainDevice {
public:
    TwainDevice(CameraPort& camera, HostPort& host, const ModelProfile& profile, const TwainSettings& settings);

    // Applies the loaded settings to the opened camera: the window of the
    // size mode, colour, flip, contrast, gains, gamma, HDR, colour
    // correction, and continuous exposure when it was on.
    void Open();

    void StartPreview(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    void StopPreview();
    // False for an id it does not answer (value is then left alone).
    bool GetParam(std::uint32_t id, std::int32_t& value) const;
    void SetParam(std::uint32_t id, std::int32_t value);

    // One scroll step of the preview along an axis whose visible part is
    // visibleSize pixels; moves the camera's display offset.
    PanOutcome Scroll(ScrollAxis axis, std::int32_t code, std::int32_t thumb, std::int32_t visibleSize);

    // Capture thread: the results of one-shot white balance (red << 16 |
    // green, blue << 16) and of automatic exposure.
    void OnWhiteBalanceResult(std::int32_t redGreen, std::int32_t blue);
    void OnExposureResult(std::int32_t exposure);
    // The continuous-exposure timer's tick, on the timer's own thread.
    void OnExposureTick();

    // The settings as they are now, for saving.
    TwainSettings Settings() const;
    const ModelProfile& Profile() const { return profile_; }
    const kq::CapInfo& Working() const { return working_; }
    const kq::CapInfo& Display() const { return display_; }
    std::int32_t OutputBits() const { return settings_.outputBits; }
    bool PreviewRunning() const { return previewRunning_; }
    std::int32_t ScrollX() const { return scrollX_; }
    std::int32_t ScrollY() const { return scrollY_; }

private:
    std::int32_t Width() const { return static_cast<std::int32_t>(working_.width); }
    std::int32_t Height() const { return static_cast<std::int32_t>(working_.height); }
    // The working block with the latest exposure, as the camera gets it.
    kq::CapInfo Current(kq::CapInfo block) const;
    void SendWorking();
    // The block the gain and sensitivity changes go out with.
    void SendForZoomMode();
    void SetExposure(std::int32_t exposure);
    void SetWhiteBalance(GainChannel channel, std::int32_t gain);
    void SelectSize(std::int32_t sizeMode);
    void KeepStartsForSize(std::int32_t sizeMode);
    void SetWidth(std::int32_t value);
    void SetHeight(std::int32_t value);
    void SetOffset(ScrollAxis axis, std::int32_t value);
    void SetColorMode(std::int32_t value);
    void SetFlip(std::int32_t value);
    void SetSubPixel(std::int32_t value);
    void SetContinuousExposure(std::int32_t value);
    void SetNoiseRemoval(std::int32_t value);
    void SetSensitiveMode(std::int32_t value);
    void SetGlobalGain(std::int32_t value);
    void SetZoomMode(std::int32_t value);
    // Stops the view while op changes the camera, and starts it again as it
    // was; nothing is started when no preview runs.
    template <class Op>
    void WithViewStopped(const ViewPlacement& restart, Op&& op);
    ViewPlacement PreviewPlacement() const;
    ViewPlacement ChildPlacement() const;
    void ApplyDisplaySize();
    void ResetScrollBars();
    void ReportOffsets();
    std::int32_t SizeModeOfCurrentSize() const;

    CameraPort& camera_;
    HostPort& host_;
    ModelProfile profile_;
    TwainSettings settings_;
    kq::CapInfo working_;
    kq::CapInfo display_;
    // Written by the capture thread's result handlers.
    std::atomic<std::int32_t> exposure_;
    std::atomic<std::int32_t> whiteRed_;
    std::atomic<std::int32_t> whiteGreen_;
    std::atomic<std::int32_t> whiteBlue_;
    std::atomic<std::int32_t> conAe_;
    std::atomic<bool> exposureStopRequested_{false};

    std::int32_t previewX_ = 0;
    std::int32_t previewY_ = 0;
    std::int32_t previewWidth_ = 0;
    std::int32_t previewHeight_ = 0;
    bool previewRunning_ = false;
    std::int32_t scrollX_ = 0;
    std::int32_t scrollY_ = 0;
};

}  // namespace twain
