// Streaming: the capture thread, the per-frame delivery (callback, preview,
// recording, automatic snapshots), the colour and flip modes and the
// single-frame grab.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "base_device.h"
#include "bayer_kernels.h"
#include "frame_lock.h"
#include "point_filters.h"
#include "raw_prefilters.h"
#include "status_codes.h"
#include "files/bmp_file.h"
#include "files/jpeg_file.h"
#include "kqff_protocol.h"

namespace kq {
namespace {

constexpr auto kLockRetry = std::chrono::milliseconds(5);
constexpr std::int32_t kRecordingRate = 40;
constexpr std::size_t kMaxAviPathChars = 259;
constexpr std::size_t kMaxPrefixChars = 2048;

std::int64_t SteadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Sleep(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

// Shared by every device of the library: the next automatic snapshot number.
std::atomic<std::int32_t> g_snapshotCounter{1};

}  // namespace

BaseDevice::~BaseDevice() { CloseDevice(); }

PictureSettings BaseDevice::CurrentSettings() const {
    PictureSettings s;
    s.colorMode = colorMode_;
    s.flipMode = flipMode_;
    s.colorAdjust = colorAdjust_;
    s.plainGreySensor = identity_.typeCode == 3 && identity_.colorType == 1;
    s.light = light_;
    s.contrast = contrast_;
    s.saturation = saturation_;
    s.sharpness = sharpness_;
    s.hdr = hdr_ != 0;
    s.microscopeMode = microscopeMode_;
    s.alternateExposure = aeAlternate_;
    s.showAutoMark = showAutoMark_;
    s.cropEnabled = cropEnabled_;
    s.crop = CropRequest{crop_.x, crop_.y, crop_.width, crop_.height};
    s.model = pixelModel_;
    return s;
}

FrameSource BaseDevice::CurrentSource() const {
    FrameSource s;
    s.window.size = {static_cast<int>(capInfo_.width), static_cast<int>(capInfo_.height)};
    s.window.columnStart = static_cast<int>(capInfo_.columnStart);
    s.window.rowStart = static_cast<int>(capInfo_.rowStart);
    s.halfReadout = (capInfo_.control & capinfo_bits::halfReadout) != 0;
    s.exposure = static_cast<std::int32_t>(capInfo_.exposure);
    s.sensorGains = {capInfo_.gain[0], capInfo_.gain[1], capInfo_.gain[2]};
    return s;
}

kqcmos::FrameSize BaseDevice::DeliveredSize() const {
    kqcmos::FrameSize size{static_cast<int>(capInfo_.width), static_cast<int>(capInfo_.height)};
    // A plain conversion keeps the frame's size whatever the flip and crop.
    if (pixelModel_.plainConversion) return size;
    // A 5-6-5 picture is never turned.
    const bool turned = (flipMode_ == 4 || flipMode_ == 5) && pixelModel_.rawFormat != RawFormat::rgb565;
    if (cropEnabled_) size = {crop_.width, crop_.height};
    if (turned) std::swap(size.width, size.height);
    return size;
}

// ---- Capture thread ----

int BaseDevice::StartCapture() {
    if (Gone()) return status::kNoDevice;
    if (fastMode_) {
        Control(kqff::kIoctlStartCapture, {}, {});
        return status::kSuccess;
    }
    if (capture_.OnThisThread()) return status::kNotSupported;  // from a frame callback
    try {
        Pipeline();  // made here, under the device lock, before the thread uses it
    } catch (const std::bad_alloc&) {
        return status::kNoResources;
    }
    StopCapture();
    frameRate_ = 0.0f;
    Control(kqff::kIoctlStartCapture, {}, {});
    capturing_ = true;
    rateStart_ = clock_ ? clock_() : SteadyMilliseconds();
    rateFrames_ = 0;
    capture_.Start([this](const std::atomic<bool>& stop) { CaptureLoop(stop); });
    return status::kSuccess;
}

int BaseDevice::StopCapture() {
    if (fastMode_) return status::kSuccess;
    StopRecording();
    const bool wasCapturing = capturing_.exchange(false);
    // Cancel the pending read until the thread is out, then join: the
    // buffers it reads into live as long as the device.
    capture_.Stop([this] {
        if (connection_ != nullptr) connection_->CancelRead();
    });
    if (!capture_.OnThisThread()) Control(kqff::kIoctlStopCapture, {}, {});
    // Colour, flip and window changes restart the stream: a grab must not
    // get the picture made before them.
    if (pipeline_ != nullptr) pipeline_->ForgetDelivered();
    // A calibration cannot finish without frames: the caller's settings
    // return. One armed before the capture starts waits for its frames.
    if (wasCapturing && pixelCal_.armed()) {
        const auto restore = pixelCal_.Disarm();
        if (pipeline_ != nullptr) pipeline_->SuspendBadPixelCorrection(false);
        if (restore) SendCaptureSettings(*restore);
    }
    return status::kSuccess;
}

void BaseDevice::CaptureLoop(const std::atomic<bool>& stop) {
    while (!stop) {
        const std::uint32_t bytes = readBytes_;
        auto buffer = Pipeline().CaptureBuffer();
        if (bytes == 0 || bytes > buffer.size()) {
            Sleep(5);
            continue;
        }
        const auto got = connection_->ReadFrame(buffer.first(bytes));
        if (stop) break;
        if (!got || *got < bytes) {
            Sleep(5);  // nothing this time; the driver is still starting
            continue;
        }
        if (videoPause_) {
            Sleep(20);
            continue;
        }
        if (!TakesFrame(buffer.first(bytes))) continue;
        if (!ProcessUnderLocks(stop)) return;
    }
}

bool BaseDevice::ProcessUnderLocks(const std::atomic<bool>& stop) {
    // Never wait for either lock unboundedly: a caller holding the device
    // lock may be stopping this thread, and the frame lock's holder may be
    // another camera's frame callback waiting for this device's lock.
    for (;;) {
        if (stop) return false;
        std::unique_lock<Lock> device(callLock_, std::defer_lock);
        if (!device.try_lock_for(kLockRetry)) continue;
        if (stop) return false;
        std::unique_lock<RecursiveTimedLock> frame(LibraryFrameLock(), std::defer_lock);
        if (!frame.try_lock_for(kLockRetry)) continue;  // lets go of the device lock too
        ProcessCapturedFrame();
        return true;
    }
}

void BaseDevice::ProcessCapturedFrame() {
    const PictureSettings settings = CurrentSettings();
    const FrameSource source = CurrentSource();
    FrameEvents events;
    const auto calibration = StepPixelCalibration();
    // A new window needs stripe reference planes of its own.
    if (windowChanged_) {
        if (Pipeline().StripeCapable()) Pipeline().RequestStripeCapture();
        windowChanged_ = false;
    }
    const auto delivered = Pipeline().Process(settings, source, events);
    if (settings.alternateExposure) aeOn_ = false;  // the alternate AE ends the continuous one
    // After the frame: a new exposure or window applies to the next one.
    if (calibration) SendCaptureSettings(*calibration);

    if (events.sendExposure) {
        pendingExposure_ = *events.sendExposure;
        paramWorker_->Post();
    }
    if (events.reportExposure) {
        aeOn_ = false;
        // The reported exposure is the one the camera runs with: send it now
        // (the lock is held) and drop any older one still waiting.
        pendingExposure_ = -1;
        if (static_cast<std::uint32_t>(*events.reportExposure) != capInfo_.exposure) {
            capInfo_.exposure = static_cast<std::uint32_t>(*events.reportExposure);
            SendExposure();
        }
        const std::int32_t value = exposureUnit_ == 1
                                       ? static_cast<std::int32_t>(RegisterToExposure(*events.reportExposure))
                                       : *events.reportExposure;
        if (aeCallback_ != nullptr) aeCallback_(value, 0, callbackContext_);
    }
    if (events.chromaGains) {
        // Reported on every measured frame; sent only when a gain moved.
        const kqcmos::SensorGains& g = *events.chromaGains;
        const std::array<std::uint8_t, 3> gains{static_cast<std::uint8_t>(g.red), static_cast<std::uint8_t>(g.green),
                                                static_cast<std::uint8_t>(g.blue)};
        if (gains != capInfo_.gain) {
            capInfo_.gain = gains;
            pendingRecord_ = true;
            paramWorker_->Post();
        }
        const std::int32_t exposure = static_cast<std::int32_t>(exposureUnit_ == 1 ? exposureTime_ : capInfo_.exposure);
        if (awbCallback_ != nullptr) {
            awbCallback_((g.red << 16) | g.green, (g.blue << 16) | (exposure & 0xFFFF), callbackContext_);
        }
    }
    if (events.whiteBalance) {
        awbOn_ = false;
        const auto gain = [](const kqcmos::ByteTable& t) {
            return kqcmos::ReadBackGain(t).value_or(kqcmos::kUnityGain);
        };
        const std::int32_t red = gain(events.whiteBalance->red);
        const std::int32_t green = gain(events.whiteBalance->green);
        const std::int32_t blue = gain(events.whiteBalance->blue);
        const std::int32_t exposure = static_cast<std::int32_t>(exposureUnit_ == 1 ? exposureTime_ : capInfo_.exposure);
        if (awbCallback_ != nullptr) {
            awbCallback_((red << 16) | green, (blue << 16) | (exposure & 0xFFFF), callbackContext_);
        }
    }
    if (events.flatFieldBuilt && !tablesFolder_.empty()) {
        const bool stored = kqcmos::SaveFlatFieldFile(
            tablesFolder_ / kqcmos::FlatFieldFileName(identity_.typeCode), Pipeline().FlatField());
        lastTableFile_ = stored ? TableFile::written : TableFile::failed;
    }
    if (events.balanceExposure && events.balanceGains) {
        // Every measured frame of the loop sends the record with its
        // exposure and gain bytes, through the one worker.
        capInfo_.gain[0] = static_cast<std::uint8_t>(events.balanceGains->red);
        capInfo_.gain[2] = static_cast<std::uint8_t>(events.balanceGains->blue);
        pendingExposure_ = *events.balanceExposure;
        paramWorker_->Post();
    }
    if (events.balanceReport) {
        awbOn_ = false;
        const std::int32_t exposure = static_cast<std::int32_t>(exposureUnit_ == 1 ? exposureTime_ : capInfo_.exposure);
        if (awbCallback_ != nullptr) {
            awbCallback_(static_cast<std::int32_t>(*events.balanceReport), exposure, callbackContext_);
        }
    }
    if (delivered) Deliver(*delivered);

    ++rateFrames_;
    const std::int64_t now = clock_ ? clock_() : SteadyMilliseconds();
    if (now - rateStart_ >= 1001) {
        frameRate_ = static_cast<float>(rateFrames_) * 1000.0f / static_cast<float>(now - rateStart_);
        rateStart_ = now;
        rateFrames_ = 0;
    }
}

void BaseDevice::Deliver(const DeliveredFrame& frame) {
    if (frameCallback_ != nullptr) frameCallback_(frame.pixels.data(), 0, frameCallbackContext_);
    const std::int64_t now = SteadyMilliseconds();
    // Drawing is limited to one frame per 10 ms; every frame is delivered.
    if (showVideo_ && preview_ != nullptr && now - lastDraw_ > 10) {
        lastDraw_ = now;
        preview_->Draw(frame.pixels, frame.size.width, frame.size.height, frame.bitsPerPixel,
                       DrawPlacement{scrollX_, scrollY_, videoWidth_, videoHeight_});
    }
    if (recording_) {
        Record(frame);
    } else if (autoSave_ && triggerMode_ != 0) {
        SaveSnapshot(frame);
    }
}

// ---- Preview ----

int BaseDevice::SetupDisplay() {
    if (preview_ == nullptr) {
        showVideo_ = false;
        return status::kSuccess;
    }
    showVideo_ = true;
    const kqcmos::FrameSize size = DeliveredSize();
    return preview_->Setup(size.width, size.height, outputBits_) ? status::kSuccess : status::kBadHandle;
}

int BaseDevice::StartView(std::unique_ptr<PreviewSurface> surface, const DrawPlacement& placement) {
    if (fastMode_) return status::kNotSupported;
    if (streaming_) return status::kSuccess;
    if (Gone()) return status::kNoDevice;
    preview_ = std::move(surface);
    scrollX_ = placement.x;
    scrollY_ = placement.y;
    videoWidth_ = placement.width;
    videoHeight_ = placement.height;
    const int rc = SetupDisplay();
    if (int started = StartCapture(); started != status::kSuccess) return started;
    streaming_ = true;
    return rc;
}

int BaseDevice::StopView() {
    if (fastMode_) return status::kNotSupported;
    if (capture_.OnThisThread()) return status::kNotSupported;  // cannot join itself
    streaming_ = false;
    StopCapture();
    preview_.reset();
    showVideo_ = false;
    return status::kSuccess;
}

int BaseDevice::SetParamColor(std::int32_t mode) {
    if (mode < 0 || mode > 5) return status::kNotSupported;
    const bool running = streaming_;
    if (running) StopCapture();
    outputBits_ = (mode == 3 || mode == 4) ? 8 : 24;
    const bool monochrome = identity_.colorType == 1;
    microscopeMode_ = mode == 5 && !monochrome;
    colorMode_ = (monochrome && (mode == 0 || mode == 1 || mode == 5)) ? 2 : mode;
    const int rc = SetupDisplay();
    if (running) StartCapture();
    return rc;
}

int BaseDevice::SetParamFlip(std::int32_t mode) {
    if (mode < 0 || mode > 5) return status::kNotSupported;
    const bool running = streaming_;
    if (running) StopCapture();
    flipMode_ = mode;
    SetupDisplay();
    if (running) StartCapture();
    return status::kSuccess;
}

int BaseDevice::CapFastMode(bool on) {
    if (streaming_) return status::kNotSupported;
    // The download owns the camera until it is switched off.
    if (firmwareRunning_) return status::kNotSupported;
    if (Gone()) return status::kNoDevice;
    if (on) {
        capInfo_.control |= capinfo_bits::trigger;
        ApplyCapInfo(capInfo_);
        Pause(std::chrono::milliseconds(100));
        fastMode_ = true;
        Control(kqff::kIoctlStartCapture, {}, {});
    } else {
        Control(kqff::kIoctlStopCapture, {}, {});
        capInfo_.control &= static_cast<std::uint8_t>(~capinfo_bits::trigger);
        ApplyCapInfo(capInfo_);
        fastMode_ = false;
    }
    return status::kSuccess;
}

// ---- Single-frame grab ----

int BaseDevice::GrabFrame(std::uint8_t* buffer, bool process, const PictureUse& use) {
    return Grab(buffer, process ? GrabOutput::picture : GrabOutput::raw, use);
}

int BaseDevice::GrabProcessedRaw(std::uint8_t* buffer, const PictureUse& use) {
    return Grab(buffer, GrabOutput::processedRaw, use);
}

int BaseDevice::StartGrab() {
    Control(kqff::kIoctlStartCapture, {}, {});
    return status::kSuccess;
}

int BaseDevice::Grab(std::uint8_t* buffer, GrabOutput output, const PictureUse& use) {
    const bool process = output != GrabOutput::raw;
    if (triggerMode_ != 0) return status::kNotSupported;
    if (buffer == nullptr) return status::kNullFrameBuffer;
    if (Gone()) return status::kNoDevice;
    const std::span<std::uint8_t> raw(buffer, frameBytes_);
    const PictureSettings settings = CurrentSettings();
    const FrameSource source = CurrentSource();

    if (streaming_ && !fastMode_) {
        // The capture thread owns the driver's frames: serve the last one it
        // processed instead of reading in competition with it.
        const auto last = Pipeline().LastDelivered();
        const auto lastRaw = Pipeline().LastRaw();
        if (!last || lastRaw.size() != raw.size()) return status::kNoFrame;
        std::copy(lastRaw.begin(), lastRaw.end(), raw.begin());
        if (output == GrabOutput::picture) return use(*last);
        const auto corrected = Pipeline().ProcessGrab(settings, source, raw, process);
        const auto plane = Pipeline().GrabSource();
        return corrected && plane ? use(*plane) : status::kNotSupported;
    }

    if (fastMode_) {
        SoftTrigger();
    } else if (const int rc = StartGrab(); rc != status::kSuccess) {
        return rc;
    }
    bool arrived = false;
    for (int attempt = 0; attempt < 3 && !arrived; ++attempt) {
        const auto got = connection_->ReadFrame(raw);
        arrived = got && *got >= raw.size();
        if (!arrived) Pause(std::chrono::milliseconds(5));
    }
    if (!fastMode_) Control(kqff::kIoctlStopCapture, {}, {});
    if (!arrived) return status::kNoFrame;
    const auto picture = Pipeline().ProcessGrab(settings, source, raw, process);
    if (!picture) return status::kNotSupported;
    if (output == GrabOutput::processedRaw) {
        const auto plane = Pipeline().GrabSource();
        return plane ? use(*plane) : status::kNotSupported;
    }
    return use(*picture);
}

// ---- Recording ----

int BaseDevice::CaptureToAvi(bool start, const std::u16string* path) {
    if (outputBits_ != 24) return status::kNotSupported;
    if (!start) return StopRecording();
    if (recording_) return status::kSuccess;
    if (path != nullptr) {
        // Refuse what the recording's path buffer could not hold.
        if (path->empty() || path->size() > kMaxAviPathChars) return status::kNotSupported;
        aviFiles_.Name(std::filesystem::path(*path));
    }
    if (aviFiles_.Named().empty()) return status::kNotSupported;
    const kqcmos::FrameSize size = DeliveredSize();
    // The file exists before the call returns, so a failure is reported here.
    if (!aviFiles_.Open({size.width, size.height, kRecordingRate, 24, static_cast<std::uint32_t>(aviCompressor_)})) {
        return status::kNotSupported;
    }
    recording_ = true;
    return status::kSuccess;
}

int BaseDevice::StopRecording() {
    if (!recording_) return status::kSuccess;
    recording_ = false;
    return aviFiles_.Close() ? status::kSuccess : status::kNotSupported;
}

void BaseDevice::Record(const DeliveredFrame& frame) {
    if (frame.bitsPerPixel != 24) return;
    aviFiles_.Append(frame.size.width, frame.size.height, frame.pixels, clock_ ? clock_() : SteadyMilliseconds());
}

int BaseDevice::GetTrigger(bool enable, bool jpeg, const std::u16string& prefix, std::int32_t quality) {
    if (!enable) {
        autoSave_ = false;
        return status::kSuccess;
    }
    if (prefix.size() > kMaxPrefixChars) return status::kNotSupported;
    autoSave_ = true;
    autoSaveJpeg_ = jpeg;
    autoSavePrefix_ = prefix;
    autoSaveQuality_ = quality;
    return status::kSuccess;
}

std::filesystem::path BaseDevice::SnapshotStem(std::int32_t number) const {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%05d", static_cast<int>(number));
    std::filesystem::path path(autoSavePrefix_);
    path += digits;
    return path;
}

std::int32_t BaseDevice::NextSnapshotNumber() { return g_snapshotCounter.fetch_add(1); }

void BaseDevice::SaveSnapshot(const DeliveredFrame& frame) {
    std::filesystem::path path = SnapshotStem(NextSnapshotNumber());
    path += autoSaveJpeg_ ? ".jpg" : ".bmp";
    if (autoSaveJpeg_) {
        // The caller's quality is kept as given; the encoder takes the
        // nearest it has, so no snapshot is lost to an odd value.
        files::WriteJpegFile(path, frame.pixels, true, frame.bitsPerPixel != 8, frame.size.width, frame.size.height,
                             frame.bitsPerPixel, std::clamp(autoSaveQuality_, 0, 100));
    } else {
        files::WriteBmpFile(path, frame.pixels, frame.size.width, frame.size.height, frame.bitsPerPixel, true);
    }
}

// ---- Parameters the pipeline asks for ----

void BaseDevice::SendPendingParameters() {
    std::unique_lock<Lock> hold(callLock_, std::defer_lock);
    while (!hold.try_lock_for(kLockRetry)) {
        if (closing_) return;
    }
    const std::int32_t exposure = pendingExposure_.exchange(-1);
    const bool record = pendingRecord_.exchange(false);
    if ((exposure < 0 && !record) || Gone()) return;
    if (exposure >= 0) {
        capInfo_.exposure = static_cast<std::uint32_t>(exposure);
        if (exposureUnit_ == 1) exposureTime_ = RegisterToExposure(capInfo_.exposure);
    }
    // The record carries the exposure as well: one send for both.
    if (record) {
        ApplyCapInfo(capInfo_);
    } else {
        SendExposure();
    }
}

// ---- Tables of the pixel path ----

int BaseDevice::SetGamma(std::int32_t index) {
    return Pipeline().Gamma().SetIndex(index) ? status::kSuccess : status::kNotSupported;
}

std::int32_t BaseDevice::GetGamma() const { return Pipeline().Gamma().index(); }

int BaseDevice::SetGain(int channel, std::int32_t gain) {
    if (identity_.colorType == 1) return status::kNotSupported;
    auto& tables = Pipeline().Gains();
    auto& table = channel == 0 ? tables.red : channel == 1 ? tables.green : tables.blue;
    table = kqcmos::GainTable(gain);
    return status::kSuccess;
}

int BaseDevice::GetGain(int channel, std::int32_t& gain) const {
    if (identity_.colorType == 1) return status::kNotSupported;
    const auto& tables = Pipeline().Gains();
    const auto& table = channel == 0 ? tables.red : channel == 1 ? tables.green : tables.blue;
    // A table with no usable entry says nothing: the caller's value stays.
    if (const auto readBack = kqcmos::ReadBackGain(table)) gain = *readBack;
    return status::kSuccess;
}

int BaseDevice::SetAELevel(std::int32_t level) {
    aeLevel_ = level;
    Pipeline().AutoExposure().SetLevel(level);
    return status::kSuccess;
}

int BaseDevice::AEParam(std::int32_t alternate, std::int32_t level, AwbCallback callback, void* context) {
    aeAlternate_ = alternate != 0;
    aeCallback_ = callback;
    callbackContext_ = context;
    return SetAELevel(level);
}

int BaseDevice::PixelCalibration() {
    if (Gone()) return status::kNoDevice;
    const bool fullHeight = static_cast<std::int32_t>(capInfo_.height) == geometry_.maxHeight;
    const bool fullWidth = static_cast<std::int32_t>(capInfo_.width) == geometry_.maxWidth;
    const bool wideOption = identity_.typeCode == 25 && capInfo_.width == 2560;
    if (!fullHeight || !(fullWidth || wideOption)) return status::kNotSupported;
    if (!pixelCal_.Arm(true)) return status::kNotSupported;
    Pipeline().SuspendBadPixelCorrection(true);
    return status::kSuccess;
}

std::optional<kqcmos::CaptureSettings> BaseDevice::StepPixelCalibration() {
    if (!pixelCal_.armed()) return std::nullopt;
    const FrameSource source = CurrentSource();
    const kqcmos::CaptureSettings current{static_cast<int>(capInfo_.exposure), source.window};
    // The window keeps its size: a size change would need the capture
    // stopped, which this thread cannot do.
    const kqcmos::CaptureSettings full{geometry_.maxExposure, {0, 0, source.window.size}};
    const auto step = pixelCal_.Advance(current, full);
    if (step.detectNow) {
        Pipeline().RequestWhiteBalance(false);
        const auto raw = Pipeline().CaptureBuffer().first(kqcmos::FrameBytes(source.window.size));
        if (Pipeline().BadPixels().Detect(source.window, raw)) StoreBadPixels(source.window.size);
    }
    if (!pixelCal_.armed()) Pipeline().SuspendBadPixelCorrection(false);
    return step.apply;
}

void BaseDevice::StoreBadPixels(kqcmos::FrameSize size) {
    // Smaller frames would store a list that misses most of the sensor.
    const auto fourFifths = [](std::int32_t side) { return static_cast<std::int32_t>(8 * std::int64_t{side} / 10); };
    const bool wideEnough = size.width >= fourFifths(geometry_.maxWidth);
    const bool highEnough = size.height >= fourFifths(geometry_.maxHeight);
    if (tablesFolder_.empty() || !wideEnough || !highEnough) return;
    const bool stored = kqcmos::SaveBadPixelFile(tablesFolder_ / kqcmos::BadPixelFileName(identity_.typeCode),
                                                 Pipeline().BadPixels());
    lastTableFile_ = stored ? TableFile::written : TableFile::failed;
}

void BaseDevice::SendCaptureSettings(const kqcmos::CaptureSettings& settings) {
    capInfo_.exposure = static_cast<std::uint32_t>(settings.exposure);
    capInfo_.columnStart = static_cast<std::uint32_t>(settings.window.columnStart);
    capInfo_.rowStart = static_cast<std::uint32_t>(settings.window.rowStart);
    ApplyCapInfo(capInfo_);
}

int BaseDevice::CalibrationRawFrame(std::int32_t width, std::int32_t height, const std::uint8_t* source,
                                    std::int32_t light, std::int32_t contrast, std::uint8_t* destination) {
    constexpr std::int32_t kMaxSide = 65535;
    if (source == nullptr || destination == nullptr) return status::kRefused;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return status::kNotSupported;
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const std::span<std::uint8_t> out(destination, bytes);
    std::copy_n(source, bytes, out.begin());
    kqcmos::ApplyLight(out, light);
    kqcmos::AdjustColor(out, ((2 * contrast) % 256 + 256) % 256, 3);
    return status::kSuccess;
}

int BaseDevice::RawFrameToRgb(std::int32_t height, std::int32_t width, const std::uint8_t* source,
                              std::uint8_t* destination) {
    constexpr std::int32_t kMaxSide = 65535;
    if (source == nullptr || destination == nullptr) return status::kRefused;
    if (width < 4 || height <= 0 || width > kMaxSide || height > kMaxSide) return status::kNotSupported;
    const kqcmos::FrameSize size{width, height};
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::vector<std::uint8_t> raw(source, source + bytes);
    kqcmos::RunRawPrefilter(colorAdjust_, size, raw);
    const std::span<std::uint8_t> out(destination, 3 * bytes);
    if (!kqcmos::BayerToRgbB0(size, out, raw)) return status::kNotSupported;
    const std::size_t row = 3 * static_cast<std::size_t>(width);
    for (std::int32_t y = 0; y < height; ++y) {
        const auto line = out.subspan(y * row, row);
        const auto fourthLast = line.subspan(row - 12, 3);
        for (std::size_t at = row - 9; at < row; at += 3)
            std::copy(fourthLast.begin(), fourthLast.end(), line.begin() + at);
    }
    return status::kSuccess;
}

int BaseDevice::ResetLightAvgTable() {
    Pipeline().RequestFlatFieldRebuild();
    return status::kSuccess;
}

int BaseDevice::EnableLightAvg(bool on) {
    Pipeline().EnableFlatField(on);
    return status::kSuccess;
}

int BaseDevice::ErasureStripe() {
    if (!Pipeline().StripeCapable()) return status::kNotSupported;
    Pipeline().RequestStripeCapture();
    return status::kSuccess;
}

int BaseDevice::ApplyErasure(bool on) {
    if (!Pipeline().StripeCapable()) return status::kNotSupported;
    Pipeline().EnableStripeRemoval(on);
    return status::kSuccess;
}

}  // namespace kq
