#pragma once
// The driver's answers to control codes and frame reads for one simulated
// camera: the 64-byte command block it keeps and sends, the stored video
// format, the frame geometry derived from it and the camera's own state
// (IO value, serial number). Stands in for the driver's platform-free core
// until that runs in-process.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "../transport/driver_protocol.h"
#include "camera_backend.h"

namespace kq::sim {

// Deterministic Bayer test picture: each of the four 2 x 2 phases has its
// own base level, plus a small ramp that moves with the frame number.
void FillBayerTestFrame(std::span<std::uint8_t> frame, std::uint32_t rowBytes,
                        std::uint32_t frameNumber);

class SimulatedDriver : public CameraBackend {
public:
    // The instance id decides whether the driver's width table applies.
    explicit SimulatedDriver(std::u16string_view instanceId);

    // A new handle: the command block and the stored format take their
    // defaults and streaming stops.
    void OnCreate() override;
    std::optional<std::size_t> Control(std::uint32_t code, std::span<const std::uint8_t> in,
                                       std::span<std::uint8_t> out) override;
    std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) override;

    bool Streaming() const { return streaming_; }
    std::uint32_t FrameBytes() const { return frameBytes_; }
    std::uint8_t ReadoutMode() const { return block_[driver::command_block::readoutMode]; }
    std::uint32_t FramesDelivered() const { return framesDelivered_; }
    // Every command block sent to the camera, in order.
    const std::vector<std::array<std::uint8_t, driver::kCommandBlockBytes>>& SentBlocks() const {
        return sentBlocks_;
    }
    void SetCameraSerial(std::span<const std::uint8_t, driver::kSerialBytes> serial);

    // The camera's memories, as the requests left them.
    std::array<std::uint8_t, driver::request::kEepromBytes>& Eeprom() { return eeprom_; }
    std::array<std::uint8_t, driver::request::kBytes>& DataArea() { return dataArea_; }
    // Payloads of the firmware chunks received, in arrival order.
    const std::vector<std::uint8_t>& FirmwareBytes() const { return firmware_; }
    // Fault injection for EEPROM block reads: the length byte of the answer
    // and how many answer bytes are reported.
    void SetEepromReply(std::uint8_t lengthByte, std::size_t reportedBytes) {
        eepromLengthByte_ = lengthByte;
        eepromReportedBytes_ = reportedBytes;
    }

private:
    void SendBlock(driver::Command command);
    void SetFormat(std::span<const std::uint8_t> in);
    std::optional<std::size_t> WriteBlock(std::span<const std::uint8_t> in);
    std::optional<std::size_t> WriteCommand(std::span<const std::uint8_t> in, std::span<std::uint8_t> out);

    bool widthTable_ = true;
    std::array<std::uint8_t, driver::kCommandBlockBytes> block_{};
    std::vector<std::array<std::uint8_t, driver::kCommandBlockBytes>> sentBlocks_;
    struct StoredFormat {
        std::uint32_t height = 1536, width = 2048, columnStart = 0, rowStart = 0, exposure = 50;
        std::array<std::uint8_t, 3> gains{30, 30, 30};
        std::uint8_t control = 0;
    } format_;
    std::uint32_t frameBytes_ = 0;
    std::uint32_t rowBytes_ = 0;
    bool streaming_ = false;
    bool frameStart_ = false;
    std::uint32_t framesDelivered_ = 0;
    // Camera side.
    std::uint8_t cameraIo_ = 0;
    std::array<std::uint8_t, driver::kSerialBytes> cameraSerial_{};
    std::array<std::uint8_t, driver::request::kEepromBytes> eeprom_{};
    std::array<std::uint8_t, driver::request::kBytes> dataArea_{};
    std::vector<std::uint8_t> firmware_;
    std::uint8_t eepromLengthByte_ = driver::request::kPayloadBytes;
    std::size_t eepromReportedBytes_ = driver::request::kBytes;
};

}  // namespace kq::sim
