#include "fpga_request.h"

#include <algorithm>

#include "le_bytes.h"

namespace kq::fpga {
namespace {

constexpr std::size_t kListOffset = 1;  // in the request
constexpr std::size_t kReplyOffset = 2;
constexpr std::size_t kFirstWrite = 6;  // in the list

std::size_t Stride(AddressWidth width) { return width == AddressWidth::eightBit ? 3 : 4; }

void PutWrite(std::span<std::uint8_t> list, std::size_t slot, RegisterWrite write, AddressWidth width) {
    const std::size_t at = kFirstWrite + slot * Stride(width);
    vz::PutLE16(list, at, write.value);
    if (width == AddressWidth::eightBit) {
        list[at + 2] = static_cast<std::uint8_t>(write.address);
    } else {
        vz::PutLE16(list, at + 2, write.address);
    }
}

RegisterWrite GetWrite(std::span<const std::uint8_t> list, std::size_t slot, AddressWidth width) {
    const std::size_t at = kFirstWrite + slot * Stride(width);
    const std::uint16_t address = width == AddressWidth::eightBit ? list[at + 2] : vz::GetLE16(list, at + 2);
    return RegisterWrite{address, vz::GetLE16(list, at)};
}

}  // namespace

bool RegisterList::Append(RegisterWrite write) {
    if (count_ >= kMaxCounted) return false;
    writes_[count_++] = write;
    return true;
}

void RegisterList::Clear() { *this = RegisterList{}; }

RegisterWrite RegisterList::Trailing() const {
    if (trailing_) return *trailing_;
    return count_ == 0 ? RegisterWrite{} : writes_[count_ - 1];
}

std::size_t ListBytes(AddressWidth width) { return kFirstWrite + (RegisterList::kMaxCounted + 1) * Stride(width); }

Request PlainRequest(Subcommand subcommand) {
    Request r{};
    r[0] = static_cast<std::uint8_t>(subcommand);
    return r;
}

Request ValueRequest(Subcommand subcommand, std::uint32_t value) {
    Request r = PlainRequest(subcommand);
    vz::PutLE32(r, 1, value);
    return r;
}

Request EepromWriteRequest(std::span<const std::uint8_t, kEepromBytes> area) {
    Request r = PlainRequest(Subcommand::eepromWrite);
    std::copy(area.begin(), area.end(), r.begin() + kReplyOffset);
    return r;
}

Request RegisterListRequest(const RegisterList& list, AddressWidth width) {
    Request r = PlainRequest(Subcommand::registerList);
    const auto bytes = std::span(r).subspan(kListOffset, ListBytes(width));
    vz::PutLE16(bytes, 0, list.height);
    vz::PutLE16(bytes, 2, list.width);
    bytes[4] = list.control;
    bytes[5] = static_cast<std::uint8_t>(list.Count());
    const auto counted = list.Counted();
    for (std::size_t k = 0; k < counted.size(); ++k) PutWrite(bytes, k, counted[k], width);
    PutWrite(bytes, counted.size(), list.Trailing(), width);
    return r;
}

std::optional<std::array<std::uint8_t, kSerialBytes>> DecodeSerialReply(std::span<const std::uint8_t> reply) {
    if (reply.size() < kReplyOffset + kSerialBytes) return std::nullopt;
    std::array<std::uint8_t, kSerialBytes> serial{};
    std::copy_n(reply.begin() + kReplyOffset, kSerialBytes, serial.begin());
    return serial;
}

std::optional<std::array<std::uint8_t, kEepromBytes>> DecodeEepromReply(std::span<const std::uint8_t> reply) {
    if (reply.size() < kReplyOffset + kEepromBytes) return std::nullopt;
    std::array<std::uint8_t, kEepromBytes> area{};
    std::copy_n(reply.begin() + kReplyOffset, kEepromBytes, area.begin());
    return area;
}

std::optional<RegisterList> DecodeRegisterListRequest(std::span<const std::uint8_t> request, AddressWidth width) {
    if (request.size() < kListOffset + ListBytes(width)) return std::nullopt;
    if (request[0] != static_cast<std::uint8_t>(Subcommand::registerList)) return std::nullopt;
    const auto bytes = request.subspan(kListOffset, ListBytes(width));
    const std::size_t count = bytes[5];
    if (count > RegisterList::kMaxCounted) return std::nullopt;
    RegisterList list;
    list.height = vz::GetLE16(bytes, 0);
    list.width = vz::GetLE16(bytes, 2);
    list.control = bytes[4];
    for (std::size_t k = 0; k < count; ++k) list.Append(GetWrite(bytes, k, width));
    list.SetTrailing(GetWrite(bytes, count, width));
    return list;
}

}  // namespace kq::fpga
