#pragma once
// Counts the heap allocations of a benchmark program, so each benchmark can
// report how many its timed loop made. Defines the global operator new and
// delete: include it in exactly one source file of the program; the other
// files of a program of several define VIZCAM_COUNTING_ALLOCATOR_ELSEWHERE
// before including it.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#if defined(__GNUC__) && !defined(__clang__)
// The counting operator new below hands out malloc memory on purpose.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace testing_support {

inline std::atomic<long> g_allocations{0};

inline long AllocationCount() { return g_allocations.load(std::memory_order_relaxed); }

// Runs `body` per iteration and reports the frame rate, the output bytes and
// the allocations made inside the loop.
template <typename Body>
void MeasureFrames(benchmark::State& state, std::size_t outputBytes, Body&& body) {
    const long before = AllocationCount();
    for (auto _ : state) {
        body();
        benchmark::ClobberMemory();
    }
    state.counters["allocs"] = static_cast<double>(AllocationCount() - before);
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(outputBytes));
}

// The yardstick of the frame benchmarks: a memcpy of `bytes` per frame.
inline void MeasureMemcpy(benchmark::State& state, std::size_t bytes) {
    const std::vector<std::uint8_t> in(bytes, 1);
    std::vector<std::uint8_t> out(bytes);
    MeasureFrames(state, bytes, [&] { std::memcpy(out.data(), in.data(), bytes); });
}

}  // namespace testing_support

#ifndef VIZCAM_COUNTING_ALLOCATOR_ELSEWHERE
void* operator new(std::size_t n) {
    testing_support::g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#endif
