// Camera control of the FPGA family: the capture record and register lists,
// the window in each skip state, zoom, blanking, open and re-arrival.

#include "navelo_fpga.h"

#include <algorithm>

#include "kqff_protocol.h"

namespace kq {
namespace {

using fpga::RegisterWrite;

constexpr std::uint8_t kKeptControlBits = 0x80 | 0x40 | capinfo_bits::trigger;
constexpr std::uint8_t kCustomIoBit = 0x80;
constexpr std::uint8_t kTriggerSourceBit = 0x40;
constexpr std::array<std::uint16_t, 4> kGainRegisters{0x2D, 0x2B, 0x2E, 0x2C};

std::uint32_t RoundDown8(std::uint32_t v) { return v & ~7u; }

PixelModel FpgaPixels() {
    PixelModel model;
    // The sensor reads out upside down: flip 0 takes the half-turn kernel.
    model.kernelForFlip = {3, 2, 1, 0, 3, 3};
    model.microscopePhase = 4;
    // Red at odd columns of even rows, blue at even columns of odd rows:
    // the 2592 x 1944 camera's cell, read by its kernels, colour
    // enhancement and green boost. The quarter turns and the white balance
    // are the family's own.
    model.colourCell = {1, 0};
    model.cellDemosaic = {.colour = true, .grey = true, .boost = kqcmos::BoostedPair::greens};
    model.regionFromFarEdges = true;
    model.turnRepair = kqcmos::TurnRepair::lastColumn;
    model.exposureKind = kqcmos::BayerExposureKind::fpga;
    model.exposureLimit = 10000;
    model.alternateThresholds = {.exposure = 600, .brightness = 150};
    model.hdrToneAfterDemosaic = false;
    // The first column and the last two carry no image.
    model.edgeRepair = {.left = 1, .right = 2};
    model.grabRepairsEdges = true;
    return model;
}

}  // namespace

CKQNavelo_FPGA::CKQNavelo_FPGA(DeviceIdentity identity, DeviceClass deviceClass, FpgaSensorTiming timing)
    : BaseDevice(identity, deviceClass), timing_(timing) {
    pixelModel_ = FpgaPixels();
}

std::uint8_t CKQNavelo_FPGA::SentGain(std::uint8_t gain) const { return std::clamp<std::uint8_t>(gain, 9, 63); }

std::chrono::milliseconds CKQNavelo_FPGA::PauseAfterList() const {
    // A window change takes the sensor longer.
    const bool window = list_.Count() > 0 && list_.Counted()[0].address == 0x04;
    return std::chrono::milliseconds(window ? 200 : 100);
}

std::uint16_t CKQNavelo_FPGA::ExposureLines() const { return fpga::RegisterValue(capInfo_.exposure); }

bool CKQNavelo_FPGA::FitsTwice(std::uint32_t width, std::uint32_t height) const {
    return 2 * std::uint64_t{width} <= static_cast<std::uint64_t>(geometry_.maxWidth) &&
           2 * std::uint64_t{height} <= static_cast<std::uint64_t>(geometry_.maxHeight);
}

CKQNavelo_FPGA::Skip CKQNavelo_FPGA::CurrentSkip() const {
    if (zoomMode_ == 1) return Skip::twoFold;
    if (zoomMode_ == 2) return Skip::fourFold;
    return requestedHalfReadout_ && FitsTwice(capInfo_.width, capInfo_.height) ? Skip::twoFold : Skip::none;
}

BaseDevice::WindowSize CKQNavelo_FPGA::EffectiveWindow(std::uint32_t width, std::uint32_t height,
                                                       std::int32_t zoomMode) const {
    const auto sensorW = static_cast<std::uint32_t>(geometry_.maxWidth);
    const auto sensorH = static_cast<std::uint32_t>(geometry_.maxHeight);
    auto reduce = [&](std::uint32_t request, std::uint32_t sensor) -> std::uint32_t {
        const std::uint64_t r = request;
        switch (zoomMode) {
        case 1: return static_cast<std::uint32_t>(std::min<std::uint64_t>(((r + 1) / 2 + 7) & ~7ull, sensor / 2));
        case 2: return static_cast<std::uint32_t>(std::min<std::uint64_t>(((r + 3) / 4 + 7) / 8 * 8, sensor / 4));
        default: return std::min(request, sensor);
        }
    };
    return WindowSize{RoundDown8(reduce(width, sensorW)), RoundDown8(reduce(height, sensorH))};
}

std::uint32_t CKQNavelo_FPGA::ClampStart(std::uint32_t start, std::uint32_t size, std::int32_t sensor,
                                         std::uint32_t factor) const {
    const std::int64_t last = std::max<std::int64_t>(0, std::int64_t{sensor} - std::int64_t{factor} * size);
    return static_cast<std::uint32_t>(std::min<std::int64_t>(start, last));
}

void CKQNavelo_FPGA::AppendGains(fpga::RegisterList& list, std::span<const std::uint16_t, 4> registers) const {
    const std::uint8_t gain = SentGain(capInfo_.gain[0]);
    for (std::uint16_t address : registers) list.Append({address, gain});
}

void CKQNavelo_FPGA::AppendWindow(fpga::RegisterList& list, Skip skip, std::uint32_t columnStart,
                                  std::uint32_t rowStart, WindowUse) const {
    const std::int64_t w = capInfo_.width, h = capInfo_.height;
    const std::uint16_t column = fpga::RegisterValue(std::int64_t{columnStart} + timing_.columnOffset);
    const std::uint16_t row = fpga::RegisterValue(std::int64_t{rowStart} + timing_.rowOffset);
    const std::int64_t factor = skip == Skip::none ? 1 : skip == Skip::twoFold ? 2 : 4;
    const std::uint16_t mode = skip == Skip::none ? 0 : skip == Skip::twoFold ? 1 : 3;
    if (skip == Skip::none) {
        list.Append({0x04, fpga::RegisterValue(w - timing_.widthAdjust)});
        list.Append({0x03, fpga::RegisterValue(h - timing_.heightAdjust)});
    } else {
        list.Append({0x04, fpga::RegisterValue(factor * w - 1)});
        list.Append({0x03, fpga::RegisterValue(factor * h - 1)});
    }
    list.Append({0x22, mode});
    list.Append({0x23, mode});
    list.Append({0x02, column});
    list.Append({0x01, row});
    if (skip != Skip::none) list.SetTrailing({0x01, fpga::RegisterValue(timing_.rowOffset)});
}

// ---- Sending ----

int CKQNavelo_FPGA::ApplyCapInfo(const CapInfo& given) {
    if (Gone()) return status::kNoDevice;
    CapInfo record = given;  // given may be capInfo_ itself
    const auto sensorW = static_cast<std::uint32_t>(geometry_.maxWidth);
    const auto sensorH = static_cast<std::uint32_t>(geometry_.maxHeight);
    if (record.width == 0 || record.height == 0 || record.width > sensorW || record.height > sensorH) {
        return status::kNotSupported;
    }
    record.gain[0] = SentGain(record.gain[0]);
    record.gain[1] = record.gain[0];
    record.gain[2] = record.gain[0];
    // What the driver is told never leaves the sensor.
    CapInfo sent = record;
    sent.columnStart = ClampStart(record.columnStart, record.width, geometry_.maxWidth, 1);
    sent.rowStart = ClampStart(record.rowStart, record.height, geometry_.maxHeight, 1);
    if (!Control(kqff::kIoctlSetFormat, EncodeCapInfo(sent), {})) return status::kNotSupported;
    capInfo_ = record;
    frameBytes_ = record.width * record.height;
    readBytes_ = frameBytes_;
    if (const int rc = SendListBlock(); rc != status::kSuccess) return rc;
    const auto pause = settlingPause_ ? PauseAfterList() : std::chrono::milliseconds(0);
    if (pause.count() > 0) Pause(pause);
    return status::kSuccess;
}

int CKQNavelo_FPGA::SendListBlock() {
    list_.height = static_cast<std::uint16_t>(capInfo_.height);
    list_.width = static_cast<std::uint16_t>(capInfo_.width);
    list_.control = capInfo_.control;
    const fpga::Request request = fpga::RegisterListRequest(list_, ListWidth());
    return Control(kqff::kIoctlWriteCommand, request, {}) ? status::kSuccess : status::kNoDevice;
}

std::span<const std::uint16_t, 4> CKQNavelo_FPGA::GainRegisters() const { return kGainRegisters; }

void CKQNavelo_FPGA::AppendStartChanges(fpga::RegisterList& list, bool columnChanged, bool rowChanged,
                                        std::uint32_t column, std::uint32_t row) const {
    if (columnChanged) list.Append({0x02, fpga::RegisterValue(std::int64_t{column} + timing_.columnOffset)});
    if (rowChanged) list.Append({0x01, fpga::RegisterValue(std::int64_t{row} + timing_.rowOffset)});
}

int CKQNavelo_FPGA::ResendBlankingAndMode() {
    const std::array<RegisterWrite, 2> blanking{{{0x05, timing_.horizontalBlanking}, {0x06, timing_.verticalBlanking}}};
    if (const int rc = SendRegisters(blanking); rc != status::kSuccess) return rc;
    if (identity_.modelFlag == 1) return SetTriggerMode(triggerMode_);
    return status::kSuccess;
}

int CKQNavelo_FPGA::SendRegisters(std::span<const RegisterWrite> writes) {
    if (writes.empty() || writes.size() > fpga::RegisterList::kMaxCounted) return status::kNotSupported;
    if (Gone()) return status::kNoDevice;
    list_.Clear();
    for (const RegisterWrite& w : writes) list_.Append(w);
    return RegisterWritesSendRecord() ? SendList() : SendListBlock();
}

int CKQNavelo_FPGA::WriteSensorRegister(std::uint16_t address, std::uint16_t value) {
    const RegisterWrite write{address, value};
    return SendRegisters(std::span(&write, 1));
}

int CKQNavelo_FPGA::Write_Register(std::span<const std::uint16_t> addresses, std::span<const std::uint16_t> values) {
    if (addresses.size() != values.size()) return status::kNotSupported;
    const std::size_t n = addresses.size();
    if (n == 0 || n > fpga::RegisterList::kMaxCounted) return status::kNotSupported;
    std::array<RegisterWrite, fpga::RegisterList::kMaxCounted> writes{};
    for (std::size_t k = 0; k < n; ++k) writes[k] = {addresses[k], values[k]};
    return SendRegisters(std::span(writes).first(n));
}

void CKQNavelo_FPGA::SendExposure() { WriteSensorRegister(ExposureRegister(), ExposureLines()); }

// ---- Capture parameters ----

std::uint32_t CKQNavelo_FPGA::ExposureToRegister(std::uint32_t time) const {
    // lines = t x 48 / line + 0.5, truncated, in 64 bits.
    const std::uint64_t line = std::uint64_t{timing_.horizontalBlanking} + capInfo_.width + 364;
    const std::uint64_t lines = (96 * std::uint64_t{time} + line) / (2 * line);
    return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(lines, 1, 65535));
}

