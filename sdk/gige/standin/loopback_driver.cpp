#include "loopback_driver.h"

#include <algorithm>

#include "gvcp_command.h"
#include "gvcp_packet.h"

namespace kqge::standin {

LoopbackDriver::LoopbackDriver(DatagramEndpoint& camera, std::vector<std::uint8_t> deviceList)
    : camera_(camera), deviceList_(std::move(deviceList)), receiver_([this] { ReceiveAcks(); }) {}

LoopbackDriver::~LoopbackDriver() {
    camera_.Close();
    receiver_.join();
}

std::optional<std::size_t> LoopbackDriver::Control(DriverControl code, std::span<const std::uint8_t> input,
                                                   std::span<std::uint8_t> output) {
    switch (code) {
    case DriverControl::sendCommand: {
        const auto command = DecodeCommand(input);
        if (!command) return std::nullopt;
        std::vector<std::uint8_t> packet;
        {
            std::lock_guard guard(lock_);
            commands_.emplace_back(input.begin(), input.end());
            lastRequestId_ = static_cast<std::uint16_t>(lastRequestId_ == 0xFFFF ? 1 : lastRequestId_ + 1);
            inFlight_ = lastRequestId_;
            packet = EncodeCommandPacket(static_cast<std::uint16_t>(command->command), inFlight_, command->body);
        }
        camera_.Send(std::move(packet));
        return 0;
    }
    case DriverControl::setAckEvent: return 0;
    case DriverControl::deviceList: {
        if (refuseDeviceList_) return std::nullopt;
        const std::size_t n = std::min(output.size(), deviceList_.size());
        std::copy_n(deviceList_.begin(), n, output.begin());
        return n;
    }
    case DriverControl::addStream:
    case DriverControl::deleteStream: {
        const auto record = DecodeStreamRecord(input);
        if (!record || refuseStreams_) return std::nullopt;
        std::lock_guard guard(lock_);
        streams_.push_back(*record);
        return 0;
    }
    case DriverControl::lastAck: {
        std::lock_guard guard(lock_);
        const std::size_t n = std::min(output.size(), lastAck_.size());
        std::copy_n(lastAck_.begin(), n, output.begin());
        return n;
    }
    }
    return std::nullopt;
}

bool LoopbackDriver::WaitAck(std::chrono::milliseconds timeout) {
    std::unique_lock guard(lock_);
    return ackArrived_.wait_for(guard, timeout, [&] { return ackSignalled_; });
}

void LoopbackDriver::ResetAck() {
    std::lock_guard guard(lock_);
    ackSignalled_ = false;
}

void LoopbackDriver::ReceiveAcks() {
    while (auto datagram = camera_.Receive()) {
        const auto ack = DecodeAck(*datagram);
        std::lock_guard guard(lock_);
        if (!ack || inFlight_ == 0 || ack->id != inFlight_) {
            ++droppedAcks_;
            continue;
        }
        inFlight_ = 0;
        lastAck_ = std::move(*datagram);
        ackSignalled_ = true;
        ackArrived_.notify_all();
    }
}

std::vector<std::vector<std::uint8_t>> LoopbackDriver::CommandLog() const {
    std::lock_guard guard(lock_);
    return commands_;
}

std::vector<StreamRecord> LoopbackDriver::Streams() const {
    std::lock_guard guard(lock_);
    return streams_;
}

int LoopbackDriver::DroppedAcks() const {
    std::lock_guard guard(lock_);
    return droppedAcks_;
}

}  // namespace kqge::standin
