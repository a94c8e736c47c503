#include "simulated_driver.h"

#include <algorithm>
#include <optional>

#include "../core/device_identification.h"
#include "../core/le_bytes.h"

namespace kq::sim {
namespace {

namespace cb = driver::command_block;

std::optional<std::uint16_t> HexAfter(std::u16string_view id, std::u16string_view key) {
    const auto at = id.find(key);
    if (at == std::u16string_view::npos || at + key.size() + 4 > id.size()) return std::nullopt;
    std::uint16_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const char16_t c = id[at + key.size() + i];
        int digit = -1;
        if (c >= u'0' && c <= u'9') digit = c - u'0';
        if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
        if (digit < 0) return std::nullopt;
        v = static_cast<std::uint16_t>(v * 16 + digit);
    }
    return v;
}

struct WidthRule {
    std::uint32_t width;
    std::uint8_t bytesPerPixel;
    std::uint8_t fixedMode;  // 0: by height
    std::array<std::pair<std::uint32_t, std::uint8_t>, 3> byHeight;
    std::uint8_t otherHeights;  // 0: keep the mode
};

constexpr std::array<WidthRule, 11> kWidthTable{{
    {576, 2, 0, {{{216, 4}, {0, 0}, {0, 0}}}, 0},
    {640, 1, 0, {{{486, 4}, {0, 0}, {0, 0}}}, 1},
    {872, 1, 4, {}, 0},
    {1024, 2, 0, {{{256, 3}, {768, 1}, {0, 0}}}, 0},
    {1280, 1, 0, {{{972, 2}, {0, 0}, {0, 0}}}, 1},
    {1360, 2, 0, {{{256, 4}, {512, 2}, {1024, 1}}}, 0},
    {1600, 2, 0, {{{600, 2}, {1200, 1}, {0, 0}}}, 0},
    {1744, 1, 2, {}, 0},
    {2304, 2, 0, {{{1712, 1}, {856, 2}, {216, 4}}}, 0},
    {2560, 1, 1, {}, 0},
    {3488, 1, 1, {}, 0},
}};

}  // namespace

void FillBayerTestFrame(std::span<std::uint8_t> frame, std::uint32_t rowBytes,
                        std::uint32_t frameNumber) {
    static constexpr std::array<std::uint8_t, 4> kPhaseBase{160, 96, 88, 32};
    if (rowBytes == 0) return;
    for (std::size_t i = 0; i < frame.size(); ++i) {
        const auto x = static_cast<std::uint32_t>(i % rowBytes);
        const auto y = static_cast<std::uint32_t>(i / rowBytes);
        const std::uint32_t phase = (y & 1u) * 2 + (x & 1u);
        frame[i] = static_cast<std::uint8_t>(kPhaseBase[phase] + ((x / 2 + y / 2 + frameNumber) & 15u));
    }
}

SimulatedDriver::SimulatedDriver(std::u16string_view instanceId) {
    const auto vid = HexAfter(instanceId, u"VID_");
    const auto pid = HexAfter(instanceId, u"PID_");
    const bool makerVendor = vid && (*vid == kMakerVendorId || *vid == kMakerSecondVendorId);
    const bool tablePid = pid && (*pid == kQuessaColorProductId || *pid == kQuessaMonoProductId ||
                                  *pid == kZundraProductId);
    widthTable_ = !(makerVendor && !tablePid);
    OnCreate();
}

void SimulatedDriver::OnCreate() {
    block_[cb::code] = static_cast<std::uint8_t>(driver::Command::startStreaming);
    format_ = StoredFormat{};
    streaming_ = false;
}

void SimulatedDriver::SetCameraSerial(std::span<const std::uint8_t, driver::kSerialBytes> serial) {
    std::copy(serial.begin(), serial.end(), cameraSerial_.begin());
}

