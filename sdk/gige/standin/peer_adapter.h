// The stand-in build's adapter of a standard GigE Vision test camera on
// 127.0.0.1:3956, never shipped: the loopback driver over UDP, with the
// camera's own discovery record as its device list (asked until it answers,
// for at most kDiscoveryWait, when the adapter is made) and a UDP stream
// port bound on 127.0.0.1 for every stream the library adds. A camera that
// never answers leaves the adapter without a camera.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "driver_port.h"
#include "loopback_driver.h"
#include "udp_link.h"

namespace kqge::standin {

class PeerAdapter final : public DriverPort {
public:
    static constexpr std::chrono::seconds kDiscoveryWait{10};

    PeerAdapter();
    ~PeerAdapter();
    PeerAdapter(const PeerAdapter&) = delete;
    PeerAdapter& operator=(const PeerAdapter&) = delete;

    bool Discovered() const { return discovered_; }

    std::optional<std::size_t> Control(DriverControl code, std::span<const std::uint8_t> input,
                                       std::span<std::uint8_t> output) override;
    bool WaitAck(std::chrono::milliseconds timeout) override { return driver_->WaitAck(timeout); }
    void ResetAck() override { driver_->ResetAck(); }
    std::array<std::uint8_t, 4> AckEventHandle() const override { return driver_->AckEventHandle(); }
    std::optional<std::size_t> ReadFrame(std::span<std::uint8_t> buffer) override {
        return driver_->ReadFrame(buffer);
    }
    void CancelRead() override { driver_->CancelRead(); }

private:
    UdpEndpoint control_;
    bool discovered_ = false;
    std::optional<LoopbackDriver> driver_;
    std::mutex lock_;
    // After the driver: their readers hand it datagrams until they end.
    std::map<std::uint16_t, std::unique_ptr<UdpStreamPort>> streamPorts_;
};

}  // namespace kqge::standin
