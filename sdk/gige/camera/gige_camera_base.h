// `GigECameraBase`: what every GigE camera class shares. It holds the
// camera's identity and stream settings, the frame buffers and the
// five-slot ring, runs the display thread (convert, call back, draw, record)
// and the snapshot workers for triggered frames, and answers every register
// operation common to all models. The model classes (`CDefaultCamera` and
// the fifteen named ones) supply the sensor's slots.
//
// Threads: caller threads (the exports), the adapter's receive thread
// (StoreFrame, StartSnapshot), the display thread while streaming and up to
// eleven snapshot workers. Locks: the ring's own (receive vs display), the
// frame lock (conversion and drawing vs GetFrame and the drawing set-up),
// the snapshot lock (receive vs workers) and the recording lock (display vs
// SetCapture). Every thread is joined before the buffers it uses are freed.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "files/avi_writer.h"
#include "cnic.h"
#include "frame_ring.h"
#include "gige_camera.h"
#include "image_algorithm.h"
#include "loop_thread.h"
#include "model_table.h"
#include "orientation.h"
#include "program_upload.h"
#include "snapshot_workers.h"

namespace kqge {

class GigECameraBase : public IGigECamera {
public:
    // Registers common to every model.
    static constexpr std::uint32_t kControlPrivilege = 0x0A00;
    static constexpr std::uint32_t kAcquisition = 0xF0F00614;
    static constexpr std::uint32_t kStreamPacketSize = 0x0D04;
    static constexpr std::uint32_t kStreamDestination = 0x0D18;
    static constexpr std::uint32_t kStreamPort = 0x0D00;
    static constexpr std::uint32_t kTriggerRegister = 0xF0005100;
    static constexpr std::uint32_t kExclusiveControl = 3;
    static constexpr std::int32_t kReceiveOverhead = 36;  // packet size minus payload

    // `channel` null is a camera without adapter channel (35 to everything
    // that reaches the camera). The settings file outlives the camera.
    GigECameraBase(const ModelTraits& traits, std::int32_t index, CNIC* channel, const DiscoveryRecord& record,
                   AwbSettingsFile& settingsFile);
    ~GigECameraBase() override;
    GigECameraBase(const GigECameraBase&) = delete;
    GigECameraBase& operator=(const GigECameraBase&) = delete;

    // Registry and receive side.
    std::int32_t Index() const override { return index_; }
    void AssignPort(std::uint16_t port) override;
    std::size_t ReceiveBytes() const override { return rawBufferBytes_; }
    void StoreFrame(const DeliveredFrame& frame) override;
    bool TriggerOn() const override { return triggerOn_.load(); }
    bool ContinuousCapture() const override { return captureMode_.load() == 0; }
    void StartSnapshot(const DeliveredFrame& frame) override;

    // Lifecycle.
    std::int32_t InitCamera(std::unique_ptr<kq::PreviewSurface> surface) override;
    std::int32_t UnInitCamera() override;
    std::int32_t LiveStart() override { return StartStream(); }
    std::int32_t LiveStop() override { return StopStream(); }
    std::int32_t ResetCameraPort(std::int32_t port, CCameraManager& registry) override;
    std::int32_t GetCameraPort(std::uint16_t& port) const override;
    std::int32_t SetPackageSize(std::int32_t bytes) override;
    std::uint16_t GetPackageSize() const override { return packetSize_; }
    std::int32_t SetPackageDelayTime(std::int32_t delay) override;
    std::int32_t GetPackageDelayTime(std::int32_t& delay) override;
    std::int32_t CapFastMode(bool on) override;
    std::int32_t SetNewHwnd(std::unique_ptr<kq::PreviewSurface> surface) override;
    std::int32_t SetVideoWindowPos(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) override;
    std::int32_t GetCameraFrameRate(float& fps) const override;
    std::int32_t GetNICFrameRate(float& fps) const override;
    std::int32_t GetCameraInfo(std::span<std::uint8_t, kDiscoveryRecordBytes> record) const override;
    std::int32_t GetCameraType(std::int32_t& modelCode) const override;