void SimulatedDriver::SendBlock(driver::Command command) {
    block_[cb::code] = static_cast<std::uint8_t>(command);
    if (command != driver::Command::setSerial) {
        PutLE16(block_, cb::width, static_cast<std::uint16_t>(format_.width));
        PutLE16(block_, cb::height, static_cast<std::uint16_t>(format_.height));
        PutLE16(block_, cb::columnStart, static_cast<std::uint16_t>(format_.columnStart));
        PutLE16(block_, cb::rowStart, static_cast<std::uint16_t>(format_.rowStart));
        PutLE16(block_, cb::exposure, static_cast<std::uint16_t>(format_.exposure));
        std::copy(format_.gains.begin(), format_.gains.end(), block_.begin() + cb::gains);
        // Offset 17 lies inside the serial overlay, so set-serial keeps it.
        block_[cb::control] = format_.control;
    }
    sentBlocks_.push_back(block_);
    // The camera's side of the commands it understands.
    if (command == driver::Command::setIo) cameraIo_ = block_[cb::ioBytes];
    if (command == driver::Command::setSerial) {
        std::copy_n(block_.begin() + cb::serial, driver::kSerialBytes, cameraSerial_.begin());
    }
}

void SimulatedDriver::SetFormat(std::span<const std::uint8_t> in) {
    StoredFormat f;
    f.height = GetLE32(in, 4);
    f.width = GetLE32(in, 8);
    f.columnStart = GetLE32(in, 12);
    f.rowStart = GetLE32(in, 16);
    f.exposure = GetLE32(in, 20);
    f.gains = {in[24], in[25], in[26]};
    f.control = in[27];
    format_ = f;

    std::uint64_t bytes = std::uint64_t{f.width} * f.height;
    bool newGeometry = true;
    if (widthTable_) {
        const auto rule = std::find_if(kWidthTable.begin(), kWidthTable.end(),
                                       [&](const WidthRule& r) { return r.width == f.width; });
        std::uint8_t& mode = block_[cb::readoutMode];
        if (rule == kWidthTable.end()) {
            mode = 1;
            newGeometry = false;
        } else {
            if (rule->fixedMode != 0) {
                mode = rule->fixedMode;
            } else {
                const auto h = std::find_if(rule->byHeight.begin(), rule->byHeight.end(),
                                            [&](auto& p) { return p.first == f.height; });
                if (h != rule->byHeight.end()) mode = h->second;
                else if (rule->otherHeights != 0) mode = rule->otherHeights;
            }
            bytes *= rule->bytesPerPixel;
        }
    }
    if (newGeometry) {
        // A frame larger than the driver's frame buffer is never assembled.
        frameBytes_ = bytes <= driver::kFrameBufferBytes ? static_cast<std::uint32_t>(bytes) : 0;
        rowBytes_ = f.height != 0 ? frameBytes_ / f.height : 0;
    }
    SendBlock(driver::Command::setFormat);
}

std::optional<std::size_t> SimulatedDriver::Control(std::uint32_t code,
                                                    std::span<const std::uint8_t> in,
                                                    std::span<std::uint8_t> out) {
    switch (code) {
    case driver::kStartCapture:
        streaming_ = true;
        frameStart_ = true;
        SendBlock(driver::Command::startStreaming);
        return 0;
    case driver::kStopCapture:
        SendBlock(driver::Command::stopStreaming);
        streaming_ = false;
        return 0;
    case driver::kSetFormat:
        if (in.size() < 28) return std::nullopt;
        SetFormat(in);
        return 0;
    case driver::kGetFormat: {
        if (out.size() < driver::kVideoFormatBytes) return std::nullopt;
        std::fill_n(out.begin(), driver::kVideoFormatBytes, std::uint8_t{0});
        PutLE32(out, 4, format_.height);
        PutLE32(out, 8, format_.width);
        PutLE32(out, 12, format_.columnStart);
        PutLE32(out, 16, format_.rowStart);
        PutLE32(out, 20, format_.exposure);
        std::copy(format_.gains.begin(), format_.gains.end(), out.begin() + 24);
        out[27] = format_.control;
        return driver::kVideoFormatBytes;
    }
    case driver::kSetIo:
        if (in.size() < driver::kSetIoInputBytes) return std::nullopt;
        block_[cb::ioBytes] = in[1];
        block_[cb::ioBytes + 1] = in[2];
        SendBlock(driver::Command::setIo);
        return 0;
    case driver::kGetIo:
        if (out.empty()) return std::nullopt;
        SendBlock(driver::Command::getIo);
        out[0] = cameraIo_;
        return 1;
    case driver::kGetSerial:
        if (out.size() < driver::kSerialBytes) return std::nullopt;
        SendBlock(driver::Command::getSerial);
        std::copy(cameraSerial_.begin(), cameraSerial_.end(), out.begin());
        return driver::kSerialBytes;
    case driver::kSetSerial:
        if (in.size() < driver::kSerialBytes) return std::nullopt;
        std::copy_n(in.begin(), driver::kSerialBytes, block_.begin() + cb::serial);
        SendBlock(driver::Command::setSerial);
        return driver::kSerialBytes;
    case driver::kCommand5:
        SendBlock(driver::Command::softwareTrigger);
        return 0;
    case driver::kWriteBlock:
        return WriteBlock(in);
    case driver::kWriteCommand:
        return WriteCommand(in, out);
    case driver::kWriteData:
        if (in.size() > driver::kRawTransferMaxBytes) return std::nullopt;
        if (in.size() == driver::request::kBytes && in[0] == driver::request::kDataWrite) {
            std::copy(in.begin() + 1, in.end(), dataArea_.begin() + 1);
        }
        return in.size();
    case driver::kWriteReadData: {
        if (in.size() > driver::kRawTransferMaxBytes) return std::nullopt;
        const std::size_t n = std::min(out.size(), driver::kResponseAreaBytes);
        std::fill_n(out.begin(), n, std::uint8_t{0});
        if (!in.empty() && in[0] == driver::request::kDataRead) {
            std::copy_n(dataArea_.begin(), std::min(n, dataArea_.size()), out.begin());
        }
        return n;
    }
    case driver::kTransact:
        if (in.size() > driver::kRawTransferMaxBytes || out.size() > driver::kResponseBlockBytes) {
            return std::nullopt;
        }
        std::fill(out.begin(), out.end(), std::uint8_t{0});
        return out.size();
    default:
        return std::nullopt;  // an unknown request
    }
}