std::uint32_t CKQNavelo_FPGA::RegisterToExposure(std::uint32_t lines) const {
    const std::uint64_t line = std::uint64_t{timing_.horizontalBlanking} + capInfo_.width + 364;
    const std::uint64_t time = (2 * line * lines + 48) / 96;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(time, UINT32_MAX));
}

int CKQNavelo_FPGA::SetCapInfo(const CapInfo& record) {
    if (Gone()) return status::kNoDevice;
    const WindowSize effective = EffectiveWindow(record.width, record.height, zoomMode_);
    if (effective.width == 0 || effective.height == 0) return status::kNotSupported;

    const bool unitTime = exposureUnit_ == 1;
    const bool skipBit = (record.control & capinfo_bits::halfReadout) != 0;
    bool exposureChanged = unitTime ? exposureTime_ != record.exposure : capInfo_.exposure != record.exposure;
    bool skipChanged = skipBit != requestedHalfReadout_ && FitsTwice(record.width, record.height) &&
                       (zoomMode_ == 0 || !SkipChangeNeedsZoomZero());
    bool columnChanged = record.columnStart != capInfo_.columnStart;
    bool rowChanged = record.rowStart != capInfo_.rowStart;
    bool gainChanged = record.gain[0] != capInfo_.gain[0];
    const bool wasFirst = firstApply_;
    if (firstApply_) {
        firstApply_ = false;
        exposureChanged = skipChanged = gainChanged = true;
        columnChanged = rowChanged = false;
    }

    // A refused send leaves the device as it was.
    const CapInfo before = capInfo_;
    const std::uint32_t beforeWidth = requestedWidth_, beforeHeight = requestedHeight_;
    const bool beforeSkip = requestedHalfReadout_;
    const std::uint32_t beforeTime = exposureTime_, beforeBytes = frameBytes_;
    auto rollBack = [&](int rc) {
        capInfo_ = before;
        requestedWidth_ = beforeWidth;
        requestedHeight_ = beforeHeight;
        requestedHalfReadout_ = beforeSkip;
        exposureTime_ = beforeTime;
        frameBytes_ = beforeBytes;
        readBytes_ = beforeBytes;
        firstApply_ = wasFirst;
        return rc;
    };

    capInfo_.gain = record.gain;
    std::copy(record.mode.begin() + 1, record.mode.end(), capInfo_.mode.begin() + 1);
    capInfo_.control = ControlKeeping(record.control, capInfo_.control, kKeptControlBits);
    requestedHalfReadout_ = skipBit;
    requestedWidth_ = record.width;
    requestedHeight_ = record.height;
    if (!unitTime) {
        capInfo_.exposure = LimitExposureLines(record.exposure);
    } else if (exposureChanged) {
        exposureTime_ = RegisterToExposure(ExposureToRegister(record.exposure));
    }

    capInfo_.mode[0] = record.mode[0];
    capInfo_.extra = record.extra;
    const bool storedLarge = 2 * std::uint64_t{capInfo_.width} > static_cast<std::uint64_t>(geometry_.maxWidth) &&
                             2 * std::uint64_t{capInfo_.height} > static_cast<std::uint64_t>(geometry_.maxHeight);
    const std::uint32_t step = ((!skipBit && zoomMode_ == 0) || storedLarge) ? 1 : 2;
    std::uint32_t column = ClampStart(record.columnStart & ~1u, effective.width, geometry_.maxWidth, step);
    std::uint32_t row = ClampStart(record.rowStart & ~1u, effective.height, geometry_.maxHeight, step);

    const bool running = streaming_ || fastMode_;
    const bool sizeChanged = effective.width != capInfo_.width || effective.height != capInfo_.height;
    auto storeSize = [&] {
        capInfo_.width = effective.width;
        capInfo_.height = effective.height;
        frameBytes_ = effective.width * effective.height;
        if (unitTime) {
            capInfo_.exposure = ExposureToRegister(record.exposure);
            exposureTime_ = RegisterToExposure(capInfo_.exposure);
        }
    };
    auto centre = [&] {
        if (centreWindow_ == 0 || skipBit || zoomMode_ != 0) return;
        column = (static_cast<std::uint32_t>(geometry_.maxWidth) - capInfo_.width) / 2;
        row = (static_cast<std::uint32_t>(geometry_.maxHeight) - capInfo_.height) / 2;
        columnChanged = rowChanged = true;
    };
    auto sendWindow = [&] {
        capInfo_.columnStart = column;
        capInfo_.rowStart = row;
        list_.Clear();
        const Skip skip = CurrentSkip();
        const bool origin = skip != Skip::none && SkippedWindowAtOrigin();
        AppendWindow(list_, skip, origin ? 0 : column, origin ? 0 : row, WindowUse::program);
        return SendList();
    };

    capInfo_.reserved = record.reserved;
    if (!running || !sizeChanged) {
        if (sizeChanged) {
            storeSize();
            if (const int rc = OnWindowSizeChanged(); rc != status::kSuccess) return rollBack(rc);
            skipChanged = exposureChanged = true;
            columnChanged = rowChanged = false;
        }
        frameBytes_ = capInfo_.width * capInfo_.height;
        centre();
        if (skipChanged) {
            CapturePause pause(*this);
            if (const int rc = sendWindow(); rc != status::kSuccess) return rollBack(rc);
            if (running) {
                Pipeline().FlatField().Reset();
                SetupDisplay();
            }
        }
    } else {
        CapturePause pause(*this);
        storeSize();
        if (const int rc = OnWindowSizeChanged(); rc != status::kSuccess) return rollBack(rc);
        centre();
        if (const int rc = sendWindow(); rc != status::kSuccess) return rollBack(rc);
        windowChanged_ = true;
        Pipeline().FlatField().Reset();
        SetupDisplay();
    }

    capInfo_.columnStart = column;
    capInfo_.rowStart = row;
    list_.Clear();
    AppendStartChanges(list_, columnChanged, rowChanged, column, row);
    if (exposureChanged) {
        if (unitTime) capInfo_.exposure = ExposureToRegister(record.exposure);
        list_.Append({ExposureRegister(), ExposureLines()});
    }
    if (gainChanged) AppendGains(list_, GainRegisters());
    if (list_.Count() > 0) {
        if (const int rc = SendList(); rc != status::kSuccess) return rollBack(rc);
    }

    // The caller's starts are kept, so the next record compares with them.
    if (!unitTime) capInfo_.exposure = LimitExposureLines(record.exposure);
    capInfo_.columnStart = record.columnStart;
    capInfo_.rowStart = record.rowStart;
    return status::kSuccess;
}