    // Exposure read back through the model's conversion pair.
    std::int32_t GetExposure(std::int32_t& exposure) override;
    std::int32_t HDR_Enable(std::int32_t on) override;
    std::int32_t SetValidBitsOff(std::int32_t) override { return kUnsupported; }
    std::int32_t SetDoAutoCorrection() override { return kUnsupported; }
    std::int32_t SetDoCorrecting(bool) override { return kUnsupported; }

    // Common registers.
    std::int32_t WriteRegister(std::uint32_t address, std::uint32_t value) override;
    std::int32_t ReadRegister(std::uint32_t address, std::uint32_t& value) override;
    std::int32_t SetTriggerMode(std::int32_t mode) override;
    std::int32_t GetTriggerMode(std::int32_t& mode) override;
    std::int32_t SetWatchdogState(bool on) override;
    std::int32_t GetWatchdogState(std::int32_t& on) override;
    std::int32_t SetIO(std::uint32_t line, std::uint32_t level) override;
    std::int32_t GetIO(std::uint32_t line, std::uint32_t& level) override;
    std::int32_t SetTriggerDelayTime(std::uint32_t delay) override;
    std::int32_t SoftTrigger() override;
    std::int32_t SetDhcpEnable(bool on) override;
    std::int32_t SetMacAddr(std::uint32_t value) override;
    std::int32_t UpdateDeviceProgram(std::int32_t start, const std::filesystem::path& path) override;

    // Pictures.
    std::int32_t SetFrameCallBack(FrameCallback callback, void* user) override;
    std::int32_t SetTriggerState(bool on, FrameCallback callback, void* user) override;
    std::int32_t GetFrame(std::uint8_t* picture) override;
    std::int32_t GetFrameToImage(const std::filesystem::path& path, std::int32_t kind) override;
    std::int32_t SetColorMode(std::int32_t kind) override;
    std::int32_t SetContrast(std::uint32_t contrast) override;
    std::int32_t SetSaturation(std::int32_t value) override;
    std::int32_t GetSaturation(std::int32_t& value) const override;
    std::int32_t SetSharpness(std::int32_t value) override;
    std::int32_t GetSharpness(std::int32_t& value) const override;
    std::int32_t SetDoAE(bool showMark, bool on, AutoCallback callback, void* user) override;
    std::int32_t AEParam(bool flag, std::int32_t targetWindow) override;
    std::int32_t SetDoAWB(std::int32_t once, bool continuous, AutoCallback callback, void* user) override;
    std::int32_t GetAWBVal(std::uint32_t& red, std::uint32_t& green, std::uint32_t& blue) const override;
    std::int32_t ReSetAWBVal(std::int32_t red, std::int32_t green, std::int32_t blue) override;
    std::int32_t MCResolutionShow(bool on) override;
    std::int32_t IsMCResolutionShow(std::int32_t& on) const override;
    std::int32_t SetMCResolution(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) override;
    std::int32_t GetMCResolution(std::int32_t& x, std::int32_t& y, std::int32_t& width,
                                 std::int32_t& height) const override;
    std::int32_t SetCapture(bool on, const std::filesystem::path& path, bool takePath) override;
    std::int32_t SelectAviCompressor(CompressorChooser& chooser) override;
    std::int32_t SetAviCompressor(std::uint32_t code) override;

    // The display thread's step on one frame: waits for a stored frame (or
    // `stop`), converts it, calls back, draws and records. False when no
    // frame was shown. Allocates nothing.
    bool DisplayFrame(const std::atomic<bool>& stop);

    // The model's exposure conversion pair (register units <-> caller units).
    virtual std::int32_t ExposureToLines(std::int64_t exposure) const = 0;
    virtual std::int32_t LinesToExposure(std::int64_t lines) const = 0;

