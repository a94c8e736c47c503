#include "frame_pattern.h"

#include "le_bytes.h"

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
    const std::uint32_t frameNumber = vz::GetLE32(frame, 0);
    for (std::size_t i = 4; i < frame.size(); ++i)
        if (frame[i] != PatternByte(frameNumber, static_cast<std::uint32_t>(i))) return std::nullopt;
    return frameNumber;
}

void FillBayerPicture(std::uint32_t frameNumber, std::uint32_t rowBytes, std::uint32_t offset,
                      std::span<std::uint8_t> out) {
    static constexpr std::uint8_t kPhaseBase[4] = {160, 96, 88, 32};
    if (rowBytes == 0) return;
    std::uint32_t x = offset % rowBytes;
    std::uint32_t y = offset / rowBytes;
    for (std::uint8_t& byte : out) {
        const std::uint32_t phase = (y & 1u) * 2 + (x & 1u);
        byte = static_cast<std::uint8_t>(kPhaseBase[phase] + ((x / 2 + y / 2 + frameNumber - 1) & 15u));
        if (++x == rowBytes) {
            x = 0;
            ++y;
        }
    }
}

void FillYuvPicture(std::uint32_t frameNumber, std::uint32_t rowBytes, std::uint32_t offset,
                    std::span<std::uint8_t> out) {
    if (rowBytes == 0) return;
    std::uint32_t x = offset % rowBytes;
    std::uint32_t y = offset / rowBytes;
    for (std::uint8_t& byte : out) {
        switch (x % 4) {
        case 1: byte = 160; break;
        case 3: byte = 100; break;
        default: byte = static_cast<std::uint8_t>(16 + (x / 2 + y + frameNumber - 1) % 220); break;
        }
        if (++x == rowBytes) {
            x = 0;
            ++y;
        }
    }
}

}  // namespace kqff::sim
