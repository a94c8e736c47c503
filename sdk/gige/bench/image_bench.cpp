// The GigE per-frame path at real sensor sizes: CImageAlgorithm::Convert per
// output kind with the cameras' default settings, the colour conversion per
// Bayer phase, and a memcpy of each output as the yardstick. Every benchmark
// counts heap allocations inside its timed loop; the per-frame path must
// show 0.
#include <benchmark/benchmark.h>

#include "counting_allocator.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>
#include <vector>

#include "conversion.h"
#include "image_algorithm.h"

namespace kqge {
namespace {

using Bytes = std::vector<std::uint8_t>;

FrameSize SizeOf(const benchmark::State& state) {
    return {static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
}

Bytes RawFrame(std::size_t bytes) {
    std::mt19937 rng(7);
    Bytes b(bytes);
    for (auto& v : b) v = static_cast<std::uint8_t>(60 + rng() % 120);
    return b;
}

class NoCamera final : public ExposureControl {
public:
    std::int32_t ExposureLines() const override { return 100; }
    std::int32_t LinesToExposure(std::int32_t lines) const override { return lines; }
    void SetExposure(std::int32_t) override {}
};

class NoFile final : public AwbSettingsFile {
public:
    bool Exists() const override { return false; }
    AwbGains Read(std::u16string_view) const override { return {}; }
    bool Write(std::u16string_view, const AwbGains&) override { return false; }
};

template <OutputKind Kind>
void BM_MemcpyOutput(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const Bytes in(OutputFrameBytes(size, Kind), 1);
    Bytes out(in.size());
    testing_support::MeasureFrames(state, out.size(), [&] { std::memcpy(out.data(), in.data(), out.size()); });
}

// The whole pipeline with default settings (a colour sensor, phase 3, no
// flip, contrast 32, saturation 8, sharpness 1; 12 valid bits for kind 4).
template <OutputKind Kind>
void BM_Convert(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    NoCamera camera;
    NoFile file;
    CImageAlgorithm algorithm(camera, file, 0x14000);
    algorithm.settings().SetSensor(0, 0);
    algorithm.settings().SetValidBits(12);
    Bytes raw = RawFrame(RawFrameBytes(size, Kind));
    Bytes out(OutputFrameBytes(size, Kind));
    Bytes scratch(ScratchBytes(size, Kind));
    testing_support::MeasureFrames(state, out.size(), [&] {
        benchmark::DoNotOptimize(algorithm.Convert(size, Kind, raw, out, scratch, FramePath::display));
    });
}

template <int Phase>
void BM_ColorPhase(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const Bytes raw = RawFrame(kqcmos::FrameBytes(size));
    Bytes out(kqcmos::FrameBytes(size, 3));
    testing_support::MeasureFrames(state, out.size(),
                                   [&] { benchmark::DoNotOptimize(ConvertToColor(size, Phase, raw, out)); });
}

// Kind 0 with every step on: flip, contrast, continuous white balance,
// correction and tone, saturation and sharpening.
void BM_ConvertAllSteps(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    NoCamera camera;
    NoFile file;
    CImageAlgorithm algorithm(camera, file, 0x14000);
    ImageSettings s;
    s.sensorColorKind = 0;
    s.contrast = 40;
    s.saturation = 12;
    s.sharpness = 4;
    s.flipMode = 1;
    s.hdr = s.convert = true;
    algorithm.settings().Store(s);
    (void)algorithm.SetDoAWB(0, true, nullptr, nullptr);
    Bytes raw = RawFrame(RawFrameBytes(size, OutputKind::color));
    Bytes out(OutputFrameBytes(size, OutputKind::color));
    Bytes scratch(ScratchBytes(size, OutputKind::color));
    testing_support::MeasureFrames(state, out.size(), [&] {
        benchmark::DoNotOptimize(algorithm.Convert(size, OutputKind::color, raw, out, scratch, FramePath::display));
    });
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Args({2048, 1536})->Args({2592, 1944})->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_MemcpyOutput<OutputKind::color>)->Apply(Sizes);
BENCHMARK(BM_MemcpyOutput<OutputKind::grey8>)->Apply(Sizes);
BENCHMARK(BM_MemcpyOutput<OutputKind::wide16>)->Apply(Sizes);
BENCHMARK(BM_Convert<OutputKind::color>)->Apply(Sizes);
BENCHMARK(BM_Convert<OutputKind::grey24>)->Apply(Sizes);
BENCHMARK(BM_Convert<OutputKind::grey8>)->Apply(Sizes);
BENCHMARK(BM_Convert<OutputKind::raw8>)->Apply(Sizes);
BENCHMARK(BM_Convert<OutputKind::wide16>)->Apply(Sizes);
BENCHMARK(BM_Convert<OutputKind::color5>)->Apply(Sizes);
BENCHMARK(BM_ColorPhase<1>)->Apply(Sizes);
BENCHMARK(BM_ColorPhase<2>)->Apply(Sizes);
BENCHMARK(BM_ColorPhase<3>)->Apply(Sizes);
BENCHMARK(BM_ColorPhase<4>)->Apply(Sizes);
BENCHMARK(BM_ConvertAllSteps)->Apply(Sizes);

}  // namespace
}  // namespace kqge
