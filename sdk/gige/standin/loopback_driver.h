// A stand-in for the capture driver, never shipped: it takes the driver's
// control requests, sends each command to the camera as a GVCP packet over
// a datagram endpoint with a fresh request id, keeps one command in flight,
// and accepts only the acknowledgement whose id matches it (a late one for
// an earlier command is dropped and counted). The discovery list is the one
// it was given.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "datagram_link.h"
#include "driver_port.h"

namespace kqge::standin {

class LoopbackDriver final : public DriverPort {
public:
    // The endpoint outlives the driver; the driver closes it when destroyed.
    LoopbackDriver(DatagramEndpoint& camera, std::vector<std::uint8_t> deviceList);
    ~LoopbackDriver();
    LoopbackDriver(const LoopbackDriver&) = delete;
    LoopbackDriver& operator=(const LoopbackDriver&) = delete;

    std::optional<std::size_t> Control(DriverControl code, std::span<const std::uint8_t> input,
                                       std::span<std::uint8_t> output) override;
    bool WaitAck(std::chrono::milliseconds timeout) override;
    void ResetAck() override;

    // Every command buffer sent, as the library built it.
    std::vector<std::vector<std::uint8_t>> CommandLog() const;
    std::vector<StreamRecord> Streams() const;
    int DroppedAcks() const;
    void RefuseDeviceList() { refuseDeviceList_ = true; }
    void RefuseStreams() { refuseStreams_ = true; }

private:
    void ReceiveAcks();

    DatagramEndpoint& camera_;
    std::vector<std::uint8_t> deviceList_;
    bool refuseDeviceList_ = false;
    bool refuseStreams_ = false;

    mutable std::mutex lock_;
    std::condition_variable ackArrived_;
    std::uint16_t lastRequestId_ = 0;
    std::uint16_t inFlight_ = 0;
    bool ackSignalled_ = false;
    std::vector<std::uint8_t> lastAck_;
    int droppedAcks_ = 0;
    std::vector<std::vector<std::uint8_t>> commands_;
    std::vector<StreamRecord> streams_;
    std::thread receiver_;
};

}  // namespace kqge::standin
