// Streaming: the start and stop sequences, the ring between the receive
// and display threads, the display loop and the snapshot workers.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>

#include "conversion.h"
#include "gige_camera_base.h"
#include "result_codes.h"

namespace kqge {
namespace {

constexpr std::uint32_t kPacketSizeFlag = 0x40000000u;

std::uint32_t AddressValue(const std::array<std::uint8_t, 4>& ip) {
    // Written big-endian, so the camera receives the bytes in the order the
    // adapter service delivered them.
    return (std::uint32_t{ip[0]} << 24) | (std::uint32_t{ip[1]} << 16) | (std::uint32_t{ip[2]} << 8) | ip[3];
}

}  // namespace

FrameSize GigECameraBase::OutputSize() const { return {outWidth_.load(), outHeight_.load()}; }
FrameSize GigECameraBase::RawSize() const { return {rawWidth_.load(), rawHeight_.load()}; }

FrameSize GigECameraBase::PictureSize() const {
    const FrameSize out = OutputSize();
    return IsQuarterTurn(flipKind_.load()) ? FrameSize{out.height, out.width} : out;
}

void GigECameraBase::SetGeometry(FrameSize raw, FrameSize output) {
    {
        std::lock_guard frame(frameLock_);
        rawWidth_ = raw.width;
        rawHeight_ = raw.height;
        outWidth_ = output.width;
        outHeight_ = output.height;
    }
    ring_.Expect(payloadBytes_ + RawFrameBytes(raw, static_cast<OutputKind>(outputKind_.load())));
}

void GigECameraBase::SetOutput(std::int32_t kind, std::int32_t bits) {
    {
        std::lock_guard frame(frameLock_);
        outputKind_ = kind;
        outputBits_ = bits;
    }
    ring_.Expect(payloadBytes_ + RawFrameBytes(RawSize(), static_cast<OutputKind>(kind)));
}

void GigECameraBase::SetFlipKind(std::int32_t kind, int phase) {
    std::lock_guard frame(frameLock_);
    flipKind_ = kind;
    algorithm_.settings().SetFlip(kind, phase, phase);
}

void GigECameraBase::SetSoftwareFlip(std::int32_t kind) {
    std::lock_guard frame(frameLock_);
    const ImageSettings s = algorithm_.settings().Load();
    algorithm_.settings().SetFlip(kind, s.interpolationPhase, s.measurementPhase);
}

void GigECameraBase::StoreValidBits(std::int32_t bits) {
    validBits_ = bits;
    algorithm_.settings().SetValidBits(bits);
}

std::int32_t GigECameraBase::StartChecks() const {
    if (channel_ == nullptr) return kNoAdapter;
    if (!controlHeld_.load()) return kNotOpened;
    return streaming_.load() ? kAlreadyDone : 0;
}

std::int32_t GigECameraBase::StartStreamCommon(std::int32_t streamWidth) {
    const FrameSize out = OutputSize();
    const StreamRecord record{static_cast<std::uint16_t>(streamWidth), static_cast<std::uint16_t>(out.height),
                              hostPort_.load(), payloadBytes_.load()};
    std::int32_t result = channel_->AddStream(record);
    streaming_ = true;
    const std::array<std::uint32_t, 3> addresses = {kStreamPacketSize, kStreamDestination, kStreamPort};
    const std::array<std::uint32_t, 3> values = {kPacketSizeFlag | packetSize_.load(),
                                                 AddressValue(channel_->AdapterIp()), hostPort_.load()};
    result |= Writes(addresses, values);
    result |= Write(kAcquisition, 1);
    ring_.Reset();
    const std::int32_t receive = channel_->StartReceive();
    if (receive != result::kReceiveRunning) result |= receive;
    // Fast capture leaves the CMOS family's frames in the ring for GetFrame;
    // the other families show and record them as they come.
    if (!FastWithoutDisplay()) display_.Start([this](const std::atomic<bool>& stop) { DisplayLoop(stop); });
    return result;
}

std::int32_t GigECameraBase::StopStream() {
    if (channel_ == nullptr) return kNoAdapter;
    if (!controlHeld_.load()) return kNotOpened;
    if (!streaming_.load()) return 0;
    SetCapture(false, {}, true);
    (void)channel_->StopReceive();
    std::int32_t result = Write(kAcquisition, 0);
    const FrameSize raw = RawSize();
    result |= channel_->DeleteStream({static_cast<std::uint16_t>(raw.width), static_cast<std::uint16_t>(raw.height),
                                      hostPort_.load(), payloadBytes_.load()});
    streaming_ = false;
    // The display thread is joined, never left running over freed buffers.
    display_.Stop([this] { ring_.Wake(); });
    ring_.Reset();
    return result;
}

void GigECameraBase::StoreFrame(const DeliveredFrame& frame) { ring_.Store(frame.bytes); }

void GigECameraBase::DisplayLoop(const std::atomic<bool>& stop) {
    using Clock = std::chrono::steady_clock;
    auto since = Clock::now();
    int frames = 0;
    while (!stop.load()) {
        if (!DisplayFrame(stop)) continue;
        ++frames;
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();
        if (elapsed > 2000 || frames > 100) {
            displayFps_ = elapsed > 0 ? static_cast<float>(frames) * 1000.0F / static_cast<float>(elapsed) : 0.0F;
            frames = 0;
            since = Clock::now();
        }
    }
}

bool GigECameraBase::DisplayFrame(const std::atomic<bool>& stop) {
    const OutputKind kind = static_cast<OutputKind>(outputKind_.load());
    const std::size_t rawBytes = RawFrameBytes(RawSize(), kind);
    if (rawBytes > rawWork_.size()) return false;
    std::uint64_t sequence = 0;
    if (!ring_.Take(payloadBytes_.load(), std::span(rawWork_).first(rawBytes), stop, &sequence)) return false;
    {
        std::lock_guard frame(frameLock_);
        const ConvertedFrame converted = ConvertFrame(rawWork_, rgbOut_, scratch_, FramePath::display);
        if (!converted.ok) return false;
        pictureSize_ = converted.size;
        DrawFrame(rgbOut_, converted.size);
        RecordFrame(rgbOut_, converted.size);
        shownSequence_ = sequence;
    }
    shown_.notify_all();
    return true;
}

bool GigECameraBase::FastWithoutDisplay() const {
    return fastCapture_.load() && traits_.family == RegisterFamily::cmos;
}

std::int32_t GigECameraBase::ShowFrameAfter(std::uint64_t after) {
    std::unique_lock frame(frameLock_);
    const auto deadline = std::chrono::steady_clock::now() + kTriggeredFrameWait;
    if (!FastWithoutDisplay()) {
        // The display thread converts it.
        const bool shown = shown_.wait_until(frame, deadline, [&] { return shownSequence_ > after; });
        return shown ? 0 : result::kNotAcknowledged;
    }
    const OutputKind kind = static_cast<OutputKind>(outputKind_.load());
    const std::size_t rawBytes = RawFrameBytes(RawSize(), kind);
    if (rawBytes > rawWork_.size()) return kNotOpened;
    if (!ring_.TakeAfter(after, payloadBytes_.load(), std::span(rawWork_).first(rawBytes), deadline)) {
        return result::kNotAcknowledged;
    }
    const ConvertedFrame converted = ConvertFrame(rawWork_, rgbOut_, scratch_, FramePath::display);
    if (!converted.ok) return result::kNotAcknowledged;
    pictureSize_ = converted.size;
    return 0;
}

ConvertedFrame GigECameraBase::ConvertFrame(std::span<std::uint8_t> raw, std::span<std::uint8_t> out,
                                            std::span<std::uint8_t> scratch, FramePath path) {
    const FrameSize size = RawSize();
    const OutputKind kind = static_cast<OutputKind>(outputKind_.load());
    if (traits_.modelCode == 0x10003601 && size.height > 4) {
        // This sensor delivers rows 2 and 3 unusable: rows 1 and 4 stand in.
        const auto width = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(RawBytesPerSample(kind));
        std::memcpy(raw.data() + 2 * width, raw.data() + width, width);
        std::memcpy(raw.data() + 3 * width, raw.data() + 4 * width, width);
    }
    return algorithm_.Convert(size, kind, raw, out, scratch, path);
}

std::size_t GigECameraBase::PictureBytes(FrameSize size) const {
    return static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height) *
           static_cast<std::size_t>(OutputBytesPerPixel(static_cast<OutputKind>(outputKind_.load())));
}