int CKQNavelo_FPGA::SetZoomMode(std::int32_t mode) {
    if (mode < 0 || mode > 2) return status::kNotSupported;
    if (Gone()) return status::kNoDevice;
    const WindowSize window = EffectiveWindow(requestedWidth_, requestedHeight_, mode);
    if (window.width == 0 || window.height == 0) return status::kNotSupported;
    if (capture_.OnThisThread()) return status::kNotSupported;

    const CapInfo before = capInfo_;
    const std::uint32_t beforeBytes = frameBytes_;
    CapturePause pause(*this);
    capInfo_.width = window.width;
    capInfo_.height = window.height;
    if (exposureUnit_ == 1) capInfo_.exposure = ExposureToRegister(exposureTime_);

    Skip skip = Skip::none;
    bool windowList = true;
    if (mode == 1) {
        skip = Skip::twoFold;
    } else if (mode == 2) {
        skip = Skip::fourFold;
    } else if (requestedHalfReadout_ && FitsTwice(window.width, window.height)) {
        skip = Skip::twoFold;
    } else if (requestedHalfReadout_ && !RewritesUnfittedSkipWindow()) {
        windowList = false;
    } else if (centreWindow_ != 0) {
        CentreWindow(capInfo_);
    }
    list_.Clear();
    if (windowList) {
        std::uint32_t column = 0, row = 0;
        if (skip == Skip::none || !SkippedWindowAtOrigin()) {
            const std::uint32_t factor = skip == Skip::none ? 1 : skip == Skip::twoFold ? 2 : 4;
            column = ClampStart(capInfo_.columnStart, window.width, geometry_.maxWidth, factor);
            row = ClampStart(capInfo_.rowStart, window.height, geometry_.maxHeight, factor);
        }
        AppendWindow(list_, skip, column, row, WindowUse::program);
    }
    const RegisterWrite exposure{ExposureRegister(), ExposureLines()};
    if (exposureUnit_ == 1) list_.Append(exposure);
    list_.SetTrailing(exposure);
    if (const int rc = SendList(); rc != status::kSuccess) {
        capInfo_ = before;
        frameBytes_ = beforeBytes;
        readBytes_ = beforeBytes;
        return rc;
    }
    zoomMode_ = mode;
    windowChanged_ = true;
    Pipeline().FlatField().Reset();
    SetupDisplay();
    return status::kSuccess;
}

