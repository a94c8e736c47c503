// The firmware file: a 149-byte header that is skipped, then the payload,
// sent in chunks of up to 512 bytes with the bit order of every byte
// reversed, chunk k to camera memory address 512 k. A payload that does not
// fit the camera's 1.5 MiB, or a file without one, is refused before
// anything is sent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace kqge {

inline constexpr std::size_t kFirmwareHeaderBytes = 149;
inline constexpr std::size_t kFirmwareChunkBytes = 512;
inline constexpr std::size_t kFirmwarePayloadLimit = 0x180000;
inline constexpr char kDefaultFirmwareFileName[] = "output_file.jic";

// Bit 0 exchanged with bit 7, 1 with 6, 2 with 5, 3 with 4.
std::uint8_t ReverseBits(std::uint8_t byte);

// The payload of a whole file, or empty when the file is refused: shorter
// than its header, no payload, or a payload beyond the limit.
std::span<const std::uint8_t> FirmwarePayload(std::span<const std::uint8_t> file);

}  // namespace kqge
