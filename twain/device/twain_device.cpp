#include "twain_device.h"

#include <algorithm>

namespace twain {
namespace {

// Ids of the parameter table.
enum Param : std::uint32_t {
    kExposure = 0,
    kWhiteBlue = 1,
    kWhiteGreen = 2,
    kWhiteRed = 3,
    kRowStart = 4,
    kColumnStart = 5,
    kContrast = 6,
    kWidth = 7,
    kHeight = 8,
    kGlobalGain = 9,
    kResolution = 10,
    kColourMode = 11,
    kFlip = 12,
    kBwMicroscope = 13,
    kGamma = 14,
    kOneShotWhiteBalance = 15,
    kOneShotExposure = 16,
    kEndian = 17,
    kZoomMode = 18,
    kSubPixel = 19,
    kClearView = 21,
    kWinMode = 22,
    kConAe = 23,
    kSharpView = 24,
    kNoiseRemoval = 25,
    kSensitiveMode = 26,
    kUpDownRev = 27,
    kCurrentWidth = 28,
    kCurrentHeight = 29,
    kOutputBits = 30,
    kHdr = 31,
    kColorAdjust = 32,
};

constexpr std::int32_t kColourModeColour = 0;
constexpr std::int32_t kColourModeGrey = 3;
constexpr std::int32_t kColourModeMicroscope = 5;
constexpr std::int32_t kGammaTable = 16;
// The dialog's gain slider spans 0..63 whatever the camera's own limit.
constexpr std::int32_t kGlobalGainRange = 63;
// An exposure this short means the scene is too bright for the continuous
// exposure to follow.
constexpr std::int32_t kExposureGiveUp = 2;

constexpr std::uint8_t kSkipBits = 0x18;
constexpr std::uint8_t kSensitivityBits = 0x06;

constexpr std::int32_t kSkipFactors[] = {1, 2, 4, 8};

std::uint8_t SkipBitsOf(std::int32_t factor) {
    switch (factor) {
    case 2: return 0x18;
    case 4: return 0x08;
    case 8: return 0x10;
    default: return 0;
    }
}

void SetControl(kq::CapInfo& block, std::uint8_t mask, std::uint8_t bits) {
    block.control = static_cast<std::uint8_t>((block.control & ~mask) | bits);
}

std::uint32_t Unsigned(std::int32_t v) { return static_cast<std::uint32_t>(std::max(v, 0)); }

}  // namespace

TwainDevice::TwainDevice(CameraPort& camera, HostPort& host, const ModelProfile& profile, const TwainSettings& settings)
    : camera_(camera),
      host_(host),
      profile_(profile),
      settings_(settings),
      exposure_(settings.exposure),
      whiteRed_(settings.whiteRed),
      whiteGreen_(settings.whiteGreen),
      whiteBlue_(settings.whiteBlue),
      conAe_(settings.conAe) {
    // A camera always opens without skipping.
    settings_.subPixel = 1;
    settings_.subSample = 0;
}

// ---- Open ----

void TwainDevice::Open() {
    const auto entries = static_cast<std::int32_t>(profile_.resolutions.size());
    settings_.sizeMode = std::clamp(settings_.sizeMode, 0, std::max(entries - 1, 0));
    working_ = kq::CapInfo{};
    working_.exposure = Unsigned(exposure_.load());
    working_.gain = {static_cast<std::uint8_t>(settings_.redGain), static_cast<std::uint8_t>(settings_.greenGain),
                     static_cast<std::uint8_t>(settings_.blueGain)};
    SelectSize(settings_.sizeMode);
    display_ = working_;
    SendWorking();

    if (settings_.bw == 1) {
        settings_.outputBits = 8;
        camera_.SetColorMode(kColourModeGrey);
    } else {
        settings_.outputBits = 24;
        camera_.SetColorMode(settings_.xwj != 0 ? kColourModeMicroscope : kColourModeColour);
    }
    camera_.SetFlip(settings_.flip);
    camera_.SetContrast(settings_.gammaValue);
    camera_.SetWhiteBalanceGain(GainChannel::red, whiteRed_.load());
    camera_.SetWhiteBalanceGain(GainChannel::green, whiteGreen_.load());
    camera_.SetWhiteBalanceGain(GainChannel::blue, whiteBlue_.load());
    camera_.SetGamma(kGammaTable);
    camera_.SetHdr(settings_.hdr);
    camera_.SetColorAdjust(settings_.colorAdjust);
    if (conAe_.load() != 0) host_.StartExposureTimer(kOpenExposurePeriodMs);
}

// The window of a table entry: its size, and the start kept for it (the
// origin where the entry keeps none or spans the sensor).
void TwainDevice::SelectSize(std::int32_t sizeMode) {
    const ResolutionEntry& entry = profile_.resolutions[static_cast<std::size_t>(sizeMode)];
    settings_.sizeMode = sizeMode;
    working_.width = Unsigned(entry.width);
    working_.height = Unsigned(entry.height);
    const auto slot = OffsetSlot(sizeMode, profile_.resolutions.size());
    const std::int32_t column = slot ? settings_.hOffset[static_cast<std::size_t>(*slot)] : 0;
    const std::int32_t row = slot ? settings_.vOffset[static_cast<std::size_t>(*slot)] : 0;
    working_.columnStart = Unsigned(StartWithin(column, entry.width, profile_.limits.maxWidth));
    working_.rowStart = Unsigned(StartWithin(row, entry.height, profile_.limits.maxHeight));
}

// A resolution change keeps the window where it is, moved only as far as
// the new size needs to stay on the sensor.
void TwainDevice::KeepStartsForSize(std::int32_t sizeMode) {
    const ResolutionEntry& entry = profile_.resolutions[static_cast<std::size_t>(sizeMode)];
    settings_.sizeMode = sizeMode;
    working_.width = Unsigned(entry.width);
    working_.height = Unsigned(entry.height);
    working_.columnStart = Unsigned(
        StartWithin(static_cast<std::int32_t>(working_.columnStart), entry.width, profile_.limits.maxWidth));
    working_.rowStart =
        Unsigned(StartWithin(static_cast<std::int32_t>(working_.rowStart), entry.height, profile_.limits.maxHeight));
}

kq::CapInfo TwainDevice::Current(kq::CapInfo block) const {
    block.exposure = Unsigned(exposure_.load());
    return block;
}

void TwainDevice::SendWorking() { camera_.SetCapInfo(Current(working_)); }

void TwainDevice::SendForZoomMode() { camera_.SetCapInfo(Current(settings_.zoomMode != 0 ? working_ : display_)); }

// ---- Preview ----

ViewPlacement TwainDevice::PreviewPlacement() const {
    if (settings_.zoomMode != 0) return {true, 0, 0, kZoomDisplayWidth, kZoomDisplayHeight};
    return {false, previewX_, previewY_, Width(), Height()};
}

ViewPlacement TwainDevice::ChildPlacement() const { return {false, previewX_, previewY_, Width(), Height()}; }

void TwainDevice::StartPreview(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height) {
    previewX_ = x;
    previewY_ = y;
    previewWidth_ = width;
    previewHeight_ = height;
    camera_.StartView(PreviewPlacement());
    display_ = working_;
    previewRunning_ = true;
    ResetScrollBars();
}

void TwainDevice::StopPreview() {
    if (!previewRunning_) return;
    camera_.StopView();
    previewRunning_ = false;
}

template <class Op>
void TwainDevice::WithViewStopped(const ViewPlacement& restart, Op&& op) {
    const bool running = previewRunning_;
    if (running) camera_.StopView();
    op();
    if (running) camera_.StartView(restart);
}

void TwainDevice::ApplyDisplaySize() {
    if (settings_.zoomMode != 0) {
        camera_.SetVideoSize(kZoomDisplayWidth, kZoomDisplayHeight);
    } else {
        camera_.SetVideoSize(Width(), Height());
    }
}

void TwainDevice::ResetScrollBars() {
    ScrollBarLayout layout;
    if (settings_.zoomMode != 0) {
        layout.paintBlack = true;
        scrollX_ = 0;
        scrollY_ = 0;
        camera_.SetScrollOffset(0, 0);
    } else {
        constexpr std::int32_t kBlackBelowHeight = 585;
        constexpr std::int32_t kBlackUpToWidth = 784;
        layout.enabled = true;
        layout.horizontalRange = Width() / settings_.subPixel;
        layout.verticalRange = Height() / settings_.subPixel;
        layout.paintBlack = Height() < kBlackBelowHeight || Width() <= kBlackUpToWidth;
    }
    host_.ResetScrollBars(layout);
}

PanOutcome TwainDevice::Scroll(ScrollAxis axis, std::int32_t code, std::int32_t thumb, std::int32_t visibleSize) {
    const bool horizontal = axis == ScrollAxis::horizontal;
    std::int32_t& position = horizontal ? scrollX_ : scrollY_;
    const PanOutcome out = Pan(code, thumb, position, PanLimit(horizontal ? Width() : Height(), visibleSize));
    if (!out.moved) return out;
    position = out.position;
    camera_.SetScrollOffset(scrollX_, scrollY_);
    return out;
}

// ---- Parameters ----

std::int32_t TwainDevice::SizeModeOfCurrentSize() const {
    const auto& table = profile_.resolutions;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].width == Width() && table[i].height == Height()) return static_cast<std::int32_t>(i);
    }
    return 0;
}

