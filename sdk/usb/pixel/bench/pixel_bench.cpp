// Per-frame kernels and the default frame chain at real sensor sizes, each
// next to a memcpy of the same output bytes. Every benchmark also counts heap
// allocations inside its timed loop; the per-frame path must show 0.
#include <benchmark/benchmark.h>

#include "counting_allocator.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>
#include <vector>

#include "bad_pixels.h"
#include "bayer_kernels.h"
#include "cell_kernels.h"
#include "corrected_demosaic.h"
#include "demosaic.h"
#include "flat_field.h"
#include "frame_orientation.h"
#include "gain_tables.h"
#include "gamma_table.h"
#include "point_filters.h"
#include "sharpen_chain.h"
#include "simd_level.h"
#include "tone_tables.h"

#ifdef KQCMOS_BENCH_OPENCV
#include <opencv2/imgproc.hpp>
#endif

namespace kqcmos {
namespace {

using Bytes = std::vector<std::uint8_t>;

FrameSize SizeOf(const benchmark::State& state) {
    return {static_cast<int>(state.range(0)), static_cast<int>(state.range(1))};
}

Bytes RawFrame(FrameSize size) {
    std::mt19937 rng(7);
    Bytes b(FrameBytes(size));
    for (auto& v : b) {
        v = static_cast<std::uint8_t>(60 + rng() % 120);
    }
    return b;
}

void BM_MemcpyRaw(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const Bytes in = RawFrame(size);
    Bytes out(in.size());
    testing_support::MeasureFrames(state, out.size(), [&] { std::memcpy(out.data(), in.data(), out.size()); });
}

// The quarter turn of flip modes 4 and 5 (range(2)), beside BM_MemcpyRaw.
void BM_QuarterTurn(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const Bytes in = RawFrame(size);
    Bytes out(in.size());
    const int mode = static_cast<int>(state.range(2));
    testing_support::MeasureFrames(state, out.size(), [&] {
        FrameSize turned = size;
        benchmark::DoNotOptimize(FlipFrame(mode, turned, out, in));
    });
}

void BM_MemcpyRgb(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const Bytes in(FrameBytes(size, 3), 1);
    Bytes out(in.size());
    testing_support::MeasureFrames(state, out.size(), [&] { std::memcpy(out.data(), in.data(), out.size()); });
}

template <BayerOutput Kind, int Flip>
void BM_Bayer(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const Bytes raw = RawFrame(size);
    Bytes out(FrameBytes(size, Kind == BayerOutput::gray8 ? 1 : 3));
    testing_support::MeasureFrames(state, out.size(),
                                   [&] { benchmark::DoNotOptimize(BayerConvert(Kind, Flip, size, out, raw)); });
}

// The plain colour member, the reference BayerConvert's colour rows are
// checked against.
void BM_BayerToRgbA0Reference(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const Bytes raw = RawFrame(size);
    Bytes out(FrameBytes(size, 3));
    testing_support::MeasureFrames(state, out.size(), [&] { benchmark::DoNotOptimize(BayerToRgbA0(size, out, raw)); });
}

void BM_BayerToRgbA0Sse2(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const Bytes raw = RawFrame(size);
    Bytes out(FrameBytes(size, 3));
    testing_support::MeasureFrames(state, out.size(), [&] {
        benchmark::DoNotOptimize(BayerConvert(BayerOutput::colorRgb, 0, size, out, raw, SimdLevel::sse2));
    });
}

// The colour members of the cameras with green on the cell's diagonal,
// beside BM_BayerToRgbA0 (fast rows) and its plain reference: red on the
// even rows (types 6 and 22, which exchange red and blue after the rows) or
// on the odd rows (the colour camera of type 10).
template <int RedRow>
void BM_CellColour(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const Bytes raw = RawFrame(size);
    Bytes out(FrameBytes(size, 3));
    const BayerCell cell{1 - RedRow, RedRow};
    testing_support::MeasureFrames(state, out.size(), [&] {
        benchmark::DoNotOptimize(CellBayerConvert(BayerOutput::colorRgb, 0, cell, size, out, raw));
    });
}

template <int RedRow>
void BM_CellColourReference(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const Bytes raw = RawFrame(size);
    Bytes out(FrameBytes(size, 3));
    const BayerCell cell{1 - RedRow, RedRow};
    testing_support::MeasureFrames(state, out.size(), [&] {
        benchmark::DoNotOptimize(CellBayerConvertReference(BayerOutput::colorRgb, 0, cell, size, out, raw));
    });
}

void BM_ApplyGainLut(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    Bytes raw = RawFrame(size);
    GainTables tables{GainTable(520), GainTable(500), GainTable(480)};
    testing_support::MeasureFrames(state, raw.size(), [&] { ApplyGainLut(size, raw, tables); });
}

void BM_GammaTable(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    Bytes raw = RawFrame(size);
    GammaTable gamma;
    (void)gamma.SetIndex(20);
    testing_support::MeasureFrames(state, raw.size(), [&] { ApplyTable(raw, gamma.table()); });
}

void BM_FlatFieldApply(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    Bytes raw = RawFrame(size);
    FlatFieldTable table(size);
    (void)table.Build({0, 0, size}, raw);
    testing_support::MeasureFrames(state, raw.size(), [&] {
        benchmark::DoNotOptimize(table.Apply({0, 0, size}, raw));
    });
}

void BM_BadPixelCorrect(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    Bytes raw = RawFrame(size);
    BadPixelTable table;
    Bytes records;
    for (int i = 0; i < 2000; ++i) {
        const int c = 3 + (i * 37) % (size.width - 6);
        const int r = 3 + (i * 53) % (size.height - 6);
        for (const int v : {c, r}) {
            records.push_back(static_cast<std::uint8_t>(v & 0xFF));
            records.push_back(static_cast<std::uint8_t>(v >> 8));
        }
    }
    table.FromBytes(records);
    testing_support::MeasureFrames(state, raw.size(), [&] { table.Correct({0, 0, size}, false, raw); });
}

// Skips a benchmark of a path this CPU cannot run; true when it may run.
bool PathRuns(benchmark::State& state, SimdLevel level) {
    if (!CpuSupports(level)) {
        state.SkipWithError("this CPU lacks the instruction set");
        return false;
    }
    return true;
}

void BM_SaturationReference(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    Bytes rgb(FrameBytes(size, 3), 90);
    testing_support::MeasureFrames(state, rgb.size(), [&] { ApplySaturationReference(size, rgb, 12); });
}

template <SimdLevel Level>
void BM_Saturation(benchmark::State& state) {
    if (!PathRuns(state, Level)) {
        return;
    }
    const FrameSize size = SizeOf(state);
    Bytes rgb(FrameBytes(size, 3), 90);
    testing_support::MeasureFrames(state, rgb.size(), [&] { ApplySaturation(size, rgb, 12, Level); });
}

void BM_SharpnessReference(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    Bytes rgb(FrameBytes(size, 3), 90);
    Bytes scratch(2 * static_cast<std::size_t>(size.width) * 3);
    testing_support::MeasureFrames(
        state, rgb.size(), [&] { benchmark::DoNotOptimize(ApplySharpnessReference(size, 3, rgb, 4, scratch)); });
}

template <SimdLevel Level>
void BM_Sharpness(benchmark::State& state) {
    if (!PathRuns(state, Level)) {
        return;
    }
    const FrameSize size = SizeOf(state);
    Bytes rgb(FrameBytes(size, 3), 90);
    Bytes scratch(2 * static_cast<std::size_t>(size.width) * 3);
    testing_support::MeasureFrames(state, rgb.size(),
                                   [&] { benchmark::DoNotOptimize(ApplySharpness(size, 3, rgb, 4, scratch, Level)); });
}

void BM_Contrast(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    Bytes rgb(FrameBytes(size, 3), 90);
    testing_support::MeasureFrames(state, rgb.size(), [&] { benchmark::DoNotOptimize(AdjustColor(rgb, 40, 0)); });
}

// A demosaiced picture: smooth shading with random detail, so the chain's
// gate is open in some places and shut in others.
Bytes RgbFrame(FrameSize size) {
    std::mt19937 rng(11);
    Bytes b(FrameBytes(size, 3));
    for (std::size_t i = 0; i < b.size(); ++i) {
        const std::size_t x = (i / 3) % static_cast<std::size_t>(size.width);
        b[i] = static_cast<std::uint8_t>(40 + (x / 16) % 120 + ((x / 64) % 3 == 0 ? rng() % 60 : rng() % 4));
    }
    return b;
}

template <typename Chain>
void RunSharpenChain(benchmark::State& state, Chain& chain) {
    const FrameSize size = SizeOf(state);
    const Bytes source = RgbFrame(size);
    Bytes rgb = source;
    testing_support::MeasureFrames(state, rgb.size(), [&] {
        state.PauseTiming();
        std::memcpy(rgb.data(), source.data(), rgb.size());
        state.ResumeTiming();
        benchmark::DoNotOptimize(chain.Run(size, rgb));
    });
}

void BM_SharpenChainReference(benchmark::State& state) {
    SharpenChainReference chain(SizeOf(state));
    RunSharpenChain(state, chain);
}

template <SimdLevel Level>
void BM_SharpenChain(benchmark::State& state) {
    if (!PathRuns(state, Level)) {
        return;
    }
    SharpenChain chain(SizeOf(state), Level);
    RunSharpenChain(state, chain);
}

// How BM_DefaultChain runs the chain and what follows it.
enum ChainForm : std::int64_t {
    kStepsInSequence,     // gain tables, flat field, colour demosaic, each over the frame
    kStepsThenFilters,    // the same, then saturation and sharpness
    kStepsThenReference,  // the same with the plain reference filters
    kOneWalk,             // CorrectAndDemosaic
    kOneWalkThenFilters,  // CorrectAndDemosaic, then saturation and sharpness in one pass
    kOneWalkSse2,         // kOneWalk on the SSE2 path, as a CPU without AVX2 runs it
    kOneWalkThenFiltersSse2,
};

// Gain tables, flat field and colour demosaic, as range(2) says. The steps in
// sequence change the raw frame, so each frame starts from a fresh copy,
// made outside the timing.
void BM_DefaultChain(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    const auto form = static_cast<ChainForm>(state.range(2));
    const bool sse2 = form == kOneWalkSse2 || form == kOneWalkThenFiltersSse2;
    const SimdLevel level = sse2 ? SimdLevel::sse2 : BestSimdLevel();
    const bool oneWalk = sse2 || form == kOneWalk || form == kOneWalkThenFilters;
    const Bytes source = RawFrame(size);
    Bytes raw = source;
    Bytes rgb(FrameBytes(size, 3));
    Bytes scratch(2 * static_cast<std::size_t>(size.width) * 3);
    const SensorWindow window{0, 0, size};
    FlatFieldTable flat(size);
    (void)flat.Build(window, source);
    const RawCorrection correction{{GainTable(520), GainTable(500), GainTable(480)}, &flat, window, std::nullopt};
    const DemosaicSettings colour{0, 0, 0, false};
    DemosaicWork work(size);
    testing_support::MeasureFrames(state, rgb.size(), [&] {
        if (oneWalk) {
            benchmark::DoNotOptimize(CorrectAndDemosaic(colour, correction, size, rgb, raw, work, level));
        } else {
            state.PauseTiming();
            std::memcpy(raw.data(), source.data(), raw.size());
            state.ResumeTiming();
            ApplyGainLut(size, raw, correction.gains);
            (void)flat.Apply(window, raw);
            (void)Demosaic(colour, size, rgb, raw, work);
        }
        if (form == kStepsThenFilters) {
            ApplySaturation(size, rgb, 12);
            (void)ApplySharpness(size, 3, rgb, 4, scratch);
        } else if (form == kOneWalkThenFilters || form == kOneWalkThenFiltersSse2) {
            (void)ApplySaturationAndSharpness(size, rgb, 12, 4, scratch, level);
        } else if (form == kStepsThenReference) {
            ApplySaturationReference(size, rgb, 12);
            (void)ApplySharpnessReference(size, 3, rgb, 4, scratch);
        }
    });
}

#ifdef KQCMOS_BENCH_OPENCV
void BM_OpenCvBayerToBgr(benchmark::State& state) {
    const FrameSize size = SizeOf(state);
    Bytes raw = RawFrame(size);
    Bytes rgb(FrameBytes(size, 3));
    cv::setNumThreads(1);  // one core, like the capture thread
    const cv::Mat in(size.height, size.width, CV_8UC1, raw.data());
    cv::Mat out(size.height, size.width, CV_8UC3, rgb.data());
    testing_support::MeasureFrames(state, rgb.size(), [&] { cv::cvtColor(in, out, cv::COLOR_BayerBG2BGR); });
}
#endif

#define KQCMOS_FRAME_SIZES Args({2048, 1536})->Args({2592, 1944})->Unit(benchmark::kMillisecond)

BENCHMARK(BM_MemcpyRaw)->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_MemcpyRgb)->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_QuarterTurn)
    ->ArgsProduct({{2048}, {1536}, {4, 5}})
    ->ArgsProduct({{2592}, {1944}, {4, 5}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BayerToRgbA0Reference)->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_Bayer<BayerOutput::colorRgb, 0>)->Name("BM_BayerToRgbA0")->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_BayerToRgbA0Sse2)->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_Bayer<BayerOutput::colorRgb, 3>)->Name("BM_BayerToRgbA3")->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_CellColour<0>)->Name("BM_PelvarRgbA0")->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_CellColourReference<0>)->Name("BM_PelvarRgbA0Reference")->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_CellColour<1>)->Name("BM_AlvinoRgbA0")->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_CellColourReference<1>)->Name("BM_AlvinoRgbA0Reference")->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_Bayer<BayerOutput::grayRgb, 0>)->Name("BM_BayerToRgbB0")->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_Bayer<BayerOutput::gray8, 0>)->Name("BM_BayerToGray0")->KQCMOS_FRAME_SIZES;
