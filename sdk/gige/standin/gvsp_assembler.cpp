#include "gvsp_assembler.h"

#include <algorithm>

#include "be_bytes.h"
#include "gvsp_packet.h"

namespace kqge::standin {

GvspAssembler::GvspAssembler(std::uint16_t hostPort, std::size_t payloadBytes, std::size_t maxFrameBytes)
    : hostPort_(hostPort), payloadBytes_(payloadBytes), maxFrameBytes_(maxFrameBytes) {}

void GvspAssembler::DropOpenFrame() {
    if (open_) ++counts_.incomplete;
    open_ = false;
}

void GvspAssembler::Begin(std::uint16_t blockId, std::span<const std::uint8_t> leaderPacket) {
    const auto leader = DecodeGvspLeader(leaderPacket);
    // The padded leader block must hold the whole leader packet.
    if (!leader || payloadBytes_ < leaderPacket.size()) {
        ++counts_.ignored;
        return;
    }
    const std::size_t perPixel = GvspBytesPerPixel(leader->pixelFormat);
    const std::uint64_t pixels = std::uint64_t{leader->width} * leader->height * perPixel;
    if (pixels == 0 || pixels + payloadBytes_ > maxFrameBytes_) {
        ++counts_.ignored;
        return;
    }
    pixelBytes_ = static_cast<std::size_t>(pixels);
    if (frame_.capacity() == 0) frame_ = std::move(spare_);
    frame_.assign(payloadBytes_ + pixelBytes_, 0);
    std::ranges::copy(leaderPacket, frame_.begin());
    leaderBytes_ = leaderPacket.size();
    vz::PutBE16(frame_, 42, hostPort_);
    missing_ = (pixelBytes_ + payloadBytes_ - 1) / payloadBytes_;
    arrived_.assign(missing_, false);
    blockId_ = blockId;
    open_ = true;
}

bool GvspAssembler::RepeatsOpenLeader(std::span<const std::uint8_t> packet) const {
    if (!open_ || packet.size() != leaderBytes_) return false;
    for (std::size_t i = 0; i < packet.size(); ++i) {
        // Bytes 42-43 of the kept leader hold the host port.
        if (i != 42 && i != 43 && packet[i] != frame_[i]) return false;
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> GvspAssembler::Feed(std::span<const std::uint8_t> packet) {
    const auto header = DecodeGvspHeader(packet);
    if (!header || payloadBytes_ == 0) {
        ++counts_.ignored;
        return std::nullopt;
    }
    if (header->format == GvspFormat::leader) {
        // The network repeated the open frame's leader: the frame goes on
        // rather than starting over and counting itself lost.
        if (RepeatsOpenLeader(packet)) {
            ++counts_.ignored;
            return std::nullopt;
        }
        DropOpenFrame();
        Begin(header->blockId, packet);
        return std::nullopt;
    }
    if (!open_ || header->blockId != blockId_) {
        // The trailer of a frame delivered whole is expected.
        const bool trailerOfDelivered =
            header->format == GvspFormat::trailer && delivered_ && header->blockId == deliveredBlock_;
        if (!trailerOfDelivered) ++counts_.ignored;
        return std::nullopt;
    }
    if (header->format == GvspFormat::trailer) {
        // An open frame still misses packets: they are not coming.
        DropOpenFrame();
        return std::nullopt;
    }
    // A payload packet: packet k holds pixel bytes from (k - 1) x payload,
    // all full but the last.
    const std::size_t index = header->packetId - 1;
    const auto data = packet.subspan(kGvspHeaderBytes);
    const std::size_t at = index * payloadBytes_;
    if (header->packetId == 0 || index >= arrived_.size() || data.size() != std::min(payloadBytes_, pixelBytes_ - at)) {
        ++counts_.ignored;
        return std::nullopt;
    }
    if (arrived_[index]) return std::nullopt;
    arrived_[index] = true;
    --missing_;
    std::ranges::copy(data, frame_.begin() + static_cast<std::ptrdiff_t>(payloadBytes_ + at));
    if (missing_ != 0) return std::nullopt;
    // Whole once every payload packet is in; the trailer adds nothing.
    open_ = false;
    delivered_ = true;
    deliveredBlock_ = blockId_;
    ++counts_.delivered;
    return std::move(frame_);
}

}  // namespace kqge::standin
