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
    case DriverControl::setAckEvent: {
        if (!std::ranges::equal(input, kAckEventHandle)) return std::nullopt;
        std::lock_guard guard(lock_);
        ackEventRegistered_ = true;
        return 0;
    }
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
        {
            std::lock_guard guard(lock_);
            streams_.push_back(*record);
        }
        std::lock_guard guard(streamLock_);
        const auto existing = assemblers_.find(record->hostPort);
        if (existing != assemblers_.end()) {
            streamed_.frames += existing->second.Tally();
            assemblers_.erase(existing);
        }
        if (code == DriverControl::addStream) {
            assemblers_.emplace(record->hostPort,
                                GvspAssembler(record->hostPort, record->payloadBytesPerPacket, kMaxFrameBytes));
        }
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
        ackSignalled_ = ackEventRegistered_;
        ackArrived_.notify_all();
    }
}

bool LoopbackDriver::AckEventRegistered() const {
    std::lock_guard guard(lock_);
    return ackEventRegistered_;
}

std::optional<std::size_t> LoopbackDriver::ReadFrame(std::span<std::uint8_t> buffer) {
    std::unique_lock guard(readLock_);
    readers_.insert(std::this_thread::get_id());
    reads_.threads = static_cast<int>(readers_.size());
    reads_.mostAtOnce = std::max(reads_.mostAtOnce, ++reads_.pending);
    readChanged_.notify_all();
    const std::uint64_t generation = cancelGeneration_;
    readChanged_.wait(guard, [&] { return !frames_.empty() || cancelGeneration_ != generation; });
    --reads_.pending;
    readChanged_.notify_all();
    if (cancelGeneration_ != generation) {
        ++reads_.cancelled;
        return std::nullopt;
    }
    std::vector<std::uint8_t> frame = std::move(frames_.front());
    frames_.pop_front();
    readChanged_.notify_all();
    std::optional<std::size_t> read;
    if (frame.size() > buffer.size()) {
        ++reads_.tooLong;
    } else {
        std::ranges::copy(frame, buffer.begin());
        read = frame.size();
    }
    guard.unlock();
    std::lock_guard streams(streamLock_);
    if (spareFrames_.size() < kSpareFrames) spareFrames_.push_back(std::move(frame));
    return read;
}

void LoopbackDriver::CancelRead() {
    {
        std::lock_guard guard(readLock_);
        if (reads_.pending == 0) return;
        ++cancelGeneration_;
    }
    readChanged_.notify_all();
}

void LoopbackDriver::SendTo(std::uint16_t hostPort, std::span<const std::uint8_t> datagram) {
    std::optional<std::vector<std::uint8_t>> frame;
    {
        std::lock_guard guard(streamLock_);
        const auto stream = assemblers_.find(hostPort);
        if (stream == assemblers_.end()) {
            ++streamed_.unknownPort;
            return;
        }
        if (!stream->second.HasSpare() && !spareFrames_.empty()) {
            stream->second.Recycle(std::move(spareFrames_.back()));
            spareFrames_.pop_back();
        }
        const std::uint64_t incomplete = stream->second.Tally().incomplete;
        frame = stream->second.Feed(datagram);
        if (stream->second.Tally().incomplete != incomplete) streamedChanged_.notify_all();
    }
    if (frame) DeliverFrame(std::move(*frame));
}

LoopbackDriver::StreamCounts LoopbackDriver::Streamed() const {
    std::lock_guard guard(streamLock_);
    return StreamedLocked();
}

LoopbackDriver::StreamCounts LoopbackDriver::StreamedLocked() const {
    StreamCounts sum = streamed_;
    for (const auto& [port, assembler] : assemblers_) sum.frames += assembler.Tally();
    return sum;
}

bool LoopbackDriver::WaitForIncomplete(std::uint64_t frames, std::chrono::milliseconds timeout) const {
    std::unique_lock guard(streamLock_);
    return streamedChanged_.wait_for(guard, timeout, [&] { return StreamedLocked().frames.incomplete >= frames; });
}

void LoopbackDriver::DeliverFrame(std::vector<std::uint8_t> frame) {
    {
        std::lock_guard guard(readLock_);
        frames_.push_back(std::move(frame));
    }
    readChanged_.notify_all();
}

bool LoopbackDriver::WaitForPendingRead(std::chrono::milliseconds timeout) const {
    std::unique_lock guard(readLock_);
    return readChanged_.wait_for(guard, timeout, [&] { return reads_.pending > 0; });
}

bool LoopbackDriver::WaitUntilIdle(std::chrono::milliseconds timeout) const {
    std::unique_lock guard(readLock_);
    return readChanged_.wait_for(guard, timeout, [&] { return frames_.empty() && reads_.pending > 0; });
}

LoopbackDriver::ReadCounts LoopbackDriver::Reads() const {
    std::lock_guard guard(readLock_);
    return reads_;
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
