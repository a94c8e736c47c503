#pragma once
// The 52-byte format block sent to the driver with the set-format control
// code. Values here are already limited; Encode only lays them out.

#include <array>
#include <cstdint>

#include "kqff_protocol.h"

namespace kq {

struct FormatBlock {
    std::uint32_t height = 0;
    std::uint32_t width = 0;
    std::uint32_t columnStart = 0;
    std::uint32_t rowStart = 0;
    std::uint16_t exposure = 0;
    std::uint16_t exposureDelay = 0;
    std::uint8_t gain = 0;  // sent three times
    std::uint8_t control = 0;
    std::uint8_t mode = 0;
    std::uint8_t encodedGain = 8;
    std::uint16_t sensorReadMode = 0;
    std::uint32_t extra = 0;
    std::uint16_t horizontalBlanking = 0;
    std::uint16_t verticalBlanking = 0;
    std::array<std::uint16_t, 4> registerPairs{};  // address 1, value 1, address 2, value 2
    std::uint16_t triggerPeriod = 0;               // ms between triggered frames (0: the camera's own)
    std::uint16_t triggerCheckTime = 0;            // how long a trigger signal must hold (0: not checked)
};

constexpr std::size_t kFormatBlockBytes = 52;
// The driver reads its capture record from the start of the block.
static_assert(kFormatBlockBytes >= kqff::kCaptureRecordMinInput);
std::array<std::uint8_t, kFormatBlockBytes> EncodeFormatBlock(const FormatBlock& block);

}  // namespace kq
