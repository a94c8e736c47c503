#include "ccd_parsun.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "result_codes.h"

namespace kqge {
namespace {

constexpr std::uint32_t kCaptureMode = 0xF0000010;
constexpr std::uint32_t kGlobalGain = 0xF0000020;
constexpr std::uint32_t kHeight = 0xF0000030;
constexpr std::uint32_t kWidth = 0xF0000040;
constexpr std::uint32_t kFlash = 0xF0000060;
constexpr std::uint32_t kBlueGain = 0xF0000070;
constexpr std::uint32_t kGreenGain2 = 0xF0000080;
constexpr std::uint32_t kGreenGain1 = 0xF0000090;
constexpr std::uint32_t kRedGain = 0xF00000A0;
constexpr std::uint32_t kExposure = 0xF0000160;
constexpr std::uint32_t kIpConfig = 0xF0004000;
constexpr std::uint32_t kValidBits = 0xF0005400;
constexpr std::uint32_t kPixelFormat = 0xF0000000;

}  // namespace

std::int32_t CKQGige_Parsun::StartStream() {
    const std::int32_t checks = StartChecks();
    if (checks == kAlreadyDone) return 0;
    if (checks != 0) return checks;
    // The settings are sent again because the camera may have restarted;
    // the answer is the stream's.
    (void)ReapplyBeforeStream();
    return StartStreamCommon(StreamWidth());
}

std::int32_t CKQGige_Parsun::ReapplyBeforeStream() {
    std::int32_t result = SetCapMode(CaptureModeValue());
    for (int which = 0; which < 3; ++which) result |= WriteColourGain(which, GainValue(which));
    result |= SetGain_A(GainValue(3));
    const FrameSize raw = RawSize();
    return result | SetResolution(static_cast<std::uint32_t>(raw.width), static_cast<std::uint32_t>(raw.height));
}

std::int32_t CKQGige_Parsun::SetExposure(std::uint32_t exposure) {
    if (const std::int32_t usable = Usable()) return usable;
    StoreExposure(exposure);
    return Write(kExposure, static_cast<std::uint32_t>(ExposureToLines(exposure)));
}

std::int32_t CKQGige_Parsun::WriteColourGain(int which, std::int32_t gain) {
    if (which == 0) {
        const std::int32_t mode = CaptureModeValue();
        return mode >= 0 && mode <= 2 ? Write(kRedGain, static_cast<std::uint32_t>(gain)) : 0;
    }
    if (which == 1) {
        const std::array<std::uint32_t, 2> addresses = {kGreenGain1, kGreenGain2};
        const std::array<std::uint32_t, 2> values = {static_cast<std::uint32_t>(gain),
                                                     static_cast<std::uint32_t>(gain)};
        return Writes(addresses, values);
    }
    return Write(kBlueGain, static_cast<std::uint32_t>(gain));
}

std::int32_t CKQGige_Parsun::SetGainR(std::uint32_t gain) {
    if (const std::int32_t usable = Usable()) return usable;
    const auto g = static_cast<std::int32_t>(std::clamp<std::uint32_t>(gain, 1, 63));
    StoreGain(0, g);
    return WriteColourGain(0, g);
}

std::int32_t CKQGige_Parsun::SetGainG(std::uint32_t gain) {
    if (const std::int32_t usable = Usable()) return usable;
    const auto g = static_cast<std::int32_t>(std::clamp<std::uint32_t>(gain, 1, 63));
    StoreGain(1, g);
    return WriteColourGain(1, g);
}

std::int32_t CKQGige_Parsun::SetGainB(std::uint32_t gain) {
    if (const std::int32_t usable = Usable()) return usable;
    const auto g = static_cast<std::int32_t>(std::clamp<std::uint32_t>(gain, 1, 63));
    StoreGain(2, g);
    return WriteColourGain(2, g);
}

std::int32_t CKQGige_Parsun::SetGain_A(std::int32_t gain) {
    if (const std::int32_t usable = Usable()) return usable;
    const std::int32_t g = std::clamp(gain, 1, MostGlobalGain());
    StoreGain(3, g);
    return Write(kGlobalGain, static_cast<std::uint32_t>(g));
}

std::int32_t CKQGige_Parsun::SetResolution(std::uint32_t width, std::uint32_t height) {
    if (const std::int32_t usable = Usable()) return usable;
    const ModelTraits& t = traits();
    // At least one 2 x 2 cell: a zero size would make empty frames.
    const auto w = static_cast<std::int32_t>(std::clamp<std::uint32_t>(width, 2, t.maxWidth)) & ~1;
    const auto h = static_cast<std::int32_t>(std::clamp<std::uint32_t>(height, 2, t.maxHeight)) & ~1;
    SetGeometry({w, h}, {w, h});
    std::int32_t result = WriteRetried(kWidth, static_cast<std::uint32_t>(w));
    result |= WriteRetried(kHeight, static_cast<std::uint32_t>(h));
    ConfigureDrawing();
    return result | SetExposure(StoredExposure());
}

int CKQGige_Parsun::FlipPhase(std::int32_t kind) const {
    static constexpr std::array<int, 6> kPhase = {4, 3, 1, 2, 4, 4};
    return kPhase[static_cast<std::size_t>(kind)];
}

std::int32_t CKQGige_Parsun::SetFlipMode(std::int32_t kind) {
    if (const std::int32_t usable = Usable()) return usable;
    if (kind < 0 || kind > 5) return kOutOfRange;
    SetFlipKind(kind, FlipPhase(kind));
    ConfigureDrawing();
    return 0;
}

std::int32_t CKQGige_Parsun::SetCapMode(std::int32_t mode) {
    if (const std::int32_t usable = Usable()) return usable;
    StoreCaptureMode(mode);
    return Write(kCaptureMode, mode == 0 ? 1u : mode == 2 ? 2u : 0u);
}

std::int32_t CKQGige_Parsun::SetCameraIP(std::uint32_t ip, std::uint32_t mask, std::uint32_t gateway) {
    if (const std::int32_t usable = Usable()) return usable;
    const std::array<std::uint32_t, 3> addresses = {0x064C, 0x065C, 0x066C};
    const std::array<std::uint32_t, 3> values = {ip, mask, gateway};
    return Writes(addresses, values);
}

std::int32_t CKQGige_Parsun::IPConfig(bool on) {
    if (const std::int32_t usable = Usable()) return usable;
    return Write(kIpConfig, on ? 1u : 0xFFu);
}

std::int32_t CKQGige_Parsun::SetFlashState(bool on, bool mode) {
    if (const std::int32_t usable = Usable()) return usable;
    return Write(kFlash, on ? (mode ? 1u : 3u) : 0u);
}

std::int32_t CKQGige_Parsun::WriteValidBitsOff(std::int32_t shift) {
    if (const std::int32_t usable = Usable()) return usable;
    if (shift < 0) return kOutOfRange;
    return Write(kValidBits, shift > 3 ? 1u : 2u << (3 - shift));
}

std::int32_t CKQGige_Parsun::WriteWideOutput(bool wide) {
    if (const std::int32_t usable = Usable()) return usable;
    if (!wide) return Write(kPixelFormat, 0x01080001);
    return Write(kValidBits, 0x20) | Write(kPixelFormat, 0x01100005);
}

std::int32_t CKQGige_Parsun::ExposureToLines(std::int64_t exposure) const {
    const auto lines = static_cast<std::int64_t>(static_cast<double>(exposure) / UnitsPerLine());
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(lines, 1, 32767));
}

std::int32_t CKQGige_Parsun::LinesToExposure(std::int64_t lines) const {
    const auto exposure = static_cast<std::int64_t>(static_cast<double>(lines) * UnitsPerLine());
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(exposure, 1, 0x7FFFFFFF));
}

}  // namespace kqge
