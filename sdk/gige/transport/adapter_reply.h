// The adapter service's reply: a 32-bit count, then that many 536-byte
// adapter records back to back (count and handle little-endian). The reply
// is outside input: only records that arrived whole are read, and the names
// never run past their fields.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kqge {

inline constexpr std::size_t kAdapterRecordBytes = 536;
inline constexpr std::size_t kAdapterNameChars = 128;
// One pipe read returns at most this many bytes, so at most 7 records.
inline constexpr std::size_t kAdapterReplyMaxBytes = 4095;

struct AdapterRecord {
    std::uint32_t driverHandle = 0;  // as the service wrote it: 32 bits
    std::u16string name;
    std::u16string description;
    std::array<std::uint8_t, 4> ip{};    // network order
    std::array<std::uint8_t, 4> mask{};  // network order
    std::array<std::uint8_t, 6> mac{};
};

// The handle widened as a 32-bit process hands it to a 64-bit one: sign
// extended, so that the invalid handle stays -1.
inline std::int64_t WidenedDriverHandle(std::uint32_t handle) {
    return static_cast<std::int64_t>(static_cast<std::int32_t>(handle));
}

struct AdapterReply {
    std::int32_t status = 0;  // 0, 22 (unreadable or lying count) or 23 (no adapter)
    std::vector<AdapterRecord> adapters;
};

// 23 when the count is not positive; 22 when the reply is too short for
// the count or names more records than arrived whole.
AdapterReply ParseAdapterReply(std::span<const std::uint8_t> reply);

}  // namespace kqge
