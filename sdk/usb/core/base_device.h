#pragma once
// The object behind one open camera: it owns the driver connection, the
// capture-information record and the 52-byte format block built from it,
// the display, trigger and automatic-control settings and the caller's
// callbacks. Model classes derive from it.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>

#include "callbacks.h"
#include "capinfo_record.h"
#include "device_class.h"
#include "device_identification.h"
#include "format_block.h"
#include "coalescing_worker.h"
#include "frame_pipeline.h"
#include "loop_thread.h"
#include "model_geometry.h"
#include "pixel_calibration.h"
#include "pixel_model.h"
#include "preview_surface.h"
#include "timed_lock.h"
#include "files/rolling_recording.h"
#include "../transport/camera_transport.h"
#include "kqff_protocol.h"

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
    virtual ~BaseDevice();

    // The one device lock. The library holds it around every call into the
    // device, the capture thread around each frame it processes and the
    // parameter worker around each build-and-send of the format block, so
    // none of them interleave inside one object. The worker threads only
    // try it with a timeout and give up when stopped, so a caller that holds
    // it can always stop and join them.
    using Lock = RecursiveTimedLock;
    Lock& CallLock() { return callLock_; }

    // Identity.
    std::int32_t TypeCode() const { return identity_.typeCode; }
    std::int32_t ColorType() const { return identity_.colorType; }
    std::int32_t ModelFlag() const { return identity_.modelFlag; }
    DeviceClass Class() const { return deviceClass_; }
    const ModelGeometry& Geometry() const { return geometry_; }
    std::uint32_t CallerHandle() const { return callerHandle_; }
    const std::u16string& InstanceId() const { return instanceId_; }

    // Every pause the device makes for the camera's sake goes through the
    // sleeper (tests record them instead of waiting).
    using Sleeper = std::function<void(std::chrono::milliseconds)>;
    void SetSleeper(Sleeper sleeper) { sleeper_ = std::move(sleeper); }

    // Lifecycle.
    virtual int OpenDevice(CameraTransport& transport, const CameraInterface& camera, const CapInfo& capInfo,
                           std::uint32_t callerHandle);
    // Reads the type's bad-pixel and flat-field files from `folder`; a
    // missing or short file is no error. False when the tables cannot be
    // allocated. A flat-field table the camera builds is stored there.
    bool LoadPixelTables(const std::filesystem::path& folder);
    bool IsOpen() const { return connection_ != nullptr || removed_; }
    int CloseDevice();
    virtual int OnDeviceRemoved();
    // Comes back only when marked removed and the instance id is its own
    // (-1 otherwise). A failed reopen or set-up send leaves it removed: 3.
    virtual int OnDeviceArrived(CameraTransport& transport, const CameraInterface& camera);
    bool IsRemoved() const { return removed_; }
    // After a resume from suspend: a streaming device starts its capture
    // again on its connection; any other is left alone.
    int ResumeStreaming();

    // Identity queries.
    int GetFriendlyName(std::span<char16_t, kFriendlyNameChars> out) const;
    virtual int GetSerialNumber(std::span<std::uint8_t, 16> out);
    int SetSerialNumber(std::span<const std::uint8_t, 16> serial, std::uint32_t guard);

    // Capture parameters.
    virtual int SetCapInfo(const CapInfo& record);
    CapInfo GetCapInfo() const;
    virtual int ApplyCapInfo(const CapInfo& record);
    // Everything the camera lost when it went away, sent again.
    virtual int ResendCapInfo() { return ApplyCapInfo(capInfo_); }
    const CapInfo& StoredCapInfo() const { return capInfo_; }
    std::uint32_t FrameBytes() const { return frameBytes_; }
    virtual int SetZoomMode(std::int32_t mode);
    virtual int SetSpeedMode(std::int32_t mode);
    virtual int SetHBlank(std::int32_t value);
    virtual int SetVBlank(std::int32_t value);
    virtual int SetExpouseDelayTime(std::int32_t value);
    virtual int SetSensorRdMode(std::int32_t value);
    virtual int Write_Register(std::span<const std::uint16_t> addresses, std::span<const std::uint16_t> values);
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
    int SetDoAEInRegion(bool on, AwbCallback callback, void* context, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                        std::int32_t y2);
    int SetDoAWBInRegion(bool on, AwbCallback callback, void* context, std::int32_t x1, std::int32_t y1,
                         std::int32_t x2, std::int32_t y2);
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
    virtual std::int32_t GetSharpness() const { return sharpness_; }
    int SetColorAdjust(std::int32_t value) {
        colorAdjust_ = value;
        return 0;
    }
    std::int32_t GetColorAdjust() const { return colorAdjust_; }
    int SetLight(std::int32_t value) {
        light_ = value & 0xFF;  // the camera's light value is one byte
        return 0;
    }
    std::uint8_t GetLight() const { return static_cast<std::uint8_t>(light_); }
    virtual int SetHDR(std::int32_t on) {
        hdr_ = on;
        return 0;
    }
    int SetScrollOffset(std::int32_t dx, std::int32_t dy);
    int SetVideoSize(std::int32_t width, std::int32_t height);
    int SetShowVideo(bool on) {
        showVideo_ = on;
        return 0;
    }
    int SetShowAutoMark(bool on) {
        showAutoMark_ = on;
        return 0;
    }
    int VideoPause(bool on) {
        videoPause_ = on;
        return 0;
    }
    int SetClearView(bool on) {
        clearView_ = on;
        return 0;
    }
    bool GetClearViewState() const { return clearView_; }
    float FrameRate() const { return frameRate_; }
    int SetAviCompressor(std::int32_t fourcc) {
        aviCompressor_ = fourcc;
        return 0;
    }
    std::int32_t AviCompressor() const { return aviCompressor_; }
    // The size of the frames a recording would get now.
    kqcmos::FrameSize RecordingSize() const { return DeliveredSize(); }

    // Streaming. StartView takes the preview surface of the caller's window
    // (null: no drawing) and the drawing origin and size.
    virtual int StartView(std::unique_ptr<PreviewSurface> surface, const DrawPlacement& placement);
    int StopView();
    int StartCapture();
    int StopCapture();
    bool Streaming() const { return streaming_; }
    bool OnCaptureThread() const { return capture_.OnThisThread(); }
    virtual int SetParamColor(std::int32_t mode);
    int SetParamFlip(std::int32_t mode);
    std::int32_t OutputBits() const { return outputBits_; }
    int CapFastMode(bool on);

    // Single-frame grab into the caller's raw buffer of FrameBytes() bytes.
    // `use` sees the grabbed (and with `process`, converted) picture while
    // it is valid. While streaming it is the last processed frame.
    using PictureUse = std::function<int(const DeliveredFrame&)>;
    int GrabFrame(std::uint8_t* buffer, bool process, const PictureUse& use);
    // A grab with processing (KQ_GetRawFrameToBmp) whose `use`
    // sees the processed raw frame the demosaic started from: the caller's
    // buffer, or its turned copy in flip modes 4 and 5.
    int GrabProcessedRaw(std::uint8_t* buffer, const PictureUse& use);

    // Tables of the pixel path.
    int SetGamma(std::int32_t index);
    std::int32_t GetGamma() const;
    int SetGain(int channel, std::int32_t gain);  // channel 0 red, 1 green, 2 blue
    int GetGain(int channel, std::int32_t& gain) const;
    int SetAELevel(std::int32_t level);
    int AEParam(std::int32_t alternate, std::int32_t level, AwbCallback callback, void* context);
    int ErasureStripe();
    int ApplyErasure(bool on);
    // Flat field: the next frame rebuilds the table; enabling applies it to
    // every frame after that.
    int ResetLightAvgTable();
    int EnableLightAvg(bool on);
    // Bad-pixel calibration over the next eight streamed frames: full sensor
    // at maximum exposure, detection on the fifth, then the caller's
    // exposure and window again. Needs the full-sensor window; 10 while one runs.
    int PixelCalibration();
    bool PixelCalibrationRunning() const { return pixelCal_.armed(); }
    // A caller's raw frame of width x height bytes copied to `destination`
    // with the light level and the contrast of the picture path applied;
    // the source is left as it is. -1 for a null buffer, 10 for a size
    // that describes no frame.
    int CalibrationRawFrame(std::int32_t width, std::int32_t height, const std::uint8_t* source, std::int32_t light,
                            std::int32_t contrast, std::uint8_t* destination);
    // A caller's raw frame as a grey 24-bit picture of 3 x width x height
    // bytes, after the raw pre-filter of the colour-adjust setting (run on a
    // copy: the caller's frame is left as it is). The last three pixels of
    // each row repeat the fourth-last. -1 for a null buffer, 10 for a size
    // the conversion cannot take.
    virtual int RawFrameToRgb(std::int32_t height, std::int32_t width, const std::uint8_t* source,
                              std::uint8_t* destination);
    std::size_t BadPixelCount() { return Pipeline().BadPixels().entries().size(); }
    // The last correction table written to the tables folder (the bad pixels
    // of a finished calibration, a rebuilt flat field): stored whole, or
    // failed with the file there before left as it was. A table that cannot
    // be stored still corrects this session.
    enum class TableFile { none, written, failed };
    TableFile LastTableFile() const { return lastTableFile_; }

    // Recording and picture files.
    int CaptureToAvi(bool start, const std::u16string* path);
    bool Recording() const { return recording_; }
    int GetTrigger(bool enable, bool jpeg, const std::u16string& prefix, std::int32_t quality);
    // Files of a recording stay below this size (tests lower it).
    void SetRecordingLimit(std::uint64_t bytes) { aviFiles_.SetLimit(bytes); }
    // Milliseconds of a steady clock, for the recording's frame grid.
    void SetClock(std::function<std::int64_t()> clock) { clock_ = std::move(clock); }

    // Data area, EEPROM and firmware.
    virtual int WriteDataToDevice(std::span<const std::uint8_t> source, std::int32_t offset);
    virtual int ReadDataFromDevice(std::span<std::uint8_t> destination, std::int32_t offset);
    virtual int DeviceIoControl(std::uint32_t value);
    virtual int EEProm_Set(std::span<const std::uint8_t, 240> source);
    virtual int EEProm_Get(std::span<std::uint8_t, 240> destination);
    virtual int EEProm_SetByte(std::int32_t offset, std::int32_t count, const std::uint8_t* source);
    virtual int EEProm_GetByte(std::int32_t offset, std::int32_t count, std::uint8_t* destination);
    using FirmwareProgress = void(KQ_STDCALL*)(std::int32_t bytesSent, std::int32_t status, void* context);
    int SetFirmwareProgress(FirmwareProgress callback, void* context);
    // start false stops a running download at its next chunk. The file is
    // read and checked before anything is sent.
    int UpdateDeviceProgram(bool start, const std::filesystem::path* path);
    // Waits for the download thread; its result (0, or -1 after a failed chunk).
    int WaitFirmware();

    // Output sub-rectangle of the frame.
    int MCResolutionShow(bool on);
    bool IsMCResolutionShow() const { return cropEnabled_; }
    int SetMCResolution(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    SubRectangle GetMCResolution() const { return crop_; }

    // Exposure time (the unit of KQ_SetExpouseUnit 1) to sensor lines and back.
    virtual std::uint32_t ExposureToRegister(std::uint32_t time) const;
    virtual std::uint32_t RegisterToExposure(std::uint32_t lines) const;
    const PixelModel& Pixels() const { return pixelModel_; }

    // The last format block sent (what the driver was told).
    const FormatBlock& LastSentBlock() const { return lastSent_; }

protected:
    static int NotSupported();
    // The part of opening every model shares: the driver connection, the
    // identity and the caller's record stored. 0 or the failure to return.
    int Connect(CameraTransport& transport, const CameraInterface& camera, const CapInfo& capInfo,
                std::uint32_t callerHandle);
    // A camera that came back is reconnected; the model readies its sensor
    // before the capture parameters are resent. 0 or the failed send's status.
    virtual int PrepareArrivedSensor() { return 0; }
    // Whether capture starts again once a camera is back.
    virtual bool RestartsAfterArrival() const { return streaming_ || fastMode_; }
    void Pause(std::chrono::milliseconds duration);
    // True while there is no driver connection (unplugged or never opened).
    bool Gone() const { return removed_ || connection_ == nullptr; }
    std::optional<std::size_t> Control(std::uint32_t code, std::span<const std::uint8_t> in,
                                       std::span<std::uint8_t> out);
    void NotifyDeviceEvent(std::int32_t event);

    // Streaming internals.
    enum class GrabOutput { raw, picture, processedRaw };
    int Grab(std::uint8_t* buffer, GrabOutput output, const PictureUse& use);
    void CaptureLoop(const std::atomic<bool>& stop);
    // Whether a complete read (readBytes_ bytes) is processed; the capture
    // thread asks without the device lock.
    virtual bool TakesFrame(std::span<const std::uint8_t>) const { return true; }
    // One frame under the device lock and the library's frame lock; false
    // when the thread was stopped while waiting for them.
    bool ProcessUnderLocks(const std::atomic<bool>& stop);
    void ProcessCapturedFrame();
    void Deliver(const DeliveredFrame& frame);
    void Record(const DeliveredFrame& frame);
    int StopRecording();
    void SaveSnapshot(const DeliveredFrame& frame);
    // The file name of automatic snapshot `number`, without its extension.
    virtual std::filesystem::path SnapshotStem(std::int32_t number) const;
    // The running number of the next automatic snapshot: one counter for
    // the whole library; models with a counter of their own replace it.
    // Capture threads of several cameras take numbers at once.
    virtual std::int32_t NextSnapshotNumber();
    // Once the driver took a 52-byte `block` for `record`: both become the
    // device's, the window starts those sent unless `keepCallerStarts`
    // (binning keeps the caller's for the next send), and the capture
    // thread reads `frameBytes` plus `trailerBytes` a frame.
    void KeepSentBlock(const FormatBlock& block, const CapInfo& record, bool keepCallerStarts,
                       std::uint32_t frameBytes, std::uint32_t trailerBytes = 0);
    int SetupDisplay();
    PictureSettings CurrentSettings() const;
    FrameSource CurrentSource() const;
    void SendPendingParameters();
    // Sends the stored exposure (lines) the automatic exposure chose; the
    // parameter worker runs it under the device lock.
    virtual void SendExposure() { ApplyCapInfo(capInfo_); }
    // Starts the camera for a single grab while neither the preview nor
    // fast mode runs. Nothing else was sent when it fails.
    virtual int StartGrab();
    // One frame of a running pixel calibration: detects in `raw` when due and
    // returns the settings to send once the frame is processed.
    std::optional<kqcmos::CaptureSettings> StepPixelCalibration();
    // Stores the exposure and window starts of a calibration step and sends them.
    virtual void SendCaptureSettings(const kqcmos::CaptureSettings& settings);
    // Writes the bad pixels just detected on a frame of `size` to the type's
    // file, when the frame covers at least 80 % of the sensor each way.
    void StoreBadPixels(kqcmos::FrameSize size);
    kqcmos::FrameSize DeliveredSize() const;
    FramePipeline& Pipeline();
    const FramePipeline& Pipeline() const { return const_cast<BaseDevice*>(this)->Pipeline(); }
    int EepromReadBlock(std::size_t block, std::span<std::uint8_t, 60> out);
    int EepromWriteBlock(std::size_t block, std::span<const std::uint8_t, 60> data);
    int ReadDataBlock(std::span<std::uint8_t, 64> block);
    int RunFirmwareDownload(std::vector<std::uint8_t> image);
    // How the firmware chunks go out: the control code, and the sends a
    // chunk gets before the download fails.
    struct FirmwareChannel {
        std::uint32_t controlCode = 0;
        int sends = 0;
    };
    virtual FirmwareChannel FirmwareSends() const { return {kqff::kIoctlWriteBlock, 3}; }
    // Stops capture for a camera request and restarts it when it ran.
    class CapturePause;

    struct WindowSize {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
    };
    // The window the sensor can deliver for a requested size in the current
    // zoom mode: clamped to the sensor (half of it with skip or binning) and
    // rounded down to multiples of 8. Updates control bits 0 and 2 for zoom 1.
    WindowSize OutputWindow(std::uint32_t width, std::uint32_t height, std::int32_t zoomMode, std::uint8_t& control,
                            std::uint8_t binningMode) const;
    void CentreWindow(CapInfo& record) const;

    DeviceIdentity identity_;
    DeviceClass deviceClass_;
    ModelGeometry geometry_;
    Lock callLock_;

    std::unique_ptr<CameraConnection> connection_;
    std::uint32_t callerHandle_ = 0;
    std::u16string instanceId_;
    std::array<char16_t, kFriendlyNameChars> friendlyName_{};
    // Read by the library's removed count without the device lock.
    std::atomic<bool> removed_{false};

    // Capture parameters.
    CapInfo capInfo_;
    std::uint32_t frameBytes_ = 0;
    FormatBlock block_;  // blanking, read mode, delay, register pairs, encoded gain
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
    std::atomic<float> frameRate_{0.0f};
    std::int32_t aviCompressor_ = 0;
    std::atomic<bool> recording_{false};
    bool cropEnabled_ = false;
    SubRectangle crop_;

    // Frame bytes the capture thread reads; follows every format send.
    std::atomic<std::uint32_t> readBytes_{0};
    std::atomic<bool> closing_{false};

    Sleeper sleeper_;
    PixelModel pixelModel_;
    std::unique_ptr<FramePipeline> pipeline_;
    kqcmos::PixelCalibration pixelCal_;
    std::int32_t colorMode_ = 0;
    std::int32_t flipMode_ = 0;
    std::int32_t outputBits_ = 24;
    bool microscopeMode_ = false;
    bool aeAlternate_ = false;
    std::int32_t aeLevel_ = 1;
    std::unique_ptr<PreviewSurface> preview_;
    std::atomic<bool> capturing_{false};
    LoopThread capture_;
    std::int64_t rateStart_ = 0;
    std::int32_t rateFrames_ = 0;
    std::int64_t lastDraw_ = 0;

    // Exposure the pipeline wants sent; -1 when none. The worker sends it.
    std::atomic<std::int32_t> pendingExposure_{-1};
    // The pipeline moved other fields of the stored record (sensor gains):
    // the worker sends the whole record.
    std::atomic<bool> pendingRecord_{false};
    std::unique_ptr<CoalescingWorker> paramWorker_;
    // Where the pixel tables were read from, and built ones are stored.
    std::filesystem::path tablesFolder_;
    TableFile lastTableFile_ = TableFile::none;

    // Recording and automatic snapshots.
    files::RollingRecording aviFiles_;
    std::function<std::int64_t()> clock_;
    bool autoSave_ = false;
    bool autoSaveJpeg_ = false;
    std::u16string autoSavePrefix_;
    std::int32_t autoSaveQuality_ = 75;

    // EEPROM cache: 4 blocks of 60 bytes, each valid once read or written.
    std::array<std::uint8_t, 240> eeprom_{};
    std::array<bool, 4> eepromValid_{};

    // Firmware download.
    std::atomic<bool> firmwareRunning_{false};
    std::thread firmwareThread_;
    std::atomic<std::int32_t> firmwareResult_{0};
    FirmwareProgress firmwareProgress_ = nullptr;
    void* firmwareContext_ = nullptr;
};

// Camera requests do not mix with streaming: capture stops for them and
// resumes afterwards.
class BaseDevice::CapturePause {
public:
    explicit CapturePause(BaseDevice& device) : device_(device), running_(device.streaming_ || device.fastMode_) {
        if (running_ && !device_.fastMode_) device_.StopCapture();
        if (running_ && device_.fastMode_) device_.Control(kqff::kIoctlStopCapture, {}, {});
    }
    ~CapturePause() {
        if (running_) device_.StartCapture();
    }
    CapturePause(const CapturePause&) = delete;
    CapturePause& operator=(const CapturePause&) = delete;

private:
    BaseDevice& device_;
    bool running_;
};

}  // namespace kq
