#include "sim_camera.h"

#include <algorithm>

#include "frame_pace.h"
#include "le_bytes.h"

namespace kqff::sim {
namespace {

std::uint32_t OnSensor(std::uint32_t asked, std::uint16_t sensor) {
    return sensor != 0 && asked > sensor ? sensor : asked;
}

// One interface, its bulk endpoints in the driver's pipe order.
std::vector<std::uint8_t> BuildConfiguration(bool withResponsePipe) {
    const std::uint8_t endpoints = withResponsePipe ? 3 : 2;
    std::vector<std::uint8_t> d = {
        9, 2, 0, 0, 1,         1,    0,    0x80, 50,  // configuration 1 (wTotalLength below), bus powered
        9, 4, 0, 0, endpoints, 0xFF, 0xFF, 0xFF, 0,   // interface 0, vendor class
    };
    const std::uint8_t addresses[] = {0x01, 0x82, 0x83};  // command OUT, video IN, response IN
    for (std::uint8_t i = 0; i < endpoints; ++i) {
        const std::uint8_t endpoint[] = {7, 5, addresses[i], 2, 0x00, 0x02, 0};  // bulk, 512-byte packets
        d.insert(d.end(), std::begin(endpoint), std::end(endpoint));
    }
    vz::PutLE16(d, 2, static_cast<std::uint16_t>(d.size()));
    return d;
}

}  // namespace

SimCamera::SimCamera() = default;

void SimCamera::SetUsbIdentity(std::uint16_t vendorId, std::uint16_t productId) {
    std::lock_guard lock(mutex_);
    vendorId_ = vendorId;
    productId_ = productId;
}

void SimCamera::SetConfigurationDescriptor(std::vector<std::uint8_t> descriptor) {
    std::lock_guard lock(mutex_);
    configuration_ = std::move(descriptor);
}

std::vector<std::uint8_t> SimCamera::ConfigurationLocked() const {
    return configuration_.empty() ? BuildConfiguration(hasResponsePipe_) : configuration_;
}

std::vector<std::uint8_t> SimCamera::ConfigurationDescriptor() const {
    std::lock_guard lock(mutex_);
    return ConfigurationLocked();
}

std::vector<DescriptorRequest> SimCamera::DescriptorLog() const {
    std::lock_guard lock(mutex_);
    return descriptorLog_;
}

NtStatus SimCamera::GetDescriptor(std::uint8_t type, std::span<std::uint8_t> data, std::uint32_t& transferred) {
    std::lock_guard lock(mutex_);
    transferred = 0;
    descriptorLog_.push_back({type, static_cast<std::uint32_t>(data.size())});
    if (!connected_) return kStatusDeviceNotConnected;
    std::vector<std::uint8_t> descriptor;
    if (type == 1) {
        descriptor = {18, 1, 0x00, 0x02, 0xFF, 0xFF, 0xFF, 64, 0, 0, 0, 0, 0x00, 0x01, 1, 2, 3, 1};
        vz::PutLE16(descriptor, 8, vendorId_);
        vz::PutLE16(descriptor, 10, productId_);
    } else if (type == 2) {
        descriptor = ConfigurationLocked();
    } else {
        return kStatusUnsuccessful;  // the device stalls the request
    }
    // Like a device: a shorter request gets that many bytes, a longer one
    // the whole descriptor.
    const std::size_t n = std::min(data.size(), descriptor.size());
    std::copy_n(descriptor.begin(), n, data.begin());
    transferred = static_cast<std::uint32_t>(n);
    return kStatusSuccess;
}

void SimCamera::SetHasResponsePipe(bool present) {
    std::lock_guard lock(mutex_);
    hasResponsePipe_ = present;
}

void SimCamera::SetConnected(bool connected) {
    PendingRead read;
    bool fail = false;
    {
        std::lock_guard lock(mutex_);
        connected_ = connected;
        if (!connected) fail = TakePendingRead(read);
    }
    changed_.notify_all();
    // A vanished device fails the transfer in flight.
    if (fail) read.done->OnVideoReadComplete(kStatusUnsuccessful, static_cast<UsbdStatus>(0xC0000005u), 0);
}

void SimCamera::FailCommandSends(int count, NtStatus status) {
    std::lock_guard lock(mutex_);
    failSends_ = count;
    failSendStatus_ = status;
}

void SimCamera::FailResponseReads(int count, NtStatus status) {
    std::lock_guard lock(mutex_);
    failResponses_ = count;
    failResponseStatus_ = status;
}

void SimCamera::FailRecoveryCalls(int count) {
    std::lock_guard lock(mutex_);
    failRecovery_ = count;
}

void SimCamera::SetIoInput(std::uint8_t value) {
    std::lock_guard lock(mutex_);
    ioInput_ = value;
}

void SimCamera::SetSerial(const std::array<std::uint8_t, 16>& serial) {
    std::lock_guard lock(mutex_);
    serial_ = serial;
}

void SimCamera::SetBytesPerPixel(std::uint32_t bytes) {
    std::lock_guard lock(mutex_);
    bytesPerPixel_ = bytes;
}

void SimCamera::SetSensorSize(std::uint16_t width, std::uint16_t height) {
    std::lock_guard lock(mutex_);
    sensorWidth_ = width;
    sensorHeight_ = height;
}

void SimCamera::SetPicture(Picture picture) {
    std::lock_guard lock(mutex_);
    picture_ = picture;
}

void SimCamera::SetBayerPhase(BayerPhase phase) {
    std::lock_guard lock(mutex_);
    bayerPhase_ = phase;
}

void SimCamera::SetMonochromeSensor(bool monochrome) {
    std::lock_guard lock(mutex_);
    monochromeSensor_ = monochrome;
}

void SimCamera::SetFramesOnRequest(bool onRequest) {
    std::lock_guard lock(mutex_);
    framesOnRequest_ = onRequest;
    frameRequests_ = 0;
}

void SimCamera::RequestFrame() {
    std::lock_guard lock(mutex_);
    if (framesOnRequest_) ++frameRequests_;
}

void SimCamera::WithdrawFrameRequest() {
    std::lock_guard lock(mutex_);
    if (frameRequests_ > 0) --frameRequests_;
}

bool SimCamera::TakeFrameTurn() {
    std::lock_guard lock(mutex_);
    if (!streaming_ || frameBytes_ == 0) return false;
    if (!framesOnRequest_) return true;
    if (frameRequests_ == 0) return false;
    --frameRequests_;
    return true;
}

std::vector<Block> SimCamera::CommandLog() const {
    std::lock_guard lock(mutex_);
    return log_;
}

void SimCamera::ClearCommandLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
}

