#include "discovery_list.h"

#include <algorithm>

namespace kqge {
namespace {

template <std::size_t N>
std::array<std::uint8_t, N> Field(const std::array<std::uint8_t, kDiscoveryRecordBytes>& bytes, std::size_t at) {
    std::array<std::uint8_t, N> out{};
    std::copy_n(bytes.begin() + at, N, out.begin());
    return out;
}

}  // namespace

DiscoveryRecord::DiscoveryRecord(std::span<const std::uint8_t, kDiscoveryRecordBytes> bytes) {
    std::ranges::copy(bytes, bytes_.begin());
}

std::array<std::uint8_t, 6> DiscoveryRecord::Mac() const { return Field<6>(bytes_, 10); }
std::array<std::uint8_t, 4> DiscoveryRecord::CurrentIp() const { return Field<4>(bytes_, 36); }
std::array<std::uint8_t, 4> DiscoveryRecord::SubnetMask() const { return Field<4>(bytes_, 52); }
std::array<std::uint8_t, 4> DiscoveryRecord::DefaultGateway() const { return Field<4>(bytes_, 68); }

std::string DiscoveryRecord::ModelName() const {
    const auto first = bytes_.begin() + 104;
    const auto last = std::find(first, first + kModelNameBytes, std::uint8_t{0});
    return std::string(first, last);
}

std::vector<DiscoveryRecord> ParseDiscoveryList(std::span<const std::uint8_t> returned) {
    const std::size_t count = std::min(returned.size() / kDiscoveryRecordBytes, kMaxCamerasPerAdapter);
    std::vector<DiscoveryRecord> records;
    records.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        records.emplace_back(returned.subspan(i * kDiscoveryRecordBytes).first<kDiscoveryRecordBytes>());
    }
    return records;
}

}  // namespace kqge