bool TwainDevice::GetParam(std::uint32_t id, std::int32_t& value) const {
    const ModelLimits& limits = profile_.limits;
    switch (id) {
    case kExposure: value = PackParam(exposure_.load(), limits.maxExposure); return true;
    case kWhiteBlue: value = PackParam(whiteBlue_.load(), kWhiteBalanceRange); return true;
    case kWhiteGreen: value = PackParam(whiteGreen_.load(), kWhiteBalanceRange); return true;
    case kWhiteRed: value = PackParam(whiteRed_.load(), kWhiteBalanceRange); return true;
    case kRowStart:
        value = PackParam(static_cast<std::int32_t>(working_.rowStart), limits.maxHeight - Height());
        return true;
    case kColumnStart:
        value = PackParam(static_cast<std::int32_t>(working_.columnStart), limits.maxWidth - Width());
        return true;
    case kContrast: value = PackParam(settings_.gammaValue, 32); return true;
    case kWidth: value = PackParam(Width(), limits.maxWidth); return true;
    case kHeight: value = PackParam(Height(), limits.maxHeight); return true;
    case kGlobalGain: value = PackParam(working_.gain[0], kGlobalGainRange); return true;
    case kResolution: value = SizeModeOfCurrentSize(); return true;
    case kBwMicroscope: value = settings_.bw != 0 ? 1 : (settings_.xwj != 0 ? 2 : 0); return true;
    case kGamma: value = settings_.gamma; return true;
    case kEndian: value = settings_.endian; return true;
    case kZoomMode: value = settings_.zoomMode; return true;
    case kSubPixel: {
        const auto* at = std::find(std::begin(kSkipFactors), std::end(kSkipFactors), settings_.subPixel);
        value = static_cast<std::int32_t>(at == std::end(kSkipFactors) ? 0 : at - std::begin(kSkipFactors));
        return true;
    }
    case kClearView: value = settings_.clearView; return true;
    case kWinMode: value = settings_.winMode; return true;
    case kConAe: value = conAe_.load(); return true;
    case kSharpView: value = settings_.sharpView; return true;
    case kNoiseRemoval: value = settings_.noiseRemoval; return true;
    case kSensitiveMode: value = settings_.sensitiveMode; return true;
    case kUpDownRev: value = settings_.upDownRev; return true;
    case kCurrentWidth: value = Width(); return true;
    case kCurrentHeight: value = Height(); return true;
    case kOutputBits: value = settings_.outputBits; return true;
    case kHdr: value = settings_.hdr; return true;
    case kColorAdjust: value = settings_.colorAdjust; return true;
    default: return false;  // 11, 12, 15, 16, 20 and unknown ids are not answered
    }
}

