#include "udp_link.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include "gvcp_packet.h"

namespace kqge::standin {
namespace {

constexpr std::size_t kLargestDatagram = 65536;
constexpr int kStreamBufferBytes = 16 << 20;
constexpr std::uint16_t kDiscoveryCommand = 0x0002;
constexpr std::uint16_t kDiscoveryAck = 0x0003;
constexpr std::size_t kDiscoveryRecordBytes = 248;
// How often a blocked reader looks whether its socket was closed: Winsock
// does not wake a blocked recv on shutdown.
constexpr std::chrono::milliseconds kCloseCheck{100};

#ifdef _WIN32
using Socket = SOCKET;

bool SocketsReady() {
    static const bool ready = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return ready;
}

void CloseSocket(NativeSocket s) { closesocket(static_cast<Socket>(s)); }
#else
using Socket = int;

bool SocketsReady() { return true; }
void CloseSocket(NativeSocket s) { close(static_cast<Socket>(s)); }
#endif

Socket Native(NativeSocket s) { return static_cast<Socket>(s); }

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

NativeSocket BoundSocket(std::uint16_t port) {
    if (!SocketsReady()) return kNoSocket;
    const Socket s = socket(AF_INET, SOCK_DGRAM, 0);
#ifdef _WIN32
    if (s == INVALID_SOCKET) return kNoSocket;
#else
    if (s < 0) return kNoSocket;
#endif
    const sockaddr_in address = Loopback(port);
    if (bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        CloseSocket(static_cast<NativeSocket>(s));
        return kNoSocket;
    }
    return static_cast<NativeSocket>(s);
}

// True when a datagram waits within `timeout`.
bool Readable(NativeSocket s, std::chrono::milliseconds timeout) {
#ifdef _WIN32
    fd_set set;
    FD_ZERO(&set);
    FD_SET(Native(s), &set);
    timeval wait{static_cast<long>(timeout.count() / 1000), static_cast<long>(timeout.count() % 1000 * 1000)};
    return select(0, &set, nullptr, nullptr, &wait) == 1;
#else
    pollfd ready{Native(s), POLLIN, 0};
    return poll(&ready, 1, static_cast<int>(timeout.count())) == 1;
#endif
}

// One datagram into `buffer`; its length, or 0 on failure.
std::size_t ReceiveInto(NativeSocket s, std::span<std::uint8_t> buffer) {
    const auto n = recv(Native(s), reinterpret_cast<char*>(buffer.data()), static_cast<int>(buffer.size()), 0);
    return n > 0 ? static_cast<std::size_t>(n) : 0;
}

std::optional<Datagram> ReceiveOne(NativeSocket s) {
    Datagram datagram(kLargestDatagram);
    const std::size_t n = ReceiveInto(s, datagram);
    if (n == 0) return std::nullopt;
    datagram.resize(n);
    return datagram;
}

// Blocks until a datagram waits or `closed` is set; true for a datagram.
bool WaitReadable(NativeSocket s, const std::atomic<bool>& closed) {
    while (!closed) {
        if (Readable(s, kCloseCheck)) return !closed;
    }
    return false;
}

}  // namespace

UdpEndpoint::UdpEndpoint(std::uint16_t peerPort) : socket_(BoundSocket(0)), peerPort_(peerPort) {}

UdpEndpoint::~UdpEndpoint() {
    Close();
    if (socket_ != kNoSocket) CloseSocket(socket_);
}

void UdpEndpoint::Send(Datagram datagram) {
    if (socket_ == kNoSocket || closed_) return;
    const sockaddr_in peer = Loopback(peerPort_);
    (void)sendto(Native(socket_), reinterpret_cast<const char*>(datagram.data()), static_cast<int>(datagram.size()), 0,
                 reinterpret_cast<const sockaddr*>(&peer), sizeof(peer));
}

std::optional<Datagram> UdpEndpoint::Receive() {
    while (socket_ != kNoSocket && WaitReadable(socket_, closed_)) {
        auto datagram = ReceiveOne(socket_);
        if (datagram && !closed_) return datagram;
    }
    return std::nullopt;
}

void UdpEndpoint::Close() { closed_ = true; }

std::optional<Datagram> UdpEndpoint::ReceiveFor(std::chrono::milliseconds timeout) {
    if (socket_ == kNoSocket || closed_) return std::nullopt;
    if (!Readable(socket_, timeout)) return std::nullopt;
    return ReceiveOne(socket_);
}

std::optional<std::vector<std::uint8_t>> Discover(UdpEndpoint& endpoint, std::chrono::milliseconds timeout) {
    static std::atomic<std::uint16_t> requestId = 0;
    std::uint16_t id = ++requestId;
    if (id == 0) id = ++requestId;
    endpoint.Send(EncodeCommandPacket(kDiscoveryCommand, id, {}));
    const auto reply = endpoint.ReceiveFor(timeout);
    if (!reply || reply->size() < 8 + kDiscoveryRecordBytes) return std::nullopt;
    const std::uint16_t code = static_cast<std::uint16_t>((*reply)[2] << 8 | (*reply)[3]);
    if (code != kDiscoveryAck) return std::nullopt;
    return std::vector<std::uint8_t>(reply->begin() + 8, reply->begin() + 8 + kDiscoveryRecordBytes);
}

UdpStreamPort::UdpStreamPort(std::uint16_t hostPort, StreamDestination& destination) : socket_(BoundSocket(hostPort)) {
    if (socket_ == kNoSocket) return;
    // A whole frame arrives as one burst: room for several of them.
    const int bytes = kStreamBufferBytes;
    const auto* option = reinterpret_cast<const char*>(&bytes);
#ifdef SO_RCVBUFFORCE
    if (setsockopt(Native(socket_), SOL_SOCKET, SO_RCVBUFFORCE, option, sizeof(bytes)) != 0)
#endif
        (void)setsockopt(Native(socket_), SOL_SOCKET, SO_RCVBUF, option, sizeof(bytes));
    reader_ = std::thread([this, hostPort, &destination] {
        Datagram buffer(kLargestDatagram);
        while (WaitReadable(socket_, closed_)) {
            const std::size_t n = ReceiveInto(socket_, buffer);
            if (n > 0 && !closed_) destination.SendTo(hostPort, std::span(buffer).first(n));
        }
    });
}

UdpStreamPort::~UdpStreamPort() {
    closed_ = true;
    if (socket_ == kNoSocket) return;
    reader_.join();
    CloseSocket(socket_);
}

}  // namespace kqge::standin
