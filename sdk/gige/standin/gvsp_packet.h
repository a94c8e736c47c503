// GVSP stream packets as a camera sends them to a host port: an 8-byte
// header (status, block id, packet format, 24-bit packet id; big-endian),
// then a leader (packet 0), payload packets 1..n, and a trailer. The leader
// carries the pixel format and size; its bytes 40-41 are the trigger mark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kqge::standin {

inline constexpr std::size_t kGvspHeaderBytes = 8;
inline constexpr std::size_t kGvspLeaderBytes = 44;
// IP, UDP and GVSP headers: a packet size minus this is the payload.
inline constexpr std::size_t kStreamOverheadBytes = 36;
inline constexpr std::uint32_t kMono8 = 0x01080001;
inline constexpr std::uint32_t kMono16 = 0x01100007;

enum class GvspFormat : std::uint8_t { leader = 1, trailer = 2, payload = 3 };

struct GvspHeader {
    std::uint16_t status = 0;
    std::uint16_t blockId = 0;
    GvspFormat format = GvspFormat::payload;
    std::uint32_t packetId = 0;
};

struct GvspLeader {
    std::uint32_t pixelFormat = kMono8;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t triggerMark = 0;
};

// Empty for a packet shorter than the header or of an unknown format.
std::optional<GvspHeader> DecodeGvspHeader(std::span<const std::uint8_t> packet);
// Empty unless the packet is a whole leader.
std::optional<GvspLeader> DecodeGvspLeader(std::span<const std::uint8_t> packet);
// Bytes per pixel of a pixel format (its bits 16-23 are bits per pixel);
// 0 unless a whole number of bytes.
std::size_t GvspBytesPerPixel(std::uint32_t pixelFormat);

std::vector<std::uint8_t> EncodeGvspLeader(std::uint16_t blockId, const GvspLeader& leader);
std::vector<std::uint8_t> EncodeGvspPayload(std::uint16_t blockId, std::uint32_t packetId,
                                            std::span<const std::uint8_t> data);
std::vector<std::uint8_t> EncodeGvspTrailer(std::uint16_t blockId, std::uint32_t packetId, std::uint32_t height);

}  // namespace kqge::standin