int CKQNavelo_FPGA::ResendCapInfo() {
    if (Gone()) return status::kNoDevice;
    const Skip skip = CurrentSkip();
    const std::uint32_t factor = skip == Skip::none ? 1 : skip == Skip::twoFold ? 2 : 4;
    const std::uint32_t column = ClampStart(capInfo_.columnStart, capInfo_.width, geometry_.maxWidth, factor);
    const std::uint32_t row = ClampStart(capInfo_.rowStart, capInfo_.height, geometry_.maxHeight, factor);
    list_.Clear();
    AppendWindow(list_, skip, column, row, WindowUse::resend);
    if (const int rc = SendList(); rc != status::kSuccess) return rc;
    list_.Clear();
    list_.Append({ExposureRegister(), ExposureLines()});
    AppendGains(list_, GainRegisters());
    if (const int rc = SendList(); rc != status::kSuccess) return rc;
    return ResendBlankingAndMode();
}

int CKQNavelo_FPGA::SetHBlank(std::int32_t value) {
    if (Gone()) return status::kNoDevice;
    timing_.horizontalBlanking =
        static_cast<std::uint16_t>(std::clamp<std::int32_t>(value, timing_.minHorizontalBlanking, 1023));
    if (exposureUnit_ == 0) return WriteSensorRegister(0x05, timing_.horizontalBlanking);
    // The line got longer or shorter: the same time is another line count.
    capInfo_.exposure = ExposureToRegister(exposureTime_);
    const std::array<RegisterWrite, 2> writes{{{0x05, timing_.horizontalBlanking}, {0x09, ExposureLines()}}};
    return SendRegisters(writes);
}

