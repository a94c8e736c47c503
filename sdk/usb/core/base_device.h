#pragma once
// The object behind one open camera: it owns the driver connection, the
// capture-information record and the 52-byte format block built from it,
// the display, trigger and automatic-control settings and the caller's
// callbacks. Model classes derive from it.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>

#include "callbacks.h"
#include "capinfo_record.h"
#include "device_class.h"
#include "device_identification.h"
#include "format_block.h"
#include "model_geometry.h"
#include "../transport/camera_transport.h"

namespace kq {

// A rectangle of the automatic-control statistics, top-down; -1 = unset.
struct Region {
    std::int32_t left = -1, top = -1, right = -1, bottom = -1;
    bool operator==(const Region&) const = default;
};

struct SubRectangle {
    std::int32_t x = 0, y = 0, width = 0, height = 0;
};

class BaseDevice {
public:
    static constexpr std::uint32_t kSerialGuard = 0x3E71A94C;
    static constexpr std::size_t kFriendlyNameChars = 256;

    BaseDevice(DeviceIdentity identity, DeviceClass deviceClass);
    BaseDevice(const BaseDevice&) = delete;
    BaseDevice& operator=(const BaseDevice&) = delete;
    virtual ~BaseDevice() = default;

    // Held by the library around every call into the device, so that the
    // hot-plug thread and callers never interleave inside one object.
    std::recursive_mutex& CallLock() { return callLock_; }

    // Identity.
    std::int32_t TypeCode() const { return identity_.typeCode; }
    std::int32_t ColorType() const { return identity_.colorType; }
    std::int32_t ModelFlag() const { return identity_.modelFlag; }
    DeviceClass Class() const { return deviceClass_; }
    const ModelGeometry& Geometry() const { return geometry_; }
    std::uint32_t CallerHandle() const { return callerHandle_; }
    const std::u16string& InstanceId() const { return instanceId_; }

    // Lifecycle.
    virtual int OpenDevice(CameraTransport& transport, const CameraInterface& camera,
                           const CapInfo& capInfo, std::uint32_t callerHandle);
    bool IsOpen() const { return connection_ != nullptr || removed_; }
    int CloseDevice();
    virtual int OnDeviceRemoved();
    virtual int OnDeviceArrived(CameraTransport& transport, const CameraInterface& camera);
    bool IsRemoved() const { return removed_; }

    // Identity queries.
    int GetFriendlyName(std::span<char16_t, kFriendlyNameChars> out) const;
    int GetSerialNumber(std::span<std::uint8_t, 16> out);
    int SetSerialNumber(std::span<const std::uint8_t, 16> serial, std::uint32_t guard);

    // Capture parameters.
    virtual int SetCapInfo(const CapInfo& record);
    CapInfo GetCapInfo() const;
    virtual int ApplyCapInfo(const CapInfo& record);
    int ResendCapInfo() { return ApplyCapInfo(capInfo_); }
    const CapInfo& StoredCapInfo() const { return capInfo_; }
    std::uint32_t FrameBytes() const { return frameBytes_; }
    virtual int SetZoomMode(std::int32_t mode);
    virtual int SetSpeedMode(std::int32_t mode);
    virtual int SetHBlank(std::int32_t value);
    virtual int SetVBlank(std::int32_t value);
    virtual int SetExpouseDelayTime(std::int32_t value);
    virtual int SetSensorRdMode(std::int32_t value);
    virtual int Write_Register(std::span<const std::uint16_t> addresses,
                               std::span<const std::uint16_t> values);
    int SetOffCenter(std::int32_t on);
    std::int32_t GetOffCenter() const { return centreWindow_; }
    int SetExpouseUnit(std::int32_t unit);
    int RestartStream();

    // Trigger and IO.
    virtual int SetTriggerMode(std::int32_t on);
    virtual int SoftTrigger();
    virtual int SetIO(std::uint8_t value);
    virtual int GetIO(std::uint8_t& value);

    // Operations the base class does not support; model classes override.
    virtual int SetSourceFormat(std::int32_t) { return NotSupported(); }
    virtual int SetGolbalGain(std::int32_t) { return NotSupported(); }
    virtual int SetTriggerDelayTime(std::int32_t) { return NotSupported(); }
    virtual int SetTriggerSource(std::int32_t) { return NotSupported(); }
    virtual int SetTriggerSourceTime(std::int32_t) { return NotSupported(); }
    virtual int SetTriggerCheckSignalTime(std::int32_t) { return NotSupported(); }
    virtual int SetCustomIO(std::int32_t) { return NotSupported(); }
    virtual int SetCameraLED(std::int32_t, std::int32_t) { return NotSupported(); }
    virtual int EEProm_Set_Test(std::uint8_t*) { return NotSupported(); }
    virtual int EEProm_Get_Test(std::uint8_t*) { return NotSupported(); }

    // Callbacks.
    int SetFrameCallBack(FrameCallback callback, void* context);
    int SetDeviceEvent(DeviceEventCallback callback, void* context);

    // Automatic exposure and white balance requests.
    int SetDoAE(bool on, AwbCallback callback, void* context);
    int SetDoAWB(bool on, AwbCallback callback, void* context);
    int SetDoAEInRegion(bool on, AwbCallback callback, void* context, std::int32_t x1,
                        std::int32_t y1, std::int32_t x2, std::int32_t y2);
    int SetDoAWBInRegion(bool on, AwbCallback callback, void* context, std::int32_t x1,
                         std::int32_t y1, std::int32_t x2, std::int32_t y2);
    bool AutoExposureOn() const { return aeOn_; }
    bool AutoWhiteBalanceOn() const { return awbOn_; }
    const Region& AeRegion() const { return aeRegion_; }
    const Region& AwbRegion() const { return awbRegion_; }

