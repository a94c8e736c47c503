#include "test_camera.h"

#include <algorithm>
#include <cstring>

#include "kqff_protocol.h"

namespace kq {
namespace {

constexpr std::uint8_t kKeptControlBits = capinfo_bits::trigger | capinfo_bits::speedMask;
constexpr std::uint8_t kEepromWrite = 7;
constexpr std::size_t kConfigMarkOffset = 64;
constexpr char kConfigMark[] = "Config";

}  // namespace

CKQTEST::CKQTEST(DeviceIdentity identity) : CKQNavelo_FPGA(identity, DeviceClass::CKQTEST, FpgaSensorTiming{}) {
    // The test sensor reads out the other way round from the generic one:
    // each flip takes the reverse kernel, in every colour mode, and its
    // frames need nothing but the caller's colour gains before it.
    pixelModel_.kernelForFlip = {3, 2, 1, 0, 3, 3};
    pixelModel_.plainConversion = true;
}

int CKQTEST::OpenDevice(CameraTransport& transport, const CameraInterface& camera, const CapInfo& capInfo,
                        std::uint32_t callerHandle) {
    if (const int rc = Connect(transport, camera, capInfo, callerHandle); rc != status::kSuccess) return rc;
    // The camera must not stream before it has its record.
    Control(kqff::kIoctlStopCapture, {}, {});
    capInfo_.control = 0;
    return SetCapInfo(capInfo);
}

int CKQTEST::SetCapInfo(const CapInfo& given) {
    if (Gone()) return status::kNoDevice;
    CapInfo record = given;
    record.control = ControlKeeping(given.control, capInfo_.control, kKeptControlBits);
    requestedWidth_ = given.width;
    requestedHeight_ = given.height;
    record.width = kFrameWidth;
    record.height = kFrameHeight;
    if (exposureUnit_ == 1) record.exposure = ExposureToRegister(given.exposure);
    record.exposure = std::min(record.exposure, static_cast<std::uint32_t>(geometry_.maxExposure));
    if (centreWindow_ != 0) CentreWindow(record);
    // The frame size never changes, so a running stream keeps running.
    const int rc = ApplyCapInfo(record);
    if (rc != status::kSuccess) return rc;
    if (exposureUnit_ == 0) exposureTime_ = given.exposure;
    return status::kSuccess;
}

int CKQTEST::ApplyCapInfo(const CapInfo& given) {
    if (Gone()) return status::kNoDevice;
    const CapInfo record = given;  // given may be capInfo_ itself
    if (!Control(kqff::kIoctlSetFormat, EncodeCapInfo(record), {})) return status::kNotSupported;
    capInfo_ = record;
    frameBytes_ = record.width * record.height;
    readBytes_ = frameBytes_;
    return status::kSuccess;
}

int CKQTEST::Write_Register(std::span<const std::uint16_t> addresses, std::span<const std::uint16_t> values) {
    if (addresses.empty() || values.empty()) return status::kSuccess;
    return WriteSensorRegister(addresses[0], values[0]);
}

int CKQTEST::WriteSensorRegister(std::uint16_t address, std::uint16_t value) {
    if (address == kTestPatternRegister) testPattern_ = value;
    return status::kSuccess;
}

int CKQTEST::EEProm_Set(std::span<const std::uint8_t, 240> source) {
    if (Gone()) return status::kNoDevice;
    std::array<std::uint8_t, kqff::camera_request::kBytes> request{};
    if (std::memcmp(source.data() + kConfigMarkOffset, kConfigMark, sizeof kConfigMark - 1) == 0) {
        std::copy_n(source.begin(), request.size(), request.begin());
        return Control(kqff::kIoctlWriteCommand, request, {}) ? status::kSuccess : status::kNoDevice;
    }
    request[0] = kEepromWrite;
    std::copy_n(source.begin(), eepromImage_.size(), request.begin() + 2);
    bool sent = false;
    {
        CapturePause pause(*this);
        sent = Control(kqff::kIoctlWriteCommand, request, {}).has_value();
    }
    if (!sent) return status::kNoDevice;
    std::copy_n(source.begin(), eepromImage_.size(), eepromImage_.begin());
    eepromCurrent_ = false;
    return status::kSuccess;
}

int CKQTEST::PrepareArrivedSensor() {
    return Control(kqff::kIoctlStopCapture, {}, {}) ? status::kSuccess : status::kNoDevice;
}

}  // namespace kq
