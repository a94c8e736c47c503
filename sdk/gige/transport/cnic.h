// `CNIC`: the library's object for one network adapter. It sends GigE
// Vision commands to the adapter's cameras through the capture driver and
// waits for their acknowledgements, lists the cameras the driver discovered
// and tells it which streams to collect. The acknowledgement event is shared
// by every camera of the adapter, so one command is in flight per adapter at
// a time; a command that is not confirmed in time, or with an error status
// or another code, fails with -1 and leaves the caller's output untouched.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "adapter_reply.h"
#include "discovery_list.h"
#include "driver_contract.h"
#include "driver_port.h"
#include "gvcp_command.h"

namespace kqge {

class CNIC {
public:
    static constexpr std::chrono::milliseconds kAckTimeout{2000};

    // `port` null is an adapter without driver handle; `node` null gives a
    // zero identity. The port outlives the channel and is never closed here.
    CNIC(DriverPort* port, const AdapterRecord* node, std::chrono::milliseconds ackTimeout = kAckTimeout);
    CNIC(const CNIC&) = delete;
    CNIC& operator=(const CNIC&) = delete;
    virtual ~CNIC() = default;

    // Fills the discovery list (at most 10 records); 36 when the driver
    // refuses, 37 without port. The adapter then has no cameras.
    std::int32_t GetDeviceList();
    std::span<const DiscoveryRecord> DiscoveredCameras() const { return cameras_; }

    std::int32_t WriteReg(const DiscoveryRecord& camera, std::uint32_t address, std::uint32_t value);
    // 20 when the lists are empty or of different lengths.
    std::int32_t WriteRegs(const DiscoveryRecord& camera, std::span<const std::uint32_t> addresses,
                           std::span<const std::uint32_t> values);
    // `value` is written only from a confirming acknowledgement.
    std::int32_t ReadReg(const DiscoveryRecord& camera, std::uint32_t address, std::uint32_t& value);
    // 20 without data.
    std::int32_t WriteMem(const DiscoveryRecord& camera, std::span<const std::uint8_t> data, std::uint32_t address);

    // 37 without port, -1 when the driver refuses, else 0.
    std::int32_t AddStream(const StreamRecord& record);
    std::int32_t DeleteStream(const StreamRecord& record);

    std::int32_t AdapterNumber() const { return adapterNumber_; }
    const std::array<std::uint8_t, 4>& AdapterIp() const { return identity_.ip; }

private:
    CommandTarget TargetOf(const DiscoveryRecord& camera) const;
    // Sends one command and fetches its acknowledgement into `ack`; true
    // only when it confirms the command.
    bool Exchange(std::span<const std::uint8_t> command, GvcpCommand kind, std::span<std::uint8_t> ack);
    std::int32_t Stream(DriverControl code, const StreamRecord& record);

    static std::atomic<std::int32_t> nextAdapterNumber_;

    DriverPort* port_;
    AdapterRecord identity_;
    std::chrono::milliseconds ackTimeout_;
    std::int32_t adapterNumber_;
    std::vector<DiscoveryRecord> cameras_;
    std::mutex commandLock_;
};

}  // namespace kqge
