// Big-endian values at fixed offsets of a byte buffer: the network fields of
// GigE Vision commands, acknowledgements and stream leaders.
//
// Header-only and platform-free, like le_bytes.h. Offsets are not checked:
// the caller guarantees that every byte it names lies inside the span.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vz {

// The low `width` bytes (1 to 4) of v at out[at], most significant first.
constexpr void PutBE(std::span<std::uint8_t> out, std::size_t at, std::uint32_t v, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * (width - 1 - i)));
}

// `width` bytes (1 to 4) from in[at], most significant first.
constexpr std::uint32_t GetBE(std::span<const std::uint8_t> in, std::size_t at, std::size_t width) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < width; ++i) v = (v << 8) | in[at + i];
    return v;
}

constexpr void PutBE16(std::span<std::uint8_t> out, std::size_t at, std::uint16_t v) { PutBE(out, at, v, 2); }
constexpr void PutBE32(std::span<std::uint8_t> out, std::size_t at, std::uint32_t v) { PutBE(out, at, v, 4); }

constexpr std::uint16_t GetBE16(std::span<const std::uint8_t> in, std::size_t at) {
    return static_cast<std::uint16_t>(GetBE(in, at, 2));
}
constexpr std::uint32_t GetBE32(std::span<const std::uint8_t> in, std::size_t at) { return GetBE(in, at, 4); }

}  // namespace vz