#ifdef KQCMOS_BENCH_OPENCV
BENCHMARK(BM_OpenCvBayerToBgr)->KQCMOS_FRAME_SIZES;
#endif
BENCHMARK(BM_ApplyGainLut)->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_GammaTable)->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_FlatFieldApply)->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_BadPixelCorrect)->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_SaturationReference)->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_Saturation<SimdLevel::sse2>)->Name("BM_SaturationSse2")->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_Saturation<SimdLevel::avx2>)->Name("BM_SaturationAvx2")->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_SharpnessReference)->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_Sharpness<SimdLevel::sse2>)->Name("BM_SharpnessSse2")->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_Sharpness<SimdLevel::avx2>)->Name("BM_SharpnessAvx2")->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_Contrast)->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_SharpenChainReference)->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_SharpenChain<SimdLevel::sse2>)->Name("BM_SharpenChainSse2")->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_SharpenChain<SimdLevel::avx2>)->Name("BM_SharpenChainAvx2")->KQCMOS_FRAME_SIZES;
BENCHMARK(BM_DefaultChain)
    ->ArgsProduct({{2048},
                   {1536},
                   {kStepsInSequence, kStepsThenFilters, kStepsThenReference, kOneWalk, kOneWalkThenFilters,
                    kOneWalkSse2, kOneWalkThenFiltersSse2}})
    ->ArgsProduct({{2592},
                   {1944},
                   {kStepsInSequence, kStepsThenFilters, kStepsThenReference, kOneWalk, kOneWalkThenFilters,
                    kOneWalkSse2, kOneWalkThenFiltersSse2}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kqcmos