SimCounters SimCamera::Counters() const {
    std::lock_guard lock(mutex_);
    return counters_;
}

bool SimCamera::Streaming() const {
    std::lock_guard lock(mutex_);
    return streaming_;
}

void SimCamera::SetRowTime(std::chrono::nanoseconds rowTime) {
    std::lock_guard lock(mutex_);
    rowTime_ = rowTime;
}

std::chrono::nanoseconds SimCamera::FrameTime() const {
    std::lock_guard lock(mutex_);
    return SensorFrameTime(rows_, exposureLines_, rowTime_);
}

std::uint32_t SimCamera::FrameBytes() const {
    std::lock_guard lock(mutex_);
    return frameBytes_;
}

std::uint32_t SimCamera::RowBytes() const {
    std::lock_guard lock(mutex_);
    return rowBytes_;
}

Picture SimCamera::CurrentPicture() const {
    std::lock_guard lock(mutex_);
    return picture_;
}

SceneLayout SimCamera::CurrentScene() const {
    std::lock_guard lock(mutex_);
    const std::uint32_t rows = rowBytes_ == 0 ? 0 : frameBytes_ / rowBytes_;
    return {rowBytes_, rows, bytesPerPixel_, monochromeSensor_, bayerPhase_};
}

std::uint64_t SimCamera::StreamGeneration() const {
    std::lock_guard lock(mutex_);
    return generation_;
}

bool SimCamera::HasPipe(UsbPipe pipe) const {
    std::lock_guard lock(mutex_);
    return pipe != UsbPipe::Response || hasResponsePipe_;
}

