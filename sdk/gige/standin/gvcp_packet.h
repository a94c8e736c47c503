// GVCP packets as they travel between the driver stand-in and a simulated
// camera: an 8-byte command header (key 0x42, flags, command, length,
// request id; big-endian) before the body. An acknowledgement packet has the
// layout the driver hands back as its acknowledgement message.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kqge::standin {

inline constexpr std::uint8_t kGvcpKey = 0x42;
inline constexpr std::uint8_t kAckRequired = 0x01;

struct CommandPacket {
    std::uint16_t command = 0;
    std::uint16_t requestId = 0;
    std::span<const std::uint8_t> body;
};

std::vector<std::uint8_t> EncodeCommandPacket(std::uint16_t command, std::uint16_t requestId,
                                              std::span<const std::uint8_t> body);
// Empty without the key or when the length field disagrees with the body.
std::optional<CommandPacket> DecodeCommandPacket(std::span<const std::uint8_t> packet);

std::vector<std::uint8_t> EncodeAckPacket(std::uint16_t status, std::uint16_t ackCode, std::uint16_t ackId,
                                          std::span<const std::uint8_t> payload);

}  // namespace kqge::standin
