#pragma once
// Little-endian stores and loads at fixed offsets of a byte buffer.

#include <cstddef>
#include <cstdint>
#include <span>

namespace kq {

inline void PutLE16(std::span<std::uint8_t> out, std::size_t at, std::uint16_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

inline void PutLE32(std::span<std::uint8_t> out, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

inline std::uint16_t GetLE16(std::span<const std::uint8_t> in, std::size_t at) {
    return static_cast<std::uint16_t>(in[at] | (in[at + 1] << 8));
}

inline std::uint32_t GetLE32(std::span<const std::uint8_t> in, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(in[at + i]) << (8 * i);
    return v;
}

}  // namespace kq
