#include "fix32.h"

#include <cmath>
#include <cstring>

namespace twain {

TW_FIX32 ToFix32(float value) {
    const double scaled = static_cast<double>(value) * 65536.0;
    // Beyond the 16.16 range the value saturates rather than wraps.
    const double limited = std::fmax(std::fmin(std::round(scaled), 2147483647.0), -2147483648.0);
    const auto n = static_cast<std::int32_t>(limited);
    TW_FIX32 out{};
    out.Whole = static_cast<TW_INT16>(n >> 16);
    out.Frac = static_cast<TW_UINT16>(static_cast<std::uint32_t>(n) & 0xFFFFu);
    return out;
}

float FromFix32(TW_FIX32 value) { return static_cast<float>(value.Whole + value.Frac / 65536.0); }

TW_UINT32 Fix32Bits(TW_FIX32 value) {
    TW_UINT32 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

TW_FIX32 Fix32FromBits(TW_UINT32 bits) {
    TW_FIX32 value{};
    std::memcpy(&value, &bits, sizeof bits);
    return value;
}

}  // namespace twain
