// Five 2048 x 1536 pictures fused in memory on one core, next to a memcpy of
// the five pictures' bytes as the yardstick. The fusion reuses its scratch,
// so the loop allocates nothing ("allocs").
#include <benchmark/benchmark.h>

#include <cstring>

#include "../../bgr/testing/bgr_scene.h"
#include "counting_allocator.h"
#include "focus_stack.h"

namespace {

constexpr int kWidth = 2048;
constexpr int kHeight = 1536;
constexpr int kInputs = 5;

const std::vector<BgrImage>& Inputs() {
    static const std::vector<BgrImage> inputs = [] {
        std::vector<BgrImage> images;
        const BgrImage scene = bgr_testing::TexturedScene(kWidth, kHeight, 17);
        for (int i = 0; i < kInputs; ++i) {
            images.push_back(i == 0 ? scene : bgr_testing::BoxBlur(scene, i));
        }
        return images;
    }();
    return inputs;
}

void BM_FuseFive(benchmark::State& state) {
    const std::vector<BgrView> views(Inputs().begin(), Inputs().end());
    std::vector<std::uint8_t> fused(views[0].pixels.size());
    FocusStack stack;
    stack.Reset(kWidth, kHeight);
    testing_support::MeasureFrames(state, fused.size() * kInputs, [&] {
        stack.Reset(kWidth, kHeight);
        for (const BgrView& view : views) {
            stack.Add(view);
        }
        stack.Compose(views, fused);
        benchmark::DoNotOptimize(fused.data());
    });
}
BENCHMARK(BM_FuseFive)->Unit(benchmark::kMillisecond);

void BM_MemcpyFive(benchmark::State& state) {
    const std::vector<BgrImage>& inputs = Inputs();
    std::vector<std::uint8_t> copy(inputs[0].pixels.size());
    testing_support::MeasureFrames(state, copy.size() * kInputs, [&] {
        for (const BgrImage& input : inputs) {
            std::memcpy(copy.data(), input.pixels.data(), copy.size());
            benchmark::DoNotOptimize(copy.data());
        }
    });
}
BENCHMARK(BM_MemcpyFive)->Unit(benchmark::kMillisecond);

}  // namespace
