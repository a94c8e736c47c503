#include "driver_core_device.h"

namespace kq::sim {

DriverCoreDevice::DriverCoreDevice(std::uint16_t vendorId, std::uint16_t productId)
    : host_(camera_, vendorId, productId) {
    // The camera answers as the model its identity names.
    camera_.SetUsbIdentity(vendorId, productId);
}

DriverCoreDevice::~DriverCoreDevice() { stream_.reset(); }

void DriverCoreDevice::StartVideo(kqff::sim::StreamFaults faults) {
    if (stream_ == nullptr) stream_ = std::make_unique<kqff::sim::SimStream>(camera_, faults);
}

void DriverCoreDevice::OnCreate() { Core().Open(); }

std::optional<std::size_t> DriverCoreDevice::Control(std::uint32_t code, std::span<const std::uint8_t> in,
                                                     std::span<std::uint8_t> out) {
    const kqff::RequestResult result = Core().Control(code, in, out);
    if (!kqff::IsSuccess(result.status)) return std::nullopt;
    return result.information;
}

std::optional<std::size_t> DriverCoreDevice::Read(std::span<std::uint8_t> buffer) {
    camera_.RequestFrame();
    const kqff::RequestResult result = Core().ReadFrame(buffer);
    if (!kqff::IsSuccess(result.status)) {
        camera_.WithdrawFrameRequest();
        return std::nullopt;
    }
    ++framesRead_;
    return result.information;
}

void DriverCoreDevice::OnClose() { Core().Close(); }

void DriverCoreDevice::OnUnplug() {
    // The bus drops the camera, then the system stops the device.
    camera_.SetConnected(false);
    Core().DeviceStop();
}

}  // namespace kq::sim
