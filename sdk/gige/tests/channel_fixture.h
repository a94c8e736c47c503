// Discovery lists and adapter records for the adapter channel tests over the
// loopback driver stand-in.
#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>
#include <vector>

#include "adapter_reply.h"
#include "discovery_list.h"
#include "discovery_records.h"

namespace kqge::fixture {

// Short enough for the timeout cases, and long enough that an in-process
// acknowledgement is never late, even with Wine's threads on a loaded machine.
inline constexpr std::chrono::milliseconds kTestAckTimeout{1000};

// Unnamed cameras, as the simulated cameras announce themselves.
inline std::vector<std::uint8_t> DiscoveryList(std::size_t cameras) {
    const std::vector<std::string_view> names(cameras);
    return standin::DiscoveryListFor(names);
}

inline AdapterRecord Adapter() {
    AdapterRecord a;
    a.name = u"eth0";
    a.ip = {192, 168, 1, 10};
    a.mask = {255, 255, 255, 0};
    return a;
}

}  // namespace kqge::fixture
