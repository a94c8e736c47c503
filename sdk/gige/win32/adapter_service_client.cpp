#include "adapter_service_client.h"

#include <array>

#include "le_bytes.h"
#include "named_pipe.h"
#include "result_codes.h"

namespace kqge {

AdapterReply RequestAdapters(std::uint32_t processId) {
    CxNamedPipe request(kAdapterRequestPipe, 1, 0);
    if (request.Open()) {
        std::array<std::uint8_t, 4> id{};
        vz::PutLE32(id, 0, processId);
        (void)request.Write(id);
    }
    CxNamedPipe reply(kAdapterReplyPipe, 1, 0);
    if (!reply.Open()) return {result::kNoAdapter, {}};
    std::array<std::uint8_t, CxNamedPipe::kReadBytes> bytes{};
    const auto read = reply.Read(bytes);
    if (!read) return {result::kAdapterListUnread, {}};
    return ParseAdapterReply(std::span(bytes).first(*read));
}

}  // namespace kqge
