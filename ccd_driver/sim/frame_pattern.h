// Deterministic frame contents for the simulated camera: bytes 0..3 carry
// the frame number, every other byte depends on the frame number and its
// offset, so a misplaced chunk, a stale chunk or a torn frame is visible.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace kqff::sim {

// Writes the bytes [offset, offset + out.size()) of frame frameNumber.
void FillFramePattern(std::uint32_t frameNumber, std::uint32_t offset, std::span<std::uint8_t> out);

// The frame number when every byte of frame matches that frame's pattern.
std::optional<std::uint32_t> CheckFramePattern(std::span<const std::uint8_t> frame);

}  // namespace kqff::sim
