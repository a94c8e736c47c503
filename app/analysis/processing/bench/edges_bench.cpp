// The edge detector at camera sizes next to its plain reference and a
// memcpy of the same grey bytes. Before timing, each size checks that the
// detector gives the reference's bytes; a mismatch ends the program.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "edge_detection.h"
#include "edge_reference.h"
#include "synthetic_scene.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The synthetic specimen scene in grey, rows bottom-up as pictures hold them.
Bytes GreyScene(int width, int height) {
    const CPicture scene = SyntheticScene(width, height);
    Bytes grey;
    grey.reserve(static_cast<std::size_t>(width) * height);
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* bits = scene.GetBits(row);
        for (int x = 0; x < width; ++x) {
            grey.push_back(static_cast<std::uint8_t>((bits[x * 3] + bits[x * 3 + 1] + bits[x * 3 + 2]) / 3));
        }
    }
    return grey;
}

void CheckSameBytes(const Bytes& grey, int width, int height) {
    Bytes fast(grey.size());
    Bytes plain(grey.size());
    if (!DetectEdges(grey, width, height, 0.1, 0.9, 0.76, fast) ||
        !ReferenceEdges(grey, width, height, 0.1, 0.9, 0.76, plain) || fast != plain) {
        std::fprintf(stderr, "DetectEdges differs from the reference at %dx%d\n", width, height);
        std::exit(1);
    }
}

void Report(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

void BM_Memcpy(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const Bytes grey = GreyScene(width, height);
    Bytes out(grey.size());
    for (auto _ : state) {
        std::memcpy(out.data(), grey.data(), grey.size());
        benchmark::ClobberMemory();
    }
    Report(state, grey.size());
}

void BM_DetectEdges(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const Bytes grey = GreyScene(width, height);
    CheckSameBytes(grey, width, height);
    Bytes edges(grey.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(DetectEdges(grey, width, height, 0.1, 0.9, 0.76, edges));
        benchmark::ClobberMemory();
    }
    Report(state, grey.size());
}

void BM_ReferenceEdges(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const Bytes grey = GreyScene(width, height);
    Bytes edges(grey.size());
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReferenceEdges(grey, width, height, 0.1, 0.9, 0.76, edges));
        benchmark::ClobberMemory();
    }
    Report(state, grey.size());
}

}  // namespace

BENCHMARK(BM_Memcpy)->Args({2048, 1536})->Args({2592, 1944})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DetectEdges)->Args({2048, 1536})->Args({2592, 1944})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReferenceEdges)->Args({2048, 1536})->Args({2592, 1944})->Unit(benchmark::kMillisecond);
