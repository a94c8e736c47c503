#include "ccd_ragnot.h"

namespace kqge {

std::int32_t CKQGige_Ragnot::SetColorMode(std::int32_t kind) {
    const std::int32_t result = CKQGige_Ostrel::SetColorMode(kind);
    if (result != 0 || Usable() != 0) return result;
    return WriteWideOutput(kind == 4);
}

std::int32_t CKQGige_Ragnot::SetValidBitsOff(std::int32_t shift) {
    if (OutputKindValue() == 4) return kUnsupported;
    return WriteValidBitsOff(shift);
}

std::int32_t CKQGige_Ragnot::ReapplyBeforeStream() {
    return WriteWideOutput(OutputKindValue() == 4) | CKQGige_Ostrel::ReapplyBeforeStream();
}

std::int32_t CKQGige_Ragnot::StreamWidth() const {
    const std::int32_t width = OutputSize().width;
    return OutputKindValue() == 4 ? 2 * width : width;
}

}  // namespace kqge
