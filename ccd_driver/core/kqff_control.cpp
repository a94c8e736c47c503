// Device control codes and the command/response block transfers.
#include "le_bytes.h"
#include "kqff_device.h"
#include "kqff_util.h"

namespace kqff {
namespace {

// Defaults every open puts into the block and the stored format.
constexpr std::uint32_t kDefaultWidth = 2048;
constexpr std::uint32_t kDefaultHeight = 1536;
constexpr std::uint32_t kDefaultExposure = 50;
constexpr std::uint8_t kDefaultGain = 30;

// Bytes a request may hand back: never more than the caller's output buffer
// (the I/O manager copies that many bytes back), except that a request with
// no output buffer at all reports its count and nothing is copied.
RequestResult Done(NtStatus status, std::uint32_t information, std::span<std::uint8_t> output) {
    if (!IsSuccess(status)) return {status, 0};
    if (!output.empty()) information = MinOf(information, ClampToU32(output.size()));
    return {status, information};
}

}  // namespace

Device::Device(UsbSide& usb, WaitLayer& wait, const DeviceMemory& memory)
    : usb_(usb),
      wait_(wait),
      frameBuffers_{memory.frameBuffer0, memory.frameBuffer1},
      bulkBuffer_(memory.bulkBuffer),
      state_(4),
      pendingFrameBytes_(0xFFFFFFFFu) {
    const std::size_t smaller = MinOf(memory.frameBuffer0.size(), memory.frameBuffer1.size());
    frameCapacity_ = static_cast<std::uint32_t>(MinOf<std::size_t>(smaller, kFrameBufferBytes));
}

void Device::SetUsbIdentity(std::uint16_t vendorId, std::uint16_t productId) {
    ScopedLock lock(wait_, KqLock::Command);
    vendorId_ = vendorId;
    productId_ = productId;
}

void Device::Open() {
    {
        ScopedLock lock(wait_, KqLock::Command);
        format_ = StoredFormat{};
        format_.width = kDefaultWidth;
        format_.height = kDefaultHeight;
        format_.exposure = kDefaultExposure;
        for (std::uint8_t& gain : format_.gains) gain = kDefaultGain;
        block_[block::kCommand] = command::kStartStreaming;
        vz::PutLE16(block_, block::kWidth, kDefaultWidth);
        vz::PutLE16(block_, block::kHeight, kDefaultHeight);
        vz::PutLE16(block_, block::kColumnStart, 0);
        vz::PutLE16(block_, block::kRowStart, 0);
        vz::PutLE16(block_, block::kExposure, kDefaultExposure);
        for (int i = 0; i < 3; ++i) block_[block::kGains + i] = kDefaultGain;
        block_[block::kControl] = 0;
    }
    SetIdle();
}

NtStatus Device::Close() { return StopCapture(); }

RequestResult Device::Control(std::uint32_t code, std::span<const std::uint8_t> input, std::span<std::uint8_t> output) {
    // With METHOD_BUFFERED the input and output share one system buffer: take
    // the input (every code reads at most 64 bytes of it) before the output is
    // cleared, so nothing the driver did not write goes back to the caller.
    std::uint8_t inputCopy[kBlockBytes] = {};
    CopyBytes(inputCopy, input.data(), MinOf<std::size_t>(input.size(), sizeof inputCopy));
    const std::span<const std::uint8_t> in(inputCopy, MinOf<std::size_t>(input.size(), sizeof inputCopy));
    const std::size_t inputBytes = input.size();
    ZeroBytes(output.data(), MinOf<std::size_t>(output.size(), kResponseAreaBytes));

    switch (code) {
    case kIoctlStartCapture: return {StartCapture(), 0};
    case kIoctlStopCapture: return {StopCapture(), 0};
    case kIoctlSetFormat: return SetFormat(in);
    case kIoctlGetFormat: return GetFormat(output);
    case kIoctlSetIo: return SetIo(in);
    case kIoctlGetIo: return GetIo(output);
    case kIoctlGetSerial: return GetSerial(output);
    case kIoctlSetSerial: return SetSerial(in, output);
    case kIoctlCommand5: return SendCommandOnly(command::kSoftwareTrigger);
    case kIoctlSetTiming: return SetTiming(in, output);
    case kIoctlWriteBlock:
    case kIoctlWriteCommand:
    case kIoctlTransact:
    case kIoctlWriteData:
    case kIoctlWriteReadData: break;
    default: return {kStatusInvalidDeviceRequest, 0};
    }

    // Raw transfers: the length limit is checked on the caller's real length.
    const bool tooLong = inputBytes > kRawTransferMaxInput;
    switch (code) {
    case kIoctlWriteBlock:
    case kIoctlWriteCommand:
        if (tooLong) return {kStatusInvalidParameter, 0};
        return RawWrite(in, output);
    case kIoctlWriteData:
        if (tooLong) return {kStatusBufferTooSmall, 0};
        return RawWrite(in, output);
    case kIoctlWriteReadData:
        if (tooLong) return {kStatusBufferTooSmall, 0};
        return WriteReadData(in, output);
    default:  // kIoctlTransact
        if (tooLong || output.size() > kTransactMaxOutput) return {kStatusInvalidParameter, 0};
        return Transact(in, output);
    }
}

RequestResult Device::SetFormat(std::span<const std::uint8_t> in) {
    if (in.size() < kCaptureRecordMinInput) return {kStatusInvalidParameter, 0};
    StoredFormat f;
    f.height = vz::GetLE32(in, record::kHeight);
    f.width = vz::GetLE32(in, record::kWidth);
    f.columnStart = vz::GetLE32(in, record::kColumnStart);
    f.rowStart = vz::GetLE32(in, record::kRowStart);
    f.exposure = vz::GetLE32(in, record::kExposure);
    for (int i = 0; i < 3; ++i) f.gains[i] = in[record::kGains + i];
    f.control = in[record::kControl];

    ScopedLock lock(wait_, KqLock::Command);
    const FormatDecision d = DecideFormat(f.width, f.height, block_[block::kReadoutMode], vendorId_, productId_);
    // A frame must fit a frame buffer; refuse before anything changes.
    if (d.sizesFrame && d.frameBytes > frameCapacity_) return {kStatusInvalidParameter, 0};

    format_ = f;
    block_[block::kCommand] = command::kSetFormat;
    block_[block::kReadoutMode] = d.readoutMode;
    if (d.sizesFrame) {
        frameBytesZeroed_.store(false, std::memory_order_release);
        pendingFrameBytes_.store(static_cast<std::uint32_t>(d.frameBytes), std::memory_order_release);
        geometryChanged_.store(true, std::memory_order_release);
    }
    return {SendCommandBlock(), 0};
}

RequestResult Device::GetFormat(std::span<std::uint8_t> out) {
    if (out.size() < kCaptureRecordBytes) return {kStatusBufferTooSmall, 0};
    ScopedLock lock(wait_, KqLock::Command);
    vz::PutLE32(out, record::kHeight, format_.height);
    vz::PutLE32(out, record::kWidth, format_.width);
    vz::PutLE32(out, record::kColumnStart, format_.columnStart);
    vz::PutLE32(out, record::kRowStart, format_.rowStart);
    vz::PutLE32(out, record::kExposure, format_.exposure);
    for (int i = 0; i < 3; ++i) out[record::kGains + i] = format_.gains[i];
    out[record::kControl] = format_.control;
    return {kStatusSuccess, kCaptureRecordBytes};
}

RequestResult Device::SendCommandOnly(std::uint8_t command) {
    ScopedLock lock(wait_, KqLock::Command);
    block_[block::kCommand] = command;
    return {SendCommandBlock(), 0};
}

RequestResult Device::SetIo(std::span<const std::uint8_t> in) {
    if (in.size() < kSetIoInputBytes) return {kStatusInvalidParameter, 0};
    ScopedLock lock(wait_, KqLock::Command);
    block_[block::kCommand] = command::kSetIo;
    block_[block::kIo] = in[set_io::kIoByte0];
    block_[block::kIo + 1] = in[set_io::kIoByte1];
    return {SendCommandBlock(), 0};
}

RequestResult Device::GetIo(std::span<std::uint8_t> out) {
    if (out.empty()) return {kStatusBufferTooSmall, 0};
    ScopedLock lock(wait_, KqLock::Command);
    block_[block::kCommand] = command::kGetIo;
    NtStatus status = SendCommandBlock();
    if (IsSuccess(status)) status = ReadResponse();
    if (!IsSuccess(status)) return {status, 0};
    out[0] = response_[response::kIoValue];
    return {kStatusSuccess, 1};
}

RequestResult Device::GetSerial(std::span<std::uint8_t> out) {
    if (out.size() < block::kSerialBytes) return {kStatusBufferTooSmall, 0};
    ScopedLock lock(wait_, KqLock::Command);
    block_[block::kCommand] = command::kGetSerial;
    NtStatus status = SendCommandBlock();
    if (IsSuccess(status)) status = ReadResponse();
    if (!IsSuccess(status)) return {status, 0};
    CopyBytes(out.data(), response_ + response::kSerial, block::kSerialBytes);
    return {kStatusSuccess, block::kSerialBytes};
}

RequestResult Device::SetSerial(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
    if (in.size() < block::kSerialBytes) return {kStatusInvalidParameter, 0};
    ScopedLock lock(wait_, KqLock::Command);
    block_[block::kCommand] = command::kSetSerial;
    CopyBytes(block_ + block::kSerial, in.data(), block::kSerialBytes);
    return Done(SendCommandBlock(), block::kSerialBytes, out);
}

RequestResult Device::SetTiming(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
    if (in.size() < kSetTimingInputBytes) return {kStatusInvalidParameter, 0};
    ScopedLock lock(wait_, KqLock::Command);
    block_[block::kCommand] = command::kSetTiming;
    block_[block::kTimingSelector] = MinOf<std::uint8_t>(in[0], 3);
    vz::PutLE32(block_, block::kTimingValue, TimingValueFor(vz::GetLE32(in, 1)));
    return Done(SendCommandBlock(), kSetTimingInputBytes, out);
}

RequestResult Device::RawWrite(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
    ScopedLock lock(wait_, KqLock::Command);
    return Done(SendRaw(in), static_cast<std::uint32_t>(in.size()), out);
}

RequestResult Device::WriteReadData(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
    ScopedLock lock(wait_, KqLock::Command);
    NtStatus status = SendRaw(in);
    if (IsSuccess(status)) status = ReadResponse();
    if (!IsSuccess(status)) return {status, 0};
    const std::uint32_t count = static_cast<std::uint32_t>(MinOf<std::size_t>(out.size(), kResponseAreaBytes));
    CopyBytes(out.data(), response_, count);
    return {kStatusSuccess, count};
}

RequestResult Device::Transact(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
    ScopedLock lock(wait_, KqLock::Command);
    NtStatus status = SendRaw(in);
    if (IsSuccess(status)) status = ReadResponse();
    if (!IsSuccess(status)) return {status, 0};
    CopyBytes(out.data(), response_, out.size());
    return {kStatusSuccess, static_cast<std::uint32_t>(out.size())};
}

NtStatus Device::SendCommand(std::uint8_t command) {
    ScopedLock lock(wait_, KqLock::Command);
    block_[block::kCommand] = command;
    return SendCommandBlock();
}

NtStatus Device::SendCommandBlock() {
    if (block_[block::kCommand] != command::kSetSerial) {
        vz::PutLE16(block_, block::kWidth, static_cast<std::uint16_t>(format_.width));
        vz::PutLE16(block_, block::kHeight, static_cast<std::uint16_t>(format_.height));
        vz::PutLE16(block_, block::kColumnStart, static_cast<std::uint16_t>(format_.columnStart));
        vz::PutLE16(block_, block::kRowStart, static_cast<std::uint16_t>(format_.rowStart));
        vz::PutLE16(block_, block::kExposure, static_cast<std::uint16_t>(format_.exposure));
        for (int i = 0; i < 3; ++i) block_[block::kGains + i] = format_.gains[i];
        // Offset 17 doubles as serial byte 11 for command 4; the serial number
        // goes out whole there, the control byte with every other command.
        block_[block::kControl] = format_.control;
    }
    const std::span<const std::uint8_t> bytes(block_, kBlockBytes);
    NtStatus status = usb_.BulkOut(UsbPipe::Command, bytes);
    if (!IsSuccess(status)) status = usb_.BulkOut(UsbPipe::Command, bytes);
    return status;
}

NtStatus Device::SendRaw(std::span<const std::uint8_t> in) {
    std::uint8_t raw[kBlockBytes] = {};
    CopyBytes(raw, in.data(), MinOf<std::size_t>(in.size(), kBlockBytes));
    const std::span<const std::uint8_t> bytes(raw, kBlockBytes);
    NtStatus status = usb_.BulkOut(UsbPipe::Command, bytes);
    if (!IsSuccess(status)) status = usb_.BulkOut(UsbPipe::Command, bytes);
    return status;
}

NtStatus Device::ReadResponse() {
    if (!usb_.HasPipe(UsbPipe::Response)) return kStatusUnsuccessful;
    NtStatus status = kStatusUnsuccessful;
    for (int attempt = 0; attempt < 2 && !IsSuccess(status); ++attempt) {
        // A short or failed transfer must not leave an earlier answer behind.
        ZeroBytes(response_, sizeof response_);
        std::uint32_t transferred = 0;
        status = usb_.BulkIn(UsbPipe::Response, std::span<std::uint8_t>(response_, kBlockBytes), transferred);
    }
    return status;
}

}  // namespace kqff
