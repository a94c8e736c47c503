#include "adapter_reply.h"

#include <algorithm>

#include "result_codes.h"
#include "le_bytes.h"

namespace kqge {
namespace {

constexpr std::size_t kCountBytes = 4;
constexpr std::size_t kNameAt = 8;
constexpr std::size_t kDescriptionAt = 264;
constexpr std::size_t kIpAt = 520;
constexpr std::size_t kMaskAt = 524;
constexpr std::size_t kMacAt = 528;

std::u16string BoundedName(std::span<const std::uint8_t> field) {
    std::u16string text;
    for (std::size_t i = 0; i < kAdapterNameChars; ++i) {
        const char16_t c = static_cast<char16_t>(vz::GetLE16(field, 2 * i));
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

AdapterRecord ReadRecord(std::span<const std::uint8_t> r) {
    AdapterRecord a;
    a.driverHandle = vz::GetLE32(r, 0);
    a.name = BoundedName(r.subspan(kNameAt, 2 * kAdapterNameChars));
    a.description = BoundedName(r.subspan(kDescriptionAt, 2 * kAdapterNameChars));
    std::copy_n(r.begin() + kIpAt, 4, a.ip.begin());
    std::copy_n(r.begin() + kMaskAt, 4, a.mask.begin());
    std::copy_n(r.begin() + kMacAt, 6, a.mac.begin());
    return a;
}

}  // namespace

AdapterReply ParseAdapterReply(std::span<const std::uint8_t> reply) {
    if (reply.size() < kCountBytes) return {result::kAdapterListUnread, {}};
    const auto count = static_cast<std::int32_t>(vz::GetLE32(reply, 0));
    if (count <= 0) return {result::kNoAdapter, {}};
    const std::size_t whole = (reply.size() - kCountBytes) / kAdapterRecordBytes;
    if (static_cast<std::size_t>(count) > whole) return {result::kAdapterListUnread, {}};
    AdapterReply out;
    for (std::int32_t i = 0; i < count; ++i) {
        out.adapters.push_back(ReadRecord(reply.subspan(kCountBytes + i * kAdapterRecordBytes, kAdapterRecordBytes)));
    }
    return out;
}

}  // namespace kqge
