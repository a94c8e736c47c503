#include "sim_stream.h"

#include <algorithm>
#include <chrono>

#include "frame_pattern.h"
#include "scene_picture.h"

namespace kqff::sim {
namespace {

constexpr auto kDeliverTimeout = std::chrono::milliseconds(50);

bool Every(std::uint32_t period, std::uint64_t n) { return period != 0 && n % period == 0; }

}  // namespace

SimStream::SimStream(SimCamera& camera, StreamFaults faults)
    : camera_(camera), faults_(faults), chunk_(kChunkBytes), thread_([this] { Run(); }) {}

SimStream::~SimStream() {
    quit_ = true;
    camera_.Interrupt();
    thread_.join();
}

void SimStream::Run() {
    std::uint32_t frameNumber = 1;
    while (!quit_) {
        if (!camera_.TakeFrameTurn()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        // The turn is taken: a stop while the sensor exposes ends the frame.
        if (!pacer_.WaitTurn(camera_.FrameTime(), [this] { return quit_.load() || !camera_.Streaming(); })) continue;
        if (SendFrame(frameNumber++)) ++framesSent_;
    }
}

bool SimStream::SendFrame(std::uint32_t frameNumber) {
    const std::uint64_t generation = camera_.StreamGeneration();
    const std::uint32_t frameBytes = camera_.FrameBytes();
    const std::uint32_t rowBytes = camera_.RowBytes();
    const Picture picture = camera_.CurrentPicture();
    const SceneLayout scene = camera_.CurrentScene();
    if (faults_.startMarkers) {
        Block marker{};
        marker[kStartMarkerFlagOffset] = 1;
        if (!SendTransfer(marker, generation)) return false;
    }
    for (std::uint32_t offset = 0;;) {
        const std::uint32_t length = std::min(kChunkBytes, frameBytes - offset);
        const std::span<std::uint8_t> part = std::span(chunk_).first(length);
        switch (picture) {
        case Picture::Pattern: FillFramePattern(frameNumber, offset, part); break;
        case Picture::Bayer: FillBayerPicture(frameNumber, rowBytes, offset, part); break;
        case Picture::Yuv: FillYuvPicture(frameNumber, rowBytes, offset, part); break;
        case Picture::Scene: scene_.Fill(frameNumber, scene, offset, part); break;
        }
        if (!SendTransfer(part, generation)) return false;
        offset += length;
        if (length < kChunkBytes) return true;
    }
}

bool SimStream::SendTransfer(std::span<const std::uint8_t> data, std::uint64_t generation) {
    for (;;) {
        if (quit_ || camera_.StreamGeneration() != generation) return false;  // reset: new frame
        const std::uint64_t n = ++transfers_;
        bool delivered = false;
        if (Every(faults_.dropEvery, n)) {
            ++faultsInjected_;
            return true;  // gone on the wire; the camera carries on
        }
        if (Every(faults_.babbleEvery, n)) {
            ++faultsInjected_;
            delivered = camera_.Deliver({}, kUsbdBabbleDetected, kDeliverTimeout, true);
            if (delivered) return false;  // the driver resets the port
            continue;
        }
        if (Every(faults_.xactErrorEvery, n)) {
            ++faultsInjected_;
            delivered = camera_.Deliver({}, kUsbdXactError, kDeliverTimeout, true);
            if (delivered) return false;
            continue;
        }
        if (Every(faults_.zeroLengthEvery, n)) {
            ++faultsInjected_;
            while (!quit_ && camera_.Streaming() && !camera_.Deliver({}, kUsbdSuccess, kDeliverTimeout, true)) {}
        }
        if (camera_.Deliver(data, kUsbdSuccess, kDeliverTimeout, true)) return true;
        if (!camera_.Streaming()) return false;
        // No read outstanding yet (the driver is between reads or recovering).
        --transfers_;
    }
}

}  // namespace kqff::sim
