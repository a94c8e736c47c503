// The pictures: callbacks, output kind and drawing, software image
// settings, region of interest, GetFrame and saving, recording, firmware
// upload.
#include <algorithm>
#include <cstring>
#include <utility>

#include "gige_camera_base.h"
#include "picture_files.h"
#include "files/rollover_name.h"

namespace kqge {
namespace {

// The compressor code is one for the whole library.
std::atomic<std::uint32_t> aviCompressor{0};

constexpr std::int32_t kMoviesPerSecond = 40;

}  // namespace

std::uint32_t GigECameraBase::AviCompressor() { return aviCompressor.load(); }

std::int32_t GigECameraBase::SetFrameCallBack(FrameCallback callback, void* user) {
    std::lock_guard guard(callbackLock_);
    frameCallback_ = callback;
    frameUser_ = user;
    return 0;
}

std::int32_t GigECameraBase::SetTriggerState(bool on, FrameCallback callback, void* user) {
    std::lock_guard guard(callbackLock_);
    triggerOn_ = on;
    triggerCallback_ = callback;
    triggerUser_ = user;
    return 0;
}

void GigECameraBase::ConfigureDrawing() {
    std::lock_guard frame(frameLock_);
    const FrameSize picture = PictureSize();
    const FrameSize output = OutputSize();
    // The region survives a change only when it still lies in the output.
    if (region.x + region.width > output.width || region.y + region.height > output.height || region.width <= 0 ||
        region.height <= 0) {
        region = {0, 0, output.width, output.height};
    }
    pictureSize_ = picture;
    if (!surface_) {
        surfaceReady_ = false;
        return;
    }
    const OutputKind kind = static_cast<OutputKind>(outputKind_.load());
    const int bits = kind == OutputKind::wide16 ? 8 : OutputBytesPerPixel(kind) * 8;
    surfaceReady_ = surface_->Setup(picture.width, picture.height, bits);
    std::ranges::fill(rgbOut_, std::uint8_t{0xFF});
}

std::int32_t GigECameraBase::SetNewHwnd(std::unique_ptr<kq::PreviewSurface> surface) {
    return WithStreamStopped([&] {
        {
            std::lock_guard frame(frameLock_);
            surface_ = std::move(surface);
            surfaceReady_ = false;
        }
        ConfigureDrawing();
        return 0;
    });
}

std::int32_t GigECameraBase::SetVideoWindowPos(std::int32_t x, std::int32_t y, std::int32_t width,
                                               std::int32_t height) {
    std::lock_guard frame(frameLock_);
    placement_ = {x, y, width, height};
    placementSet_ = true;
    return 0;
}

std::int32_t GigECameraBase::SetColorMode(std::int32_t kind) {
    const bool colorSensor = IsColorSensor(traits_.colorKind);
    std::int32_t bits = 0;
    switch (kind) {
    case 0: bits = colorSensor ? 24 : 0; break;
    case 1: bits = 24; break;
    case 2:
    case 3: bits = 8; break;
    case 4: bits = traits_.bytesPerPixel == 2 ? 16 : 0; break;
    case 5: bits = traits_.colorKind == 0 ? 24 : 0; break;
    default: break;
    }
    if (bits == 0) return kUnsupported;
    return WithStreamStopped([&] {
        SetOutput(kind, bits);
        algorithm_.settings().SetConvert(kind == 5);
        ConfigureDrawing();
        return 0;
    });
}

std::int32_t GigECameraBase::SetContrast(std::uint32_t contrast) {
    if (contrast >= 1 && contrast <= 63) {
        contrast_ = static_cast<std::int32_t>(contrast);
        algorithm_.settings().SetContrast(static_cast<int>(contrast));
    }
    return 0;
}

std::int32_t GigECameraBase::SetSaturation(std::int32_t value) {
    saturation_ = std::clamp(value, 1, 16);
    algorithm_.settings().SetSaturation(saturation_);
    return 0;
}

std::int32_t GigECameraBase::GetSaturation(std::int32_t& value) const {
    value = saturation_.load();
    return 0;
}

std::int32_t GigECameraBase::SetSharpness(std::int32_t value) {
    sharpness_ = std::clamp(value, 1, 8);
    algorithm_.settings().SetSharpness(sharpness_);
    return 0;
}

std::int32_t GigECameraBase::GetSharpness(std::int32_t& value) const {
    value = sharpness_.load();
    return 0;
}

std::int32_t GigECameraBase::SetDoAE(bool showMark, bool on, AutoCallback callback, void* user) {
    return algorithm_.SetDoAE(showMark, on, callback, user);
}

std::int32_t GigECameraBase::AEParam(bool flag, std::int32_t targetWindow) {
    algorithm_.AEParam(flag, targetWindow);
    return 0;
}

std::int32_t GigECameraBase::SetDoAWB(std::int32_t once, bool continuous, AutoCallback callback, void* user) {
    return algorithm_.SetDoAWB(once, continuous, callback, user);
}

std::int32_t GigECameraBase::GetAWBVal(std::uint32_t& red, std::uint32_t& green, std::uint32_t& blue) const {
    const AwbGains gains = algorithm_.GetAWBVal();
    red = static_cast<std::uint32_t>(gains.red);
    green = static_cast<std::uint32_t>(gains.green);
    blue = static_cast<std::uint32_t>(gains.blue);
    return 0;
}

std::int32_t GigECameraBase::ReSetAWBVal(std::int32_t red, std::int32_t green, std::int32_t blue) {
    algorithm_.ReSetAWBVal(red, green, blue);
    return 0;
}

std::int32_t GigECameraBase::MCResolutionShow(bool on) {
    if (recording_.load()) return kLocked;
    std::lock_guard frame(frameLock_);
    regionShown_ = on;
    return 0;
}

std::int32_t GigECameraBase::IsMCResolutionShow(std::int32_t& on) const {
    std::lock_guard frame(frameLock_);
    on = regionShown_ ? 1 : 0;
    return 0;
}

std::int32_t GigECameraBase::SetMCResolution(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    if (recording_.load()) return kLocked;
    std::lock_guard frame(frameLock_);
    // Checked against the output as the sensor delivers it, before any
    // quarter turn.
    const FrameSize output = OutputSize();
    const bool outside = x < 0 || y < 0 || width <= 0 || height <= 0 || std::int64_t{x} + width > output.width ||
                         std::int64_t{y} + height > output.height;
    if (outside) {
        region = {0, 0, output.width, output.height};
        return kOutOfRange;
    }
    region = {x, y, width, height};
    return 0;
}

std::int32_t GigECameraBase::GetMCResolution(std::int32_t& x, std::int32_t& y, std::int32_t& width,
                                             std::int32_t& height) const {
    std::lock_guard frame(frameLock_);
    x = region.x;
    y = region.y;
    width = region.width;
    height = region.height;
    return 0;
}

std::int32_t GigECameraBase::GetFrame(std::uint8_t* picture) {
    if (picture == nullptr) return kNullOutput;
    if (fastCapture_.load() && streaming_.load()) {
        // The picture handed out is the one this trigger produced, never an
        // older one or the fill.
        fastPending_ = false;
        const std::uint64_t after = ring_.StoredCount();
        if (const std::int32_t triggered = SoftTrigger()) return triggered;
        if (const std::int32_t shown = ShowFrameAfter(after)) return shown;
    }
    std::lock_guard frame(frameLock_);
    if (rgbOut_.empty()) return kNotOpened;
    const FrameSize size = pictureSize_;
    if (regionShown_) {
        const PictureRegion r = ShownRegion(size);
        CopyRegion(rgbOut_, size, r, std::span(picture, PictureBytes({r.width, r.height})), false, {});
    } else {
        std::memcpy(picture, rgbOut_.data(), PictureBytes(size));
    }
    return 0;
}

std::int32_t GigECameraBase::GetFrameToImage(const std::filesystem::path& path, std::int32_t kind) {
    FrameSize size;
    {
        std::lock_guard frame(frameLock_);
        if (rgbCopy_.empty()) return kNotOpened;
        if (const std::int32_t got = GetFrame(rgbCopy_.data())) return got;
        const PictureRegion r = ShownRegion(pictureSize_);
        size = regionShown_ ? FrameSize{r.width, r.height} : pictureSize_;
    }
    const std::int32_t bits = OutputBytesPerPixel(static_cast<OutputKind>(outputKind_.load())) * 8;
    return SavePicture(std::span(rgbCopy_).first(PictureBytes(size)), path, size.width, size.height, bits, kind);
}

std::int32_t GigECameraBase::SetCapture(bool on, const std::filesystem::path& path, bool takePath) {
    if (outputBits_.load() != 24) return kUnsupported;
    if (!streaming_.load()) return kNotStreaming;
    std::lock_guard guard(recordLock_);
    if (on) {
        if (recording_.load()) return 0;
        if (takePath) moviePath_ = path;
        rollovers_ = 0;
        recordingFailed_ = false;
        // The file exists before the call returns, so a recording that cannot
        // be written is refused here and leaves no file.
        if (!StartRecording(path)) return kUnsupported;
        recording_ = true;
        return 0;
    }
    if (recording_.exchange(false)) {
        const bool closed = writer_->Close();
        writer_.reset();
        return closed ? 0 : kUnsupported;
    }
    // A recording the display thread ended on a failed write is reported to
    // the stop call that follows it.
    return std::exchange(recordingFailed_, false) ? kUnsupported : 0;
}

bool GigECameraBase::StartRecording(const std::filesystem::path& path) {
    const PictureRegion r = ShownRegion(PictureSize());
    const FrameSize size = regionShown_ ? FrameSize{r.width, r.height} : PictureSize();
    const std::uint32_t compressor = aviCompressor.load();
    writer_ = kq::files::AviWriter::Create(path, {size.width, size.height, kMoviesPerSecond, 24, compressor});
    movieFrames_ = 0;
    if (!writer_ && compressor != 0 && static_cast<OutputKind>(outputKind_.load()) == OutputKind::grey24) {
        // Grey pictures lose nothing as 8-bit frames, which coders such as
        // run-length ones take where they refuse 24-bit frames.
        writer_ = kq::files::AviWriter::Create(path, {size.width, size.height, kMoviesPerSecond, 8, compressor});
        if (writer_) movieGrey_.resize(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height));
    }
    return writer_ != nullptr;
}

