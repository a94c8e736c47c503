// The datagram seam between the loopback driver stand-in and a simulated
// camera: whole control datagrams, in order, each way, and stream datagrams
// to a host port. The in-process link is two queues; closing an end wakes
// its reader for good.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace kqge::standin {

using Datagram = std::vector<std::uint8_t>;

class DatagramEndpoint {
public:
    virtual void Send(Datagram datagram) = 0;
    // Blocks until a datagram arrives; empty once the endpoint is closed.
    virtual std::optional<Datagram> Receive() = 0;
    virtual void Close() = 0;

protected:
    ~DatagramEndpoint() = default;
};

// Where a camera sends its stream packets: one datagram to a host UDP port.
class StreamDestination {
public:
    virtual void SendTo(std::uint16_t hostPort, std::span<const std::uint8_t> datagram) = 0;

protected:
    ~StreamDestination() = default;
};

class InProcessLink {
public:
    DatagramEndpoint& DriverSide() { return driverSide_; }
    DatagramEndpoint& CameraSide() { return cameraSide_; }

private:
    struct Queue {
        std::mutex lock;
        std::condition_variable arrived;
        std::deque<Datagram> datagrams;
        bool closed = false;
    };

    class End final : public DatagramEndpoint {
    public:
        End(Queue& inbox, Queue& outbox) : inbox_(inbox), outbox_(outbox) {}
        void Send(Datagram datagram) override;
        std::optional<Datagram> Receive() override;
        void Close() override;

    private:
        Queue& inbox_;
        Queue& outbox_;
    };

    Queue toCamera_;
    Queue toDriver_;
    End driverSide_{toDriver_, toCamera_};
    End cameraSide_{toCamera_, toDriver_};
};

}  // namespace kqge::standin
