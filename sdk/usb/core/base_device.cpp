#include "base_device.h"

#include <algorithm>
#include <chrono>
#include <new>
#include <system_error>
#include <thread>

#include "point_filters.h"
#include "status_codes.h"
#include "kqff_protocol.h"

namespace kq {
namespace {

std::u16string UpperAscii(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    }
    return out;
}

}  // namespace

BaseDevice::BaseDevice(DeviceIdentity identity, DeviceClass deviceClass)
    : identity_(identity), deviceClass_(deviceClass), geometry_(GeometryForType(identity.typeCode)) {}

int BaseDevice::NotSupported() { return status::kNotSupported; }

void BaseDevice::Pause(std::chrono::milliseconds duration) {
    if (sleeper_) {
        sleeper_(duration);
    } else {
        std::this_thread::sleep_for(duration);
    }
}

std::optional<std::size_t> BaseDevice::Control(std::uint32_t code, std::span<const std::uint8_t> in,
                                               std::span<std::uint8_t> out) {
    if (connection_ == nullptr) return std::nullopt;
    return connection_->Control(code, in, out);
}

int BaseDevice::OpenDevice(CameraTransport& transport, const CameraInterface& camera, const CapInfo& capInfo,
                           std::uint32_t callerHandle) {
    if (const int rc = Connect(transport, camera, capInfo, callerHandle); rc != status::kSuccess) return rc;
    // Start from the driver's own format; the caller's record replaces it.
    CapInfoBytes format{};
    if (Control(kqff::kIoctlGetFormat, {}, format) == format.size()) {
        capInfo_ = DecodeCapInfo(format);
    }
    // The first send after every open uses the model's timing defaults.
    firstApply_ = true;
    return SetCapInfo(capInfo);
}

int BaseDevice::Connect(CameraTransport& transport, const CameraInterface& camera, const CapInfo& capInfo,
                        std::uint32_t callerHandle) {
    geometry_ = GeometryForType(identity_.typeCode);
    if (geometry_.rightEdgeRepair > 0) pixelModel_.edgeRepair.right = geometry_.rightEdgeRepair;
    capInfo_ = capInfo;
    frameBytes_ = capInfo.width * capInfo.height;

    try {
        paramWorker_ = std::make_unique<CoalescingWorker>([this] { SendPendingParameters(); });
    } catch (const std::exception&) {
        return status::kNoResources;
    }
    colorMode_ = identity_.colorType == 1 ? 2 : 0;

    connection_ = transport.Open(camera);
    if (connection_ == nullptr) return status::kNoDevice;
    instanceId_ = camera.instanceId;
    callerHandle_ = callerHandle;
    removed_ = false;
    friendlyName_.fill(0);
    const auto nameChars = std::min(camera.friendlyName.size(), kFriendlyNameChars - 1);
    std::copy_n(camera.friendlyName.begin(), nameChars, friendlyName_.begin());
    return status::kSuccess;
}