void TwainDevice::SetParam(std::uint32_t id, std::int32_t value) {
    switch (id) {
    case kExposure: SetExposure(value); break;
    case kWhiteBlue: SetWhiteBalance(GainChannel::blue, value); break;
    case kWhiteGreen: SetWhiteBalance(GainChannel::green, value); break;
    case kWhiteRed: SetWhiteBalance(GainChannel::red, value); break;
    case kRowStart: SetOffset(ScrollAxis::vertical, value); break;
    case kColumnStart: SetOffset(ScrollAxis::horizontal, value); break;
    case kContrast:
        settings_.gammaValue = value;
        camera_.SetContrast(value);
        break;
    case kWidth: SetWidth(value); break;
    case kHeight: SetHeight(value); break;
    case kGlobalGain: SetGlobalGain(value); break;
    case kResolution:
        if (conAe_.load() != 0) break;  // the exposure follows the current window
        {
            const auto entries = static_cast<std::int32_t>(profile_.resolutions.size());
            KeepStartsForSize(value >= 0 && value < entries ? value : 0);
            display_.width = working_.width;
            display_.height = working_.height;
            display_.columnStart = working_.columnStart;
            display_.rowStart = working_.rowStart;
            ReportOffsets();
            SendWorking();
            ApplyDisplaySize();
            ResetScrollBars();
            host_.FocusPreview();
        }
        break;
    case kColourMode: SetColorMode(value); break;
    case kFlip: SetFlip(value); break;
    case kBwMicroscope:
        settings_.xwj = value == 2 ? 1 : 0;
        if (settings_.xwj == 0) settings_.bw = value;
        break;
    case kGamma: settings_.gamma = value; break;
    case kOneShotWhiteBalance:
        if (!previewRunning_) break;
        if (value != 0) {
            camera_.RunWhiteBalanceOnce();
        } else {
            camera_.StopWhiteBalance();
        }
        break;
    case kOneShotExposure:
        if (!previewRunning_) break;
        if (value != 0) {
            camera_.RunExposureOnce();
        } else {
            camera_.StopExposure();
        }
        break;
    case kEndian: settings_.endian = value; break;
    case kZoomMode: SetZoomMode(value); break;
    case kSubPixel: SetSubPixel(value); break;
    case kClearView: settings_.clearView = value; break;
    case kWinMode:
        settings_.winMode = value;
        StopPreview();
        StartPreview(0, 0, previewWidth_, previewHeight_);
        break;
    case kConAe: SetContinuousExposure(value); break;
    case kSharpView: settings_.sharpView = value; break;
    case kNoiseRemoval: SetNoiseRemoval(value); break;
    case kSensitiveMode: SetSensitiveMode(value); break;
    case kUpDownRev: settings_.upDownRev = value; break;
    case kHdr:
        settings_.hdr = value;
        camera_.SetHdr(value);
        break;
    case kColorAdjust:
        settings_.colorAdjust = value;
        camera_.SetColorAdjust(value);
        break;
    default: break;  // 20, the read-only 28 to 30 and unknown ids
    }
}

