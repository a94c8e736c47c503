#include "ccd_ivrose.h"

#include "result_codes.h"

namespace kqge {
namespace {

constexpr std::uint32_t kCorrection = 0xF0005500;

}  // namespace

std::int32_t CKQGige_Ivrose::SetDoAutoCorrection() {
    if (const std::int32_t usable = Usable()) return usable;
    if (!Streaming()) return result::kNotAcknowledged;
    return Write(kCorrection, 1);
}

std::int32_t CKQGige_Ivrose::SetDoCorrecting(bool on) {
    if (const std::int32_t usable = Usable()) return usable;
    return Write(kCorrection, on ? 2u : 0u);
}

}  // namespace kqge
