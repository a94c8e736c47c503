#include "gvsp_packet.h"

#include <algorithm>

#include "be_bytes.h"

namespace kqge::standin {
namespace {

constexpr std::uint16_t kImagePayload = 0x0001;

std::vector<std::uint8_t> Header(std::uint16_t blockId, GvspFormat format, std::uint32_t packetId,
                                 std::size_t bodyBytes) {
    // No datagram carries more; the bound also keeps the size from wrapping.
    std::vector<std::uint8_t> packet(kGvspHeaderBytes + std::min<std::size_t>(bodyBytes, 0xFFFF), 0);
    vz::PutBE16(packet, 2, blockId);
    packet[4] = static_cast<std::uint8_t>(format);
    vz::PutBE(packet, 5, packetId, 3);
    return packet;
}

}  // namespace

std::optional<GvspHeader> DecodeGvspHeader(std::span<const std::uint8_t> packet) {
    if (packet.size() < kGvspHeaderBytes) return std::nullopt;
    const std::uint8_t format = packet[4] & 0x0F;
    if (format < 1 || format > 3) return std::nullopt;
    return GvspHeader{vz::GetBE16(packet, 0), vz::GetBE16(packet, 2), static_cast<GvspFormat>(format),
                      vz::GetBE(packet, 5, 3)};
}

std::optional<GvspLeader> DecodeGvspLeader(std::span<const std::uint8_t> packet) {
    const auto header = DecodeGvspHeader(packet);
    if (!header || header->format != GvspFormat::leader || packet.size() < kGvspLeaderBytes) return std::nullopt;
    return GvspLeader{vz::GetBE32(packet, 20), vz::GetBE32(packet, 24), vz::GetBE32(packet, 28),
                      vz::GetBE16(packet, 40)};
}

std::size_t GvspBytesPerPixel(std::uint32_t pixelFormat) {
    const std::uint32_t bits = (pixelFormat >> 16) & 0xFF;
    return bits % 8 == 0 ? bits / 8 : 0;
}

std::vector<std::uint8_t> EncodeGvspLeader(std::uint16_t blockId, const GvspLeader& leader) {
    auto packet = Header(blockId, GvspFormat::leader, 0, kGvspLeaderBytes - kGvspHeaderBytes);
    vz::PutBE16(packet, 10, kImagePayload);
    vz::PutBE32(packet, 20, leader.pixelFormat);
    vz::PutBE32(packet, 24, leader.width);
    vz::PutBE32(packet, 28, leader.height);
    vz::PutBE16(packet, 40, leader.triggerMark);
    return packet;
}

std::vector<std::uint8_t> EncodeGvspPayload(std::uint16_t blockId, std::uint32_t packetId,
                                            std::span<const std::uint8_t> data) {
    auto packet = Header(blockId, GvspFormat::payload, packetId, data.size());
    std::ranges::copy(data.first(packet.size() - kGvspHeaderBytes), packet.begin() + kGvspHeaderBytes);
    return packet;
}

std::vector<std::uint8_t> EncodeGvspTrailer(std::uint16_t blockId, std::uint32_t packetId, std::uint32_t height) {
    auto packet = Header(blockId, GvspFormat::trailer, packetId, 8);
    vz::PutBE16(packet, 10, kImagePayload);
    vz::PutBE32(packet, 12, height);
    return packet;
}

}  // namespace kqge::standin