void GigECameraBase::RecordFrame(std::span<const std::uint8_t> picture, FrameSize size) {
    if (!recording_.load()) return;
    std::lock_guard guard(recordLock_);
    if (!writer_) return;
    std::span<const std::uint8_t> shown = picture.first(PictureBytes(size));
    if (regionShown_) {
        const PictureRegion r = ShownRegion(size);
        shown = std::span<const std::uint8_t>(region_).first(PictureBytes({r.width, r.height}));
    }
    bool written = true;
    if (writer_->FileBytes() + writer_->FrameCost() > kq::files::AviWriter::kRolloverBytes) {
        // The next file is named from the first one, as the USB library's
        // recordings are, and stays below the size signed readers accept.
        written = writer_->Close();
        writer_.reset();
        ++rollovers_;
        if (written) written = StartRecording(kq::files::RolloverName(moviePath_, rollovers_));
    }
    if (written && writer_->format().bitsPerPixel == 8) {
        for (std::size_t i = 0; i < movieGrey_.size() && 3 * i < shown.size(); ++i) movieGrey_[i] = shown[3 * i];
        shown = movieGrey_;
    }
    if (written) written = writer_->WriteFrame(movieFrames_++, shown);
    if (!written) {
        // A recording that cannot go on ends, keeping what was written,
        // rather than dropping every later frame while it seems to run.
        if (writer_) (void)writer_->Close();
        writer_.reset();
        recording_ = false;
        recordingFailed_ = true;
    }
}

std::int32_t GigECameraBase::SelectAviCompressor(CompressorChooser& chooser) {
    aviCompressor = chooser.Choose(aviCompressor.load());
    return 0;
}

std::int32_t GigECameraBase::SetAviCompressor(std::uint32_t code) {
    aviCompressor = code;
    return 0;
}

}  // namespace kqge