int CKQNavelo_FPGA::SetVBlank(std::int32_t value) {
    if (Gone()) return status::kNoDevice;
    timing_.verticalBlanking = static_cast<std::uint16_t>(std::clamp<std::int32_t>(value, 25, 1023));
    return WriteSensorRegister(0x06, timing_.verticalBlanking);
}

int CKQNavelo_FPGA::SetControlBit(std::uint8_t bit, bool on) {
    if (Gone()) return status::kNoDevice;
    const std::uint8_t before = capInfo_.control;
    if (on) {
        capInfo_.control |= bit;
    } else {
        capInfo_.control &= static_cast<std::uint8_t>(~bit);
    }
    list_.Clear();
    const int rc = SendList();
    // A failed send keeps the bit the caller was told did not change.
    if (rc != status::kSuccess) capInfo_.control = before;
    return rc;
}

int CKQNavelo_FPGA::SetCustomIO(std::int32_t on) { return SetControlBit(kCustomIoBit, on != 0); }

int CKQNavelo_FPGA::SetTriggerSource(std::int32_t on) { return SetControlBit(kTriggerSourceBit, on != 0); }

// ---- Open, start and re-arrival ----

void CKQNavelo_FPGA::SendResetPulse() {
    WriteSensorRegister(0x0D, 1);
    Pause(std::chrono::milliseconds(500));
    WriteSensorRegister(0x0D, 0);
    Pause(std::chrono::milliseconds(100));
    WriteSensorRegister(0x0D, 0);
    Pause(std::chrono::milliseconds(100));
}

