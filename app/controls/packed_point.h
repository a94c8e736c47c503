#pragma once
// A screen point packed into one message word, x in the high 16 bits and y
// in the low 16 bits. Both halves are signed: screens left of or above the
// primary one have negative coordinates.
#include <cstdint>

struct PackedPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const PackedPoint&, const PackedPoint&) = default;
};

constexpr std::uint32_t PackPoint(int x, int y) {
    return (static_cast<std::uint32_t>(static_cast<std::uint16_t>(x)) << 16) | static_cast<std::uint16_t>(y);
}

constexpr PackedPoint UnpackPoint(std::uint64_t word) {
    return {static_cast<std::int16_t>(static_cast<std::uint16_t>(word >> 16)),
            static_cast<std::int16_t>(static_cast<std::uint16_t>(word))};
}

// A mouse message's client point (x in the low word, y in the high word).
constexpr PackedPoint UnpackMousePoint(std::uint64_t lParam) {
    return {static_cast<std::int16_t>(static_cast<std::uint16_t>(lParam)),
            static_cast<std::int16_t>(static_cast<std::uint16_t>(lParam >> 16))};
}