void GigECameraBase::DrawFrame(std::span<std::uint8_t> picture, FrameSize size) {
    const OutputKind kind = static_cast<OutputKind>(outputKind_.load());
    const int bytes = OutputBytesPerPixel(kind);
    const std::int32_t bits = bytes * 8;
    FrameCallback callback = nullptr;
    void* user = nullptr;
    {
        std::lock_guard guard(callbackLock_);
        callback = frameCallback_;
        user = frameUser_;
    }
    std::span<std::uint8_t> shown = picture.first(PictureBytes(size));
    FrameSize shownSize = size;
    const PictureRegion r = ShownRegion(size);
    if (regionShown_) {
        shownSize = {r.width, r.height};
        shown = std::span(region_).first(PictureBytes(shownSize));
        CopyRegion(picture, size, r, shown, false, {});
    }
    if (callback != nullptr) {
        FrameInfo info{shownSize.width, shownSize.height, bits};
        callback(shown.data(), &info, user);
        if (regionShown_) CopyRegion({}, size, r, shown, true, picture);
    }
    if (!surface_ || !surfaceReady_) return;
    kq::DrawPlacement placement = placement_;
    if (!placementSet_) placement = {0, 0, shownSize.width, shownSize.height};
    if (kind == OutputKind::wide16) {
        const std::span<std::uint8_t> grey = std::span(drawing_).first(static_cast<std::size_t>(shownSize.width) *
                                                                       static_cast<std::size_t>(shownSize.height));
        if (!Wide16ToDrawing(shownSize, validBits_.load(), shown, grey)) return;
        surface_->Draw(grey, shownSize.width, shownSize.height, 8, placement);
        return;
    }
    surface_->Draw(shown, shownSize.width, shownSize.height, bits, placement);
}

