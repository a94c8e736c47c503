#include "simulated_adapters.h"

#include <algorithm>
#include <span>

#include "adapter_reply.h"
#include "discovery_records.h"

namespace kqge::standin {
namespace {

std::vector<std::uint8_t> DiscoveryListOf(std::uint32_t ordinal) {
    const std::size_t first = std::min(kSimulatedModelNames.size(), ordinal * SimulatedAdapters::kCamerasPerAdapter);
    const std::size_t count = std::min(SimulatedAdapters::kCamerasPerAdapter, kSimulatedModelNames.size() - first);
    return DiscoveryListFor(std::span(kSimulatedModelNames).subspan(first, count));
}

}  // namespace

SimulatedAdapters::Adapter::Adapter(std::uint32_t ordinal) : driver(link.DriverSide(), DiscoveryListOf(ordinal)) {}

DriverPort* SimulatedAdapters::PortForHandle(std::int64_t driverHandle) {
    const std::int64_t ordinal = driverHandle - WidenedDriverHandle(kFirstHandle);
    if (ordinal < 0 || ordinal >= kMaxAdapters) return nullptr;
    std::lock_guard guard(lock_);
    auto& adapter = adapters_[static_cast<std::uint32_t>(ordinal)];
    if (!adapter) adapter = std::make_unique<Adapter>(static_cast<std::uint32_t>(ordinal));
    return &adapter->driver;
}

}  // namespace kqge::standin