std::optional<std::size_t> SimulatedDriver::WriteBlock(std::span<const std::uint8_t> in) {
    namespace rq = driver::request;
    if (in.size() != rq::kBytes || in[0] != rq::kCameraRequest) return std::nullopt;
    const auto payload = in.subspan(rq::kPayloadOffset, rq::kPayloadBytes);
    if (in[2] == rq::kEepromWrite) {
        const std::uint8_t block = in[3];
        if (block < 1 || block > rq::kEepromBlocks) return std::nullopt;
        std::copy(payload.begin(), payload.end(), eeprom_.begin() + (block - 1) * rq::kPayloadBytes);
        return 0;
    }
    if (in[2] == rq::kFirmwareChunk) {
        firmware_.insert(firmware_.end(), payload.begin(), payload.end());
        return 0;
    }
    return std::nullopt;
}

std::optional<std::size_t> SimulatedDriver::WriteCommand(std::span<const std::uint8_t> in,
                                                         std::span<std::uint8_t> out) {
    namespace rq = driver::request;
    if (in.size() > driver::kRawTransferMaxBytes) return std::nullopt;
    const bool eepromRead = in.size() == rq::kBytes && in[0] == rq::kCameraRequest &&
                            in[2] == rq::kEepromRead;
    if (!eepromRead) return in.size();
    const std::uint8_t block = in[3];
    if (block < 1 || block > rq::kEepromBlocks || out.size() < rq::kBytes) return std::nullopt;
    std::fill(out.begin(), out.end(), std::uint8_t{0});
    out[0] = eepromLengthByte_;
    std::copy_n(eeprom_.begin() + (block - 1) * rq::kPayloadBytes, rq::kPayloadBytes,
                out.begin() + rq::kPayloadOffset);
    return std::min(eepromReportedBytes_, out.size());
}

std::optional<std::size_t> SimulatedDriver::Read(std::span<std::uint8_t> buffer) {
    if (!streaming_ || buffer.empty() || frameBytes_ == 0) return std::nullopt;
    const std::size_t n = std::min<std::size_t>(frameBytes_, buffer.size());
    FillBayerTestFrame(buffer.first(n), rowBytes_, framesDelivered_);
    ++framesDelivered_;
    // The trailer follows the frame, as far as the caller's buffer reaches.
    const std::size_t trailer = std::min(driver::kFrameTrailerBytes, buffer.size() - n);
    if (trailer > 2) buffer[n + 2] = frameStart_ ? 1 : 0;
    frameStart_ = false;
    return n + trailer;
}

}  // namespace kq::sim