NtStatus SimCamera::BulkOut(UsbPipe pipe, std::span<const std::uint8_t> data) {
    {
        std::lock_guard lock(mutex_);
        if (pipe != UsbPipe::Command || data.size() != kBlockBytes) return kStatusInvalidParameter;
        if (!connected_) return kStatusDeviceNotConnected;
        if (failSends_ > 0) {
            --failSends_;
            return failSendStatus_;
        }
        Block block;
        std::copy(data.begin(), data.end(), block.begin());
        log_.push_back(block);
        Answer(block);
    }
    changed_.notify_all();
    return kStatusSuccess;
}

bool SimCamera::FpgaBridge() const {
    std::lock_guard lock(mutex_);
    return FpgaBridgeLocked();
}

bool SimCamera::FpgaBridgeLocked() const {
    const int type = productId_ >> 8;
    return vendorId_ == 0xF5A1 && (type == 11 || type == 12 || type == 13 || type == 16);
}

std::map<std::uint16_t, std::uint16_t> SimCamera::FpgaRegisters() const {
    std::lock_guard lock(mutex_);
    return fpgaRegisters_;
}

std::array<std::uint8_t, 40> SimCamera::FpgaEeprom() const {
    std::lock_guard lock(mutex_);
    return fpgaEeprom_;
}

void SimCamera::AnswerFpga(const Block& block) {
    constexpr std::size_t kReply = 2;
    switch (block[0]) {
    case 3:
        response_.fill(0);
        response_[0] = block[0];
        std::copy(serial_.begin(), serial_.end(), response_.begin() + kReply);
        break;
    case 7:
        std::copy_n(block.begin() + kReply, fpgaEeprom_.size(), fpgaEeprom_.begin());
        response_ = block;
        break;
    case 8:
        response_.fill(0);
        response_[0] = block[0];
        std::copy(fpgaEeprom_.begin(), fpgaEeprom_.end(), response_.begin() + kReply);
        break;
    case 16: {
        // The list: height, width, control, count, then (value, address)
        // entries from byte 6 of the list, which starts at byte 1.
        const bool wide = (productId_ >> 8) == 16;
        const std::size_t stride = wide ? 4 : 3;
        const std::size_t count = std::min<std::size_t>(block[1 + 5], 9);
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t at = 1 + 6 + k * stride;
            const std::uint16_t value = vz::GetLE16(block, at);
            const std::uint16_t address = wide ? vz::GetLE16(block, at + 2) : block[at + 2];
            fpgaRegisters_[address] = value;
        }
        response_ = block;
        break;
    }
    default: response_ = block; break;
    }
}

void SimCamera::Answer(const Block& block) {
    const std::uint8_t first = block[block::kCommand];
    const bool fpgaRequest = first == 3 || first == 7 || first == 8 || first == 11 || first == 12 || first == 16;
    if (fpgaRequest && FpgaBridgeLocked()) {
        AnswerFpga(block);
        return;
    }
    switch (block[block::kCommand]) {
    case command::kSetFormat:
        rowBytes_ = OnSensor(vz::GetLE16(block, block::kWidth), sensorWidth_) * bytesPerPixel_;
        rows_ = OnSensor(vz::GetLE16(block, block::kHeight), sensorHeight_);
        frameBytes_ = rowBytes_ * rows_;
        exposureLines_ = vz::GetLE16(block, block::kExposure);
        break;
    case command::kGetIo:
        response_.fill(0);
        response_[response::kIoValue] = ioInput_;
        break;
    case command::kGetSerial:
        response_.fill(0);
        std::copy(serial_.begin(), serial_.end(), response_.begin() + response::kSerial);
        break;
    case command::kSetSerial: std::copy_n(block.begin() + block::kSerial, serial_.size(), serial_.begin()); break;
    case command::kStartStreaming:
        streaming_ = true;
        ++generation_;
        break;
    case command::kStopStreaming: streaming_ = false; break;
    case command::kSetIo:
    case command::kSoftwareTrigger:
    case command::kSetTiming: break;
    case camera_request::kDataWrite:
        std::copy(block.begin() + 1, block.end(), dataArea_.begin() + 1);
        response_ = block;
        break;
    case camera_request::kDataRead:
        // The request it got, with the data area in bytes 1-63.
        response_ = dataArea_;
        response_[0] = block[0];
        break;
    default:
        // Other data requests: the camera answers with the request it got.
        response_ = block;
        break;
    }
}

