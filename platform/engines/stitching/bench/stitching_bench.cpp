// Three 2048 x 1536 pictures cut from one scene, stitched in a row in
// memory on one core, next to a memcpy of the three pictures' bytes as the
// yardstick.
#include <benchmark/benchmark.h>

#include <cstring>

#include "../../bgr/testing/bgr_scene.h"
#include "counting_allocator.h"
#include "image_stitching.h"

namespace {

constexpr int kWidth = 2048;
constexpr int kHeight = 1536;

const std::vector<BgrImage>& Tiles() {
    static const std::vector<BgrImage> tiles = [] {
        const BgrImage scene = bgr_testing::TexturedScene(3 * kWidth, kHeight + 40, 23);
        return std::vector<BgrImage>{bgr_testing::Cut(scene, 0, 10, kWidth, kHeight),
                                     bgr_testing::Cut(scene, 1400, 14, kWidth, kHeight),
                                     bgr_testing::Cut(scene, 2850, 5, kWidth, kHeight)};
    }();
    return tiles;
}

void BM_StitchThree(benchmark::State& state) {
    const std::vector<BgrView> views(Tiles().begin(), Tiles().end());
    StitchScratch scratch;
    BgrImage canvas;
    StitchRect effective;
    // A first stitch sizes the scratch; the timed ones reuse it.
    bool stitched = StitchChain(views, ChainDirection::kRow, scratch, canvas, effective);
    testing_support::MeasureFrames(state, views[0].pixels.size() * views.size(), [&] {
        stitched = StitchChain(views, ChainDirection::kRow, scratch, canvas, effective) && stitched;
        benchmark::DoNotOptimize(canvas.pixels.data());
    });
    if (!stitched) {
        state.SkipWithError("the pictures did not stitch");
    }
}
BENCHMARK(BM_StitchThree)->Unit(benchmark::kMillisecond);

void BM_MemcpyThree(benchmark::State& state) {
    const std::vector<BgrImage>& tiles = Tiles();
    std::vector<std::uint8_t> copy(tiles[0].pixels.size());
    testing_support::MeasureFrames(state, copy.size() * tiles.size(), [&] {
        for (const BgrImage& tile : tiles) {
            std::memcpy(copy.data(), tile.pixels.data(), copy.size());
            benchmark::DoNotOptimize(copy.data());
        }
    });
}
BENCHMARK(BM_MemcpyThree)->Unit(benchmark::kMillisecond);

}  // namespace
