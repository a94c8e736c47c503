#include "frame_receiver.h"

#include <chrono>
#include <mutex>
#include <shared_mutex>
#include <thread>

#include "result_codes.h"

namespace kqge {
namespace {

constexpr std::chrono::milliseconds kMeasureSpan{2000};
constexpr std::uint64_t kMeasureFrames = 100;

}  // namespace

void FrameReceiver::AllocateBuffer(std::size_t bytes) {
    if (Running()) return;
    buffer_.assign(bytes, 0);
}

std::int32_t FrameReceiver::Start() {
    if (Running()) return result::kReceiveRunning;
    thread_.Start([this](const std::atomic<bool>& stop) { Receive(stop); });
    return result::kOk;
}

std::int32_t FrameReceiver::Stop() {
    if (!Running()) return result::kReceiveStopped;
    thread_.Stop([this] { port_.CancelRead(); });
    return result::kOk;
}

FrameReceiver::Counts FrameReceiver::RoutingCounts() const {
    return {routed_.load(), tooShort_.load(), unknownPort_.load()};
}

void FrameReceiver::Receive(const std::atomic<bool>& stop) {
    using Clock = std::chrono::steady_clock;
    framesPerSecond_ = 0.0F;
    auto measuredSince = Clock::now();
    std::uint64_t frames = 0;
    while (!stop) {
        const auto length = port_.ReadFrame(buffer_);
        if (!length || *length == 0) {
            // A failed read returns at once; do not spin on a failing driver.
            if (!stop) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        ++frames;
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - measuredSince);
        if (elapsed > kMeasureSpan || frames > kMeasureFrames) {
            const auto ms = std::max<std::int64_t>(elapsed.count(), 1);
            framesPerSecond_ = static_cast<float>(frames) * 1000.0F / static_cast<float>(ms);
            frames = 0;
            measuredSince = Clock::now();
        }
        RouteFrame(std::span(buffer_).first(std::min(*length, buffer_.size())));
    }
}

void FrameReceiver::RouteFrame(std::span<const std::uint8_t> read) {
    const auto frame = ReadDeliveredFrame(read);
    if (!frame) {
        ++tooShort_;
        return;
    }
    std::shared_lock<std::shared_mutex> routing;
    if (std::shared_mutex* lock = host_ ? host_->RoutingLock() : nullptr) routing = std::shared_lock(*lock);
    FrameSink* camera = host_ ? host_->FindByPort(frame->hostPort) : nullptr;
    if (!camera) {
        ++unknownPort_;
        return;
    }
    camera->StoreFrame(*frame);
    if (camera->TriggerOn() && (camera->ContinuousCapture() || frame->triggered)) camera->StartSnapshot(*frame);
    ++routed_;
}

}  // namespace kqge
