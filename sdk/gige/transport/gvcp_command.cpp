#include "gvcp_command.h"

#include <algorithm>

#include "be_bytes.h"

namespace kqge {
namespace {

std::vector<std::uint8_t> Header(const CommandTarget& target, GvcpCommand command, std::size_t bodyBytes) {
    std::vector<std::uint8_t> bytes(kCommandHeaderBytes + bodyBytes);
    vz::PutBE16(bytes, 0, static_cast<std::uint16_t>(command));
    std::ranges::copy(target.cameraMac, bytes.begin() + 2);
    std::ranges::copy(target.adapterIp, bytes.begin() + 8);
    std::ranges::copy(target.adapterMask, bytes.begin() + 12);
    std::ranges::copy(target.cameraIp, bytes.begin() + 16);
    return bytes;
}

}  // namespace

std::uint16_t AckCodeFor(GvcpCommand command) { return static_cast<std::uint16_t>(command) + 1; }

std::vector<std::uint8_t> EncodeWriteRegs(const CommandTarget& target, std::span<const RegisterWrite> writes) {
    if (writes.empty()) return {};
    auto bytes = Header(target, GvcpCommand::writeReg, 8 * writes.size());
    std::size_t at = kCommandHeaderBytes;
    for (const RegisterWrite& w : writes) {
        vz::PutBE32(bytes, at, w.address);
        vz::PutBE32(bytes, at + 4, w.value);
        at += 8;
    }
    return bytes;
}

std::vector<std::uint8_t> EncodeReadReg(const CommandTarget& target, std::uint32_t address) {
    auto bytes = Header(target, GvcpCommand::readReg, 4);
    vz::PutBE32(bytes, kCommandHeaderBytes, address);
    return bytes;
}

std::vector<std::uint8_t> EncodeWriteMem(const CommandTarget& target, std::uint32_t address,
                                         std::span<const std::uint8_t> data) {
    if (data.empty()) return {};
    auto bytes = Header(target, GvcpCommand::writeMem, 4 + data.size());
    vz::PutBE32(bytes, kCommandHeaderBytes, address);
    std::ranges::copy(data, bytes.begin() + kCommandHeaderBytes + 4);
    return bytes;
}

std::optional<DriverCommand> DecodeCommand(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kCommandHeaderBytes) return std::nullopt;
    const std::uint16_t code = vz::GetBE16(bytes, 0);
    if (code != static_cast<std::uint16_t>(GvcpCommand::readReg) &&
        code != static_cast<std::uint16_t>(GvcpCommand::writeReg) &&
        code != static_cast<std::uint16_t>(GvcpCommand::writeMem)) {
        return std::nullopt;
    }
    DriverCommand out;
    out.command = static_cast<GvcpCommand>(code);
    std::copy_n(bytes.begin() + 2, 6, out.target.cameraMac.begin());
    std::copy_n(bytes.begin() + 8, 4, out.target.adapterIp.begin());
    std::copy_n(bytes.begin() + 12, 4, out.target.adapterMask.begin());
    std::copy_n(bytes.begin() + 16, 4, out.target.cameraIp.begin());
    out.body = bytes.subspan(kCommandHeaderBytes);
    return out;
}

std::optional<GvcpAck> DecodeAck(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 8) return std::nullopt;
    return GvcpAck{vz::GetBE16(bytes, 0), vz::GetBE16(bytes, 2), vz::GetBE16(bytes, 4), vz::GetBE16(bytes, 6),
                   bytes.subspan(8)};
}

bool AckConfirms(std::span<const std::uint8_t> bytes, GvcpCommand command) {
    const auto ack = DecodeAck(bytes);
    if (!ack || ack->status != 0 || ack->code != AckCodeFor(command)) return false;
    if (command == GvcpCommand::readReg) return ack->length >= 4 && ack->payload.size() >= 4;
    return true;
}

std::optional<std::uint32_t> ReadRegValue(std::span<const std::uint8_t> bytes) {
    if (!AckConfirms(bytes, GvcpCommand::readReg)) return std::nullopt;
    return vz::GetBE32(bytes, 8);
}

}  // namespace kqge
