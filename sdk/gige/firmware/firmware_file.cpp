#include "firmware_file.h"

namespace kqge {

std::uint8_t ReverseBits(std::uint8_t byte) {
    byte = static_cast<std::uint8_t>(((byte & 0xF0) >> 4) | ((byte & 0x0F) << 4));
    byte = static_cast<std::uint8_t>(((byte & 0xCC) >> 2) | ((byte & 0x33) << 2));
    return static_cast<std::uint8_t>(((byte & 0xAA) >> 1) | ((byte & 0x55) << 1));
}

std::span<const std::uint8_t> FirmwarePayload(std::span<const std::uint8_t> file) {
    if (file.size() <= kFirmwareHeaderBytes) return {};
    const auto payload = file.subspan(kFirmwareHeaderBytes);
    if (payload.size() > kFirmwarePayloadLimit) return {};
    return payload;
}

}  // namespace kqge
