// Any adapter service reply: only whole records are read, the count is
// never trusted beyond the bytes that arrived, and names stay in their fields.
#include <cstddef>
#include <cstdint>
#include <span>

#include "adapter_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kqge::AdapterReply reply = kqge::ParseAdapterReply(std::span(data, size));
    if (reply.status == 0 && (reply.adapters.empty() || 4 + reply.adapters.size() * kqge::kAdapterRecordBytes > size)) {
        __builtin_trap();
    }
    if (reply.status != 0 && !reply.adapters.empty()) __builtin_trap();
    for (const kqge::AdapterRecord& a : reply.adapters) {
        if (a.name.size() > kqge::kAdapterNameChars || a.description.size() > kqge::kAdapterNameChars) {
            __builtin_trap();
        }
    }
    return 0;
}
