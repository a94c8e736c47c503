// The model cameras' per-frame kernels: the YUV conversion and its chain,
// and the contrast-demosaic colour kernel, each beside the colour demosaic
// and a memcpy of its output bytes at the same size. Heap allocations in
// the timed loops are counted; they must be 0.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "bayer_kernels.h"
#include "contrast_kernels.h"
#include "counting_allocator.h"
#include "gain_tables.h"
#include "yuv_frame.h"

namespace kqcmos {
namespace {

using Bytes = std::vector<std::uint8_t>;

FrameSize SizeOf(const benchmark::State& state) {
    return {static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
}

Bytes Random(std::size_t bytes, int low, int span) {
    std::mt19937 rng(5);
    Bytes b(bytes);
    for (auto& v : b) v = static_cast<std::uint8_t>(low + static_cast<int>(rng() % static_cast<unsigned>(span)));
    return b;
}

void BM_ModelMemcpyRgb(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const Bytes in(FrameBytes(size, 3), 1);
    Bytes out(in.size());
    testing_support::MeasureFrames(state, out.size(), [&] { std::memcpy(out.data(), in.data(), out.size()); });
}

void BM_ModelBayerToRgbA0(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const Bytes raw = Random(FrameBytes(size), 60, 120);
    Bytes out(FrameBytes(size, 3));
    testing_support::MeasureFrames(
        state, out.size(), [&] { benchmark::DoNotOptimize(BayerConvert(BayerOutput::colorRgb, 0, size, out, raw)); });
}

// range(2): 0 the conversion alone, 1 the YUV camera's default chain
// (conversion and gain tables on the picture); range(3): 0 the plain
// per-pixel rows, 1 the model kernels of the best instruction set.
void BM_ConvertYuvFrame(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const bool chain = state.range(2) == 1;
    const bool fast = state.range(3) == 1;
    Bytes yuv = Random(FrameBytes(size, 2), 16, 220);
    Bytes rgb(FrameBytes(size, 3));
    const GainTables tables{GainTable(520), GainTable(500), GainTable(480)};
    testing_support::MeasureFrames(state, rgb.size(), [&] {
        FrameSize converted = size;
        benchmark::DoNotOptimize(fast ? ConvertYuvFrame(converted, 0, rgb, yuv)
                                      : ConvertYuvFrameReference(converted, 0, rgb, yuv));
        if (chain) ApplyGainLutBgr(rgb, tables);
    });
}

// range(2): 0 the plain kernel, 1 the model kernels of the best
// instruction set.
void BM_BayerToRgbContrast(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const bool fast = state.range(2) == 1;
    const Bytes source = Random(FrameBytes(size), 60, 120);
    Bytes raw = source;
    Bytes rgb(FrameBytes(size, 3));
    testing_support::MeasureFrames(state, rgb.size(), [&] {
        std::memcpy(raw.data(), source.data(), raw.size());  // the kernel changes its input
        benchmark::DoNotOptimize(fast ? BayerToRgbContrast(size, rgb, raw, 24)
                                      : BayerToRgbContrastReference(size, rgb, raw, 24));
    });
}

#define KQCMOS_MODEL_SIZES Args({1280, 1024})->Args({1600, 1200})->Args({2048, 1536})->Unit(benchmark::kMillisecond)

BENCHMARK(BM_ModelMemcpyRgb)->KQCMOS_MODEL_SIZES;
BENCHMARK(BM_ModelBayerToRgbA0)->KQCMOS_MODEL_SIZES;
BENCHMARK(BM_ConvertYuvFrame)->ArgsProduct({{1280}, {1024}, {0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BayerToRgbContrast)
    ->ArgsProduct({{1600}, {1200}, {0, 1}})
    ->ArgsProduct({{2048}, {1536}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kqcmos
