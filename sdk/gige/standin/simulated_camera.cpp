#include "simulated_camera.h"

#include <algorithm>
#include <utility>

#include "be_bytes.h"
#include "delivered_frame.h"
#include "gvcp_command.h"
#include "gvcp_packet.h"

namespace kqge::standin {

SimulatedCamera::SimulatedCamera(DatagramEndpoint& driver) : driver_(driver), server_([this] { Serve(); }) {}

SimulatedCamera::~SimulatedCamera() {
    driver_.Close();
    server_.join();
}

void SimulatedCamera::SetRegister(std::uint32_t address, std::uint32_t value) {
    std::lock_guard guard(lock_);
    registers_[address] = value;
}

void SimulatedCamera::HoldControlElsewhere(bool held) {
    std::lock_guard guard(lock_);
    heldElsewhere_ = held;
}

std::uint32_t SimulatedCamera::Register(std::uint32_t address) const {
    std::lock_guard guard(lock_);
    const auto found = registers_.find(address);
    return found == registers_.end() ? 0 : found->second;
}

std::vector<std::uint8_t> SimulatedCamera::Memory(std::uint32_t address, std::size_t length) const {
    std::lock_guard guard(lock_);
    std::vector<std::uint8_t> bytes(length);
    for (std::size_t i = 0; i < length; ++i) {
        const auto found = memory_.find(static_cast<std::uint32_t>(address + i));
        bytes[i] = found == memory_.end() ? 0 : found->second;
    }
    return bytes;
}

void SimulatedCamera::FailNext(CameraFault fault) {
    std::lock_guard guard(lock_);
    faults_.push_back(fault);
}

std::vector<std::vector<std::uint8_t>> SimulatedCamera::PacketLog() const {
    std::lock_guard guard(lock_);
    return log_;
}

std::vector<std::uint8_t> SimulatedCamera::Pattern(const StreamFrame& frame, std::uint16_t block) {
    const std::size_t perPixel = GvspBytesPerPixel(frame.pixelFormat);
    std::vector<std::uint8_t> pixels(std::size_t{frame.width} * frame.height * perPixel);
    for (std::size_t i = 0; i * perPixel < pixels.size(); ++i) {
        const std::uint32_t value = static_cast<std::uint32_t>(i * 7 + block * 31);
        for (std::size_t b = 0; b < perPixel; ++b)
            pixels[i * perPixel + b] = static_cast<std::uint8_t>(value >> (8 * b));
    }
    return pixels;
}

void SimulatedCamera::SetRowTime(std::chrono::nanoseconds rowTime) {
    std::lock_guard guard(lock_);
    rowTime_ = rowTime;
}

std::vector<std::uint8_t> SimulatedCamera::SendFrame(const StreamFrame& frame, std::span<const std::uint32_t> lost,
                                                     const std::function<bool()>& stop) {
    std::chrono::nanoseconds rowTime{};
    {
        std::lock_guard guard(lock_);
        rowTime = rowTime_;
    }
    std::unique_lock paced(paceLock_);
    const auto frameTime = kqff::sim::SensorFrameTime(frame.height, frame.exposureLines, rowTime);
    if (!pacer_.WaitTurn(frameTime, [&] { return stop && stop(); })) {
        pacer_ = {};  // the frame never went: the next one starts the pace afresh
        return {};
    }
    paced.unlock();
    std::uint16_t block = 0;
    std::uint16_t port = 0;
    std::size_t payload = 0;
    {
        std::lock_guard guard(lock_);
        blockId_ = static_cast<std::uint16_t>(blockId_ == 0xFFFF ? 1 : blockId_ + 1);
        block = blockId_;
        port = static_cast<std::uint16_t>(registers_[kStreamPort]);
        const std::size_t packetSize = registers_[kStreamPacketSize] & 0xFFFF;
        payload = packetSize > kStreamOverheadBytes ? packetSize - kStreamOverheadBytes : 0;
    }
    const auto pixels = Pattern(frame, block);
    if (!stream_ || payload == 0) return pixels;
    auto send = [&](std::uint32_t id, const std::vector<std::uint8_t>& packet) {
        if (std::ranges::find(lost, id) == lost.end()) stream_->SendTo(port, packet);
    };
    send(0, EncodeGvspLeader(block, {frame.pixelFormat, frame.width, frame.height,
                                     static_cast<std::uint16_t>(frame.triggered ? kTriggerMark : 0)}));
    std::uint32_t id = 1;
    for (std::size_t at = 0; at < pixels.size(); at += payload, ++id) {
        const std::size_t n = std::min(payload, pixels.size() - at);
        send(id, EncodeGvspPayload(block, id, std::span(pixels).subspan(at, n)));
    }
    send(id, EncodeGvspTrailer(block, id, frame.height));
    return pixels;
}

void SimulatedCamera::Serve() {
    std::vector<std::uint8_t> heldAck;
    while (auto packet = driver_.Receive()) {
        CameraFault fault = CameraFault::none;
        {
            std::lock_guard guard(lock_);
            log_.push_back(*packet);
            if (!faults_.empty()) {
                fault = faults_.front();
                faults_.pop_front();
            }
        }
        if (!heldAck.empty()) driver_.Send(std::exchange(heldAck, {}));
        auto ack = Answer(*packet, fault);
        std::optional<bool> acquisition;
        bool triggered = false;
        {
            std::lock_guard guard(lock_);
            acquisition = std::exchange(acquisitionWritten_, std::nullopt);
            triggered = std::exchange(softTriggered_, false);
        }
        if (acquisition && acquisitionHook_) acquisitionHook_(*acquisition);
        if (triggered && softTriggerHook_) softTriggerHook_();
        if (ack.empty() || fault == CameraFault::noAck) continue;
        if (fault == CameraFault::lateAck) {
            heldAck = std::move(ack);
            continue;
        }
        driver_.Send(std::move(ack));
    }
}

std::vector<std::uint8_t> SimulatedCamera::Answer(std::span<const std::uint8_t> bytes, CameraFault fault) {
    const auto packet = DecodeCommandPacket(bytes);
    if (!packet) return {};
    const auto command = static_cast<GvcpCommand>(packet->command);
    const std::span<const std::uint8_t> body = packet->body;
    std::vector<std::uint8_t> payload(4, 0);
    std::lock_guard guard(lock_);
    const bool touchesPrivilege = [&] {
        if (command != GvcpCommand::writeReg) return false;
        for (std::size_t at = 0; at + 8 <= body.size(); at += 8) {
            if (vz::GetBE32(body, at) == kControlPrivilege) return true;
        }
        return false;
    }();
    if (heldElsewhere_ && touchesPrivilege) {
        return EncodeAckPacket(kErrorStatus, AckCodeFor(command), packet->requestId, payload);
    }
    if (command == GvcpCommand::readReg && body.size() == 4) {
        const std::uint32_t address = vz::GetBE32(body, 0);
        vz::PutBE32(payload, 0, heldElsewhere_ && address == kControlPrivilege ? 2u : registers_[address]);
    } else if (command == GvcpCommand::writeReg && body.size() % 8 == 0 && !body.empty()) {
        for (std::size_t at = 0; at < body.size(); at += 8) {
            const std::uint32_t address = vz::GetBE32(body, at);
            registers_[address] = vz::GetBE32(body, at + 4);
            if (address == kAcquisition) acquisitionWritten_ = registers_[address] != 0;
            if (address == kSoftTrigger && registers_[address] != 0) softTriggered_ = true;
        }
        vz::PutBE16(payload, 2, static_cast<std::uint16_t>(body.size() / 8));
    } else if (command == GvcpCommand::writeMem && body.size() > 4) {
        const std::uint32_t address = vz::GetBE32(body, 0);
        for (std::size_t i = 4; i < body.size(); ++i) memory_[static_cast<std::uint32_t>(address + i - 4)] = body[i];
        vz::PutBE16(payload, 2, static_cast<std::uint16_t>(body.size() - 4));
    } else {
        return {};
    }
    const std::uint16_t status = fault == CameraFault::errorStatus ? kErrorStatus : 0;
    std::uint16_t code = AckCodeFor(command);
    if (fault == CameraFault::otherCode) code = static_cast<std::uint16_t>(code + 2);
    return EncodeAckPacket(status, code, packet->requestId, payload);
}

}  // namespace kqge::standin
