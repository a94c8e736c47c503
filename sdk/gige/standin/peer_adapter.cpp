#include "peer_adapter.h"

#include <vector>

namespace kqge::standin {

PeerAdapter::PeerAdapter() {
    std::optional<std::vector<std::uint8_t>> record;
    const auto deadline = std::chrono::steady_clock::now() + kDiscoveryWait;
    // The camera answers once its socket is up: ask until then, bounded.
    while (control_.Valid() && !record && std::chrono::steady_clock::now() < deadline) {
        record = Discover(control_, std::chrono::milliseconds(200));
    }
    discovered_ = record.has_value();
    driver_.emplace(control_, record.value_or(std::vector<std::uint8_t>{}));
}

PeerAdapter::~PeerAdapter() {
    std::lock_guard guard(lock_);
    streamPorts_.clear();
}

std::optional<std::size_t> PeerAdapter::Control(DriverControl code, std::span<const std::uint8_t> input,
                                                 std::span<std::uint8_t> output) {
    const auto result = driver_->Control(code, input, output);
    const bool streamChange = code == DriverControl::addStream || code == DriverControl::deleteStream;
    const auto record = streamChange ? DecodeStreamRecord(input) : std::nullopt;
    if (!result || !record) return result;
    std::lock_guard guard(lock_);
    if (code == DriverControl::deleteStream) {
        streamPorts_.erase(record->hostPort);
    } else if (!streamPorts_.contains(record->hostPort)) {
        auto port = std::make_unique<UdpStreamPort>(record->hostPort, *driver_);
        // A port another program holds takes no stream: the frames never come.
        if (port->Valid()) streamPorts_.emplace(record->hostPort, std::move(port));
    }
    return result;
}

}  // namespace kqge::standin