int CKQNavelo_FPGA::ResetSensor(bool atOpen) {
    Control(kqff::kIoctlStopCapture, {}, {});
    SendResetPulse();
    std::array<RegisterWrite, 5> fixed{{{0x07, 2},
                                        {0x1E, timing_.readMode},
                                        {0x20, 0x2000},
                                        {0x05, timing_.horizontalBlanking},
                                        {0x06, timing_.verticalBlanking}}};
    // At re-arrival the blanking follows with the window.
    return SendRegisters(std::span(fixed).first(atOpen ? 5 : 3));
}

int CKQNavelo_FPGA::OpenDevice(CameraTransport& transport, const CameraInterface& camera, const CapInfo& capInfo,
                               std::uint32_t callerHandle) {
    if (const int rc = Connect(transport, camera, capInfo, callerHandle); rc != status::kSuccess) return rc;
    // The reset is sent with the caller's window, on the sensor.
    CapInfo start = capInfo;
    const WindowSize window = EffectiveWindow(capInfo.width, capInfo.height, 0);
    start.width = window.width != 0 ? window.width : static_cast<std::uint32_t>(geometry_.maxWidth);
    start.height = window.height != 0 ? window.height : static_cast<std::uint32_t>(geometry_.maxHeight);
    capInfo_ = start;
    frameBytes_ = start.width * start.height;
    ResetSensor(true);
    firstApply_ = true;
    return SetCapInfo(capInfo);
}

int CKQNavelo_FPGA::StartView(std::unique_ptr<PreviewSurface> surface, const DrawPlacement& placement) {
    if (fastMode_) return status::kNotSupported;
    if (streaming_) return status::kSuccess;
    if (Gone()) return status::kNoDevice;
    // Starting reprograms everything: the camera may have been reset since.
    firstApply_ = true;
    if (const int rc = SetCapInfo(GetCapInfo()); rc != status::kSuccess) return rc;
    return BaseDevice::StartView(std::move(surface), placement);
}

}  // namespace kq
