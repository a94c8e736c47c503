#include "cmos_jorvel.h"

#include <algorithm>

namespace kqge {
namespace {

constexpr std::uint32_t kStreamSetup = 0xF0000200;
constexpr std::size_t kDeviceVersionAt = 136;

}  // namespace

bool CKQGigE_CMOSJorvel::HasWideOutput() const { return Record().Bytes()[kDeviceVersionAt + 7] > '4'; }

std::int32_t CKQGigE_CMOSJorvel::SetZoomMode(std::int32_t mode) {
    if (const std::int32_t usable = Usable()) return usable;
    if (mode != 0 && mode != 1) return kOutOfRange;
    StoreZoom(mode);
    const FrameSize raw = RawSize();
    SetGeometry(raw, mode == 1 ? FrameSize{(raw.width + 1) / 2, (raw.height + 1) / 2} : raw);
    const std::int32_t result = Write(kStreamSetup, mode == 1 ? 0x111Cu : 0x1104u);
    ConfigureDrawing();
    return result;
}

std::int32_t CKQGigE_CMOSJorvel::SetColorMode(std::int32_t kind) {
    if (kind == 4 && !HasWideOutput()) return kUnsupported;
    return CKQGigE_CMOSNavelo::SetColorMode(kind);
}

std::int32_t CKQGigE_CMOSJorvel::ReapplyBeforeStream() {
    return CKQGigE_CMOSNavelo::ReapplyBeforeStream() | SetColorMode(OutputKindValue());
}

std::int32_t CKQGigE_CMOSJorvel::StreamWidth() const {
    const std::int32_t width = OutputSize().width;
    return OutputKindValue() == 4 ? 2 * width : width;
}

double CKQGigE_CMOSJorvel::Divisor() const {
    const std::int32_t speed = SpeedMode();
    return speed == 1 ? 24.0 : speed == 2 ? 12.0 : 48.0;
}

std::int32_t CKQGigE_CMOSJorvel::ExposureToLines(std::int64_t exposure) const {
    const double line = static_cast<double>(RawSize().width + 234);
    const auto lines = static_cast<std::int64_t>(static_cast<double>(exposure) * Divisor() / line);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(lines, 1, 32767));
}

std::int32_t CKQGigE_CMOSJorvel::LinesToExposure(std::int64_t lines) const {
    const double line = static_cast<double>(RawSize().width + 234);
    const auto exposure = static_cast<std::int64_t>(static_cast<double>(lines) * line / Divisor());
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(exposure, 1, 0x7FFFFFFF));
}

}  // namespace kqge
