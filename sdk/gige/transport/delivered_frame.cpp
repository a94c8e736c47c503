#include "delivered_frame.h"

#include "be_bytes.h"

namespace kqge {

std::optional<DeliveredFrame> ReadDeliveredFrame(std::span<const std::uint8_t> read) {
    if (read.size() < kLeaderFieldsBytes) return std::nullopt;
    return DeliveredFrame{read, vz::GetBE16(read, kLeaderPortAt), vz::GetBE16(read, kLeaderTriggerAt) == kTriggerMark};
}

}  // namespace kqge
