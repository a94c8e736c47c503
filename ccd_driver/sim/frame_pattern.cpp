#include "frame_pattern.h"

namespace kqff::sim {
namespace {

std::uint8_t PatternByte(std::uint32_t frameNumber, std::uint32_t offset) {
  if (offset < 4) return static_cast<std::uint8_t>(frameNumber >> (8 * offset));
  const std::uint32_t h = offset * 2654435761u;
  return static_cast<std::uint8_t>((h >> 15) ^ (offset >> 19) ^ (frameNumber * 97u));
}

}  // namespace

void FillFramePattern(std::uint32_t frameNumber, std::uint32_t offset, std::span<std::uint8_t> out) {
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = PatternByte(frameNumber, offset + static_cast<std::uint32_t>(i));
}

std::optional<std::uint32_t> CheckFramePattern(std::span<const std::uint8_t> frame) {
  if (frame.size() < 4) return std::nullopt;
  const std::uint32_t frameNumber = frame[0] | (frame[1] << 8) | (frame[2] << 16) |
                                    (static_cast<std::uint32_t>(frame[3]) << 24);
  for (std::size_t i = 4; i < frame.size(); ++i)
    if (frame[i] != PatternByte(frameNumber, static_cast<std::uint32_t>(i))) return std::nullopt;
  return frameNumber;
}

}  // namespace kqff::sim
