// Replies and register-list requests of any length and content: the serial
// and EEPROM decoders take exactly the whole replies, from bytes 2 on; a
// decoded list never counts past nine and its header, counted writes and
// the write after them encode back to the same bytes.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "models/fpga_request.h"

using namespace kq::fpga;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> reply(data, size);
    const auto serial = DecodeSerialReply(reply);
    if (serial.has_value() != (size >= 2 + kSerialBytes)) std::abort();
    if (serial && !std::equal(serial->begin(), serial->end(), reply.begin() + 2)) std::abort();
    const auto area = DecodeEepromReply(reply);
    if (area.has_value() != (size >= 2 + kEepromBytes)) std::abort();
    if (area && !std::equal(area->begin(), area->end(), reply.begin() + 2)) std::abort();

    for (AddressWidth width : {AddressWidth::eightBit, AddressWidth::sixteenBit}) {
        const auto list = DecodeRegisterListRequest(reply, width);
        if (!list) continue;
        if (list->Count() > RegisterList::kMaxCounted) std::abort();
        const Request again = RegisterListRequest(*list, width);
        const std::size_t stride = width == AddressWidth::eightBit ? 3 : 4;
        const std::size_t used = 1 + 6 + (list->Count() + 1) * stride;
        if (!std::equal(again.begin(), again.begin() + used, reply.begin())) std::abort();
    }
    return 0;
}
