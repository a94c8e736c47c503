// Finding and measuring about 2000 cells in a 2048 x 1536 picture, next to
// a memcpy of the picture's bytes as the yardstick; one pen or eraser step
// of a drag over a 2592 x 1944 picture, next to a repaint of all its marks.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "../tests/count_scene.h"
#include "img_count.h"

namespace {

constexpr int kWidth = 2048;
constexpr int kHeight = 1536;

// Discs of radius 6 to 12 on a 50 x 40 lattice of cells with jittered
// centres, so none touch: 2000 targets.
const std::vector<std::uint8_t>& CellPicture() {
    static const std::vector<std::uint8_t> bits = [] {
        CountScene scene(kWidth, kHeight, 210);
        std::mt19937 random(7);
        for (int row = 0; row < 40; ++row) {
            for (int column = 0; column < 50; ++column) {
                const int radius = 6 + static_cast<int>(random() % 7);
                const int x = column * 40 + 20 + static_cast<int>(random() % 5) - 2;
                const int y = row * 38 + 19 + static_cast<int>(random() % 5) - 2;
                const std::uint8_t grey = static_cast<std::uint8_t>(30 + random() % 60);
                for (int py = y - radius; py <= y + radius; ++py) {
                    for (int px = x - radius; px <= x + radius; ++px) {
                        if ((px - x) * (px - x) + (py - y) * (py - y) <= radius * radius) {
                            scene.At(px, py) = grey;
                        }
                    }
                }
            }
        }
        return scene.Bits();
    }();
    return bits;
}

void BM_CreatAimImg(benchmark::State& state) {
    CIMGCount engine;
    engine.Initialize(CellPicture(), kWidth, kHeight);
    engine.creatGrayImg(3);
    engine.creatEdgeImg(0, 0, 1);
    for (auto _ : state) {
        engine.creatAimImg();
        benchmark::DoNotOptimize(engine.getObjectVector().data());
    }
    state.counters["targets"] = static_cast<double>(engine.getObjectVector().size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(CellPicture().size()));
}
BENCHMARK(BM_CreatAimImg)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MemcpyPicture(benchmark::State& state) {
    const std::vector<std::uint8_t>& bits = CellPicture();
    std::vector<std::uint8_t> copy(bits.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), bits.data(), bits.size());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bits.size()));
}
BENCHMARK(BM_MemcpyPicture)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

constexpr int kCameraWidth = 2592;
constexpr int kCameraHeight = 1944;

// The camera's full picture with cells on the same lattice, marks painted.
struct PenScene {
    std::vector<std::uint8_t> bits;
    CIMGCount engine;

    PenScene() {
        CountScene scene(kCameraWidth, kCameraHeight, 210);
        // Each disc drawn about its centre: a whole-picture pass per disc
        // would take minutes.
        constexpr int kRadius = 10;
        for (int y = 19; y + kRadius < kCameraHeight; y += 38) {
            for (int x = 20; x + kRadius < kCameraWidth; x += 40) {
                for (int py = y - kRadius; py <= y + kRadius; ++py) {
                    for (int px = x - kRadius; px <= x + kRadius; ++px) {
                        if ((px - x) * (px - x) + (py - y) * (py - y) <= kRadius * kRadius) {
                            scene.At(px, py) = 60;
                        }
                    }
                }
            }
        }
        bits = scene.Bits();
        engine.Initialize(bits, kCameraWidth, kCameraHeight);
        engine.creatGrayImg(3);
        engine.creatEdgeImg(0, 0, 1);
        engine.DrawMarkInSrcIMGAfterEdge(bits, false);
    }
};

// One mouse move of the large pen or eraser over the cells: the mask edit
// and the repaint of the marks into the picture. Pen and eraser take turns
// at each point, so every step changes pixels.
void BM_PenStep(benchmark::State& state) {
    PenScene scene;
    int x = 0;
    int y = kCameraHeight / 2;
    bool erase = false;
    int changed = 0;
    for (auto _ : state) {
        if (!erase) {
            x = (x + 3) % kCameraWidth;
            if (x < 3) {
                y = (y + 7) % kCameraHeight;
            }
        }
        changed += scene.engine.ErasureOrCreatObjByPix(scene.bits, x, y, 5, erase);
        erase = !erase;
    }
    state.counters["changed"] = benchmark::Counter(static_cast<double>(changed), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PenStep)->Unit(benchmark::kMicrosecond);

// The marks of the whole picture painted again from the source, which a
// pen step avoids.
void BM_WholeMarkRepaint(benchmark::State& state) {
    PenScene scene;
    const std::span<const std::uint8_t> source = scene.engine.getSrcImgBits();
    for (auto _ : state) {
        std::copy(source.begin(), source.end(), scene.bits.begin());
        benchmark::DoNotOptimize(scene.engine.DrawMarkInSrcIMGAfterEdge(scene.bits, false));
    }
}
BENCHMARK(BM_WholeMarkRepaint)->Unit(benchmark::kMillisecond);

}  // namespace
