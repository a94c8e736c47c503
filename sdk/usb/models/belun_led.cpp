#include "belun_led.h"

#include <algorithm>

#include "core/status_codes.h"
#include "kqff_protocol.h"

namespace kq {
namespace {

constexpr std::uint8_t kLedRequest = 0x2C;
constexpr std::uint8_t kLedOperation = 0x06;
constexpr std::uint8_t kChannelZeroBit = 0x10;

}  // namespace

int CKQBelun_LED::SetCameraLED(std::int32_t channel, std::int32_t value) {
    if (channel < 0 || channel > 3) return status::kRefused;
    if (Gone()) return status::kNoDevice;
    // Kept only once sent: every block carries all four channels.
    auto led = led_;
    led[static_cast<std::size_t>(channel)] = static_cast<std::uint8_t>(std::clamp(value, 0, 127));
    led[0] |= kChannelZeroBit;
    std::array<std::uint8_t, kqff::camera_request::kBytes> block{kLedRequest, 0, kLedOperation, 0};
    std::copy(led.begin(), led.end(), block.begin() + 4);
    if (!Control(kqff::kIoctlWriteBlock, block, {})) return status::kNoDevice;
    led_ = led;
    return status::kSuccess;
}

}  // namespace kq
