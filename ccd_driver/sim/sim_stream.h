// Live video from the simulated camera: while the camera streams (after
// command 14) a thread sends frame after frame of the camera's picture (or
// one frame per request, when the camera sends frames on request) at the
// sensor's pace (SimCamera::FrameTime), each as a 64-byte start marker, full
// 524288-byte chunks and one final shorter transfer (zero-length when the
// frame is a whole number of chunks), with faults injected at fixed transfer
// periods. Frames are numbered from 1.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "frame_pace.h"
#include "scene_picture.h"
#include "sim_camera.h"

namespace kqff::sim {

struct StreamFaults {
    std::uint32_t babbleEvery = 0;      // every Nth transfer fails with babble
    std::uint32_t xactErrorEvery = 0;   // ... with a transaction error
    std::uint32_t dropEvery = 0;        // ... is lost on the wire
    std::uint32_t zeroLengthEvery = 0;  // ... is preceded by a stray zero-length transfer
    bool startMarkers = true;
};

class SimStream {
public:
    explicit SimStream(SimCamera& camera, StreamFaults faults = {});
    ~SimStream();
    SimStream(const SimStream&) = delete;
    SimStream& operator=(const SimStream&) = delete;

    std::uint32_t FramesSent() const { return framesSent_.load(); }
    std::uint32_t FaultsInjected() const { return faultsInjected_.load(); }

private:
    void Run();
    bool SendFrame(std::uint32_t frameNumber);
    bool SendTransfer(std::span<const std::uint8_t> data, std::uint64_t generation);

    SimCamera& camera_;
    StreamFaults faults_;
    std::atomic<bool> quit_{false};
    std::atomic<std::uint32_t> framesSent_{0};
    std::atomic<std::uint32_t> faultsInjected_{0};
    std::uint64_t transfers_ = 0;
    FramePacer pacer_;
    std::vector<std::uint8_t> chunk_;  // one transfer, filled afresh for each
    ScenePicture scene_;
    std::thread thread_;
};

}  // namespace kqff::sim
