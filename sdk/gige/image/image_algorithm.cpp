#include "image_algorithm.h"

#include <cstring>

#include "auto_exposure.h"
#include "conversion.h"
#include "orientation.h"
#include "point_filters.h"
#include "raw_contrast.h"
#include "tone_correction.h"

namespace kqge {

CImageAlgorithm::CImageAlgorithm(ExposureControl& camera, AwbSettingsFile& settingsFile, std::uint32_t modelCode)
    : camera_(camera), file_(settingsFile), section_(AwbSectionName(modelCode)) {}

int CImageAlgorithm::LoadAwb() {
    if (!file_.Exists()) return 0;
    const AwbGains gains = file_.Read(section_);
    std::lock_guard lock(awbLock_);
    gains_ = gains;
    tables_ = BuildAwbTables(gains_);
    return 1;
}

int CImageAlgorithm::SaveAwb() { return file_.Write(section_, GetAWBVal()) ? 1 : 0; }

void CImageAlgorithm::BuildAwbLuts() {
    std::lock_guard lock(awbLock_);
    tables_ = BuildAwbTables(gains_);
}

void CImageAlgorithm::ReSetAWBVal(std::int32_t red, std::int32_t green, std::int32_t blue) {
    for (std::int32_t v : {red, green, blue}) {
        if (v < 2 || v > 255) return;
    }
    {
        std::lock_guard lock(awbLock_);
        gains_ = {red, green, blue};
        tables_ = BuildAwbTables(gains_);
    }
    SaveAwb();
}

AwbGains CImageAlgorithm::GetAWBVal() const {
    std::lock_guard lock(awbLock_);
    return gains_;
}

AwbTables CImageAlgorithm::CurrentAwbTables() const {
    std::lock_guard lock(awbLock_);
    return tables_;
}

int CImageAlgorithm::SetDoAE(bool showMark, bool on, AutoCallback callback, void* user) {
    if (awbPending_.load()) return kBusy;
    {
        std::lock_guard lock(awbLock_);
        aeCallback_ = callback;
        aeUser_ = user;
    }
    aeShowMark_.store(showMark);
    aeExposureLines_.store(camera_.ExposureLines());
    aeRunning_.store(on);
    return 0;
}

void CImageAlgorithm::AEParam(bool flag, int windowSelector) {
    aeWindow_.store(windowSelector);
    aeExposureLines_.store(camera_.ExposureLines());
    aeParamFlag_.store(flag);
    if (!flag) {
        aeCountdown_.store(1);
        Report(aeExposureLines_.load());
    }
}

int CImageAlgorithm::SetDoAWB(std::int32_t once, bool continuous, AutoCallback callback, void* user) {
    if (!IsColorSensor(settings_.Load().sensorColorKind)) return kNotColor;
    if (aeRunning_.load()) return kBusy;
    {
        std::lock_guard lock(awbLock_);
        awbCallback_ = callback;
        awbUser_ = user;
    }
    awbContinuous_.store(continuous);
    awbPending_.store((once & 0xFF) != 0);
    return 0;
}

void CImageAlgorithm::ClearWhiteBalanceCallback() {
    std::lock_guard lock(awbLock_);
    awbCallback_ = nullptr;
    awbUser_ = nullptr;
}

void CImageAlgorithm::Report(std::int32_t lines) {
    AutoCallback callback;
    void* user;
    {
        std::lock_guard lock(awbLock_);
        callback = aeCallback_;
        user = aeUser_;
    }
    if (callback != nullptr) callback(camera_.LinesToExposure(lines), 0, user);
}

void CImageAlgorithm::AutoExposureStep(FrameSize size, const ImageSettings& s, int bytesPerSample,
                                       std::span<std::uint8_t> raw) {
    const int countdown = aeCountdown_.fetch_sub(1) - 1;
    if (aeShowMark_.load()) DrawAeMark(size, bytesPerSample, countdown, raw);
    if (countdown > 0) return;
    ++aeCycles_;
    aeCountdown_.store(4);
    const int peak = AePeak(size, s.measurementPhase, bytesPerSample, raw);
    const AeWindow window = AeTargetWindow(aeWindow_.load());
    if (window.Contains(peak)) {
        aeRunning_.store(false);
    } else {
        // The next step starts from the exposure just sent.
        const std::int32_t next = NextAeExposure(aeExposureLines_.load(), peak, window);
        aeExposureLines_.store(next);
        camera_.SetExposure(camera_.LinesToExposure(next));
    }
    if (!aeRunning_.load() && !aeParamFlag_.load()) {
        aeCycles_ = 0;
        aeCountdown_.store(1);
        Report(aeExposureLines_.load());
    }
}

ConvertedFrame CImageAlgorithm::Convert(FrameSize size, OutputKind kind, std::span<std::uint8_t> raw,
                                        std::span<std::uint8_t> out, std::span<std::uint8_t> scratch, FramePath path) {
    const std::size_t rawBytes = RawFrameBytes(size, kind);
    const std::size_t outBytes = OutputFrameBytes(size, kind);
    if (rawBytes == 0 || raw.size() < rawBytes || out.size() < outBytes || scratch.size() < ScratchBytes(size, kind)) {
        return {};
    }
    raw = raw.first(rawBytes);
    out = out.first(outBytes);
    const ImageSettings s = settings_.Load();
    const bool wide = kind == OutputKind::wide16;
    const int bytesPerSample = RawBytesPerSample(kind);

    if (wide) {
        ApplyContrast16(raw, s.contrast);
    } else if (kind != OutputKind::raw8) {
        ApplyContrast8(raw, s.contrast);
    }

    if (!wide) {
        if (path == FramePath::display && awbPending_.exchange(false)) {
            const AwbMeasurement m = MeasureWhiteBalance(size, s.measurementPhase, raw);
            {
                std::lock_guard lock(awbLock_);
                gains_ = m.gains;
                tables_ = m.tables;
            }
            SaveAwb();
        }
        if (awbContinuous_.load()) {
            const AwbTables tables = CurrentAwbTables();
            ApplyWhiteBalance(size, s.measurementPhase, tables, raw);
        }
    }

    if (path == FramePath::display && (aeRunning_.load() || aeParamFlag_.load())) {
        AutoExposureStep(size, s, bytesPerSample, raw);
    }

    if (!wide && !awbPending_.load()) CorrectAndTone(size, s.measurementPhase, s.convert, s.hdr, raw);

    std::span<const std::uint8_t> source = raw;
    if (s.flipMode >= 1 && s.flipMode <= 3) {
        if (!FlipFrame(s.flipMode, size, bytesPerSample, raw, scratch)) return {};
        source = scratch.first(rawBytes);
    }
    if (!ConvertByKind(kind, size, s, source, out)) return {};

    const int outBpp = OutputBytesPerPixel(kind);
    if (IsColor(kind)) kqcmos::ApplySaturation(size, out, s.saturation);
    if (outBpp != 2 && s.sharpness > kNeutralSharpness && size.width >= 3 && size.height >= 3) {
        (void)kqcmos::ApplySharpness(size, outBpp, out, s.sharpness, scratch);
    }

    FrameSize outSize = size;
    if (IsQuarterTurn(s.flipMode)) {
        if (!TurnFrame(s.flipMode, size, outBpp, out, scratch)) return {};
        std::memcpy(out.data(), scratch.data(), outBytes);
        outSize = {size.height, size.width};
    }
    return {true, outSize};
}

}  // namespace kqge
