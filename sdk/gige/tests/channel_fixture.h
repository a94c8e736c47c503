// Discovery lists and adapter records for the adapter channel tests over the
// loopback driver stand-in.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <iterator>
#include <vector>

#include "adapter_reply.h"
#include "discovery_list.h"

namespace kqge::fixture {

// Short enough for the timeout cases; every acknowledgement of the
// in-process camera arrives well within it.
inline constexpr std::chrono::milliseconds kTestAckTimeout{300};

inline std::vector<std::uint8_t> DiscoveryList(std::size_t cameras) {
    std::vector<std::uint8_t> list(cameras * kDiscoveryRecordBytes, 0);
    for (std::size_t i = 0; i < cameras; ++i) {
        std::uint8_t* r = list.data() + i * kDiscoveryRecordBytes;
        const std::uint8_t mac[] = {0x02, 0x00, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(i)};
        std::copy(std::begin(mac), std::end(mac), r + 10);
        const std::uint8_t ip[] = {192, 168, 1, static_cast<std::uint8_t>(100 + i)};
        std::copy(std::begin(ip), std::end(ip), r + 36);
    }
    return list;
}

inline AdapterRecord Adapter() {
    AdapterRecord a;
    a.name = u"eth0";
    a.ip = {192, 168, 1, 10};
    a.mask = {255, 255, 255, 0};
    return a;
}

}  // namespace kqge::fixture
