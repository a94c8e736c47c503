// `CNIC`: the library's object for one network adapter. It sends GigE
// Vision commands to the adapter's cameras through the capture driver and
// waits for their acknowledgements, lists the cameras the driver discovered,
// has the camera side make them, tells the driver which streams to collect
// and runs one receive thread while any of its cameras streams. The
// acknowledgement event is shared
// by every camera of the adapter, so one command is in flight per adapter at
// a time; a command that is not confirmed in time, or with an error status
// or another code, fails with -1 and leaves the caller's output untouched.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "adapter_reply.h"
#include "channel_host.h"
#include "discovery_list.h"
#include "driver_contract.h"
#include "driver_port.h"
#include "frame_receiver.h"
#include "gvcp_command.h"

namespace kqge {

class CNIC {
public:
    static constexpr std::chrono::milliseconds kAckTimeout{2000};

    // `port` null is an adapter without driver handle; `node` null gives a
    // zero identity; `host` null makes no cameras and routes no frame. Port
    // and host outlive the channel; the port is never closed here.
    CNIC(DriverPort* port, const AdapterRecord* node, ChannelHost* host,
         std::chrono::milliseconds ackTimeout = kAckTimeout);
    CNIC(const CNIC&) = delete;
    CNIC& operator=(const CNIC&) = delete;
    // Stops the receive thread before the buffer goes.
    virtual ~CNIC() = default;

    // Registers the acknowledgement event with the driver, lists the
    // discovered cameras, has the host make them and allocates the receive
    // buffer for the largest. 37 without port; the first refusal (-1 for the
    // event, 36 for the list) after doing the rest; else 0.
    std::int32_t Open();

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

    // The live-camera count: the first start starts the receive thread, the
    // last stop stops it; 40 for a stop without a start.
    std::int32_t StartReceive();
    std::int32_t StopReceive();
    bool Receiving() const { return receiver_ && receiver_->Running(); }
    float ReceivedFramesPerSecond() const { return receiver_ ? receiver_->FramesPerSecond() : 0.0F; }
    FrameReceiver::Counts RoutingCounts() const {
        return receiver_ ? receiver_->RoutingCounts() : FrameReceiver::Counts{};
    }
    std::size_t ReceiveBufferBytes() const { return receiver_ ? receiver_->BufferBytes() : 0; }

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
    ChannelHost* host_;
    AdapterRecord identity_;
    std::chrono::milliseconds ackTimeout_;
    std::int32_t adapterNumber_;
    std::vector<DiscoveryRecord> cameras_;
    std::mutex commandLock_;
    std::mutex liveLock_;
    std::int32_t liveCameras_ = 0;
    std::unique_ptr<FrameReceiver> receiver_;
};

}  // namespace kqge
