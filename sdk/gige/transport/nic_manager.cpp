#include "nic_manager.h"

#include "result_codes.h"

namespace kqge {

CNICManager::CNICManager(std::u16string deviceName, DriverPortSource& ports, ChannelHost* host,
                         std::chrono::milliseconds ackTimeout)
    : deviceName_(std::move(deviceName)), ports_(ports), host_(host), ackTimeout_(ackTimeout) {}

std::int32_t CNICManager::Init(std::span<const AdapterRecord> records) {
    if (records.empty()) return result::kAdapterListEmpty;
    for (const AdapterRecord& record : records) {
        nodes_.push_back({static_cast<std::int32_t>(nodes_.size()), record});
        auto channel = std::make_unique<CNIC>(ports_.PortForHandle(WidenedDriverHandle(record.driverHandle)),
                                              &nodes_.back().record, host_, ackTimeout_);
        (void)channel->Open();
        channels_.push_back(std::move(channel));
    }
    return result::kOk;
}

}  // namespace kqge
