// The camera's memories reached through 64-byte requests: the data area,
// the EEPROM with its cache, and the firmware download.

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "base_device.h"
#include "le_bytes.h"
#include "status_codes.h"
#include "kqff_protocol.h"

namespace kq {
namespace {

namespace rq = kqff::camera_request;
using Request = std::array<std::uint8_t, rq::kBytes>;

constexpr std::size_t kFirmwareMaxBytes = 255 * rq::kPayloadBytes;  // 15300

Request CameraRequest(std::uint8_t operation, std::uint8_t number) {
    Request r{};
    r[0] = rq::kCameraRequest;
    r[2] = operation;
    r[3] = number;
    return r;
}

}  // namespace

// ---- Data area ----

int BaseDevice::ReadDataBlock(std::span<std::uint8_t, 64> block) {
    std::array<std::uint8_t, rq::kDataReadRequestBytes> request{rq::kDataRead};
    std::array<std::uint8_t, rq::kBytes> answer{};
    if (Control(kqff::kIoctlWriteReadData, request, answer) != answer.size()) return status::kNoDevice;
    std::copy(answer.begin(), answer.end(), block.begin());
    return status::kSuccess;
}

int BaseDevice::WriteDataToDevice(std::span<const std::uint8_t> source, std::int32_t offset) {
    const auto count = static_cast<std::int64_t>(source.size());
    if (offset < 0 || offset + count >= 64) return status::kRefused;
    if (Gone()) return status::kNoDevice;
    Request block{};
    if (int rc = ReadDataBlock(block); rc != status::kSuccess) return rc;
    std::copy(source.begin(), source.end(), block.begin() + 1 + offset);
    block[0] = rq::kDataWrite;
    if (!Control(kqff::kIoctlWriteData, block, {})) return status::kNoDevice;
    return status::kSuccess;
}

int BaseDevice::ReadDataFromDevice(std::span<std::uint8_t> destination, std::int32_t offset) {
    const auto count = static_cast<std::int64_t>(destination.size());
    if (offset < 0 || offset + count >= 64) return status::kRefused;
    if (Gone()) return status::kNoDevice;
    Request block{};
    if (int rc = ReadDataBlock(block); rc != status::kSuccess) return rc;
    std::copy_n(block.begin() + 1 + offset, destination.size(), destination.begin());
    return status::kSuccess;
}

int BaseDevice::DeviceIoControl(std::uint32_t value) {
    if (Gone()) return status::kNoDevice;
    Request block{};
    block[0] = rq::kDataPassThrough;
    vz::PutLE32(block, 1, value);
    if (!Control(kqff::kIoctlWriteData, block, {})) return status::kNoDevice;
    return status::kSuccess;
}

// ---- EEPROM ----

int BaseDevice::EepromReadBlock(std::size_t block, std::span<std::uint8_t, 60> out) {
    const Request request = CameraRequest(rq::kEepromRead, static_cast<std::uint8_t>(block + 1));
    Request answer{};
    // Only a whole answer that carries a whole block is believed.
    if (Control(kqff::kIoctlWriteCommand, request, answer) != answer.size()) return status::kNoDevice;
    if (answer[0] != rq::kPayloadBytes) return status::kNoDevice;
    std::copy_n(answer.begin() + rq::kPayloadOffset, rq::kPayloadBytes, out.begin());
    return status::kSuccess;
}

int BaseDevice::EepromWriteBlock(std::size_t block, std::span<const std::uint8_t, 60> data) {
    Request request = CameraRequest(rq::kEepromWrite, static_cast<std::uint8_t>(block + 1));
    std::copy(data.begin(), data.end(), request.begin() + rq::kPayloadOffset);
    if (!Control(kqff::kIoctlWriteBlock, request, {})) return status::kNoDevice;
    return status::kSuccess;
}

int BaseDevice::EEProm_Set(std::span<const std::uint8_t, 240> source) {
    if (Gone()) return status::kNoDevice;
    int rc = status::kSuccess;
    {
        CapturePause pause(*this);
        for (std::size_t b = 0; b < rq::kEepromBlocks && rc == status::kSuccess; ++b) {
            rc = EepromWriteBlock(b, source.subspan(b * rq::kPayloadBytes).first<60>());
        }
    }
    if (rc != status::kSuccess) {
        eepromValid_.fill(false);  // the camera holds an unknown mix now
        return rc;
    }
    std::copy(source.begin(), source.end(), eeprom_.begin());
    eepromValid_.fill(true);
    Pause(std::chrono::milliseconds(1100));  // the camera stores the data meanwhile
    return status::kSuccess;
}

int BaseDevice::EEProm_Get(std::span<std::uint8_t, 240> destination) {
    const bool cached = std::all_of(eepromValid_.begin(), eepromValid_.end(), [](bool v) { return v; });
    if (!cached) {
        if (Gone()) return status::kNoDevice;
        std::array<std::uint8_t, 240> read{};
        CapturePause pause(*this);
        for (std::size_t b = 0; b < rq::kEepromBlocks; ++b) {
            if (eepromValid_[b]) {
                std::copy_n(eeprom_.begin() + b * rq::kPayloadBytes, rq::kPayloadBytes,
                            read.begin() + b * rq::kPayloadBytes);
                continue;
            }
            const auto part = std::span(read).subspan(b * rq::kPayloadBytes).first<60>();
            if (int rc = EepromReadBlock(b, part); rc != status::kSuccess) return rc;
        }
        eeprom_ = read;
        eepromValid_.fill(true);
    }
    std::copy(eeprom_.begin(), eeprom_.end(), destination.begin());
    return status::kSuccess;
}

int BaseDevice::EEProm_GetByte(std::int32_t offset, std::int32_t count, std::uint8_t* destination) {
    if (offset < 0 || count < 0 || offset > 239 || std::int64_t{offset} + count > 240) return status::kRefused;
    if (count > 0 && destination == nullptr) return status::kRefused;
    const std::size_t first = static_cast<std::size_t>(offset) / rq::kPayloadBytes;
    const std::size_t last = (static_cast<std::size_t>(offset) + std::max(count, 1) - 1) / rq::kPayloadBytes;
    bool missing = false;
    for (std::size_t b = first; b <= last; ++b) missing = missing || !eepromValid_[b];
    if (missing) {
        if (Gone()) return status::kNoDevice;
        CapturePause pause(*this);
        for (std::size_t b = first; b <= last; ++b) {
            if (eepromValid_[b]) continue;
            std::array<std::uint8_t, 60> part{};
            if (int rc = EepromReadBlock(b, part); rc != status::kSuccess) return rc;
            std::copy(part.begin(), part.end(), eeprom_.begin() + b * rq::kPayloadBytes);
            eepromValid_[b] = true;
        }
    }
    std::copy_n(eeprom_.begin() + offset, count, destination);
    return status::kSuccess;
}

int BaseDevice::EEProm_SetByte(std::int32_t offset, std::int32_t count, const std::uint8_t* source) {
    if (offset < 0 || count < 0 || offset >= 240 || std::int64_t{offset} + count > 240) return status::kRefused;
    if (count > 0 && source == nullptr) return status::kRefused;
    if (count == 0) return status::kSuccess;
    if (Gone()) return status::kNoDevice;
    const std::size_t first = static_cast<std::size_t>(offset) / rq::kPayloadBytes;
    const std::size_t last = (static_cast<std::size_t>(offset) + count - 1) / rq::kPayloadBytes;
    {
        CapturePause pause(*this);
        for (std::size_t b = first; b <= last; ++b) {
            // The rest of the block must be known before it is rewritten.
            std::array<std::uint8_t, 60> part{};
            const auto start = static_cast<std::int32_t>(b * rq::kPayloadBytes);
            if (int rc = EEProm_GetByte(start, 60, part.data()); rc != status::kSuccess) return rc;
            const std::int64_t from = std::max<std::int64_t>(offset, start);
            const std::int64_t to = std::min<std::int64_t>(std::int64_t{offset} + count, start + 60);
            std::copy(source + (from - offset), source + (to - offset), part.begin() + (from - start));
            if (int rc = EepromWriteBlock(b, part); rc != status::kSuccess) {
                eepromValid_[b] = false;
                return rc;
            }
            std::copy(part.begin(), part.end(), eeprom_.begin() + start);
        }
    }
    Pause(std::chrono::milliseconds(1500));  // the camera stores the data meanwhile
    return status::kSuccess;
}

// ---- Firmware ----

int BaseDevice::SetFirmwareProgress(FirmwareProgress callback, void* context) {
    firmwareProgress_ = callback;
    firmwareContext_ = context;
    return status::kSuccess;
}

int BaseDevice::UpdateDeviceProgram(bool start, const std::filesystem::path* path) {
    if (!start) {
        firmwareRunning_ = false;
        return status::kSuccess;
    }
    if (streaming_ || fastMode_ || firmwareRunning_) return status::kRefused;
    if (Gone()) return status::kNoDevice;
    // The whole file is read and checked before anything is sent.
    const std::filesystem::path file = path != nullptr ? *path : std::filesystem::path("kqbeluncut.iic");
    std::ifstream in(file, std::ios::binary);
    if (!in) return status::kNoDevice;
    std::vector<std::uint8_t> image;
    image.reserve(kFirmwareMaxBytes + 1);
    char c = 0;
    while (image.size() <= kFirmwareMaxBytes && in.get(c)) image.push_back(static_cast<std::uint8_t>(c));
    if (image.empty() || image.size() > kFirmwareMaxBytes) return status::kNotSupported;
    if (firmwareThread_.joinable()) firmwareThread_.join();
    firmwareRunning_ = true;
    firmwareResult_ = status::kSuccess;
    firmwareThread_ = std::thread(
        [this, bytes = std::move(image)]() mutable { firmwareResult_ = RunFirmwareDownload(std::move(bytes)); });
    return status::kSuccess;
}

int BaseDevice::WaitFirmware() {
    if (firmwareThread_.joinable()) firmwareThread_.join();
    return firmwareResult_;
}

int BaseDevice::RunFirmwareDownload(std::vector<std::uint8_t> image) {
    // Each chunk's six groups of ten bytes A B C D E F go out as D A E B F C.
    static constexpr std::array<std::size_t, 6> kGroupOrder{3, 0, 4, 1, 5, 2};
    std::uint8_t counter = 0;
    std::size_t sent = 0;
    while (firmwareRunning_ && sent < image.size()) {
        std::array<std::uint8_t, rq::kPayloadBytes> chunk{};
        const std::size_t take = std::min<std::size_t>(rq::kPayloadBytes, image.size() - sent);
        std::copy_n(image.begin() + sent, take, chunk.begin());
        Request request = CameraRequest(rq::kFirmwareChunk, ++counter);
        for (std::size_t g = 0; g < kGroupOrder.size(); ++g) {
            std::copy_n(chunk.begin() + kGroupOrder[g] * 10, 10, request.begin() + rq::kPayloadOffset + g * 10);
        }
        bool delivered = false;
        // The connection outlives this thread (closing and removal join it
        // first), and the transport takes requests from any thread.
        const FirmwareChannel channel = FirmwareSends();
        for (int attempt = 0; attempt < channel.sends && !delivered; ++attempt) {
            delivered = Control(channel.controlCode, request, {}).has_value();
        }
        sent += take;
        const std::int32_t result = delivered ? status::kSuccess : status::kRefused;
        if (firmwareProgress_ != nullptr) firmwareProgress_(static_cast<std::int32_t>(sent), result, firmwareContext_);
        if (!delivered) return status::kRefused;
    }
    return status::kSuccess;
}

}  // namespace kq
