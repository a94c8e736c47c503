#include "cmos752x480.h"

#include <algorithm>
#include <array>

namespace kqge {
namespace {

constexpr std::uint32_t kExposure = 0xF00000B0;
constexpr std::uint32_t kReadout = 0xF00000D0;
constexpr std::uint32_t kGain = 0xF0000350;

}  // namespace

std::int32_t Cmos752x480Camera::SetExposure(std::uint32_t exposure) {
    if (const std::int32_t usable = Usable()) return usable;
    StoreExposure(exposure);
    return Write(kExposure, static_cast<std::uint32_t>(ExposureToLines(exposure)));
}

std::int32_t Cmos752x480Camera::SetGain_A(std::int32_t gain) {
    if (const std::int32_t usable = Usable()) return usable;
    const std::int32_t g = std::clamp(gain, leastGain_, 63);
    StoreGain(3, g);
    return Write(kGain, static_cast<std::uint32_t>(g));
}

std::int32_t Cmos752x480Camera::SetFlipMode(std::int32_t kind) {
    if (const std::int32_t usable = Usable()) return usable;
    const std::int32_t zoom = ZoomMode();
    if (kind < 0 || kind > 5 || zoom < 0 || zoom > 2) return kOutOfRange;
    static constexpr std::array<std::uint32_t, 6> kFlipBits = {0, 0x20, 0x10, 0x30, 0, 0};
    static constexpr std::array<std::uint32_t, 3> kZoomBits = {0, 0x05, 0x0A};
    // The sensor mirrors in its readout; only the quarter turns are left to
    // the conversion.
    StoreFlipKind(kind);
    SetSoftwareFlip(kind == 4 || kind == 5 ? kind : 0);
    ConfigureDrawing();
    return Write(kReadout,
                 0x300 + kFlipBits[static_cast<std::size_t>(kind)] + kZoomBits[static_cast<std::size_t>(zoom)]);
}

std::int32_t Cmos752x480Camera::HDR_Enable(std::int32_t on) {
    if (const std::int32_t usable = Usable()) return usable;
    if (on != 0 && on != 1) return kOutOfRange;
    StoreHdrState(on == 1);
    const std::array<std::uint32_t, 5> addresses = {0xF00001C0, 0xF00000F0, 0xF00002C0, 0xF0000470, 0xF0000480};
    const std::array<std::uint32_t, 5> off = {2, 0x11, 4, 0x8040, 0};
    const std::array<std::uint32_t, 5> onValues = {3, 0x51, 7, 0x8071, 0x32};
    return Writes(addresses, on == 1 ? onValues : off);
}

std::int32_t Cmos752x480Camera::CheckAccess() {
    if (const std::int32_t checked = CDefaultCamera::CheckAccess()) return checked;
    const std::array<std::uint32_t, 3> addresses = {0xF0000070, 0xF0000C20, 0xF00001B0};
    const std::array<std::uint32_t, 3> values = {0x388, 0x840, 1};
    std::int32_t result = Writes(addresses, values);
    result |= EnableAE(false);
    return result | EnableAG(false);
}

}  // namespace kqge
