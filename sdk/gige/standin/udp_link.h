// Datagrams over UDP on loopback, so the driver stand-in can talk to a real
// GigE Vision peer: a control endpoint bound to an ephemeral port of
// 127.0.0.1 that sends to the peer's control port, discovery of the peer,
// and a stream port that hands every datagram it receives to the driver's
// reassembly. POSIX sockets, or Winsock on Windows (the stand-in DLL under
// Wine); closing wakes a blocked reader for good.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <thread>
#include <vector>

#include "datagram_link.h"

namespace kqge::standin {

inline constexpr std::uint16_t kGvcpPort = 3956;

// A file descriptor, or a Winsock SOCKET (pointer-sized).
using NativeSocket = std::intptr_t;
inline constexpr NativeSocket kNoSocket = -1;

class UdpEndpoint final : public DatagramEndpoint {
public:
    explicit UdpEndpoint(std::uint16_t peerPort = kGvcpPort);
    ~UdpEndpoint();
    UdpEndpoint(const UdpEndpoint&) = delete;
    UdpEndpoint& operator=(const UdpEndpoint&) = delete;

    bool Valid() const { return socket_ != kNoSocket; }
    void Send(Datagram datagram) override;
    std::optional<Datagram> Receive() override;
    void Close() override;
    // One datagram within `timeout`, or empty.
    std::optional<Datagram> ReceiveFor(std::chrono::milliseconds timeout);

private:
    NativeSocket socket_ = kNoSocket;
    std::uint16_t peerPort_;
    std::atomic<bool> closed_{false};
};

// Sends one discovery command and waits up to `timeout` for its
// acknowledgement; the 248-byte discovery record, or empty.
std::optional<std::vector<std::uint8_t>> Discover(UdpEndpoint& endpoint, std::chrono::milliseconds timeout);

class UdpStreamPort {
public:
    // Binds 127.0.0.1:`hostPort`; `destination` outlives the port.
    UdpStreamPort(std::uint16_t hostPort, StreamDestination& destination);
    ~UdpStreamPort();
    UdpStreamPort(const UdpStreamPort&) = delete;
    UdpStreamPort& operator=(const UdpStreamPort&) = delete;
    bool Valid() const { return socket_ != kNoSocket; }

private:
    NativeSocket socket_ = kNoSocket;
    std::atomic<bool> closed_{false};
    std::thread reader_;
};

}  // namespace kqge::standin
