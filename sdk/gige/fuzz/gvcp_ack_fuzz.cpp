// Any acknowledgement message: decoding reads only the bytes that came back
// and a READREG value is only ever taken from a confirming acknowledgement.
#include <cstddef>
#include <cstdint>
#include <span>

#include "gvcp_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto ack = kqge::DecodeAck(bytes);
    if (ack && ack->payload.size() + 8 != size) __builtin_trap();
    const bool confirmsRead = kqge::AckConfirms(bytes, kqge::GvcpCommand::readReg);
    if (kqge::ReadRegValue(bytes).has_value() != confirmsRead) __builtin_trap();
    const bool write = kqge::AckConfirms(bytes, kqge::GvcpCommand::writeReg);
    const bool mem = kqge::AckConfirms(bytes, kqge::GvcpCommand::writeMem);
    if (int{confirmsRead} + int{write} + int{mem} > 1) __builtin_trap();
    return 0;
}
