// The test camera's per-frame path (FramePipeline::Process with the plain
// conversion: colour gains and one kernel) on its 3488 x 2560 frame, next
// to a memcpy of the picture's bytes. A frame must make no heap allocation.
#include <benchmark/benchmark.h>

#include "counting_allocator.h"

#include <cstring>
#include <random>
#include <vector>

#include "core/frame_pipeline.h"

namespace kq {
namespace {

using Bytes = std::vector<std::uint8_t>;
using kqcmos::FrameSize;

constexpr FrameSize kSensor{4096, 4096};
constexpr FrameSize kFrame{3488, 2560};

void BM_MemcpyRgb(benchmark::State& state) {
    const std::size_t bytes = kqcmos::FrameBytes(kFrame, 3);
    const Bytes in(bytes, 1);
    Bytes out(bytes);
    testing_support::MeasureFrames(state, bytes, [&] { std::memcpy(out.data(), in.data(), bytes); });
}

// range(0): colour mode (0 colour, 3 grey); range(1): flip.
void BM_PlainConversion(benchmark::State& state) {
    FramePipeline pipeline(kSensor, false);
    std::mt19937 rng(7);
    for (auto& v : pipeline.CaptureBuffer().first(kqcmos::FrameBytes(kFrame))) v = static_cast<std::uint8_t>(rng());
    pipeline.Gains() = {kqcmos::GainTable(520), kqcmos::GainTable(500), kqcmos::GainTable(480)};
    PictureSettings settings;
    settings.colorMode = static_cast<int>(state.range(0));
    settings.flipMode = static_cast<int>(state.range(1));
    settings.model.kernelForFlip = {3, 2, 1, 0, 3, 3};
    settings.model.colourCell = {1, 0};
    settings.model.plainConversion = true;
    FrameSource source;
    source.window.size = kFrame;
    const int bytesPerPixel = kqcmos::OutputBytesPerPixel(settings.colorMode);
    testing_support::MeasureFrames(state, kqcmos::FrameBytes(kFrame, bytesPerPixel), [&] {
        FrameEvents events;
        benchmark::DoNotOptimize(pipeline.Process(settings, source, events));
    });
}

BENCHMARK(BM_MemcpyRgb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainConversion)->Args({0, 0})->Args({0, 3})->Args({3, 0})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kq