    // State the tests and the model classes read.
    const ModelTraits& traits() const { return traits_; }
    bool ControlHeld() const { return controlHeld_.load(); }
    bool Streaming() const { return streaming_.load(); }
    std::int32_t OutputKindValue() const { return outputKind_.load(); }
    std::int32_t OutputBits() const { return outputBits_.load(); }
    FrameSize OutputSize() const;
    FrameSize RawSize() const;
    // Width and height of the picture the callback receives.
    FrameSize PictureSize() const;
    std::uint16_t PayloadBytes() const { return payloadBytes_; }
    std::int32_t Contrast() const { return contrast_; }
    std::uint64_t DroppedFrames() const { return ring_.Dropped() + droppedSnapshots_.load(); }
    int RunningSnapshotWorkers() const { return workers_.Running(); }
    std::uint32_t StoredExposure() const { return exposure_.load(); }
    std::int32_t CaptureModeValue() const { return captureMode_.load(); }
    static std::uint32_t AviCompressor();

    static constexpr std::int32_t kUnsupported = 17;
    static constexpr std::int32_t kLocked = 18;
    static constexpr std::int32_t kModelUnknown = 19;
    static constexpr std::int32_t kOutOfRange = 20;
    static constexpr std::int32_t kNoMemory = 32;
    static constexpr std::int32_t kNotStreaming = 33;
    static constexpr std::int32_t kStreaming = 34;
    static constexpr std::int32_t kNoAdapter = 35;
    static constexpr std::int32_t kNotOpened = 48;
    static constexpr std::int32_t kControlTaken = 51;
    static constexpr std::int32_t kNullOutput = 2;

protected:
    // Slots of the model classes.
    virtual std::int32_t InitModel() { return 0; }
    virtual std::int32_t CheckAccess();
    virtual std::int32_t AcquireControl();
    virtual std::int32_t ReleaseControl();
    virtual std::int32_t StartStream() = 0;
    virtual std::int32_t StopStream();

    // 35 without adapter, 48 without control, else 0.
    std::int32_t Usable() const;
    std::int32_t Write(std::uint32_t address, std::uint32_t value);
    std::int32_t WriteRetried(std::uint32_t address, std::uint32_t value);
    std::int32_t Writes(std::span<const std::uint32_t> addresses, std::span<const std::uint32_t> values);
    std::int32_t Read(std::uint32_t address, std::uint32_t& value);

    // The common stream start after the model's own registers: stream
    // record, stream channel registers, acquisition start, receive and
    // display threads. `streamWidth` is the stream record's width.
    std::int32_t StartStreamCommon(std::int32_t streamWidth);
    // StartStream's checks: 35, 48, or -2 when already streaming (nothing
    // to do), else 0.
    std::int32_t StartChecks() const;
    static constexpr std::int32_t kAlreadyDone = -2;
    // Stops a running stream, runs `change`, restarts the stream if it ran.
    template <typename Change>
    std::int32_t WithStreamStopped(Change change) {
        const bool was = streaming_.load();
        if (was) StopStream();
        const std::int32_t result = change();
        if (was) StartStream();
        return result;
    }

