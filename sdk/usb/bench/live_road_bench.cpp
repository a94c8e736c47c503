// The live road of the simulated camera per stage, each beside a memcpy of
// the frame in the same run: the simulated device making a frame (the scene
// filled in the stream's transfer pieces), the device and the driver core
// together (a frame read: the stream thread's transfers, the core's
// assembly and its copy into the reader's buffer), the frame pipeline on the
// camera's own chain, and the library's whole road without a window (a frame
// through the capture thread to the frame callback). Stages that run on more
// than one thread are timed by the process's CPU time, so the stream thread
// counts. Every benchmark counts the heap allocations inside its timed loop.
#include <benchmark/benchmark.h>

#include "counting_allocator.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "core/base_device.h"
#include "core/device_library.h"
#include "core/frame_pipeline.h"
#include "corrected_demosaic.h"
#include "kqff_protocol.h"
#include "models/pelvar_device.h"
#include "scene_picture.h"
#include "sim/driver_core_device.h"
#include "sim/simulated_bus.h"
#include "simcam/sim_camera_config.h"

namespace kq {
namespace {

using Bytes = std::vector<std::uint8_t>;
using kqcmos::FrameSize;

FrameSize SizeOf(const benchmark::State& state) {
    return {static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
}

// The 2592 x 1944 colour camera of type 6 (the library opens it as G R / B G,
// the scene's phase 2) reading this window, sending frames as fast as they
// are read, as the simulated-camera build's configuration gives it.
simcam::SimulatedCamera SceneCamera() {
    const std::string ini = "[Cameras]\nCount=1\n[Camera1]\nType=6\nMonochrome=0\nRowTime=0\n";
    return simcam::ParseSimulatedCameras(std::span(reinterpret_cast<const std::uint8_t*>(ini.data()), ini.size()))
        .at(0);
}

// A bus holding that camera, answered as the simulated-camera build answers it.
void AddSceneCamera(sim::SimulatedBus& bus, const simcam::SimulatedCamera& c) {
    bus.AddCamera(c.instanceId, c.friendlyName, [c] {
        auto device = std::make_unique<sim::DriverCoreDevice>(c.vendorId, c.productId);
        device->Camera().SetSensorSize(c.sensorWidth, c.sensorHeight);
        device->Camera().SetPicture(kqff::sim::Picture::Scene);
        device->Camera().SetBayerPhase(c.bayerPhase);
        device->Camera().SetRowTime(c.rowTime);
        device->StartVideo();
        return device;
    });
}

// That camera opened by the library with a window of this size.
struct OpenedCamera {
    sim::SimulatedBus bus;
    DeviceLibrary library{&bus};
    std::uint32_t handle = 0;

    bool Open(FrameSize size) {
        AddSceneCamera(bus, SceneCamera());
        CapInfo window;
        window.width = static_cast<std::uint16_t>(size.width);
        window.height = static_cast<std::uint16_t>(size.height);
        window.exposure = 100;
        window.gain = {32, 32, 32};
        std::int32_t index = 1;
        return library.Initialize(&index, &window, &handle) == status::kSuccess;
    }
    ~OpenedCamera() {
        if (handle != 0) library.Uninitialize(handle);
    }
};

void BM_MemcpyRaw(benchmark::State& state) { testing_support::MeasureMemcpy(state, kqcmos::FrameBytes(SizeOf(state))); }

void BM_MemcpyRgb(benchmark::State& state) {
    testing_support::MeasureMemcpy(state, kqcmos::FrameBytes(SizeOf(state), 3));
}

// The simulated device's own work for one frame: the scene written piece by
// piece into the one transfer buffer the stream keeps.
void BM_SceneFrame(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const kqff::sim::SceneLayout layout{static_cast<std::uint32_t>(size.width), static_cast<std::uint32_t>(size.height),
                                        1, false, kqff::sim::BayerPhase::Grbg};
    const auto frameBytes = static_cast<std::uint32_t>(kqcmos::FrameBytes(size));
    Bytes chunk(kqff::kChunkBytes);
    kqff::sim::ScenePicture scene;
    std::uint32_t frameNumber = 1;
    scene.Fill(frameNumber, layout, 0, std::span(chunk).first(1));  // the rows, made once per layout
    testing_support::MeasureFrames(state, frameBytes, [&] {
        for (std::uint32_t offset = 0; offset < frameBytes;) {
            const std::uint32_t length = std::min(kqff::kChunkBytes, frameBytes - offset);
            scene.Fill(frameNumber, layout, offset, std::span(chunk).first(length));
            benchmark::DoNotOptimize(chunk.data());
            offset += length;
        }
        ++frameNumber;
    });
}

// A frame read from the driver core while the simulated camera streams: the
// device's transfers and the core's copies, timed by the process's CPU.
void BM_DeviceAndCoreFrame(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    OpenedCamera camera;
    if (!camera.Open(size)) {
        state.SkipWithError("the simulated camera did not open");
        return;
    }
    sim::DriverCoreDevice& device = camera.bus.Device(0);
    device.Camera().SetFramesOnRequest(true);
    (void)device.Control(kqff::kIoctlStartCapture, {}, {});
    const std::size_t frameBytes = kqcmos::FrameBytes(size);
    Bytes buffer(frameBytes + 64);
    auto read = [&] {
        const auto got = device.Read(buffer);
        if (!got || *got < frameBytes) state.SkipWithError("a frame read failed");
    };
    read();
    testing_support::MeasureFrames(state, frameBytes, read);
    (void)device.Control(kqff::kIoctlStopCapture, {}, {});
}

// The pipeline on the simulated scene with the settings the library opens
// the camera with, as the capture thread runs it per frame.
void BM_CameraPipeline(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const auto frameBytes = static_cast<std::uint32_t>(kqcmos::FrameBytes(size));
    PictureSettings settings;
    settings.model = CKQPelvarDevice(DeviceIdentity{6, 0, 0}).Pixels();
    FramePipeline pipeline(size, false);
    FrameSource source;
    source.window.size = size;
    source.exposure = 100;
    kqff::sim::ScenePicture scene;
    scene.Fill(1,
               {static_cast<std::uint32_t>(size.width), static_cast<std::uint32_t>(size.height), 1, false,
                kqff::sim::BayerPhase::Grbg},
               0, pipeline.CaptureBuffer().first(frameBytes));
    auto frame = [&] {
        FrameEvents events;
        benchmark::DoNotOptimize(pipeline.Process(settings, source, events));
    };
    for (int warmUp = 0; warmUp < 2; ++warmUp) frame();
    testing_support::MeasureFrames(state, kqcmos::FrameBytes(size, 3), frame);
}

// The yardstick chain of the pixel benchmarks: unity gains and the colour
// demosaic in one walk.
void BM_DefaultChain(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    Bytes raw(kqcmos::FrameBytes(size));
    kqff::sim::ScenePicture scene;
    scene.Fill(1,
               {static_cast<std::uint32_t>(size.width), static_cast<std::uint32_t>(size.height), 1, false,
                kqff::sim::BayerPhase::Rggb},
               0, raw);
    Bytes rgb(kqcmos::FrameBytes(size, 3));
    const kqcmos::SensorWindow window{0, 0, size};
    static const kqcmos::GainTables gains{kqcmos::GainTable(520), kqcmos::GainTable(500), kqcmos::GainTable(480)};
    kqcmos::FlatFieldTable flat(size);
    (void)flat.Build(window, raw);
    const kqcmos::RawCorrection correction{gains, &flat, window, std::nullopt};
    kqcmos::DemosaicWork work(size);
    testing_support::MeasureFrames(state, rgb.size(), [&] {
        benchmark::DoNotOptimize(kqcmos::CorrectAndDemosaic({0, 0, 0, false}, correction, size, rgb, raw, work));
    });
}

struct CallbackCount {
    std::atomic<std::uint32_t> frames{0};

    static int KQ_STDCALL OnFrame(std::uint8_t* frame, std::int32_t, void* context) {
        benchmark::DoNotOptimize(frame);
        auto* self = static_cast<CallbackCount*>(context);
        self->frames.fetch_add(1);
        self->frames.notify_one();
        return 0;
    }
};

// The library's whole road without a window: the camera streams through
// the capture thread, the pipeline and the frame callback; each iteration
// waits for the next frame the callback sees. Process CPU time per frame.
void BM_LibraryRoad(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    OpenedCamera camera;
    if (!camera.Open(size)) {
        state.SkipWithError("the simulated camera did not open");
        return;
    }
    CallbackCount count;
    auto on = [&](auto op) { return camera.library.WithDevice(camera.handle, op); };
    on([&](BaseDevice& d) { return d.SetFrameCallBack(&CallbackCount::OnFrame, &count); });
    on([](BaseDevice& d) { return d.StartView(nullptr, {}); });
    auto next = [&] {
        const std::uint32_t seen = count.frames.load();
        count.frames.wait(seen);
    };
    for (int warmUp = 0; warmUp < 3; ++warmUp) next();
    testing_support::MeasureFrames(state, kqcmos::FrameBytes(size, 3), next);
    on([](BaseDevice& d) { return d.StopView(); });
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Args({752, 480})->Args({2048, 1536})->Args({2592, 1944})->Unit(benchmark::kMillisecond);
}

void ProcessSizes(benchmark::internal::Benchmark* b) {
    Sizes(b);
    b->MeasureProcessCPUTime()->UseRealTime();
}

BENCHMARK(BM_MemcpyRaw)->Apply(Sizes);
BENCHMARK(BM_MemcpyRgb)->Apply(Sizes);
BENCHMARK(BM_SceneFrame)->Apply(Sizes);
BENCHMARK(BM_DeviceAndCoreFrame)->Apply(ProcessSizes);
BENCHMARK(BM_CameraPipeline)->Apply(Sizes);
BENCHMARK(BM_DefaultChain)->Apply(Sizes);
BENCHMARK(BM_LibraryRoad)->Apply(ProcessSizes);

}  // namespace
}  // namespace kq
