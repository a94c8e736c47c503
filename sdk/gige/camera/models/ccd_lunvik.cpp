#include "ccd_lunvik.h"

namespace kqge {

std::int32_t CKQGige_Lunvik::SetColorMode(std::int32_t kind) {
    const std::int32_t result = CKQGige_Parsun::SetColorMode(kind);
    if (result != 0 || Usable() != 0) return result;
    return WriteWideOutput(kind == 4);
}

std::int32_t CKQGige_Lunvik::SetValidBitsOff(std::int32_t shift) {
    if (OutputKindValue() == 4) return kUnsupported;
    return WriteValidBitsOff(shift);
}

std::int32_t CKQGige_Lunvik::ReapplyBeforeStream() {
    return WriteWideOutput(OutputKindValue() == 4) | CKQGige_Parsun::ReapplyBeforeStream();
}

std::int32_t CKQGige_Lunvik::StreamWidth() const {
    const std::int32_t width = OutputSize().width;
    return OutputKindValue() == 4 ? 2 * width : width;
}

}  // namespace kqge
