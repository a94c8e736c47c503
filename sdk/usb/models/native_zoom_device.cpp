#include "native_zoom_device.h"

#include <algorithm>
#include <chrono>

#include "kqff_protocol.h"
#include "sensor_timing.h"

namespace kq {
namespace {

constexpr std::uint8_t kOutputBits = 0xC0;
// Trigger and the output lines belong to their own setters.
constexpr std::uint8_t kKeptControlBits = capinfo_bits::trigger | kOutputBits;
constexpr std::uint8_t kZoomBits = capinfo_bits::halfReadout | capinfo_bits::zoom;
constexpr auto kResizeSettling = std::chrono::milliseconds(100);

}  // namespace

BaseDevice::WindowSize NativeZoomDevice::ZoomedWindow(std::uint32_t width, std::uint32_t height, std::int32_t mode,
                                                      std::uint8_t& control) const {
    if (mode != 1) return {width, height};
    control &= static_cast<std::uint8_t>(~kZoomBits);
    if (width == nativeWidth_) return {width, height};
    control |= capinfo_bits::halfReadout;
    return {width / 2, height / 2};
}

int NativeZoomDevice::SetCapInfo(const CapInfo& record) {
    if (Gone()) return status::kNoDevice;
    std::uint32_t width = record.width, height = record.height;
    if (LimitsRequestToSensor()) {
        width = std::min(width, static_cast<std::uint32_t>(geometry_.maxWidth));
        height = std::min(height, static_cast<std::uint32_t>(geometry_.maxHeight));
    }
    CapInfo next = TakeRecordFields(capInfo_, record, kKeptControlBits);
    const bool halfChosen = (next.control & capinfo_bits::halfReadout) != 0;
    const WindowSize window = ZoomedWindow(width, height, zoomMode_, next.control);
    if (window.width == 0 || window.height == 0) return status::kNotSupported;
    next.width = window.width;
    next.height = window.height;

    const bool running = streaming_ && !fastMode_;
    const bool restart = running && (window.width != capInfo_.width || window.height != capInfo_.height);
    if (restart && capture_.OnThisThread()) return status::kNotSupported;

    const CapInfo before = capInfo_;
    const std::uint32_t beforeTime = exposureTime_;
    capInfo_ = next;  // the conversion reads the new width
    if (exposureUnit_ == 0) {
        capInfo_.exposure = std::min(record.exposure, static_cast<std::uint32_t>(geometry_.maxExposure));
    } else {
        const std::uint32_t lines = ExposureToRegister(record.exposure);
        if (record.exposure != exposureTime_) exposureTime_ = RegisterToExposure(lines);
        capInfo_.exposure = lines;
    }
    if (hdr_ != 0) capInfo_.exposure = timing::HdrLines(capInfo_.exposure);
    if (centreWindow_ != 0) CentreWindow(capInfo_);
    const CapInfo wanted = capInfo_;
    capInfo_ = before;  // ApplyCapInfo takes the window as changed against what was sent

    const auto rollBack = [&](int rc) {
        capInfo_ = before;
        exposureTime_ = beforeTime;
        return rc;
    };
    if (restart && exposureUnit_ == 1 && SendsLinesBeforeResize()) {
        CapInfo settle = before;  // the old window with the new line count
        settle.exposure = wanted.exposure;
        if (const int rc = ApplyCapInfo(settle); rc != status::kSuccess) return rollBack(rc);
        Pause(kResizeSettling);
    }
    if (restart) StopCapture();
    if (const int rc = ApplyCapInfo(wanted); rc != status::kSuccess) {
        rollBack(rc);
        if (restart) StartCapture();  // streaming goes on with the format it had
        return rc;
    }
    requestedWidth_ = record.width;
    requestedHeight_ = record.height;
    requestedHalfReadout_ = halfChosen;
    // The limit applies to what is sent; the caller's value is kept.
    if (exposureUnit_ == 0) capInfo_.exposure = record.exposure;
    if (!restart) return status::kSuccess;
    Pipeline().FlatField().Reset();
    const int display = SetupDisplay();
    StartCapture();
    return display;
}

int NativeZoomDevice::SetZoomMode(std::int32_t mode) {
    if (Gone()) return status::kNoDevice;
    if (mode != 0 && mode != 1) return status::kNotSupported;
    if (capture_.OnThisThread()) return status::kNotSupported;
    const std::uint32_t width = requestedWidth_ != 0 ? requestedWidth_ : capInfo_.width;
    const std::uint32_t height = requestedHeight_ != 0 ? requestedHeight_ : capInfo_.height;
    CapInfo wanted = capInfo_;
    WindowSize window{width, height};
    if (mode == 1) {
        window = ZoomedWindow(width, height, mode, wanted.control);
    } else {
        wanted.control &= static_cast<std::uint8_t>(~kZoomBits);
        if (requestedHalfReadout_) wanted.control |= capinfo_bits::halfReadout;
    }
    if (window.width == 0 || window.height == 0) return status::kNotSupported;
    wanted.width = window.width;
    wanted.height = window.height;
    if (mode == 0 && centreWindow_ != 0 && !requestedHalfReadout_) CentreWindow(wanted);
    if (exposureUnit_ == 1) {
        const CapInfo before = capInfo_;
        capInfo_ = wanted;  // the conversion reads the window it is for
        wanted.exposure = ExposureToRegister(exposureTime_);
        capInfo_ = before;
    }

    const bool running = streaming_ && !fastMode_;
    if (running) StopCapture();
    const int rc = ApplyCapInfo(wanted);
    if (rc != status::kSuccess) {
        if (running) StartCapture();
        return rc;
    }
    windowChanged_ = true;
    Pipeline().FlatField().Reset();
    const int display = SetupDisplay();
    zoomMode_ = mode;
    if (running) StartCapture();
    return display;
}

int NativeZoomDevice::SetIO(std::uint8_t value) {
    if (Gone()) return status::kNoDevice;
    CapInfo record = capInfo_;
    record.control = static_cast<std::uint8_t>((record.control & ~kOutputBits) | ((value & 0x03) << 6));
    return ApplyCapInfo(record);
}

int NativeZoomDevice::SoftTrigger() {
    if (Gone()) return status::kNoDevice;
    return Control(kqff::kIoctlCommand5, {}, {}) ? status::kSuccess : status::kNoDevice;
}

}  // namespace kq
