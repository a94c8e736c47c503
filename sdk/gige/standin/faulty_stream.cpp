#include "faulty_stream.h"

#include "gvsp_packet.h"

namespace kqge::standin {

FaultyStream::FaultyStream(StreamDestination& next, Rates rates, std::uint32_t seed)
    : next_(next), rates_(rates), random_(seed) {}

void FaultyStream::Pass(std::uint16_t hostPort, std::span<const std::uint8_t> datagram) {
    next_.SendTo(hostPort, datagram);
    if (Chance(rates_.repeated)) {
        ++counts_.repeated;
        next_.SendTo(hostPort, datagram);
    }
}

void FaultyStream::SendTo(std::uint16_t hostPort, std::span<const std::uint8_t> datagram) {
    if (Chance(rates_.lost)) {
        ++counts_.lost;
        const auto header = DecodeGvspHeader(datagram);
        if (header && header->format == GvspFormat::leader) ++counts_.lostLeaders;
        return;
    }
    if (!heldPort_ && Chance(rates_.swapped)) {
        ++counts_.swapped;
        heldPort_ = hostPort;
        held_.assign(datagram.begin(), datagram.end());
        return;
    }
    Pass(hostPort, datagram);
    Flush();
}

void FaultyStream::Flush() {
    if (!heldPort_) return;
    const std::uint16_t port = *heldPort_;
    heldPort_.reset();
    Pass(port, held_);
}

}  // namespace kqge::standin
