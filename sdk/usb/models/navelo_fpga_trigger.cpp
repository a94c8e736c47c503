// Trigger mode of the FPGA sensors that switch it in their read-mode word.

#include <array>
#include <chrono>

#include "kqff_protocol.h"
#include "navelo_fpga.h"

namespace kq {

int CKQNavelo_FPGA::SwitchReadModeTrigger(std::int32_t on, timing::TriggerBits bits) {
    if (Gone()) return status::kNoDevice;
    const bool wanted = on != 0;
    const std::uint16_t word = timing::TriggerReadMode(timing_.readMode, wanted, bits);
    const std::array<fpga::RegisterWrite, 2> writes{{{0x1E, word}, {0x0B, 1}}};
    const bool stopStream = wanted && streaming_;
    if (stopStream) Control(kqff::kIoctlStopCapture, {}, {});
    const int rc = SendRegisters(writes);
    if (stopStream) Control(kqff::kIoctlStartCapture, {}, {});
    if (rc != status::kSuccess) return status::kNoDevice;
    timing_.readMode = word;
    triggerMode_ = wanted ? 1 : 0;
    // The sensor needs this long before its first triggered frame.
    if (wanted) Pause(std::chrono::milliseconds(500));
    return status::kSuccess;
}

}  // namespace kq
