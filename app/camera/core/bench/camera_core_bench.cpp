// Crosshair lines and the single cross on a full 2592 x 1944 24-bit frame,
// next to a memcpy of the frame's bytes. Every benchmark counts heap
// allocations inside its timed loop; the frame path must show 0.
#include <benchmark/benchmark.h>

#include "counting_allocator.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "colour_ref.h"
#include "cross_line_list.h"
#include "cross_lines.h"
#include "frame_overlay.h"

namespace {

constexpr int kWidth = 2592;
constexpr int kHeight = 1944;
constexpr std::size_t kFrameBytes = std::size_t(kWidth) * kHeight * 3;

// Entries spread over the frame, every one drawn.
void FillList(CrossLineList& list, int count) {
    list.Grow(count);
    for (int i = 0; i < count; ++i) {
        list.Set(i, {i, 1, 0, (i * 97) % kWidth, (i * 89) % kHeight, MakeColourRef(255, 255, 0)});
    }
}

void ReportAllocations(benchmark::State& state, long before) {
    state.counters["allocs"] = double(testing_support::AllocationCount() - before);
}

void BM_MemcpyFrame(benchmark::State& state) {
    std::vector<std::uint8_t> source(kFrameBytes, 1), frame(kFrameBytes);
    const long before = testing_support::AllocationCount();
    for (auto _ : state) {
        std::memcpy(frame.data(), source.data(), kFrameBytes);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    ReportAllocations(state, before);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kFrameBytes));
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

void BM_DrawCrossLines(benchmark::State& state) {
    std::vector<std::uint8_t> frame(kFrameBytes, 1);
    CrossLineList list;
    FillList(list, int(state.range(0)));
    const CameraFrame view{frame, kWidth, kHeight, 24};
    const long before = testing_support::AllocationCount();
    for (auto _ : state) {
        list.DrawInto(view);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_DrawCrossLines)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_DrawSingleCross(benchmark::State& state) {
    std::vector<std::uint8_t> frame(kFrameBytes, 1);
    const CameraFrame view{frame, kWidth, kHeight, 24};
    const long before = testing_support::AllocationCount();
    for (auto _ : state) {
        DrawSingleCross(view, {true, true, 0, 0});
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_DrawSingleCross)->Unit(benchmark::kMicrosecond);

// The whole step a camera's frame callback runs: the list and the single
// cross through the overlay, with the geometry taken under its lock.
void BM_FrameOverlay(benchmark::State& state) {
    std::vector<std::uint8_t> frame(kFrameBytes, 1);
    CrossLineList list;
    FillList(list, int(state.range(0)));
    FrameOverlay overlay(list);
    overlay.SetGeometry({kWidth, kHeight, 24});
    overlay.SetSingleCross({true, false, 100, 200});
    const long before = testing_support::AllocationCount();
    for (auto _ : state) {
        overlay.DrawInto(frame.data());
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_FrameOverlay)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace
