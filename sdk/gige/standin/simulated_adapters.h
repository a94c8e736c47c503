// The adapters of the stand-in build, never shipped: the adapter service
// stand-in hands out the driver handles 0xFFFFFF00 + i, and adapter i is a
// loopback driver with a simulated camera behind it, listing eight of the
// simulated model names from the (8 i)th on; adapters past the names list no
// camera. Each adapter is made on first use and kept, as a driver outlives
// the library's starts and stops. While acquisition is on, the camera sends
// 8-bit frames of the size of the driver's latest stream at its sensor's
// pace, each with the next block's pattern. The handle
// kPeerHandle names the adapter of the standard GigE Vision test camera on
// loopback (PeerAdapter), which tests start themselves.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "datagram_link.h"
#include "loopback_driver.h"
#include "nic_manager.h"
#include "peer_adapter.h"
#include "simulated_camera.h"

namespace kqge::standin {

class SimulatedAdapters final : public DriverPortSource {
public:
    static constexpr std::uint32_t kFirstHandle = 0xFFFFFF00;
    static constexpr std::uint32_t kMaxAdapters = 7;  // one reply carries at most 7
    static constexpr std::size_t kCamerasPerAdapter = 8;
    // How often an acquiring camera looks for a stream to send to.
    static constexpr std::chrono::milliseconds kStreamPoll{20};
    static constexpr std::uint32_t kPeerHandle = 0xFFFFFE00;

    // Each camera reads a sensor row in rowTime; 0: frames at once.
    explicit SimulatedAdapters(std::chrono::nanoseconds rowTime = SimulatedCamera::kDefaultRowTime)
        : rowTime_(rowTime) {}

    // Null for a handle the service stand-in never gives.
    DriverPort* PortForHandle(std::int64_t driverHandle) override;

private:
    struct Adapter {
        Adapter(std::uint32_t ordinal, std::chrono::nanoseconds rowTime);
        ~Adapter();
        void Acquire(bool on);
        void Stream();

        InProcessLink link;
        LoopbackDriver driver;
        std::mutex streamLock;
        std::condition_variable streamChanged;
        bool acquiring = false;
        bool closing = false;
        bool unpaced = false;
        std::thread streamer;
        // Last: its serving thread, which starts and stops the streamer,
        // ends before anything above is freed.
        SimulatedCamera camera{link.CameraSide()};
    };

    const std::chrono::nanoseconds rowTime_;
    std::mutex lock_;
    std::map<std::uint32_t, std::unique_ptr<Adapter>> adapters_;
    std::unique_ptr<PeerAdapter> peer_;
};

}  // namespace kqge::standin
