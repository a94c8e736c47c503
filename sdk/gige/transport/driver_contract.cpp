#include "driver_contract.h"

#include "be_bytes.h"
#include "le_bytes.h"

namespace kqge {

std::array<std::uint8_t, kStreamRecordBytes> EncodeStreamRecord(const StreamRecord& record) {
    std::array<std::uint8_t, kStreamRecordBytes> bytes{};
    vz::PutLE16(bytes, 0, record.width);
    vz::PutLE16(bytes, 2, record.height);
    vz::PutBE16(bytes, 4, record.hostPort);
    vz::PutLE16(bytes, 6, record.payloadBytesPerPacket);
    return bytes;
}

std::optional<StreamRecord> DecodeStreamRecord(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kStreamRecordBytes) return std::nullopt;
    return StreamRecord{vz::GetLE16(bytes, 0), vz::GetLE16(bytes, 2), vz::GetBE16(bytes, 4), vz::GetLE16(bytes, 6)};
}

}  // namespace kqge