void TwainDevice::SetExposure(std::int32_t exposure) {
    if (exposure == 0) return;
    exposure_.store(exposure);
    working_.exposure = Unsigned(exposure);
    display_.exposure = working_.exposure;
    SendWorking();
}

void TwainDevice::SetWhiteBalance(GainChannel channel, std::int32_t gain) {
    switch (channel) {
    case GainChannel::red: whiteRed_.store(gain); break;
    case GainChannel::green: whiteGreen_.store(gain); break;
    case GainChannel::blue: whiteBlue_.store(gain); break;
    }
    camera_.SetWhiteBalanceGain(channel, gain);
}

void TwainDevice::ReportOffsets() {
    host_.Report(kRowStart,
                 PackParam(static_cast<std::int32_t>(working_.rowStart), profile_.limits.maxHeight - Height()));
    host_.Report(kColumnStart,
                 PackParam(static_cast<std::int32_t>(working_.columnStart), profile_.limits.maxWidth - Width()));
}

// A start is kept within the sensor; the size mode's slot remembers it.
void TwainDevice::SetOffset(ScrollAxis axis, std::int32_t value) {
    const bool horizontal = axis == ScrollAxis::horizontal;
    const std::int32_t sensor = horizontal ? profile_.limits.maxWidth : profile_.limits.maxHeight;
    const std::int32_t start = StartWithin(value, horizontal ? Width() : Height(), sensor);
    if (const auto slot = OffsetSlot(settings_.sizeMode, profile_.resolutions.size())) {
        (horizontal ? settings_.hOffset : settings_.vOffset)[static_cast<std::size_t>(*slot)] = start;
    }
    std::uint32_t& working = horizontal ? working_.columnStart : working_.rowStart;
    std::uint32_t& display = horizontal ? display_.columnStart : display_.rowStart;
    const std::int32_t moved = start - static_cast<std::int32_t>(working);
    working = Unsigned(start);
    display = Unsigned(static_cast<std::int32_t>(display) + moved);
    SendWorking();
}

