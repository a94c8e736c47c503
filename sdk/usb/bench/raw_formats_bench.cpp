// The 16-bit cameras' per-frame conversions at 2592 x 1944: RGB 5-6-5 to
// 24-bit BGR and the in-place reduction of 16-bit samples to bytes, each
// beside a memcpy of its output bytes in the same run. Every benchmark
// counts the heap allocations inside its timed loop; a frame must make none.
#include <benchmark/benchmark.h>

#include "counting_allocator.h"

#include <cstring>
#include <random>
#include <vector>

#include "models/raw_formats.h"

namespace kq {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::size_t Pixels(const benchmark::State& state) { return static_cast<std::size_t>(state.range(0) * state.range(1)); }

Bytes Noise(std::size_t bytes) {
    std::mt19937 rng(11);
    Bytes b(bytes);
    for (auto& v : b) v = static_cast<std::uint8_t>(rng());
    return b;
}

void BM_MemcpyRgb(benchmark::State& state) {
    const std::size_t bytes = 3 * Pixels(state);
    const Bytes in(bytes, 1);
    Bytes out(bytes);
    testing_support::MeasureFrames(state, bytes, [&] { std::memcpy(out.data(), in.data(), bytes); });
}

void BM_Rgb565ToBgr(benchmark::State& state) {
    const Bytes in = Noise(2 * Pixels(state));
    Bytes out(3 * Pixels(state));
    testing_support::MeasureFrames(state, out.size(), [&] { benchmark::DoNotOptimize(raw::Rgb565ToBgr(in, out)); });
}

void BM_MemcpyRaw(benchmark::State& state) {
    const std::size_t bytes = Pixels(state);
    const Bytes in(bytes, 1);
    Bytes out(bytes);
    testing_support::MeasureFrames(state, bytes, [&] { std::memcpy(out.data(), in.data(), bytes); });
}

// In place, as the capture buffer is reduced; the samples are restored
// outside the timing so every frame reduces a full 16-bit frame.
void BM_ReduceSamples(benchmark::State& state) {
    const Bytes samples = Noise(2 * Pixels(state));
    Bytes frame = samples;
    testing_support::MeasureFrames(state, Pixels(state), [&] {
        benchmark::DoNotOptimize(raw::ReduceSamplesInPlace(frame, raw::SampleByte::high));
        state.PauseTiming();
        std::memcpy(frame.data(), samples.data(), samples.size());
        state.ResumeTiming();
    });
}

BENCHMARK(BM_MemcpyRgb)->Args({2592, 1944})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rgb565ToBgr)->Args({2592, 1944})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemcpyRaw)->Args({2592, 1944})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReduceSamples)->Args({2592, 1944})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kq
