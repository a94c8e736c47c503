#include "udp_link.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "gvcp_packet.h"

namespace kqge::standin {
namespace {

constexpr std::size_t kLargestDatagram = 65536;
constexpr int kStreamBufferBytes = 16 << 20;
constexpr std::uint16_t kDiscoveryCommand = 0x0002;
constexpr std::uint16_t kDiscoveryAck = 0x0003;
constexpr std::size_t kDiscoveryRecordBytes = 248;

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int BoundSocket(std::uint16_t port) {
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s < 0) return -1;
    const sockaddr_in address = Loopback(port);
    if (bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        close(s);
        return -1;
    }
    return s;
}

std::optional<Datagram> ReceiveOne(int socket) {
    Datagram datagram(kLargestDatagram);
    const ssize_t n = recv(socket, datagram.data(), datagram.size(), 0);
    if (n <= 0) return std::nullopt;
    datagram.resize(static_cast<std::size_t>(n));
    return datagram;
}

}  // namespace

UdpEndpoint::UdpEndpoint(std::uint16_t peerPort) : socket_(BoundSocket(0)), peerPort_(peerPort) {}

UdpEndpoint::~UdpEndpoint() {
    Close();
    if (socket_ >= 0) close(socket_);
}

void UdpEndpoint::Send(Datagram datagram) {
    if (socket_ < 0 || closed_) return;
    const sockaddr_in peer = Loopback(peerPort_);
    (void)sendto(socket_, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&peer), sizeof(peer));
}

std::optional<Datagram> UdpEndpoint::Receive() {
    while (socket_ >= 0 && !closed_) {
        auto datagram = ReceiveOne(socket_);
        if (datagram && !closed_) return datagram;
    }
    return std::nullopt;
}

void UdpEndpoint::Close() {
    if (closed_.exchange(true) || socket_ < 0) return;
    // Wakes a reader blocked in recv.
    shutdown(socket_, SHUT_RDWR);
}

std::optional<Datagram> UdpEndpoint::ReceiveFor(std::chrono::milliseconds timeout) {
    if (socket_ < 0 || closed_) return std::nullopt;
    pollfd ready{socket_, POLLIN, 0};
    if (poll(&ready, 1, static_cast<int>(timeout.count())) != 1) return std::nullopt;
    return ReceiveOne(socket_);
}

std::optional<std::vector<std::uint8_t>> Discover(UdpEndpoint& endpoint, std::chrono::milliseconds timeout) {
    static std::uint16_t requestId = 0;
    const std::uint16_t id = ++requestId == 0 ? ++requestId : requestId;
    endpoint.Send(EncodeCommandPacket(kDiscoveryCommand, id, {}));
    const auto reply = endpoint.ReceiveFor(timeout);
    if (!reply || reply->size() < 8 + kDiscoveryRecordBytes) return std::nullopt;
    const std::uint16_t code = static_cast<std::uint16_t>((*reply)[2] << 8 | (*reply)[3]);
    if (code != kDiscoveryAck) return std::nullopt;
    return std::vector<std::uint8_t>(reply->begin() + 8, reply->begin() + 8 + kDiscoveryRecordBytes);
}

UdpStreamPort::UdpStreamPort(std::uint16_t hostPort, StreamDestination& destination) : socket_(BoundSocket(hostPort)) {
    if (socket_ < 0) return;
    // A whole frame arrives as one burst: room for several of them.
    const int bytes = kStreamBufferBytes;
    if (setsockopt(socket_, SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof(bytes)) != 0) {
        (void)setsockopt(socket_, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof(bytes));
    }
    reader_ = std::thread([this, hostPort, &destination] {
        Datagram buffer(kLargestDatagram);
        while (!closed_) {
            const ssize_t n = recv(socket_, buffer.data(), buffer.size(), 0);
            if (n > 0 && !closed_) destination.SendTo(hostPort, std::span(buffer).first(static_cast<std::size_t>(n)));
        }
    });
}

UdpStreamPort::~UdpStreamPort() {
    closed_ = true;
    if (socket_ < 0) return;
    shutdown(socket_, SHUT_RDWR);
    reader_.join();
    close(socket_);
}

}  // namespace kqge::standin
