// One frame as a driver read delivers it: a leader as long as the camera's
// payload size, then the raw pixels. Routing reads the trigger mark and the
// host port from the leader; the frame's bytes, with their length, go on to
// the camera that owns the port.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kqge {

inline constexpr std::size_t kLeaderTriggerAt = 40;
inline constexpr std::size_t kLeaderPortAt = 42;
// The shortest read that holds both leader fields.
inline constexpr std::size_t kLeaderFieldsBytes = 44;
inline constexpr std::uint16_t kTriggerMark = 0xFF01;

struct DeliveredFrame {
    std::span<const std::uint8_t> bytes;  // the whole read, leader included
    std::uint16_t hostPort = 0;
    bool triggered = false;
};

// Empty for a read too short to carry the leader fields: it is dropped.
std::optional<DeliveredFrame> ReadDeliveredFrame(std::span<const std::uint8_t> read);

}  // namespace kqge
