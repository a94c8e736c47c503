// A stream link that loses, repeats and swaps packets at set rates, the same
// way for the same seed: the faults of a busy network between a camera and
// its host, for fault runs against the receiving side. Never shipped.
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <vector>

#include "datagram_link.h"

namespace kqge::standin {

class FaultyStream final : public StreamDestination {
public:
    // Each a probability per packet.
    struct Rates {
        double lost = 0;
        double repeated = 0;  // sent twice in a row
        double swapped = 0;   // held back and sent after the next packet
    };
    struct Counts {
        std::uint64_t lost = 0;
        std::uint64_t lostLeaders = 0;  // frames whose start never arrives
        std::uint64_t repeated = 0;
        std::uint64_t swapped = 0;
    };

    FaultyStream(StreamDestination& next, Rates rates, std::uint32_t seed);

    void SendTo(std::uint16_t hostPort, std::span<const std::uint8_t> datagram) override;
    // Sends a packet still held back.
    void Flush();
    const Counts& Faults() const { return counts_; }

private:
    bool Chance(double rate) { return rate > 0 && std::uniform_real_distribution<double>(0, 1)(random_) < rate; }
    void Pass(std::uint16_t hostPort, std::span<const std::uint8_t> datagram);

    StreamDestination& next_;
    Rates rates_;
    std::mt19937 random_;
    Counts counts_;
    std::optional<std::uint16_t> heldPort_;
    std::vector<std::uint8_t> held_;
};

}  // namespace kqge::standin
