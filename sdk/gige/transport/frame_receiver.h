// The receive thread of one adapter: reads whole frames from the driver into
// one buffer allocated once, and routes each to the camera that owns its host
// port. Stopping cancels the pending read and joins the thread, so the buffer
// is never freed under a read. A read too short for the leader fields, or for
// a port no camera owns, is dropped and counted, and the loop goes on.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "channel_host.h"
#include "driver_port.h"
#include "loop_thread.h"

namespace kqge {

class FrameReceiver {
public:
    struct Counts {
        std::uint64_t routed = 0;
        std::uint64_t tooShort = 0;
        std::uint64_t unknownPort = 0;
    };

    // `host` null routes nothing. Both outlive the receiver.
    FrameReceiver(DriverPort& port, ChannelHost* host) : port_(port), host_(host) {}
    FrameReceiver(const FrameReceiver&) = delete;
    FrameReceiver& operator=(const FrameReceiver&) = delete;
    ~FrameReceiver() { Stop(); }

    // A zeroed buffer of `bytes`; only while stopped.
    void AllocateBuffer(std::size_t bytes);
    std::size_t BufferBytes() const { return buffer_.size(); }

    // 39 when the thread already runs, else 0.
    std::int32_t Start();
    // 40 when it does not run; else cancels the pending read, joins, 0.
    std::int32_t Stop();
    bool Running() const { return thread_.Running(); }

    float FramesPerSecond() const { return framesPerSecond_.load(); }
    Counts RoutingCounts() const;

private:
    void Receive(const std::atomic<bool>& stop);
    void RouteFrame(std::span<const std::uint8_t> read);

    DriverPort& port_;
    ChannelHost* host_;
    std::vector<std::uint8_t> buffer_;
    std::atomic<float> framesPerSecond_{0.0F};
    std::atomic<std::uint64_t> routed_{0};
    std::atomic<std::uint64_t> tooShort_{0};
    std::atomic<std::uint64_t> unknownPort_{0};
    // Declared last: joined before anything above is freed.
    kq::LoopThread thread_;
};

}  // namespace kqge