void TwainDevice::SetWidth(std::int32_t value) {
    constexpr std::int32_t kSmallest = 8;
    if (value < kSmallest) return;  // no window
    value = std::min(value, profile_.limits.maxWidth);
    display_.width = Unsigned(RoundDownTo(value, 4));
    working_.width = Unsigned(RoundDownTo(value, 8));
    working_.columnStart =
        Unsigned(StartWithin(static_cast<std::int32_t>(working_.columnStart), Width(), profile_.limits.maxWidth));
    display_.columnStart = working_.columnStart;
    host_.Report(kColumnStart,
                 PackParam(static_cast<std::int32_t>(working_.columnStart), profile_.limits.maxWidth - Width()));
    ViewPlacement restart = PreviewPlacement();
    restart.ownWindow = true;
    WithViewStopped(restart, [&] { SendWorking(); });
    ResetScrollBars();
}

void TwainDevice::SetHeight(std::int32_t value) {
    constexpr std::int32_t kSmallest = 8;
    if (value < kSmallest) return;  // no window
    value = std::min(value, profile_.limits.maxHeight);
    display_.height = Unsigned(RoundDownTo(value, 4));
    working_.height = Unsigned(RoundDownTo(value, 8));
    working_.columnStart = working_.rowStart = 0;
    display_.columnStart = display_.rowStart = 0;
    host_.Report(kRowStart, PackParam(0, profile_.limits.maxHeight - Height()));
    SendWorking();
    ApplyDisplaySize();
    ResetScrollBars();
    host_.TraceHeightChange();
}

void TwainDevice::SetGlobalGain(std::int32_t value) {
    const auto gain = static_cast<std::uint8_t>(std::clamp(value, 0, profile_.limits.maxGain));
    settings_.redGain = gain;
    working_.gain[0] = gain;
    display_.gain[0] = gain;
    SendForZoomMode();
}

void TwainDevice::SetColorMode(std::int32_t value) {
    std::int32_t mode = kColourModeColour;
    if (value == 1) {
        settings_.outputBits = 8;
        settings_.bw = 1;
        settings_.xwj = 0;
        mode = kColourModeGrey;
    } else {
        settings_.outputBits = 24;
        settings_.bw = 0;
        settings_.xwj = value == 2 ? 1 : 0;
        mode = value == 2 ? kColourModeMicroscope : kColourModeColour;
    }
    WithViewStopped(ChildPlacement(), [&] { camera_.SetColorMode(mode); });
    if (previewRunning_) camera_.SetScrollOffset(scrollX_, scrollY_);
}

void TwainDevice::SetFlip(std::int32_t value) {
    settings_.flip = value;
    WithViewStopped(ChildPlacement(), [&] { camera_.SetFlip(value); });
    if (previewRunning_) camera_.SetScrollOffset(scrollX_, scrollY_);
}