    // Geometry: raw frame (line length and count) and output sizes. Changes
    // are taken by the display thread at its next frame.
    void SetGeometry(FrameSize raw, FrameSize output);
    void SetOutput(std::int32_t kind, std::int32_t bits);
    // Reconfigures drawing for the current output and surface; the region of
    // interest survives when it still fits.
    void ConfigureDrawing();
    // The flip kind the camera reports and orients regions by, and the
    // conversion's flip with both Bayer phases.
    void SetFlipKind(std::int32_t kind, int phase);
    // The conversion's flip alone, for sensors that mirror in their readout.
    void SetSoftwareFlip(std::int32_t kind);
    void StoreFlipKind(std::int32_t kind) { flipKind_ = kind; }
    void SetMonoPath(bool on) { algorithm_.settings().SetMonoPath(on); }
    std::int32_t FlipKind() const { return flipKind_.load(); }
    std::int32_t ZoomMode() const { return zoomMode_.load(); }
    void StoreZoom(std::int32_t mode) { zoomMode_ = mode; }
    std::int32_t SpeedMode() const { return speedMode_.load(); }
    void StoreSpeed(std::int32_t mode) { speedMode_ = mode; }
    void StoreCaptureMode(std::int32_t mode) { captureMode_ = mode; }
    void StoreExposure(std::uint32_t exposure) { exposure_ = exposure; }
    bool HdrState() const { return hdrState_.load(); }
    void StoreHdrState(bool on) { hdrState_ = on; }
    bool FastCapture() const { return fastCapture_.load(); }
    std::int32_t ValidBits() const { return validBits_.load(); }
    void StoreValidBits(std::int32_t bits);
    std::int32_t GainValue(int which) const { return gains_[which].load(); }
    void StoreGain(int which, std::int32_t value) { gains_[which] = value; }
    std::int32_t OffsetValue(bool vertical) const { return offsets_[vertical ? 1 : 0].load(); }
    void StoreOffset(bool vertical, std::int32_t value) { offsets_[vertical ? 1 : 0] = value; }
    bool AeOn() const { return ae_.load(); }
    bool AgOn() const { return ag_.load(); }
    void StoreAeAg(bool ae, bool ag) {
        ae_ = ae;
        ag_ = ag;
    }
    double SensorClockMHz() const { return kSensorClockMHz; }
    CNIC* Channel() const { return channel_; }
    const DiscoveryRecord& Record() const { return record_; }

private:
    class AlgorithmExposure final : public ExposureControl {
    public:
        explicit AlgorithmExposure(GigECameraBase& camera) : camera_(camera) {}
        std::int32_t ExposureLines() const override;
        std::int32_t LinesToExposure(std::int32_t lines) const override;
        void SetExposure(std::int32_t exposure) override;

    private:
        GigECameraBase& camera_;
    };

    std::int32_t AllocateBuffers();
    void Release();
    void DisplayLoop(const std::atomic<bool>& stop);
    // Converts raw bytes in place into `out`; false when the buffers do not
    // hold the frame.
    ConvertedFrame ConvertFrame(std::span<std::uint8_t> raw, std::span<std::uint8_t> out,
                                std::span<std::uint8_t> scratch, FramePath path);
    void DrawFrame(std::span<std::uint8_t> picture, FrameSize size);
    void RecordFrame(std::span<const std::uint8_t> picture, FrameSize size);
    void SnapshotWorker();
    // The region's bytes of `picture` into `region` (and back).
    void CopyRegion(std::span<const std::uint8_t> picture, FrameSize size, const PictureRegion& r,
                    std::span<std::uint8_t> region, bool back, std::span<std::uint8_t> pictureOut) const;
    std::size_t PictureBytes(FrameSize size) const;
    // Fast capture of the CMOS family: no display thread, GetFrame converts.
    bool FastWithoutDisplay() const;
    // Makes the first frame stored after frame number `after` the current
    // picture: waits for the display thread to show it, or converts it here
    // without one. -1 when none came in time.
    std::int32_t ShowFrameAfter(std::uint64_t after);
    static constexpr std::chrono::milliseconds kTriggeredFrameWait{2000};
    // The region of interest in a delivered picture of `picture` size. Under
    // the frame lock.
    PictureRegion ShownRegion(FrameSize picture) const;
    // Opens the movie file for the shown picture with the chosen compressor;
    // false when no file could be made. Under the recording lock.
    bool StartRecording(const std::filesystem::path& path);

    const ModelTraits& traits_;
    const std::int32_t index_;
    CNIC* const channel_;
    const DiscoveryRecord record_;
    AlgorithmExposure exposureControl_{*this};
    CImageAlgorithm algorithm_;

