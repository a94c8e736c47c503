#include "cnic.h"

#include "result_codes.h"

namespace kqge {

std::atomic<std::int32_t> CNIC::nextAdapterNumber_{0};

CNIC::CNIC(DriverPort* port, const AdapterRecord* node, ChannelHost* host, std::chrono::milliseconds ackTimeout)
    : port_(port),
      host_(host),
      identity_(node ? *node : AdapterRecord{}),
      ackTimeout_(ackTimeout),
      adapterNumber_(nextAdapterNumber_++),
      receiver_(port ? std::make_unique<FrameReceiver>(*port, host) : nullptr) {}

std::int32_t CNIC::Open() {
    if (!port_) return result::kNoDriverHandle;
    const auto event = port_->AckEventHandle();
    const std::int32_t registered =
        port_->Control(DriverControl::setAckEvent, event, {}) ? result::kOk : result::kNotAcknowledged;
    const std::int32_t listed = GetDeviceList();
    const std::size_t needed = host_ ? host_->CreateCameras(*this, cameras_) : 0;
    if (needed > 0) receiver_->AllocateBuffer(needed);
    return registered != result::kOk ? registered : listed;
}

std::int32_t CNIC::StartReceive() {
    if (!receiver_) return result::kNoDriverHandle;
    std::lock_guard guard(liveLock_);
    if (liveCameras_ == 0) {
        const std::int32_t started = receiver_->Start();
        if (started != result::kOk) return started;
    }
    ++liveCameras_;
    return result::kOk;
}

std::int32_t CNIC::StopReceive() {
    std::lock_guard guard(liveLock_);
    if (liveCameras_ == 0) return result::kReceiveStopped;
    if (--liveCameras_ == 0) receiver_->Stop();
    return result::kOk;
}

std::int32_t CNIC::GetDeviceList() {
    cameras_.clear();
    if (!port_) return result::kNoDriverHandle;
    std::vector<std::uint8_t> list(kDeviceListBytes);
    const auto returned = port_->Control(DriverControl::deviceList, {}, list);
    if (!returned) return result::kDeviceListRefused;
    cameras_ = ParseDiscoveryList(std::span(list).first(std::min(*returned, list.size())));
    return result::kOk;
}

CommandTarget CNIC::TargetOf(const DiscoveryRecord& camera) const {
    return CommandTarget{camera.Mac(), identity_.ip, identity_.mask, camera.CurrentIp()};
}

bool CNIC::Exchange(std::span<const std::uint8_t> command, GvcpCommand kind, std::span<std::uint8_t> ack) {
    if (!port_) return false;
    std::lock_guard inFlight(commandLock_);
    port_->ResetAck();
    if (!port_->Control(DriverControl::sendCommand, command, {})) return false;
    if (!port_->WaitAck(ackTimeout_)) return false;
    port_->ResetAck();
    const auto returned = port_->Control(DriverControl::lastAck, {}, ack);
    return returned && AckConfirms(ack.first(std::min(*returned, ack.size())), kind);
}

std::int32_t CNIC::WriteReg(const DiscoveryRecord& camera, std::uint32_t address, std::uint32_t value) {
    return WriteRegs(camera, std::span(&address, 1), std::span(&value, 1));
}

std::int32_t CNIC::WriteRegs(const DiscoveryRecord& camera, std::span<const std::uint32_t> addresses,
                             std::span<const std::uint32_t> values) {
    if (addresses.empty() || addresses.size() != values.size()) return result::kOutOfRange;
    std::vector<RegisterWrite> writes(addresses.size());
    for (std::size_t i = 0; i < writes.size(); ++i) writes[i] = {addresses[i], values[i]};
    std::vector<std::uint8_t> ack(kReadRegAckBytes);
    return Exchange(EncodeWriteRegs(TargetOf(camera), writes), GvcpCommand::writeReg, ack) ? result::kOk
                                                                                           : result::kNotAcknowledged;
}

std::int32_t CNIC::ReadReg(const DiscoveryRecord& camera, std::uint32_t address, std::uint32_t& value) {
    std::vector<std::uint8_t> ack(kReadRegAckBytes);
    if (!Exchange(EncodeReadReg(TargetOf(camera), address), GvcpCommand::readReg, ack)) {
        return result::kNotAcknowledged;
    }
    value = *ReadRegValue(ack);
    return result::kOk;
}

std::int32_t CNIC::WriteMem(const DiscoveryRecord& camera, std::span<const std::uint8_t> data, std::uint32_t address) {
    if (data.empty()) return result::kOutOfRange;
    std::vector<std::uint8_t> ack(kWriteMemAckBytes);
    return Exchange(EncodeWriteMem(TargetOf(camera), address, data), GvcpCommand::writeMem, ack)
               ? result::kOk
               : result::kNotAcknowledged;
}

std::int32_t CNIC::Stream(DriverControl code, const StreamRecord& record) {
    if (!port_) return result::kNoDriverHandle;
    const auto bytes = EncodeStreamRecord(record);
    return port_->Control(code, bytes, {}) ? result::kOk : result::kNotAcknowledged;
}

std::int32_t CNIC::AddStream(const StreamRecord& record) { return Stream(DriverControl::addStream, record); }
std::int32_t CNIC::DeleteStream(const StreamRecord& record) { return Stream(DriverControl::deleteStream, record); }

}  // namespace kqge
