#include "cmos_navelo.h"

#include <algorithm>
#include <array>

namespace kqge {
namespace {

constexpr std::uint32_t kOffsetV = 0xF0000010;
constexpr std::uint32_t kOffsetH = 0xF0000020;
constexpr std::uint32_t kHeight = 0xF0000030;
constexpr std::uint32_t kWidth = 0xF0000040;
constexpr std::uint32_t kExposure = 0xF0000090;
constexpr std::uint32_t kZoomH = 0xF0000220;
constexpr std::uint32_t kZoomV = 0xF0000230;
constexpr std::uint32_t kGreenGain = 0xF00002B0;
constexpr std::uint32_t kBlueGain = 0xF00002C0;
constexpr std::uint32_t kRedGain = 0xF00002D0;
constexpr std::uint32_t kCaptureBit = 0x08;
constexpr std::uint32_t kFlashBit = 0x10;
constexpr std::uint32_t kFlashLevelBit = 0x04;

// (line overhead c, divisor d) of a speed mode.
std::pair<double, double> SpeedTiming(std::int32_t speed) {
    if (speed == 1) return {837.0, 24.0};
    if (speed == 2) return {1155.0, 12.0};
    return {511.0, 48.0};
}

std::uint32_t ZoomCode(std::int32_t zoom) { return zoom == 1 ? 1u : zoom == 2 ? 3u : 0u; }

std::int32_t Zoomed(std::int32_t size, std::int32_t zoom) {
    if (zoom == 1) return (size + 1) / 2;
    if (zoom == 2) return (size + 3) / 4;
    return size;
}

}  // namespace

std::int32_t CKQGigE_CMOSNavelo::StartStream() {
    const std::int32_t checks = StartChecks();
    if (checks == kAlreadyDone) return 0;
    if (checks != 0) return checks;
    // The settings are sent again because the camera may have restarted;
    // the answer is the stream's.
    if (!FastCapture()) (void)ReapplyBeforeStream();
    return StartStreamCommon(StreamWidth());
}

std::int32_t CKQGigE_CMOSNavelo::ReapplyBeforeStream() {
    std::int32_t result = 0;
    for (int which = 0; which < 3; ++which) {
        const auto gain = static_cast<std::uint32_t>(std::max(GainValue(which), 1));
        result |= which == 0 ? SetGainR(gain) : which == 1 ? SetGainG(gain) : SetGainB(gain);
    }
    const FrameSize raw = RawSize();
    result |= SetResolution(static_cast<std::uint32_t>(raw.width), static_cast<std::uint32_t>(raw.height));
    result |= SetSpeedMode(SpeedMode());
    result |= SetOffsetH(OffsetValue(false));
    result |= SetOffsetV(OffsetValue(true));
    result |= SetGain_A(std::max(GainValue(3), 1));
    return result | SetZoomMode(ZoomMode());
}

std::int32_t CKQGigE_CMOSNavelo::CheckAccess() {
    if (const std::int32_t checked = CDefaultCamera::CheckAccess()) return checked;
    return SetExposure(StoredExposure());
}

std::int32_t CKQGigE_CMOSNavelo::ReleaseControl() {
    if (Channel() != nullptr && !ControlHeld()) return kNotOpened;
    return CDefaultCamera::ReleaseControl();
}

std::int32_t CKQGigE_CMOSNavelo::SetExposure(std::uint32_t exposure) {
    if (const std::int32_t usable = Usable()) return usable;
    StoreExposure(exposure);
    return Write(kExposure, static_cast<std::uint32_t>(ExposureToLines(exposure)));
}

std::int32_t CKQGigE_CMOSNavelo::SetGainR(std::uint32_t gain) {
    if (const std::int32_t usable = Usable()) return usable;
    const auto g = static_cast<std::int32_t>(std::clamp<std::uint32_t>(gain, 1, 63));
    StoreGain(0, g);
    return Write(kRedGain, static_cast<std::uint32_t>(g));
}

std::int32_t CKQGigE_CMOSNavelo::SetGainG(std::uint32_t gain) {
    if (const std::int32_t usable = Usable()) return usable;
    const auto g = static_cast<std::int32_t>(std::clamp<std::uint32_t>(gain, 1, 63));
    StoreGain(1, g);
    return Write(kGreenGain, static_cast<std::uint32_t>(g));
}

std::int32_t CKQGigE_CMOSNavelo::SetGainB(std::uint32_t gain) {
    if (const std::int32_t usable = Usable()) return usable;
    const auto g = static_cast<std::int32_t>(std::clamp<std::uint32_t>(gain, 1, 63));
    StoreGain(2, g);
    return Write(kBlueGain, static_cast<std::uint32_t>(g));
}

std::int32_t CKQGigE_CMOSNavelo::WriteAllGains(std::int32_t gain) {
    if (const std::int32_t usable = Usable()) return usable;
    const auto g = static_cast<std::uint32_t>(std::clamp(gain, 1, 63));
    StoreGain(3, static_cast<std::int32_t>(g));
    const std::array<std::uint32_t, 3> addresses = {kRedGain, kGreenGain, kBlueGain};
    const std::array<std::uint32_t, 3> values = {g, g, g};
    return Writes(addresses, values);
}

std::int32_t CKQGigE_CMOSNavelo::SetResolution(std::uint32_t width, std::uint32_t height) {
    if (const std::int32_t usable = Usable()) return usable;
    const ModelTraits& t = traits();
    const auto w = static_cast<std::int32_t>(std::clamp<std::uint32_t>(width, 2, t.maxWidth)) & ~1;
    const auto h = static_cast<std::int32_t>(std::clamp<std::uint32_t>(height, 2, t.maxHeight)) & ~1;
    const std::int32_t zoom = ZoomMode();
    SetGeometry({w, h}, {Zoomed(w, zoom), Zoomed(h, zoom)});
    const std::int32_t widthResult = WriteRetried(kWidth, static_cast<std::uint32_t>(w));
    const std::int32_t heightResult = WriteRetried(kHeight, static_cast<std::uint32_t>(h));
    const std::array<std::uint32_t, 2> addresses = {kZoomH, kZoomV};
    const std::array<std::uint32_t, 2> values = {ZoomCode(zoom), ZoomCode(zoom)};
    const std::int32_t zoomResult = Writes(addresses, values);
    ConfigureDrawing();
    (void)SetExposure(StoredExposure());
    return widthResult | heightResult | zoomResult;
}

std::int32_t CKQGigE_CMOSNavelo::SetOffsetH(std::int32_t offset) {
    if (const std::int32_t usable = Usable()) return usable;
    const std::int32_t most = traits().maxWidth - RawSize().width;
    const std::int32_t x = std::clamp(offset, 0, std::max(most, 0)) & ~1;
    StoreOffset(false, x);
    return Write(kOffsetH, static_cast<std::uint32_t>(x + traits().offsetBaseH));
}

std::int32_t CKQGigE_CMOSNavelo::SetOffsetV(std::int32_t offset) {
    if (const std::int32_t usable = Usable()) return usable;
    const std::int32_t most = traits().maxHeight - RawSize().height;
    const std::int32_t y = std::clamp(offset, 0, std::max(most, 0)) & ~1;
    StoreOffset(true, y);
    return Write(kOffsetV, static_cast<std::uint32_t>(y + traits().offsetBaseV));
}

std::int32_t CKQGigE_CMOSNavelo::SetCapMode(std::int32_t mode) {
    if (const std::int32_t usable = Usable()) return usable;
    if (mode == 2) return kUnsupported;
    if (mode != 0 && mode != 1) return kOutOfRange;
    std::uint32_t value = 0;
    if (const std::int32_t read = Read(kTriggerRegister, value)) return read;
    const std::int32_t result = Write(kTriggerRegister, mode == 0 ? (value | kCaptureBit) : (value & ~kCaptureBit));
    if (result == 0) StoreCaptureMode(mode);
    return result;
}

std::int32_t CKQGigE_CMOSNavelo::SetTriggerMode(std::int32_t mode) {
    if (mode != 0) return CDefaultCamera::SetTriggerMode(mode);
    if (const std::int32_t usable = Usable()) return usable;
    // Free run keeps the capture-mode bit the register holds.
    std::uint32_t value = 0;
    if (const std::int32_t read = Read(kTriggerRegister, value)) return read;
    return Write(kTriggerRegister, value & kCaptureBit);
}

std::int32_t CKQGigE_CMOSNavelo::SetFlashState(bool on, bool mode) {
    if (const std::int32_t usable = Usable()) return usable;
    std::uint32_t value = 0;
    if (const std::int32_t read = Read(kTriggerRegister, value)) return read;
    if (!on) {
        value &= ~kFlashBit;
    } else if (mode) {
        value = (value | kFlashBit) & ~kFlashLevelBit;
    } else {
        value |= kFlashBit | kFlashLevelBit;
    }
    return Write(kTriggerRegister, value);
}

double CKQGigE_CMOSNavelo::RootLines(double exposure) const {
    const auto [c, d] = SpeedTiming(SpeedMode());
    const std::int32_t zoom = ZoomMode();
    const double width = static_cast<double>(RawSize().width / (zoom != 0 ? 2 : 1));
    const double binning = zoom == 1 || zoom == 2 ? 1.5 : 1.0;
    return exposure * d / (c + width) / binning;
}

std::int32_t CKQGigE_CMOSNavelo::ExposureToLines(std::int64_t exposure) const {
    const auto lines = static_cast<std::int64_t>(RootLines(static_cast<double>(exposure))) * LineScale();
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(lines, 1, 32767));
}

std::int32_t CKQGigE_CMOSNavelo::LinesToExposure(std::int64_t lines) const {
    const auto [c, d] = SpeedTiming(SpeedMode());
    const std::int32_t zoom = ZoomMode();
    const double width = static_cast<double>(RawSize().width / (zoom != 0 ? 2 : 1));
    const double binning = zoom == 1 || zoom == 2 ? 1.5 : 1.0;
    const auto root = static_cast<std::int64_t>(static_cast<double>(lines) * (c + width) * binning / d);
    const std::int64_t exposure = root / LineScale();
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(exposure, 1, 0x7FFFFFFF));
}

}  // namespace kqge
