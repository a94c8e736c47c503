// `CNICManager`: the adapters the adapter service listed, one node and one
// channel (`CNIC`) each, in record order. A channel reaches its driver
// through the port its record's handle names; the manager owns the nodes and
// the channels, never the ports.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "adapter_reply.h"
#include "cnic.h"

namespace kqge {

// Turns a record's driver handle, widened to this process, into the port
// of that driver; null when it names none.
class DriverPortSource {
public:
    virtual DriverPort* PortForHandle(std::int64_t driverHandle) = 0;

protected:
    ~DriverPortSource() = default;
};

struct AdapterNode {
    std::int32_t ordinal = 0;
    AdapterRecord record;
};

class CNICManager {
public:
    // Kept as given; the channels use the handles from the service.
    static constexpr char16_t kDriverDeviceName[] = uR"(\\.\\KQGECAMERA)";

    // `host` makes the cameras of every channel; it outlives the manager.
    CNICManager(std::u16string deviceName, DriverPortSource& ports, ChannelHost* host,
                std::chrono::milliseconds ackTimeout = CNIC::kAckTimeout);
    CNICManager(const CNICManager&) = delete;
    CNICManager& operator=(const CNICManager&) = delete;
    virtual ~CNICManager() = default;

    // 41 for an empty list. Otherwise, per record in order, a node and an
    // opened channel, which has its cameras made (a channel whose driver
    // refuses keeps no cameras); 0.
    std::int32_t Init(std::span<const AdapterRecord> records);

    const std::u16string& DeviceName() const { return deviceName_; }
    std::span<const AdapterNode> Nodes() const { return nodes_; }
    std::span<const std::unique_ptr<CNIC>> Channels() const { return channels_; }

private:
    std::u16string deviceName_;
    DriverPortSource& ports_;
    ChannelHost* host_;
    std::chrono::milliseconds ackTimeout_;
    std::vector<AdapterNode> nodes_;
    // Declared after the nodes: channels go first.
    std::vector<std::unique_ptr<CNIC>> channels_;
};

}  // namespace kqge