    // Stored picture and display settings.
    int SetContrastValue(std::int32_t value);
    std::int32_t GetContrastValue() const { return contrast_; }
    int SetSaturation(std::int32_t value);
    std::int32_t GetSaturation() const { return saturation_; }
    virtual int SetSharpness(std::int32_t level);
    std::int32_t GetSharpness() const { return sharpness_; }
    int SetColorAdjust(std::int32_t value) { colorAdjust_ = value; return 0; }
    std::int32_t GetColorAdjust() const { return colorAdjust_; }
    int SetLight(std::int32_t value) { light_ = value; return 0; }
    std::uint8_t GetLight() const { return static_cast<std::uint8_t>(light_); }
    virtual int SetHDR(std::int32_t on) { hdr_ = on; return 0; }
    int SetScrollOffset(std::int32_t dx, std::int32_t dy);
    int SetVideoSize(std::int32_t width, std::int32_t height);
    int SetShowVideo(bool on) { showVideo_ = on; return 0; }
    int SetShowAutoMark(bool on) { showAutoMark_ = on; return 0; }
    int VideoPause(bool on) { videoPause_ = on; return 0; }
    int SetClearView(bool on) { clearView_ = on; return 0; }
    bool GetClearViewState() const { return clearView_; }
    float FrameRate() const { return frameRate_; }
    int SetAviCompressor(std::int32_t fourcc) { aviCompressor_ = fourcc; return 0; }

    // Output sub-rectangle of the frame.
    int MCResolutionShow(bool on);
    bool IsMCResolutionShow() const { return cropEnabled_; }
    int SetMCResolution(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    SubRectangle GetMCResolution() const { return crop_; }

    // The last format block sent (what the driver was told).
    const FormatBlock& LastSentBlock() const { return lastSent_; }

protected:
    static int NotSupported();
    // True while there is no driver connection (unplugged or never opened).
    bool Gone() const { return removed_ || connection_ == nullptr; }
    std::optional<std::size_t> Control(std::uint32_t code, std::span<const std::uint8_t> in,
                                       std::span<std::uint8_t> out);
    void NotifyDeviceEvent(std::int32_t event);

    struct WindowSize {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
    };
    // The window the sensor can deliver for a requested size in the current
    // zoom mode: clamped to the sensor (half of it with skip or binning) and
    // rounded down to multiples of 8. Updates control bits 0 and 2 for zoom 1.
    WindowSize OutputWindow(std::uint32_t width, std::uint32_t height, std::int32_t zoomMode,
                            std::uint8_t& control, std::uint8_t binningMode) const;
    std::uint32_t ExposureToRegister(std::uint32_t time) const;
    std::uint32_t RegisterToExposure(std::uint32_t lines) const;
    void CentreWindow(CapInfo& record) const;

    DeviceIdentity identity_;
    DeviceClass deviceClass_;
    ModelGeometry geometry_;
    std::recursive_mutex callLock_;

    std::unique_ptr<CameraConnection> connection_;
    std::uint32_t callerHandle_ = 0;
    std::u16string instanceId_;
    std::array<char16_t, kFriendlyNameChars> friendlyName_{};
    bool removed_ = false;

    // Capture parameters.
    CapInfo capInfo_;
    std::uint32_t frameBytes_ = 0;
    FormatBlock block_;      // blanking, read mode, delay, register pairs, encoded gain
    FormatBlock lastSent_;
    bool firstApply_ = false;
    std::int32_t exposureUnit_ = 0;
    std::uint32_t exposureTime_ = 0;
    std::int32_t centreWindow_ = 0;
    std::int32_t zoomMode_ = 0;
    std::uint32_t requestedWidth_ = 0;
    std::uint32_t requestedHeight_ = 0;
    bool requestedHalfReadout_ = false;
    bool windowChanged_ = false;
    std::int32_t clockSelect_ = 1;
    std::int32_t triggerMode_ = 0;
    bool streaming_ = false;
    bool fastMode_ = false;

    // Callbacks.
    FrameCallback frameCallback_ = nullptr;
    void* frameCallbackContext_ = nullptr;
    DeviceEventCallback deviceEventCallback_ = nullptr;
    void* deviceEventContext_ = nullptr;
    AwbCallback aeCallback_ = nullptr;
    AwbCallback awbCallback_ = nullptr;
    void* callbackContext_ = nullptr;  // shared by the exposure and white-balance callbacks
    bool aeOn_ = false;
    bool awbOn_ = false;
    Region aeRegion_;
    Region awbRegion_;

    // Picture and display settings.
    std::int32_t contrast_ = 16;
    std::int32_t saturation_ = 8;
    std::int32_t sharpness_ = 1;
    std::int32_t colorAdjust_ = 0;
    std::int32_t light_ = 32;
    std::int32_t hdr_ = 0;
    std::int32_t scrollX_ = 0, scrollY_ = 0;
    std::int32_t videoWidth_ = 0, videoHeight_ = 0;
    bool showVideo_ = false;
    bool showAutoMark_ = true;
    bool videoPause_ = false;
    bool clearView_ = false;
    float frameRate_ = 0.0f;
    std::int32_t aviCompressor_ = 0;
    bool recording_ = false;
    bool cropEnabled_ = false;
    SubRectangle crop_;
};

}  // namespace kq
