// Little-endian values at fixed offsets of a byte buffer: the driver's wire
// blocks, the library's records and file headers, the binary archive.
//
// Header-only and platform-free; usable in the kernel driver too (no
// exceptions, no heap, nothing beyond <span>). Offsets are not checked: the
// caller guarantees that every byte it names lies inside the span.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace vz {

// The low `width` bytes (1 to 4) of v at out[at], least significant first.
constexpr void PutLE(std::span<std::uint8_t> out, std::size_t at, std::uint32_t v, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// `width` bytes (1 to 4) from in[at], least significant first.
constexpr std::uint32_t GetLE(std::span<const std::uint8_t> in, std::size_t at, std::size_t width) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < width; ++i) v |= static_cast<std::uint32_t>(in[at + i]) << (8 * i);
    return v;
}

constexpr void PutLE16(std::span<std::uint8_t> out, std::size_t at, std::uint16_t v) { PutLE(out, at, v, 2); }
constexpr void PutLE32(std::span<std::uint8_t> out, std::size_t at, std::uint32_t v) { PutLE(out, at, v, 4); }

constexpr std::uint16_t GetLE16(std::span<const std::uint8_t> in, std::size_t at) {
    return static_cast<std::uint16_t>(GetLE(in, at, 2));
}
constexpr std::uint32_t GetLE32(std::span<const std::uint8_t> in, std::size_t at) { return GetLE(in, at, 4); }

}  // namespace vz