void TwainDevice::SetZoomMode(std::int32_t value) {
    settings_.zoomMode = value;
    ApplyDisplaySize();
    ResetScrollBars();
}

void TwainDevice::SetSubPixel(std::int32_t value) {
    if (value < 0 || value >= static_cast<std::int32_t>(std::size(kSkipFactors))) return;
    settings_.subPixel = kSkipFactors[value];
    settings_.subSample = value != 0 ? 1 : 0;
    const std::uint8_t bits = SkipBitsOf(settings_.subPixel);
    SetControl(working_, kSkipBits, bits);
    SetControl(display_, kSkipBits, bits);
    camera_.SetCapInfo(Current(display_));
}

void TwainDevice::SetContinuousExposure(std::int32_t value) {
    if (value == 1) {
        exposureStopRequested_.store(false);
        conAe_.store(1);
        host_.StartExposureTimer(kDialogExposurePeriodMs);
    } else if (value == 0) {
        conAe_.store(0);
        exposureStopRequested_.store(false);
        camera_.StopExposure();
        host_.StopExposureTimer();
    }
}

void TwainDevice::SetNoiseRemoval(std::int32_t value) {
    settings_.noiseRemoval = value;
    if (value == 0) return;
    const char* refusal = nullptr;
    if (settings_.zoomMode == 0) {
        refusal = "Please Select Zoom Mode!";
    } else if (settings_.subPixel != 1) {
        refusal = "Please Select No Skip Mode!";
    }
    if (refusal == nullptr) return;
    host_.ShowError(refusal);
    settings_.noiseRemoval = 0;
    host_.Report(kNoiseRemoval, 0);
}

void TwainDevice::SetSensitiveMode(std::int32_t value) {
    constexpr std::uint8_t kBitsOf[] = {0x00, 0x02, 0x04};
    if (value < 0 || value > 2) return;
    settings_.sensitiveMode = value;
    SetControl(working_, kSensitivityBits, kBitsOf[value]);
    SetControl(display_, kSensitivityBits, kBitsOf[value]);
    SendForZoomMode();
}

// ---- Results of the automatic steps ----

void TwainDevice::OnWhiteBalanceResult(std::int32_t redGreen, std::int32_t blue) {
    const auto high = [](std::int32_t v) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(v) >> 16); };
    const std::int32_t red = high(redGreen);
    const std::int32_t green = redGreen & 0xFFFF;
    const std::int32_t blueGain = high(blue);
    whiteRed_.store(red);
    whiteGreen_.store(green);
    whiteBlue_.store(blueGain);
    host_.Report(kWhiteRed, PackParam(red, kWhiteBalanceRange));
    host_.Report(kWhiteGreen, PackParam(green, kWhiteBalanceRange));
    host_.Report(kWhiteBlue, PackParam(blueGain, kWhiteBalanceRange));
}

void TwainDevice::OnExposureResult(std::int32_t exposure) {
    exposure_.store(exposure);
    if (exposure <= kExposureGiveUp) {
        // The timer belongs to the application's thread: its next tick
        // switches the continuous exposure off and tells the dialog.
        if (conAe_.exchange(0) != 0) {
            exposureStopRequested_.store(true);
        } else {
            host_.Report(kConAe, 0);
        }
    }
    host_.Report(kExposure, PackParam(exposure, profile_.limits.maxExposure));
}

void TwainDevice::OnExposureTick() {
    if (exposureStopRequested_.exchange(false)) {
        camera_.StopExposure();
        host_.StopExposureTimer();
        host_.Report(kConAe, 0);
        return;
    }
    if (conAe_.load() != 0) camera_.RunExposureOnce();
}

TwainSettings TwainDevice::Settings() const {
    TwainSettings out = settings_;
    out.exposure = exposure_.load();
    out.whiteRed = whiteRed_.load();
    out.whiteGreen = whiteGreen_.load();
    out.whiteBlue = whiteBlue_.load();
    out.conAe = conAe_.load();
    return out;
}

}  // namespace twain