NtStatus SimCamera::BulkIn(UsbPipe pipe, std::span<std::uint8_t> data, std::uint32_t& transferred) {
    std::lock_guard lock(mutex_);
    transferred = 0;
    if (pipe != UsbPipe::Response || !hasResponsePipe_) return kStatusInvalidParameter;
    if (!connected_) return kStatusDeviceNotConnected;
    if (failResponses_ > 0) {
        --failResponses_;
        return failResponseStatus_;
    }
    const std::size_t n = std::min(data.size(), response_.size());
    std::copy_n(response_.begin(), n, data.begin());
    transferred = static_cast<std::uint32_t>(n);
    return kStatusSuccess;
}

void SimCamera::SubmitVideoRead(std::span<std::uint8_t> buffer, VideoReadCompletion& done) {
    NtStatus failure = kStatusSuccess;
    {
        std::lock_guard lock(mutex_);
        ++counters_.videoReadsSubmitted;
        if (readPending_) {
            ++counters_.overlappingReads;
            failure = kStatusUnsuccessful;
        } else if (!connected_) {
            failure = kStatusDeviceNotConnected;
        } else {
            readPending_ = true;
            pending_ = {buffer, &done};
        }
    }
    changed_.notify_all();
    if (failure != kStatusSuccess) done.OnVideoReadComplete(failure, static_cast<UsbdStatus>(0xC0000005u), 0);
}

bool SimCamera::TakePendingRead(PendingRead& read) {
    if (!readPending_) return false;
    read = pending_;
    readPending_ = false;
    pending_ = {};
    return true;
}

bool SimCamera::WaitForPendingRead(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return readPending_; });
}

void SimCamera::Interrupt() {
    {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
    }
    changed_.notify_all();
}

bool SimCamera::Deliver(std::span<const std::uint8_t> data, UsbdStatus usbd, std::chrono::milliseconds timeout,
                        bool onlyWhileStreaming) {
    PendingRead read;
    {
        std::unique_lock lock(mutex_);
        const bool woke = changed_.wait_for(
            lock, timeout, [&] { return readPending_ || interrupted_ || (onlyWhileStreaming && !streaming_); });
        if (!woke || interrupted_ || (onlyWhileStreaming && !streaming_)) {
            interrupted_ = false;
            return false;
        }
        TakePendingRead(read);
    }
    const std::size_t n = usbd < 0 ? 0 : std::min(data.size(), read.buffer.size());
    std::copy_n(data.begin(), n, read.buffer.begin());
    read.done->OnVideoReadComplete(usbd < 0 ? kStatusUnsuccessful : kStatusSuccess, usbd,
                                   static_cast<std::uint32_t>(n));
    return true;
}

bool SimCamera::DeliverMarker() {
    Block marker{};
    marker[kStartMarkerFlagOffset] = 1;
    return Deliver(marker);
}

NtStatus SimCamera::GetPortStatus(std::uint32_t& portStatus) {
    std::lock_guard lock(mutex_);
    ++counters_.portStatusQueries;
    portStatus = connected_ ? (kPortConnected | kPortEnabled) : 0;
    return kStatusSuccess;
}

NtStatus SimCamera::ResetPort() {
    {
        std::lock_guard lock(mutex_);
        if (!connected_) return kStatusDeviceNotConnected;
        ++counters_.portResets;
        ++generation_;  // the stream restarts at a frame boundary
    }
    changed_.notify_all();
    return kStatusSuccess;
}

NtStatus SimCamera::AbortPipe(UsbPipe pipe) {
    PendingRead read;
    bool cancel = false;
    {
        std::lock_guard lock(mutex_);
        if (failRecovery_ > 0) {
            --failRecovery_;
            return kStatusInsufficientResources;
        }
        ++counters_.pipeAborts;
        if (pipe == UsbPipe::Video) {
            ++counters_.videoAborts;
            cancel = TakePendingRead(read);
        }
    }
    if (cancel) read.done->OnVideoReadComplete(kStatusCancelled, kUsbdCanceled, 0);
    return kStatusSuccess;
}

NtStatus SimCamera::ResetPipe(UsbPipe pipe) {
    std::lock_guard lock(mutex_);
    if (pipe == UsbPipe::Video) ++counters_.videoPipeResets;
    return kStatusSuccess;
}

}  // namespace kqff::sim