bool BaseDevice::LoadPixelTables(const std::filesystem::path& folder) {
    tablesFolder_ = folder;
    const auto badPixels = folder / kqcmos::BadPixelFileName(identity_.typeCode);
    const auto flatField = folder / kqcmos::FlatFieldFileName(identity_.typeCode);
    std::error_code ignored;
    // The tables live in the pipeline: made here only when there is a file.
    if (!std::filesystem::exists(badPixels, ignored) && !std::filesystem::exists(flatField, ignored)) return true;
    try {
        kqcmos::LoadBadPixelFile(badPixels, Pipeline().BadPixels());
        kqcmos::LoadFlatFieldFile(flatField, Pipeline().FlatField());
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

FramePipeline& BaseDevice::Pipeline() {
    // Every buffer and table, once per device, for the largest window of the
    // sensor; made on first use so that opening stays cheap.
    if (pipeline_ == nullptr) {
        const int rawBytesPerPixel = RawBytesPerPixel(pixelModel_.rawFormat);
        pipeline_ = std::make_unique<FramePipeline>(kqcmos::FrameSize{geometry_.maxWidth, geometry_.maxHeight},
                                                    geometry_.stripeCapable, rawBytesPerPixel);
    }
    return *pipeline_;
}

int BaseDevice::CloseDevice() {
    // Workers first: nothing they use may go before they are joined.
    closing_ = true;
    if (fastMode_) Control(kqff::kIoctlStopCapture, {}, {});
    fastMode_ = false;
    streaming_ = false;
    StopCapture();
    preview_.reset();
    firmwareRunning_ = false;
    if (firmwareThread_.joinable()) firmwareThread_.join();
    paramWorker_.reset();
    connection_.reset();
    closing_ = false;
    return status::kSuccess;
}

int BaseDevice::OnDeviceRemoved() {
    if (removed_) return 1;
    // The capture thread reads through the connection: out before it goes.
    // The streaming and fast-mode flags stay: re-arrival starts capture again.
    StopCapture();
    firmwareRunning_ = false;
    if (firmwareThread_.joinable()) firmwareThread_.join();
    removed_ = true;
    connection_.reset();
    NotifyDeviceEvent(0);
    return status::kSuccess;
}

int BaseDevice::OnDeviceArrived(CameraTransport& transport, const CameraInterface& camera) {
    if (!removed_) return status::kRefused;
    if (UpperAscii(camera.instanceId) != UpperAscii(instanceId_)) return status::kRefused;
    connection_ = transport.Open(camera);
    if (connection_ == nullptr) return status::kNoDevice;
    // Gone() reads the mark: the set-up sends need it cleared.
    removed_ = false;
    int rc = PrepareArrivedSensor();
    if (rc == status::kSuccess) rc = ResendCapInfo();
    if (rc != status::kSuccess) {
        // A camera that does not take its set-up is not back: the next
        // arrival tries again.
        connection_.reset();
        removed_ = true;
        return status::kNoDevice;
    }
    if (RestartsAfterArrival()) StartCapture();
    NotifyDeviceEvent(1);
    return status::kSuccess;
}

int BaseDevice::ResumeStreaming() {
    if (!streaming_ || Gone()) return status::kSuccess;
    // StartCapture stops the running thread first.
    return StartCapture();
}

void BaseDevice::NotifyDeviceEvent(std::int32_t event) {
    if (deviceEventCallback_ == nullptr) return;
    auto* handle = reinterpret_cast<void*>(static_cast<std::uintptr_t>(callerHandle_));
    deviceEventCallback_(event, handle, deviceEventContext_);
}

int BaseDevice::GetFriendlyName(std::span<char16_t, kFriendlyNameChars> out) const {
    std::copy(friendlyName_.begin(), friendlyName_.end(), out.begin());
    return status::kSuccess;
}

int BaseDevice::GetSerialNumber(std::span<std::uint8_t, 16> out) {
    if (Gone()) return status::kNoDevice;
    std::array<std::uint8_t, kqff::block::kSerialBytes> serial{};
    if (Control(kqff::kIoctlGetSerial, {}, serial) != serial.size()) return status::kNoDevice;
    std::copy(serial.begin(), serial.end(), out.begin());
    return status::kSuccess;
}

int BaseDevice::SetSerialNumber(std::span<const std::uint8_t, 16> serial, std::uint32_t guard) {
    // The guard keeps a stray call from rewriting the camera's identity.
    if (guard != kSerialGuard) return status::kSuccess;
    if (Gone()) return status::kNoDevice;
    if (!Control(kqff::kIoctlSetSerial, serial, {})) return status::kNoDevice;
    return status::kSuccess;
}

int BaseDevice::SetIO(std::uint8_t value) {
    if (Gone()) return status::kNoDevice;
    // The agreed layout: byte 0 reserved (0), byte 1 the IO value, byte 2 the
    // second IO byte (0: the camera has one).
    const std::array<std::uint8_t, kqff::kSetIoInputBytes> input{0, value, 0};
    if (!Control(kqff::kIoctlSetIo, input, {})) return status::kNoDevice;
    return status::kSuccess;
}

int BaseDevice::GetIO(std::uint8_t& value) {
    if (Gone()) return status::kNoDevice;
    std::array<std::uint8_t, 1> out{};
    if (Control(kqff::kIoctlGetIo, {}, out) != out.size()) return status::kNoDevice;
    value = out[0];
    return status::kSuccess;
}

int BaseDevice::SetTriggerMode(std::int32_t on) {
    if (Gone()) return status::kNoDevice;
    if (on == 0) {
        capInfo_.control &= static_cast<std::uint8_t>(~capinfo_bits::trigger);
        triggerMode_ = 0;
        ApplyCapInfo(capInfo_);
        return status::kSuccess;
    }
    if (streaming_) Control(kqff::kIoctlStopCapture, {}, {});
    capInfo_.control |= capinfo_bits::trigger;
    ApplyCapInfo(capInfo_);
    triggerMode_ = 1;
    if (streaming_) Control(kqff::kIoctlStartCapture, {}, {});
    Pause(std::chrono::milliseconds(500));  // the camera needs this long to change its trigger mode
    return status::kSuccess;
}

int BaseDevice::SoftTrigger() {
    if (Gone()) return status::kNoDevice;
    if (identity_.modelFlag == 1) {
        capInfo_.control |= capinfo_bits::softwareTrigger;
        ApplyCapInfo(capInfo_);
        capInfo_.control &= static_cast<std::uint8_t>(~capinfo_bits::softwareTrigger);
        ApplyCapInfo(capInfo_);
        return status::kSuccess;
    }
    for (std::uint8_t level : {1, 0, 1}) {
        if (int rc = SetIO(level); rc != status::kSuccess) return rc;
    }
    return status::kSuccess;
}

int BaseDevice::RestartStream() {
    if (Gone()) return status::kNoDevice;
    Control(kqff::kIoctlStopCapture, {}, {});
    Pause(std::chrono::milliseconds(10));
    Control(kqff::kIoctlStartCapture, {}, {});
    return status::kSuccess;
}

int BaseDevice::SetFrameCallBack(FrameCallback callback, void* context) {
    frameCallback_ = callback;
    frameCallbackContext_ = context;
    return status::kSuccess;
}

int BaseDevice::SetDeviceEvent(DeviceEventCallback callback, void* context) {
    deviceEventCallback_ = callback;
    deviceEventContext_ = context;
    return status::kSuccess;
}

int BaseDevice::SetDoAE(bool on, AwbCallback callback, void* context) {
    aeOn_ = on;
    aeCallback_ = callback;
    callbackContext_ = context;
    Pipeline().AutoExposure().Enable(on);
    return status::kSuccess;
}

int BaseDevice::SetDoAWB(bool on, AwbCallback callback, void* context) {
    if (identity_.colorType == 1) return status::kNotSupported;  // no colour to balance
    awbOn_ = on;
    awbCallback_ = callback;
    callbackContext_ = context;
    Pipeline().RequestWhiteBalance(on);
    return status::kSuccess;
}

namespace {

// The caller's rectangle is bottom-up; statistics work top-down.
Region TopDownRegion(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t width,
                     std::int32_t height, bool clampBottom) {
    const std::int64_t ty1 = std::int64_t{height} - y1;
    const std::int64_t ty2 = std::int64_t{height} - y2;
    std::int64_t left = std::min(x1, x2), right = std::max(x1, x2);
    std::int64_t top = std::min(ty1, ty2), bottom = std::max(ty1, ty2);
    if (left == right || top == bottom) return Region{};
    right = std::min<std::int64_t>(right, width);
    if (clampBottom) bottom = std::min<std::int64_t>(bottom, height);
    auto narrow = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    return Region{narrow(left), narrow(top), narrow(right), narrow(bottom)};
}

}  // namespace

int BaseDevice::SetDoAEInRegion(bool on, AwbCallback callback, void* context, std::int32_t x1, std::int32_t y1,
                                std::int32_t x2, std::int32_t y2) {
    SetDoAE(on, callback, context);
    Pipeline().AutoExposure().region().Set(x1, y1, x2, y2,
                                           {static_cast<int>(capInfo_.width), static_cast<int>(capInfo_.height)});
    aeRegion_ = TopDownRegion(x1, y1, x2, y2, static_cast<std::int32_t>(capInfo_.width),
                              static_cast<std::int32_t>(capInfo_.height), true);
    return status::kSuccess;
}

int BaseDevice::SetDoAWBInRegion(bool on, AwbCallback callback, void* context, std::int32_t x1, std::int32_t y1,
                                 std::int32_t x2, std::int32_t y2) {
    // Like SetDoAWB but without its monochrome check: a region may be balanced on any sensor.
    awbOn_ = on;
    awbCallback_ = callback;
    callbackContext_ = context;
    Pipeline().RequestWhiteBalance(on);
    // One region serves exposure and white balance.
    Pipeline().AutoExposure().region().Set(x1, y1, x2, y2,
                                           {static_cast<int>(capInfo_.width), static_cast<int>(capInfo_.height)});
    awbRegion_ = TopDownRegion(x1, y1, x2, y2, static_cast<std::int32_t>(capInfo_.width),
                               static_cast<std::int32_t>(capInfo_.height), false);
    return status::kSuccess;
}

int BaseDevice::SetContrastValue(std::int32_t value) {
    // 1..32 stay, 33 becomes 1; the remainder keeps the sign of value - 1,
    // so 0 stays 0 and -40 becomes -8.
    contrast_ = kqcmos::NormalizeContrast(value);
    return status::kSuccess;
}

int BaseDevice::SetSaturation(std::int32_t value) {
    saturation_ = std::clamp(value, 1, 16);
    return status::kSuccess;
}

int BaseDevice::SetSharpness(std::int32_t level) {
    sharpness_ = kqcmos::ClampSharpness(level);
    return status::kSuccess;
}

int BaseDevice::SetScrollOffset(std::int32_t dx, std::int32_t dy) {
    auto negate = [](std::int32_t v) {
        return static_cast<std::int32_t>(std::min<std::int64_t>(-std::int64_t{v}, INT32_MAX));
    };
    scrollX_ = negate(dx);
    scrollY_ = negate(dy);
    return status::kSuccess;
}

int BaseDevice::SetVideoSize(std::int32_t width, std::int32_t height) {
    videoWidth_ = width;
    videoHeight_ = height;
    return status::kSuccess;
}

int BaseDevice::MCResolutionShow(bool on) {
    if (recording_) return status::kSubRectangleRefused;
    cropEnabled_ = on;
    return status::kSuccess;
}

int BaseDevice::SetMCResolution(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    if (recording_) return status::kSubRectangleRefused;
    if (x < 0 || y < 0 || width <= 0 || height <= 0) return status::kSubRectangleRefused;
    if (std::int64_t{x} + width > capInfo_.width || std::int64_t{y} + height > capInfo_.height) {
        return status::kSubRectangleRefused;
    }
    crop_ = SubRectangle{x, y, width, height};
    return status::kSuccess;
}

}  // namespace kq
