// Reassembly of one stream's GVSP packets into the frame a driver read
// delivers: the leader packet padded to the payload size with the host port
// written at bytes 42-43 (the camera's trigger mark stays at 40-41), then the
// pixels. A frame completes with its last missing payload packet (a camera
// need not send the trailer); one whose trailer comes while packets are
// missing, or that is cut off by the next leader, is dropped and counted; a
// repeated copy of the open frame's leader is ignored.
// Packets are outside input: none writes outside its frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kqge::standin {

class GvspAssembler {
public:
    struct Counts {
        std::uint64_t delivered = 0;
        std::uint64_t incomplete = 0;
        std::uint64_t ignored = 0;  // malformed, out of a frame, or too large

        Counts& operator+=(const Counts& more) {
            delivered += more.delivered;
            incomplete += more.incomplete;
            ignored += more.ignored;
            return *this;
        }
    };

    // `payloadBytes` is the packet size minus 36 (the stream record's);
    // frames beyond `maxFrameBytes` are refused.
    GvspAssembler(std::uint16_t hostPort, std::size_t payloadBytes, std::size_t maxFrameBytes);

    // The delivered frame when this packet completes one.
    std::optional<std::vector<std::uint8_t>> Feed(std::span<const std::uint8_t> packet);
    const Counts& Tally() const { return counts_; }
    // A delivered frame's storage back for a later frame, so a steady stream
    // allocates nothing per frame.
    void Recycle(std::vector<std::uint8_t> storage) { spare_ = std::move(storage); }
    bool HasSpare() const { return spare_.capacity() > 0; }

private:
    void Begin(std::uint16_t blockId, std::span<const std::uint8_t> leader);
    void DropOpenFrame();
    bool RepeatsOpenLeader(std::span<const std::uint8_t> packet) const;

    std::uint16_t hostPort_;
    std::size_t payloadBytes_;
    std::size_t maxFrameBytes_;
    Counts counts_;

    bool open_ = false;
    std::uint16_t blockId_ = 0;
    std::size_t pixelBytes_ = 0;
    std::size_t leaderBytes_ = 0;
    std::vector<std::uint8_t> frame_;
    std::vector<std::uint8_t> spare_;
    std::vector<bool> arrived_;
    std::size_t missing_ = 0;
    bool delivered_ = false;
    std::uint16_t deliveredBlock_ = 0;
};

}  // namespace kqge::standin
