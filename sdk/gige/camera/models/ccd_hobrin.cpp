#include "ccd_hobrin.h"

namespace kqge {

std::int32_t CKQGige_Hobrin::ExposureToLines(std::int64_t exposure) const {
    if (exposure < 64) return 1;
    if (exposure < 0x200000) return static_cast<std::int32_t>(exposure / 32);
    return 0xFFFF;
}

std::int32_t CKQGige_Hobrin::LinesToExposure(std::int64_t lines) const {
    return lines == 0 ? 1 : static_cast<std::int32_t>(lines * 32);
}

}  // namespace kqge
