#pragma once
// A mouse point packed into two 16-bit words (a message position or a mouse
// message's lParam). The words are signed: left of or above the primary
// screen they are negative.
#include <cstdint>

struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

constexpr ScreenPoint UnpackSignedPoint(std::uint32_t packed) {
    return {static_cast<std::int16_t>(packed & 0xFFFFu), static_cast<std::int16_t>(packed >> 16)};
}
