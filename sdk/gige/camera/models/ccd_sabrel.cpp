#include "ccd_sabrel.h"

#include <algorithm>
#include <array>

namespace kqge {

std::int32_t CKQGige_Sabrel::ReapplyBeforeStream() {
    // The zoom is re-applied too; the CCD firmware answers it with 17.
    return CKQGige_Parsun::ReapplyBeforeStream() | SetZoomMode(ZoomMode());
}

int CKQGige_Sabrel::FlipPhase(std::int32_t kind) const {
    static constexpr std::array<int, 6> kPhase = {3, 4, 2, 1, 3, 3};
    return kPhase[static_cast<std::size_t>(kind)];
}

std::int32_t CKQGige_Sabrel::WriteColourGain(int which, std::int32_t gain) {
    if (CaptureModeValue() == 0) return CKQGige_Parsun::WriteColourGain(which, gain);
    const auto g = static_cast<std::uint32_t>(gain);
    if (which == 0) return Write(0xF0000080, g);
    if (which == 1) {
        const std::array<std::uint32_t, 2> addresses = {0xF0000070, 0xF00000A0};
        const std::array<std::uint32_t, 2> values = {g, g};
        return Writes(addresses, values);
    }
    return Write(0xF0000090, g);
}

std::int32_t CKQGige_Sabrel::ExposureToLines(std::int64_t exposure) const {
    const auto lines = static_cast<std::int64_t>(static_cast<double>(exposure) * 36.0 / LineTime());
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(lines, 1, 32767));
}

std::int32_t CKQGige_Sabrel::LinesToExposure(std::int64_t lines) const {
    const auto exposure = static_cast<std::int64_t>(static_cast<double>(lines) * LineTime() / 36.0);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(exposure, 1, 0x7FFFFFFF));
}

}  // namespace kqge