PictureRegion GigECameraBase::ShownRegion(FrameSize picture) const {
    return RegionInPicture(flipKind_.load(), picture, region);
}

void GigECameraBase::CopyRegion(std::span<const std::uint8_t> picture, FrameSize size, const PictureRegion& r,
                                std::span<std::uint8_t> regionBytes, bool back,
                                std::span<std::uint8_t> pictureOut) const {
    const auto bpp = static_cast<std::size_t>(OutputBytesPerPixel(static_cast<OutputKind>(outputKind_.load())));
    const std::size_t rowBytes = static_cast<std::size_t>(size.width) * bpp;
    const std::size_t regionRow = static_cast<std::size_t>(r.width) * bpp;
    for (std::int32_t row = 0; row < r.height; ++row) {
        const std::size_t at = static_cast<std::size_t>(r.y + row) * rowBytes + static_cast<std::size_t>(r.x) * bpp;
        std::uint8_t* inRegion = regionBytes.data() + static_cast<std::size_t>(row) * regionRow;
        if (back) {
            std::memcpy(pictureOut.data() + at, inRegion, regionRow);
        } else {
            std::memcpy(inRegion, picture.data() + at, regionRow);
        }
    }
}

void GigECameraBase::StartSnapshot(const DeliveredFrame& frame) {
    const OutputKind kind = static_cast<OutputKind>(outputKind_.load());
    const std::size_t rawBytes = RawFrameBytes(RawSize(), kind);
    const std::size_t leader = payloadBytes_.load();
    {
        std::lock_guard guard(snapshotLock_);
        if (frame.bytes.size() != leader + rawBytes || rawBytes > snapshotRaw_.size()) {
            ++droppedSnapshots_;
            return;
        }
        std::memcpy(snapshotRaw_.data(), frame.bytes.data() + leader, rawBytes);
    }
    // Beyond eleven running workers the frame only refreshes the buffer.
    (void)workers_.Start([this] { SnapshotWorker(); });
}

void GigECameraBase::SnapshotWorker() {
    const FrameSize size = RawSize();
    const OutputKind kind = static_cast<OutputKind>(outputKind_.load());
    const std::size_t rawBytes = RawFrameBytes(size, kind);
    std::vector<std::uint8_t> raw(rawBytes);
    std::vector<std::uint8_t> picture(static_cast<std::size_t>(size.width + 1) * static_cast<std::size_t>(size.height) *
                                      3);
    std::vector<std::uint8_t> scratch(std::max(ScratchBytes(size, kind), rawBytes));
    {
        std::lock_guard guard(snapshotLock_);
        if (snapshotRaw_.size() < rawBytes) return;
        std::memcpy(raw.data(), snapshotRaw_.data(), rawBytes);
    }
    const ConvertedFrame converted = ConvertFrame(raw, picture, scratch, FramePath::snapshot);
    if (!converted.ok) return;
    FrameCallback callback = nullptr;
    void* user = nullptr;
    PictureRegion r{};
    bool shown = false;
    {
        std::lock_guard guard(callbackLock_);
        callback = triggerCallback_;
        user = triggerUser_;
    }
    {
        std::lock_guard frame(frameLock_);
        shown = regionShown_;
        r = ShownRegion(converted.size);
    }
    if (callback == nullptr) return;
    const std::int32_t bits = OutputBytesPerPixel(kind) * 8;
    if (shown && r.x >= 0 && r.y >= 0 && r.x + r.width <= converted.size.width &&
        r.y + r.height <= converted.size.height) {
        std::vector<std::uint8_t> cropped(PictureBytes({r.width, r.height}));
        CopyRegion(picture, converted.size, r, cropped, false, {});
        FrameInfo info{r.width, r.height, bits};
        callback(cropped.data(), &info, user);
        return;
    }
    FrameInfo info{converted.size.width, converted.size.height, bits};
    callback(picture.data(), &info, user);
}

}  // namespace kqge
