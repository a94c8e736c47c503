// Construction, opening and closing, control access and the registers every
// model shares.
#include <algorithm>
#include <array>
#include <new>

#include "camera_manager.h"
#include "result_codes.h"
#include "gige_camera_base.h"

namespace kqge {
namespace {

constexpr std::uint32_t kPacketDelay = 0x0D08;
constexpr std::uint32_t kWatchdog = 0x0954;
constexpr std::uint32_t kOutputLines = 0xF0005700;
constexpr std::uint32_t kInputLines = 0xF0005800;
constexpr std::uint32_t kTriggerDelay = 0xF0005200;
constexpr std::uint32_t kSoftTrigger = 0xF0005300;
constexpr std::uint32_t kDhcp = 0x0014;
constexpr std::uint32_t kMacAddress = 0xF0004100;
constexpr std::uint32_t kWatchdogBit = 0x80000000u;

// The discovery record's IP, mask and gateway fields.
constexpr std::array<std::size_t, 3> kAddressFields = {36, 52, 68};

int PhaseOrDefault(int phase) { return phase == 0 ? 3 : phase; }

}  // namespace

GigECameraBase::GigECameraBase(const ModelTraits& traits, std::int32_t index, CNIC* channel,
                               const DiscoveryRecord& record, AwbSettingsFile& settingsFile)
    : traits_(traits),
      index_(index),
      channel_(channel),
      record_(record),
      algorithm_(exposureControl_, settingsFile, traits.modelCode),
      rawBufferBytes_(static_cast<std::size_t>(kMaxPacketBytes) + static_cast<std::size_t>(traits.maxWidth) *
                                                                      static_cast<std::size_t>(traits.maxHeight) *
                                                                      static_cast<std::size_t>(traits.bytesPerPixel)),
      rawWidth_(traits.maxWidth),
      rawHeight_(traits.maxHeight),
      outWidth_(traits.maxWidth),
      outHeight_(traits.maxHeight),
      outputKind_(traits.defaultOutputKind),
      outputBits_(traits.defaultBits),
      validBits_(traits.validBits) {
    SharedImageSettings& s = algorithm_.settings();
    s.SetSensor(traits.colorKind, traits.familyMarker);
    s.SetValidBits(traits.validBits);
    const int phase = PhaseOrDefault(traits.bayerPhase);
    s.SetFlip(0, phase, phase);
    if (traits.loadsAwb) algorithm_.LoadAwb();
    ring_.Expect(payloadBytes_ + RawFrameBytes(RawSize(), static_cast<OutputKind>(outputKind_.load())));
}

GigECameraBase::~GigECameraBase() {
    // The derived parts are gone here; their stop sequence ran in Release
    // when the camera was closed. Whatever still runs is ended before the
    // buffers go.
    display_.Stop([this] { ring_.Wake(); });
    workers_.JoinAll();
    upload_.RequestStop();
    if (uploadThread_.joinable()) uploadThread_.join();
    if (channel_ != nullptr && streaming_.exchange(false)) channel_->StopReceive();
}

void GigECameraBase::AssignPort(std::uint16_t port) {
    if (!streaming_.load()) hostPort_ = port;
}

std::int32_t GigECameraBase::Usable() const {
    if (channel_ == nullptr) return kNoAdapter;
    if (!controlHeld_.load()) return kNotOpened;
    return 0;
}

std::int32_t GigECameraBase::Write(std::uint32_t address, std::uint32_t value) {
    return channel_->WriteReg(record_, address, value);
}

std::int32_t GigECameraBase::WriteRetried(std::uint32_t address, std::uint32_t value) {
    const std::int32_t first = Write(address, value);
    return first == 0 ? 0 : Write(address, value);
}

std::int32_t GigECameraBase::Writes(std::span<const std::uint32_t> addresses, std::span<const std::uint32_t> values) {
    return channel_->WriteRegs(record_, addresses, values);
}

std::int32_t GigECameraBase::Read(std::uint32_t address, std::uint32_t& value) {
    return channel_->ReadReg(record_, address, value);
}

std::int32_t GigECameraBase::InitCamera(std::unique_ptr<kq::PreviewSurface> surface) {
    std::int32_t result = InitModel();
    result |= AllocateBuffers();
    {
        std::lock_guard frame(frameLock_);
        surface_ = std::move(surface);
        surfaceReady_ = false;
    }
    ConfigureDrawing();
    opened_ = true;
    result |= AcquireControl();
    result |= CheckAccess();
    return result;
}

std::int32_t GigECameraBase::UnInitCamera() {
    Release();
    const std::int32_t result = ReleaseControl();
    std::lock_guard frame(frameLock_);
    surface_.reset();
    surfaceReady_ = false;
    return result;
}

std::int32_t GigECameraBase::AllocateBuffers() {
    const std::size_t width = static_cast<std::size_t>(traits_.maxWidth);
    const std::size_t height = static_cast<std::size_t>(traits_.maxHeight);
    // Every picture of every output kind at the largest geometry: 24-bit
    // colour is the widest output (16-bit samples take two of its three
    // bytes).
    const std::size_t rgbBytes = width * (height + 2) * 3;
    const FrameSize largest{traits_.maxWidth, traits_.maxHeight};
    std::size_t scratchBytes = 0;
    for (int kind = 0; kind <= 5; ++kind) {
        scratchBytes = std::max(scratchBytes, ScratchBytes(largest, static_cast<OutputKind>(kind)));
    }
    std::lock_guard frame(frameLock_);
    try {
        rgbOut_.assign(rgbBytes, 0);
        rgbCopy_.assign(rgbBytes, 0);
        rawWork_.assign(rawBufferBytes_, 0);
        scratch_.assign(std::max(scratchBytes, rawBufferBytes_), 0);
        region_.assign(rgbBytes, 0);
        drawing_.assign(width * height, 0);
        std::lock_guard snapshot(snapshotLock_);
        snapshotRaw_.assign(rawBufferBytes_, 0);
    } catch (const std::bad_alloc&) {
        return kNoMemory;
    }
    return ring_.Allocate(rawBufferBytes_) ? 0 : kNoMemory;
}

void GigECameraBase::Release() {
    StopStream();
    {
        std::lock_guard guard(callbackLock_);
        frameCallback_ = nullptr;
        frameUser_ = nullptr;
        triggerCallback_ = nullptr;
        triggerUser_ = nullptr;
    }
    algorithm_.ClearWhiteBalanceCallback();
    // Workers read the snapshot buffer: every one has ended before it goes.
    workers_.JoinAll();
    display_.Stop([this] { ring_.Wake(); });
    ring_.Free();
    std::lock_guard frame(frameLock_);
    for (auto* buffer : {&rgbOut_, &rgbCopy_, &rawWork_, &scratch_, &region_, &drawing_}) {
        std::vector<std::uint8_t>().swap(*buffer);
    }
    std::lock_guard snapshot(snapshotLock_);
    std::vector<std::uint8_t>().swap(snapshotRaw_);
    opened_ = false;
}

std::int32_t GigECameraBase::CheckAccess() {
    if (channel_ == nullptr) return kNoAdapter;
    return controlHeld_.load() ? 0 : kNotOpened;
}

std::int32_t GigECameraBase::AcquireControl() {
    if (channel_ == nullptr) return kNoAdapter;
    if (controlHeld_.load()) return 0;
    const auto readTwice = [this](std::uint32_t& value) {
        return Read(kControlPrivilege, value) == 0 || Read(kControlPrivilege, value) == 0;
    };
    std::uint32_t privilege = 0;
    if (!readTwice(privilege)) return result::kNotAcknowledged;
    if (privilege != 0) {
        // Another host holds it: ask it free, then look again.
        if (Write(kControlPrivilege, 0) != 0) (void)Read(kControlPrivilege, privilege);
        if (!readTwice(privilege)) return result::kNotAcknowledged;
        if (privilege != 0) return kControlTaken;
    }
    const std::int32_t taken = WriteRetried(kControlPrivilege, kExclusiveControl);
    controlHeld_ = taken == 0;
    return taken | Write(kAcquisition, 0);
}

std::int32_t GigECameraBase::ReleaseControl() {
    if (channel_ == nullptr) return kNoAdapter;
    if (!controlHeld_.load()) return 0;
    const std::int32_t result = WriteRetried(kControlPrivilege, 0);
    controlHeld_ = false;
    return result;
}

std::int32_t GigECameraBase::ResetCameraPort(std::int32_t port, CCameraManager& registry) {
    if (streaming_.load()) return kStreaming;
    if (channel_ == nullptr) return kNoAdapter;
    if (port < 1 || port > 0xFFFF) return kOutOfRange;
    const auto wanted = static_cast<std::uint16_t>(port);
    const std::int32_t result = registry.ChangePort(hostPort_.load(), wanted);
    if (result == 0) hostPort_ = wanted;
    return result;
}

std::int32_t GigECameraBase::GetCameraPort(std::uint16_t& port) const {
    port = hostPort_.load();
    return 0;
}

std::int32_t GigECameraBase::SetPackageSize(std::int32_t bytes) {
    if (bytes < 1500 || bytes > 8000) return kOutOfRange;
    return WithStreamStopped([&] {
        const auto size = static_cast<std::uint16_t>(std::max(1500, bytes & ~3));
        packetSize_ = size;
        payloadBytes_ = static_cast<std::uint16_t>(size - kReceiveOverhead);
        ring_.Expect(payloadBytes_ + RawFrameBytes(RawSize(), static_cast<OutputKind>(outputKind_.load())));
        return 0;
    });
}

std::int32_t GigECameraBase::SetPackageDelayTime(std::int32_t delay) {
    if (const std::int32_t usable = Usable()) return usable;
    if (delay < 0) return kOutOfRange;
    const std::int32_t result = Write(kPacketDelay, static_cast<std::uint32_t>(delay));
    packetDelay_ = delay;
    return result;
}

std::int32_t GigECameraBase::GetPackageDelayTime(std::int32_t& delay) {
    if (const std::int32_t usable = Usable()) return usable;
    std::uint32_t value = 0;
    const std::int32_t result = Read(kPacketDelay, value);
    if (result == 0) {
        delay = static_cast<std::int32_t>(value);
        packetDelay_ = delay;
    }
    return result;
}

std::int32_t GigECameraBase::CapFastMode(bool on) {
    if (streaming_.load()) return kUnsupported;
    if (on) {
        fastCapture_ = true;
        SetCapMode(0);
        StartStream();
    } else {
        StopStream();
        SetCapMode(1);
        fastCapture_ = false;
    }
    return 0;
}

std::int32_t GigECameraBase::GetCameraFrameRate(float& fps) const {
    if (channel_ == nullptr) return kNoAdapter;
    fps = displayFps_.load();
    return 0;
}

std::int32_t GigECameraBase::GetNICFrameRate(float& fps) const {
    if (channel_ == nullptr) return kNoAdapter;
    fps = channel_->ReceivedFramesPerSecond();
    return 0;
}

std::int32_t GigECameraBase::GetCameraInfo(std::span<std::uint8_t, kDiscoveryRecordBytes> out) const {
    std::ranges::copy(record_.Bytes(), out.begin());
    for (const std::size_t at : kAddressFields) std::reverse(out.begin() + at, out.begin() + at + 4);
    return 0;
}

std::int32_t GigECameraBase::GetCameraType(std::int32_t& modelCode) const {
    modelCode = static_cast<std::int32_t>(traits_.modelCode);
    return traits_.modelCode == 0 ? kModelUnknown : 0;
}

std::int32_t GigECameraBase::GetExposure(std::int32_t& exposure) {
    exposure = LinesToExposure(ExposureToLines(exposure_.load()));
    return 0;
}

std::int32_t GigECameraBase::HDR_Enable(std::int32_t on) {
    hdrFlag_ = on != 0;
    algorithm_.settings().SetHdr(on != 0);
    return 0;
}

std::int32_t GigECameraBase::WriteRegister(std::uint32_t address, std::uint32_t value) {
    if (channel_ == nullptr) return kNoAdapter;
    return Write(address, value);
}

std::int32_t GigECameraBase::ReadRegister(std::uint32_t address, std::uint32_t& value) {
    if (channel_ == nullptr) return kNoAdapter;
    return Read(address, value);
}

std::int32_t GigECameraBase::SetTriggerMode(std::int32_t mode) {
    if (const std::int32_t usable = Usable()) return usable;
    if (mode < 0 || mode > 2) return kOutOfRange;
    std::uint32_t value = 0;
    if (const std::int32_t read = Read(kTriggerRegister, value)) return read;
    std::uint32_t next = 0;
    if (mode == 1) next = value | 3;
    if (mode == 2) next = (value & ~2u) | 1;
    const std::int32_t result = Write(kTriggerRegister, next);
    if (result == 0) triggerMode_ = mode;
    return result;
}

std::int32_t GigECameraBase::GetTriggerMode(std::int32_t& mode) {
    if (const std::int32_t usable = Usable()) return usable;
    std::uint32_t value = 0;
    if (const std::int32_t read = Read(kTriggerRegister, value)) return read;
    switch (value & 3) {
    case 0: mode = 0; break;
    case 1: mode = 2; break;
    case 3: mode = 1; break;
    default: return kOutOfRange;
    }
    return 0;
}

std::int32_t GigECameraBase::SetWatchdogState(bool on) {
    if (const std::int32_t usable = Usable()) return usable;
    std::uint32_t value = 0;
    if (const std::int32_t read = Read(kWatchdog, value)) return read;
    return Write(kWatchdog, on ? (value | kWatchdogBit) : (value & ~kWatchdogBit));
}

std::int32_t GigECameraBase::GetWatchdogState(std::int32_t& on) {
    if (const std::int32_t usable = Usable()) return usable;
    std::uint32_t value = 0;
    const std::int32_t result = Read(kWatchdog, value);
    if (result == 0) on = (value & kWatchdogBit) != 0 ? 1 : 0;
    return result;
}

std::int32_t GigECameraBase::SetIO(std::uint32_t line, std::uint32_t level) {
    if (const std::int32_t usable = Usable()) return usable;
    if (line > 2 || level > 1) return kOutOfRange;
    const std::uint32_t bit = 1u << line;
    const std::uint32_t bits = level != 0 ? (ioBits_.load() | bit) : (ioBits_.load() & ~bit);
    ioBits_ = bits;
    return Write(kOutputLines, bits);
}

std::int32_t GigECameraBase::GetIO(std::uint32_t line, std::uint32_t& level) {
    if (const std::int32_t usable = Usable()) return usable;
    if (line > 1) return kOutOfRange;
    std::uint32_t value = 0;
    const std::int32_t result = Read(kInputLines, value);
    if (result == 0) level = (value >> line) & 1;
    return result;
}

std::int32_t GigECameraBase::SetTriggerDelayTime(std::uint32_t delay) {
    if (const std::int32_t usable = Usable()) return usable;
    return Write(kTriggerDelay, delay);
}

std::int32_t GigECameraBase::SoftTrigger() {
    if (const std::int32_t usable = Usable()) return usable;
    return Write(kSoftTrigger, 1);
}

std::int32_t GigECameraBase::SetDhcpEnable(bool on) {
    if (channel_ == nullptr) return kNoAdapter;
    return Write(kDhcp, on ? 3 : 5);
}

std::int32_t GigECameraBase::SetMacAddr(std::uint32_t value) {
    if (channel_ == nullptr) return kNoAdapter;
    return Write(kMacAddress, value);
}

std::int32_t GigECameraBase::AlgorithmExposure::ExposureLines() const {
    return camera_.ExposureToLines(camera_.exposure_.load());
}

std::int32_t GigECameraBase::AlgorithmExposure::LinesToExposure(std::int32_t lines) const {
    return camera_.LinesToExposure(lines);
}

void GigECameraBase::AlgorithmExposure::SetExposure(std::int32_t exposure) {
    camera_.SetExposure(static_cast<std::uint32_t>(std::max(exposure, 0)));
}

}  // namespace kqge
