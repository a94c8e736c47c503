// The whole per-frame path of the capture thread (FramePipeline::Process with
// automatic exposure on, then the continuous white balance's step on the
// delivered picture) next to the default chain alone and a memcpy of the
// picture's bytes, in the same run. Every benchmark counts the heap
// allocations inside its timed loop; a frame must make none.
#include <benchmark/benchmark.h>

#include "counting_allocator.h"

#include <cstring>
#include <random>
#include <vector>

#include "core/frame_pipeline.h"
#include "models/dorisk_device.h"
#include "models/pelvar_device.h"
#include "corrected_demosaic.h"
#include "models/navelo_fpga.h"
#include "white_balance.h"

namespace kq {
namespace {

using Bytes = std::vector<std::uint8_t>;
using kqcmos::FrameSize;

FrameSize SizeOf(const benchmark::State& state) {
    return {static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
}

// Mid-grey sensor noise, so the exposure control keeps measuring.
Bytes RawFrame(FrameSize size) {
    std::mt19937 rng(7);
    Bytes b(kqcmos::FrameBytes(size));
    for (auto& v : b) v = static_cast<std::uint8_t>(60 + rng() % 120);
    return b;
}

const kqcmos::GainTables& Gains() {
    static const kqcmos::GainTables gains{kqcmos::GainTable(520), kqcmos::GainTable(500), kqcmos::GainTable(480)};
    return gains;
}

void BM_MemcpyRgb(benchmark::State& state) {
    testing_support::MeasureMemcpy(state, kqcmos::FrameBytes(SizeOf(state), 3));
}

// Gain tables, flat field and colour demosaic in one walk: what the pipeline
// runs per frame on these settings, without anything around it.
void BM_DefaultChain(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const Bytes raw = RawFrame(size);
    Bytes rgb(kqcmos::FrameBytes(size, 3));
    const kqcmos::SensorWindow window{0, 0, size};
    kqcmos::FlatFieldTable flat(size);
    (void)flat.Build(window, raw);
    const kqcmos::RawCorrection correction{Gains(), &flat, window, std::nullopt};
    kqcmos::DemosaicWork work(size);
    testing_support::MeasureFrames(state, rgb.size(), [&] {
        benchmark::DoNotOptimize(kqcmos::CorrectAndDemosaic({0, 0, 0, false}, correction, size, rgb, raw, work));
    });
}

// The pipeline with automatic exposure and the flat field on, for the
// pixel description and flip mode given.
void RunPipeline(benchmark::State& state, const PixelModel& model, int flipMode, bool whiteBalance) {
    const FrameSize size = SizeOf(state);
    const Bytes raw = RawFrame(size);
    FramePipeline pipeline(size, false);
    FrameSource source;
    source.window.size = size;
    source.exposure = 1000;
    pipeline.Gains() = Gains();
    (void)pipeline.FlatField().Build(source.window, raw);
    pipeline.EnableFlatField(true);
    pipeline.AutoExposure().Enable(true);
    std::copy(raw.begin(), raw.end(), pipeline.CaptureBuffer().begin());
    PictureSettings settings;
    settings.model = model;
    settings.flipMode = flipMode;
    kqcmos::ContinuousWhiteBalance balance;
    kqcmos::SensorGains sensorGains{32, 32, 32};
    int exposure = source.exposure;
    auto frame = [&] {
        FrameEvents events;
        const auto delivered = pipeline.Process(settings, source, events);
        if (whiteBalance && delivered) {
            benchmark::DoNotOptimize(balance.Step(size, delivered->pixels, false, exposure, sensorGains));
        }
        benchmark::DoNotOptimize(delivered);
    };
    // The first frames touch the pipeline's buffers for the first time; their
    // page faults (a quarter of a second at 2592 x 1944 on a virtual machine)
    // are no per-frame cost.
    for (int warmUp = 0; warmUp < 2; ++warmUp) frame();
    testing_support::MeasureFrames(state, kqcmos::FrameBytes(size, 3), frame);
}

// range(2): the model whose chain runs: 0 the base (the fused walk of
// BM_DefaultChain), 6 the camera of type 6 (G R / B G), 10 the colour
// camera of type 10 (G B / R G). Gains and flat field as above, automatic
// exposure off, so only the chain differs.
void BM_ModelChain(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    PictureSettings settings;
    if (state.range(2) == 6) settings.model = CKQPelvarDevice(DeviceIdentity{6, 0, 0}).Pixels();
    if (state.range(2) == 10) settings.model = CKQAlvinoDevice(DeviceIdentity{10, 0, 0}).Pixels();
    const Bytes raw = RawFrame(size);
    FramePipeline pipeline(size, false);
    FrameSource source;
    source.window.size = size;
    pipeline.Gains() = Gains();
    (void)pipeline.FlatField().Build(source.window, raw);
    pipeline.EnableFlatField(true);
    testing_support::MeasureFrames(state, kqcmos::FrameBytes(size, 3), [&] {
        // The chain changes the raw frame in place on the models' path.
        state.PauseTiming();
        std::copy(raw.begin(), raw.end(), pipeline.CaptureBuffer().begin());
        state.ResumeTiming();
        FrameEvents events;
        benchmark::DoNotOptimize(pipeline.Process(settings, source, events));
    });
}

// range(2): 1 runs the continuous white balance's step on every picture.
void BM_FramePipeline(benchmark::State& state) { RunPipeline(state, PixelModel{}, 0, state.range(2) == 1); }

// The FPGA cameras' chain (their Bayer order, filters and in-place turn);
// range(2) is the flip mode.
void BM_FpgaFramePipeline(benchmark::State& state) {
    static const PixelModel fpga = CKQNavelo_FPGA(DeviceIdentity{11, 0, 0}).Pixels();
    RunPipeline(state, fpga, static_cast<int>(state.range(2)), false);
}

BENCHMARK(BM_MemcpyRgb)->Args({2048, 1536})->Args({2592, 1944})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModelChain)->ArgsProduct({{2592}, {1944}, {0, 6, 10}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DefaultChain)->Args({2048, 1536})->Args({2592, 1944})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FramePipeline)
    ->ArgsProduct({{2048}, {1536}, {0, 1}})
    ->ArgsProduct({{2592}, {1944}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FpgaFramePipeline)->ArgsProduct({{2048}, {1536}, {0, 4, 5}})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kq
