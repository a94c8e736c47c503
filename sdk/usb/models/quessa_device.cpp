#include "quessa_device.h"

#include <atomic>

#include "grey_rgb_edges.h"
#include "sensor_timing.h"

namespace kq {
namespace {

constexpr std::uint32_t kNativeReducedWidth = 640;

// The model's own trigger-frame numbers, shared by all its cameras.
std::atomic<std::int32_t> g_snapshotNumber{1};

}  // namespace

CKQQuessa_Device::CKQQuessa_Device(DeviceIdentity identity)
    : NativeZoomDevice(identity, DeviceClass::CKQQuessa_Device, kNativeReducedWidth) {
    pixelModel_.kernelForFlip = {3, 2, 1, 0, 3, 3};
    pixelModel_.microscopePhase = 3;
    pixelModel_.edgeRepair = {.left = 1, .right = 1};  // the outer columns carry no image
}

std::uint32_t CKQQuessa_Device::ExposureToRegister(std::uint32_t time) const {
    return timing::TimeToLines(timing::ExposureFamily::quessa, {capInfo_.width, 0, 0}, time);
}

std::uint32_t CKQQuessa_Device::RegisterToExposure(std::uint32_t lines) const {
    return timing::LinesToTime(timing::ExposureFamily::quessa, {capInfo_.width, 0, 0}, lines);
}

int CKQQuessa_Device::RawFrameToRgb(std::int32_t height, std::int32_t width, const std::uint8_t* source,
                                    std::uint8_t* destination) {
    return GreyRgbWithEdges(height, width, source, destination, colorAdjust_);
}

std::int32_t CKQQuessa_Device::NextSnapshotNumber() { return g_snapshotNumber.fetch_add(1); }

}  // namespace kq
