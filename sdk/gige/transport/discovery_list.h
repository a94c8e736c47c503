// The driver's list of discovered cameras: back-to-back 248-byte discovery
// acknowledgement payloads, of which an adapter keeps at most 10.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kqge {

inline constexpr std::size_t kDiscoveryRecordBytes = 248;
inline constexpr std::size_t kMaxCamerasPerAdapter = 10;
inline constexpr std::size_t kModelNameBytes = 32;

class DiscoveryRecord {
public:
    explicit DiscoveryRecord(std::span<const std::uint8_t, kDiscoveryRecordBytes> bytes);

    std::array<std::uint8_t, 6> Mac() const;
    // Network order, as the addresses go into a command.
    std::array<std::uint8_t, 4> CurrentIp() const;
    std::array<std::uint8_t, 4> SubnetMask() const;
    std::array<std::uint8_t, 4> DefaultGateway() const;
    // The model name field up to its first zero, never beyond its 32 bytes.
    std::string ModelName() const;
    std::span<const std::uint8_t, kDiscoveryRecordBytes> Bytes() const { return bytes_; }

private:
    std::array<std::uint8_t, kDiscoveryRecordBytes> bytes_;
};

// The whole records among the bytes the driver returned, the first 10 of
// them; a trailing part record is not a camera.
std::vector<DiscoveryRecord> ParseDiscoveryList(std::span<const std::uint8_t> returned);

}  // namespace kqge
