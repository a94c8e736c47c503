#include "gvcp_packet.h"

#include <algorithm>

#include "be_bytes.h"

namespace kqge::standin {

std::vector<std::uint8_t> EncodeCommandPacket(std::uint16_t command, std::uint16_t requestId,
                                              std::span<const std::uint8_t> body) {
    std::vector<std::uint8_t> packet(8 + body.size());
    packet[0] = kGvcpKey;
    packet[1] = kAckRequired;
    vz::PutBE16(packet, 2, command);
    vz::PutBE16(packet, 4, static_cast<std::uint16_t>(body.size()));
    vz::PutBE16(packet, 6, requestId);
    std::ranges::copy(body, packet.begin() + 8);
    return packet;
}

std::optional<CommandPacket> DecodeCommandPacket(std::span<const std::uint8_t> packet) {
    if (packet.size() < 8 || packet[0] != kGvcpKey) return std::nullopt;
    if (vz::GetBE16(packet, 4) != packet.size() - 8) return std::nullopt;
    return CommandPacket{vz::GetBE16(packet, 2), vz::GetBE16(packet, 6), packet.subspan(8)};
}

std::vector<std::uint8_t> EncodeAckPacket(std::uint16_t status, std::uint16_t ackCode, std::uint16_t ackId,
                                          std::span<const std::uint8_t> payload) {
    std::vector<std::uint8_t> packet(8 + payload.size());
    vz::PutBE16(packet, 0, status);
    vz::PutBE16(packet, 2, ackCode);
    vz::PutBE16(packet, 4, static_cast<std::uint16_t>(payload.size()));
    vz::PutBE16(packet, 6, ackId);
    std::ranges::copy(payload, packet.begin() + 8);
    return packet;
}

}  // namespace kqge::standin
