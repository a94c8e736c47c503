// Any read from the driver: a frame is routed only when its leader fields
// arrived, and it keeps the read's exact length.
#include <cstddef>
#include <cstdint>
#include <span>

#include "delivered_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto frame = kqge::ReadDeliveredFrame(std::span(data, size));
    if (frame.has_value() != (size >= kqge::kLeaderFieldsBytes)) __builtin_trap();
    if (frame && (frame->bytes.size() != size || frame->bytes.data() != data)) __builtin_trap();
    return 0;
}