    std::atomic<std::uint16_t> hostPort_{0};
    std::atomic<std::uint16_t> payloadBytes_{1464};
    std::atomic<std::uint16_t> packetSize_{1500};
    std::size_t rawBufferBytes_;

    std::atomic<bool> controlHeld_{false};
    std::atomic<bool> streaming_{false};
    std::atomic<bool> opened_{false};

    // Geometry and output, written under the frame lock.
    std::atomic<std::int32_t> rawWidth_, rawHeight_, outWidth_, outHeight_;
    std::atomic<std::int32_t> outputKind_, outputBits_;
    std::atomic<std::int32_t> flipKind_{0};
    std::atomic<std::int32_t> zoomMode_{0};
    std::atomic<std::int32_t> speedMode_{0};
    std::atomic<std::int32_t> captureMode_{1};
    std::atomic<std::uint32_t> exposure_{0};
    std::atomic<bool> hdrState_{false};
    std::atomic<bool> hdrFlag_{false};
    std::atomic<std::int32_t> validBits_;
    std::array<std::atomic<std::int32_t>, 4> gains_{};  // red, green, blue, global
    std::array<std::atomic<std::int32_t>, 2> offsets_{};
    std::atomic<bool> ae_{false}, ag_{false};
    std::atomic<std::int32_t> contrast_{kNeutralContrast};
    std::atomic<std::int32_t> saturation_{kNeutralSaturation};
    std::atomic<std::int32_t> sharpness_{kNeutralSharpness};
    std::atomic<std::int32_t> packetDelay_{0};
    std::atomic<std::uint32_t> ioBits_{0};
    std::atomic<std::int32_t> triggerMode_{1};
    std::atomic<bool> fastCapture_{false};
    std::atomic<bool> fastPending_{false};

    // Callbacks, guarded by the callback lock.
    mutable std::mutex callbackLock_;
    FrameCallback frameCallback_ = nullptr;
    void* frameUser_ = nullptr;
    FrameCallback triggerCallback_ = nullptr;
    void* triggerUser_ = nullptr;
    std::atomic<bool> triggerOn_{false};

    // Frame buffers, allocated at InitCamera for the largest geometry.
    mutable std::recursive_mutex frameLock_;
    std::vector<std::uint8_t> rgbOut_, rgbCopy_, rawWork_, scratch_, region_, drawing_;
    FrameSize pictureSize_{};  // of the latest converted picture
    std::uint64_t shownSequence_ = 0;  // the ring's number of the latest shown frame
    std::condition_variable_any shown_;
    FrameRing ring_;
    kq::LoopThread display_;
    std::atomic<float> displayFps_{0.0F};

    std::mutex snapshotLock_;
    std::vector<std::uint8_t> snapshotRaw_;
    std::atomic<std::uint64_t> droppedSnapshots_{0};
    SnapshotWorkers workers_;

    // Drawing.
    std::unique_ptr<kq::PreviewSurface> surface_;
    kq::DrawPlacement placement_{};
    bool placementSet_ = false;
    bool surfaceReady_ = false;

    // Region of interest in the unturned output, under the frame lock; the
    // delivered picture shows it flipped and turned with the scene.
    bool regionShown_ = false;
    PictureRegion region{};

    // Recording.
    std::mutex recordLock_;
    std::unique_ptr<kq::files::AviWriter> writer_;
    std::atomic<bool> recording_{false};
    std::filesystem::path moviePath_;
    std::int32_t rollovers_ = 0;
    std::uint32_t movieFrames_ = 0;
    std::vector<std::uint8_t> movieGrey_;  // the frame as 8-bit grey, for 8-bit movies
    bool recordingFailed_ = false;         // ended by a failed write, not yet reported

    // Firmware upload.
    FirmwareUploadState upload_;
    std::thread uploadThread_;
};

}  // namespace kqge
