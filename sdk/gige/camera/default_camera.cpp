#include "default_camera.h"

#include <algorithm>
#include "result_codes.h"
#include <array>
#include <cmath>

namespace kqge {
namespace {

constexpr std::uint32_t kOffsetH = 0xF0000010;
constexpr std::uint32_t kOffsetV = 0xF0000020;
constexpr std::uint32_t kHeight = 0xF0000030;
constexpr std::uint32_t kWidth = 0xF0000040;
constexpr std::uint32_t kCaptureMode = 0xF0000070;
constexpr std::uint32_t kExposure = 0xF00000B0;
constexpr std::uint32_t kReadout = 0xF00000D0;
constexpr std::uint32_t kFlash = 0xF00001B0;
constexpr std::uint32_t kStreamSetup = 0xF0000200;
constexpr std::uint32_t kZoomH = 0xF0000220;
constexpr std::uint32_t kZoomV = 0xF0000230;
constexpr std::uint32_t kColourGain = 0xF00002C0;
constexpr std::uint32_t kGain = 0xF0000350;
constexpr std::uint32_t kAutoControl = 0xF0000AF0;
constexpr std::uint32_t kIpConfig = 0xF0004000;
constexpr std::uint32_t kSpeed = 0xF0005000;
constexpr std::uint32_t kPersistentIp = 0x064C;
constexpr std::uint32_t kPersistentMask = 0x065C;
constexpr std::uint32_t kPersistentGateway = 0x066C;

// Output size of `size` under a zoom code: 1 halves, 2 quarters (rounded up).
std::int32_t Zoomed(std::int32_t size, std::uint32_t code) {
    if (code == 1) return (size + 1) / 2;
    if (code == 2) return (size + 3) / 4;
    return size;
}

}  // namespace

std::int32_t CDefaultCamera::StartStream() {
    const std::int32_t checks = StartChecks();
    if (checks == kAlreadyDone) return 0;
    if (checks != 0) return checks;
    const std::int32_t setup = Write(kStreamSetup, 0x3D5);
    return setup | StartStreamCommon(OutputSize().width);
}

std::int32_t CDefaultCamera::SetExposure(std::uint32_t exposure) {
    if (const std::int32_t usable = Usable()) return usable;
    StoreExposure(exposure);
    return Write(kExposure, exposure);
}

std::int32_t CDefaultCamera::SetGainR(std::uint32_t gain) {
    if (const std::int32_t usable = Usable()) return usable;
    return Write(kGain, gain) | kUnsupported;
}

std::int32_t CDefaultCamera::SetGainG(std::uint32_t gain) {
    if (const std::int32_t usable = Usable()) return usable;
    return Write(kColourGain, gain) | kUnsupported;
}

std::int32_t CDefaultCamera::SetGainB(std::uint32_t gain) {
    if (const std::int32_t usable = Usable()) return usable;
    return Write(kColourGain, gain) | kUnsupported;
}

std::int32_t CDefaultCamera::SetGain_A(std::int32_t gain) {
    if (const std::int32_t usable = Usable()) return usable;
    StoreGain(3, gain);
    return Write(kGain, static_cast<std::uint32_t>(gain));
}

std::int32_t CDefaultCamera::ApplyResolution(std::uint32_t width, std::uint32_t height) {
    const ModelTraits& t = traits();
    // At least one 2 x 2 cell: a zero size would make empty frames.
    const auto w = static_cast<std::int32_t>(std::clamp<std::uint32_t>(width, 2, t.maxWidth)) & ~1;
    const auto h = static_cast<std::int32_t>(std::clamp<std::uint32_t>(height, 2, t.maxHeight)) & ~1;
    std::uint32_t readout = 0;
    std::int32_t result = Read(kReadout, readout);
    const std::uint32_t zoom = (readout >> 2) & 3;
    SetGeometry({w, h}, {Zoomed(w, zoom), Zoomed(h, zoom)});
    result |= WriteRetried(kWidth, static_cast<std::uint32_t>(w));
    result |= WriteRetried(kHeight, static_cast<std::uint32_t>(h));
    ConfigureDrawing();
    return result;
}

std::int32_t CDefaultCamera::SetResolution(std::uint32_t width, std::uint32_t height) {
    if (const std::int32_t usable = Usable()) return usable;
    const std::int32_t result = ApplyResolution(width, height);
    return result | ReapplyExposure();
}

std::int32_t CDefaultCamera::SetOffsetH(std::int32_t offset) {
    if (const std::int32_t usable = Usable()) return usable;
    const std::int32_t most = traits().maxWidth - RawSize().width;
    const std::int32_t x = std::clamp(offset, 0, std::max(most, 0)) & ~1;
    StoreOffset(false, x);
    return Write(kOffsetH, static_cast<std::uint32_t>(x + traits().offsetBaseH));
}

std::int32_t CDefaultCamera::SetOffsetV(std::int32_t offset) {
    if (const std::int32_t usable = Usable()) return usable;
    const std::int32_t most = traits().maxHeight - RawSize().height;
    const std::int32_t y = std::clamp(offset, 0, std::max(most, 0)) & ~1;
    StoreOffset(true, y);
    return Write(kOffsetV, static_cast<std::uint32_t>(y + traits().offsetBaseV));
}

std::int32_t CDefaultCamera::EnableAE(bool on) {
    if (const std::int32_t usable = Usable()) return usable;
    StoreAeAg(on, AgOn());
    return Write(kAutoControl, (AgOn() ? 2u : 0u) + (on ? 1u : 0u));
}

std::int32_t CDefaultCamera::EnableAG(bool on) {
    if (const std::int32_t usable = Usable()) return usable;
    StoreAeAg(AeOn(), on);
    return Write(kAutoControl, (on ? 2u : 0u) + (AeOn() ? 1u : 0u));
}

std::int32_t CDefaultCamera::SetFlipMode(std::int32_t kind) {
    if (const std::int32_t usable = Usable()) return usable;
    if (kind < 0 || kind > 5) return kOutOfRange;
    static constexpr std::array<int, 6> kPhase = {4, 3, 1, 2, 4, 4};
    SetFlipKind(kind, kPhase[static_cast<std::size_t>(kind)]);
    ConfigureDrawing();
    return 0;
}

std::int32_t CDefaultCamera::SetZoomMode(std::int32_t mode) {
    if (const std::int32_t usable = Usable()) return usable;
    static constexpr std::array<std::uint32_t, 3> kCodes = {0, 1, 3};
    if (mode < 0 || mode > 2) return kOutOfRange;
    StoreZoom(mode);
    const FrameSize raw = RawSize();
    const auto zoom = static_cast<std::uint32_t>(mode);
    SetGeometry(raw, {Zoomed(raw.width, zoom), Zoomed(raw.height, zoom)});
    const std::uint32_t code = kCodes[static_cast<std::size_t>(mode)];
    const std::array<std::uint32_t, 2> addresses = {kZoomH, kZoomV};
    const std::array<std::uint32_t, 2> values = {code, code};
    const std::int32_t result = Writes(addresses, values);
    ConfigureDrawing();
    return result;
}

std::int32_t CDefaultCamera::SetCapMode(std::int32_t mode) {
    if (const std::int32_t usable = Usable()) return usable;
    StoreCaptureMode(mode);
    return Write(kCaptureMode, mode == 0 || mode == 2 ? 0x398u : 0x388u);
}

std::int32_t CDefaultCamera::SetSpeedMode(std::int32_t mode) {
    if (const std::int32_t usable = Usable()) return usable;
    StoreSpeed(mode);
    const std::uint32_t value = mode >= 1 && mode <= 3 ? 1u << mode : 1u;
    return Write(kSpeed, value) | ReapplyExposure();
}

std::int32_t CDefaultCamera::SetCameraIP(std::uint32_t ip, std::uint32_t mask, std::uint32_t gateway) {
    if (const std::int32_t usable = Usable()) return usable;
    const std::array<std::uint32_t, 3> addresses = {kPersistentIp, kPersistentMask, kPersistentGateway};
    const std::array<std::uint32_t, 3> values = {ip, mask, gateway};
    return Writes(addresses, values);
}

std::int32_t CDefaultCamera::IPConfig(bool on) {
    if (Usable() != 0) return result::kNotAcknowledged;
    return Write(kIpConfig, on ? 1u : 0xFFu);
}

std::int32_t CDefaultCamera::SetFlashState(bool on, bool mode) {
    if (const std::int32_t usable = Usable()) return usable;
    return Write(kFlash, on ? (mode ? 0u : 2u) : 1u);
}

std::int32_t CDefaultCamera::ExposureToLines(std::int64_t exposure) const {
    if (HdrState() && exposure >= 512 && exposure <= 524) exposure = 511;
    const double s = std::ldexp(1.0, SpeedMode() & 31);
    const double c = SensorClockMHz();
    const std::int64_t line = RawSize().width;
    const auto overhead = static_cast<std::int64_t>(std::floor(s * static_cast<double>(line - 161) / c));
    const std::int64_t remainder = overhead >= exposure ? 1 : exposure - overhead;
    const auto scaled = static_cast<std::int64_t>(std::floor(static_cast<double>(remainder) * c / s));
    const std::int64_t lines = scaled / (line + 94);
    if (lines < 3) return 2;
    return lines >= 32768 ? 32767 : static_cast<std::int32_t>(lines);
}

std::int32_t CDefaultCamera::LinesToExposure(std::int64_t lines) const {
    const double s = std::ldexp(1.0, SpeedMode() & 31);
    const double c = SensorClockMHz();
    const std::int64_t line = RawSize().width;
    const auto exposure = static_cast<std::int64_t>(std::floor(s * static_cast<double>((line + 94) * lines) / c)) +
                          static_cast<std::int64_t>(std::floor(s * static_cast<double>(line - 161) / c));
    if (exposure < 3) return 2;
    return static_cast<std::int32_t>(std::min<std::int64_t>(exposure, 0x7FFFFFFF));
}

}  // namespace kqge
