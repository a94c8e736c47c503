#include "discovery_records.h"

#include <algorithm>

#include "discovery_list.h"

namespace kqge::standin {

std::vector<std::uint8_t> DiscoveryListFor(std::span<const std::string_view> modelNames) {
    std::vector<std::uint8_t> list(modelNames.size() * kDiscoveryRecordBytes, 0);
    for (std::size_t i = 0; i < modelNames.size(); ++i) {
        const auto record = list.begin() + static_cast<std::ptrdiff_t>(i * kDiscoveryRecordBytes);
        const std::uint8_t mac[] = {0x02, 0x00, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(i)};
        std::ranges::copy(mac, record + 10);
        const std::uint8_t ip[] = {192, 168, 1, static_cast<std::uint8_t>(100 + i)};
        std::ranges::copy(ip, record + 36);
        const std::string_view name = modelNames[i].substr(0, kModelNameBytes);
        std::ranges::copy(name, record + 104);
    }
    return list;
}

}  // namespace kqge::standin
