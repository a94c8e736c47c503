// Stitching against pictures cut from one scene at known places: the shifts
// found must be those places' differences, and the stitched picture must be
// the scene inside the effective area.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <complex>
#include <filesystem>
#include <numbers>
#include <random>
#include <string>
#include <thread>

#include "../../bgr/testing/bgr_scene.h"
#include "fft2d.h"
#include "image_stitching.h"
#include "tile_matcher.h"
#include "unique_temp_dir.h"

namespace {

using bgr_testing::Cut;
using bgr_testing::TexturedScene;

TEST(Fft2d, MatchesTheDirectTransformAndInvertsIt) {
    const struct {
        int width;
        int height;
    } sizes[] = {{1, 1}, {8, 4}, {4, 16}, {16, 16}};
    std::mt19937 random(4);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        const int w = size.width;
        const int h = size.height;
        std::vector<std::complex<float>> input(static_cast<std::size_t>(w * h));
        for (auto& v : input) {
            v = {value(random), value(random)};
        }
        Fft2d fft;
        ASSERT_TRUE(fft.Prepare(w, h));
        std::vector<std::complex<float>> data = input;
        fft.Forward(data);
        for (int ky = 0; ky < h; ++ky) {
            for (int kx = 0; kx < w; ++kx) {
                std::complex<double> sum;
                for (int y = 0; y < h; ++y) {
                    for (int x = 0; x < w; ++x) {
                        const double angle = -2.0 * std::numbers::pi * (double(kx) * x / w + double(ky) * y / h);
                        sum += std::complex<double>(input[y * w + x]) * std::polar(1.0, angle);
                    }
                }
                EXPECT_NEAR(data[ky * w + kx].real(), sum.real(), 1e-3);
                EXPECT_NEAR(data[ky * w + kx].imag(), sum.imag(), 1e-3);
            }
        }
        fft.Inverse(data);
        for (std::size_t i = 0; i < data.size(); ++i) {
            EXPECT_NEAR(data[i].real(), input[i].real(), 1e-4);
            EXPECT_NEAR(data[i].imag(), input[i].imag(), 1e-4);
        }
    }
    Fft2d fft;
    EXPECT_FALSE(fft.Prepare(12, 8));
    EXPECT_FALSE(fft.Prepare(8, 0));
}

// A chain of pictures cut from a scene: the first at (x, y), each next one
// at the offset given from the one before.
struct ChainCase {
    const char* name;
    int sceneWidth;
    int sceneHeight;
    int tileWidth;
    int tileHeight;
    int x;
    int y;
    std::vector<TileOffset> offsets;
    ChainDirection direction;
};

std::vector<BgrImage> CutChain(const BgrImage& scene, const ChainCase& c) {
    std::vector<BgrImage> tiles;
    int x = c.x;
    int y = c.y;
    tiles.push_back(Cut(scene, x, y, c.tileWidth, c.tileHeight));
    for (const TileOffset& offset : c.offsets) {
        x += offset.dx;
        y += offset.dy;
        tiles.push_back(Cut(scene, x, y, c.tileWidth, c.tileHeight));
    }
    return tiles;
}

// The canvas and effective area the cuts imply, worked out from the cut
// places rather than by the engine's layout.
struct Expected {
    int originX;  // scene position of canvas pixel (0, 0)
    int originY;
    int width;
    int height;
    StitchRect effective;  // in canvas pixels
};

Expected ExpectedFor(const ChainCase& c) {
    int x = c.x, y = c.y;
    int minX = x, minY = y, maxX = x + c.tileWidth, maxY = y + c.tileHeight;
    int lowTop = y, highBottom = y + c.tileHeight, lowLeft = x, highRight = x + c.tileWidth;
    for (const TileOffset& offset : c.offsets) {
        x += offset.dx;
        y += offset.dy;
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x + c.tileWidth);
        maxY = std::max(maxY, y + c.tileHeight);
        lowTop = std::max(lowTop, y);
        highBottom = std::min(highBottom, y + c.tileHeight);
        lowLeft = std::max(lowLeft, x);
        highRight = std::min(highRight, x + c.tileWidth);
    }
    Expected e{minX, minY, maxX - minX, maxY - minY, {}};
    e.effective = c.direction == ChainDirection::kRow
                      ? StitchRect{0, lowTop - minY, maxX - minX, highBottom - minY}
                      : StitchRect{lowLeft - minX, 0, highRight - minX, maxY - minY};
    return e;
}

// Pixels of the effective area that differ from the scene.
int WrongInside(const BgrImage& scene, std::span<const std::uint8_t> stitched, int width, const Expected& e) {
    int wrong = 0;
    for (int y = e.effective.top; y < e.effective.bottom; ++y) {
        for (int x = e.effective.left; x < e.effective.right; ++x) {
            const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
            const std::size_t source = (static_cast<std::size_t>(y + e.originY) * scene.width + x + e.originX) * 3;
            for (int c = 0; c < 3; ++c) {
                wrong += stitched[at + c] != scene.pixels[source + c] ? 1 : 0;
            }
        }
    }
    return wrong;
}

const ChainCase kChains[] = {
    {"row_right_and_down", 500, 300, 200, 180, 20, 40, {{130, 3}}, ChainDirection::kRow},
    {"row_of_three_drifting", 700, 300, 220, 200, 10, 50, {{150, -4}, {161, 6}}, ChainDirection::kRow},
    {"row_built_right_to_left", 500, 300, 200, 180, 250, 40, {{-137, -2}}, ChainDirection::kRow},
    {"column_of_three", 300, 700, 200, 240, 40, 10, {{5, 170}, {-3, 181}}, ChainDirection::kColumn},
    {"large_row_reduced", 2400, 1000, 1100, 800, 30, 60, {{777, 5}, {803, -7}}, ChainDirection::kRow},
    {"narrow_overlap", 600, 260, 240, 200, 10, 30, {{200, 2}}, ChainDirection::kRow},
};

class StitchChains : public testing::TestWithParam<ChainCase> {};

TEST_P(StitchChains, FindTheCutOffsetsAndGiveTheSceneInsideTheEffectiveArea) {
    const ChainCase& c = GetParam();
    const BgrImage scene = TexturedScene(c.sceneWidth, c.sceneHeight, 21);
    const std::vector<BgrImage> tiles = CutChain(scene, c);
    const std::vector<BgrView> views(tiles.begin(), tiles.end());

    StitchScratch scratch;
    BgrImage canvas;
    StitchRect effective;
    ASSERT_TRUE(StitchChain(views, c.direction, scratch, canvas, effective));
    EXPECT_EQ(scratch.offsets, c.offsets);
    const Expected e = ExpectedFor(c);
    EXPECT_EQ(canvas.width, e.width);
    EXPECT_EQ(canvas.height, e.height);
    EXPECT_EQ(effective, e.effective);
    if (canvas.width == e.width && canvas.height == e.height) {
        EXPECT_EQ(WrongInside(scene, canvas.pixels, canvas.width, e), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Cuts, StitchChains, testing::ValuesIn(kChains),
                         [](const testing::TestParamInfo<ChainCase>& info) { return std::string(info.param.name); });

TEST(TileMatcher, FindsNothingWithoutSharedFeatures) {
    const BgrImage flat = bgr_testing::FlatScene(200, 150, 90, 120, 150);
    const BgrImage textured = TexturedScene(200, 150, 3);
    const BgrImage unrelated = TexturedScene(200, 150, 99);
    // Flat pictures with faint grain: nothing to match by.
    BgrImage grainy = flat;
    std::mt19937 random(8);
    for (std::uint8_t& value : grainy.pixels) {
        value = static_cast<std::uint8_t>(value + static_cast<int>(random() % 3) - 1);
    }
    const struct {
        const char* what;
        const BgrImage& first;
        const BgrImage& second;
    } cases[] = {
        {"both flat", flat, flat},
        {"flat then textured", flat, textured},
        {"textured then flat", textured, flat},
        {"faint grain", grainy, grainy},
        {"unrelated scenes", textured, unrelated},
    };
    TileMatcher matcher;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(matcher.Match(c.first, c.second).has_value());
    }
}

class StitchingEngine : public testing::Test {
protected:
    void SetUp() override {
        folder_ = testing_support::UniqueTempPath(std::string("stitching_") +
                                                  testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path Write(const BgrImage& image, const std::string& name) {
        const std::filesystem::path path = folder_ / name;
        EXPECT_TRUE(bgr_testing::SaveBgr(image, path));
        return path;
    }
    static void WaitUntilDone(const CImageStitching& engine) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (engine.IsProgressing() != 0 && std::chrono::steady_clock::now() < limit) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    std::filesystem::path folder_;
};

TEST_F(StitchingEngine, StitchesAColumnReadFromFiles) {
    const ChainCase c{"files", 320, 600, 250, 220, 30, 20, {{4, 160}, {-6, 150}}, ChainDirection::kColumn};
    const BgrImage scene = TexturedScene(c.sceneWidth, c.sceneHeight, 6);
    const std::vector<BgrImage> tiles = CutChain(scene, c);
    std::vector<std::vector<std::filesystem::path>> table;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        table.push_back({Write(tiles[i], "tile" + std::to_string(i) + ".bmp")});
    }
    CImageStitching engine(table, 1, 3);
    ASSERT_NE(engine.startProgressing(), 0);
    WaitUntilDone(engine);
    EXPECT_EQ(engine.IsProgressing(), 0);
    EXPECT_EQ(engine.getProgressStep(), 100);
    int width = 0;
    int height = 0;
    const std::span<const std::uint8_t> stitched = engine.getDstImage(width, height);
    const Expected e = ExpectedFor(c);
    ASSERT_EQ(width, e.width);
    ASSERT_EQ(height, e.height);
    ASSERT_EQ(stitched.size(), static_cast<std::size_t>(width) * height * 3);
    EXPECT_EQ(engine.getEffectiveArea(), e.effective);
    EXPECT_EQ(WrongInside(scene, stitched, width, e), 0);
    EXPECT_EQ(engine.startProgressing(), 0);  // one stitch per engine
}

TEST_F(StitchingEngine, RefusesOtherShapesAndUnreadablePictures) {
    const BgrImage scene = TexturedScene(300, 200, 2);
    const std::filesystem::path a = Write(Cut(scene, 0, 0, 150, 150), "a.bmp");
    const std::filesystem::path b = Write(Cut(scene, 100, 10, 150, 150), "b.bmp");
    const std::filesystem::path missing = folder_ / "missing.bmp";
    const struct {
        const char* what;
        std::vector<std::vector<std::filesystem::path>> table;
        int columns;
        int rows;
    } cases[] = {
        {"one picture", {{a}}, 1, 1},
        {"two by two", {{a, b}, {a, b}}, 2, 2},
        {"fewer rows than said", {{a, b}}, 2, 2},
        {"row shorter than said", {{a, b}}, 3, 1},
        {"no rows", {}, 2, 0},
        {"missing picture", {{a, missing}}, 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CImageStitching engine(c.table, c.columns, c.rows);
        EXPECT_EQ(engine.startProgressing(), 0);
        EXPECT_EQ(engine.IsProgressing(), 0);
    }
    CImageStitching working({{a, b}}, 2, 1);
    EXPECT_NE(working.startProgressing(), 0);
}

TEST_F(StitchingEngine, FeaturelessPicturesGiveNoResult) {
    const std::filesystem::path a = Write(bgr_testing::FlatScene(160, 120, 40, 80, 120), "a.bmp");
    const std::filesystem::path b = Write(bgr_testing::FlatScene(160, 120, 40, 80, 120), "b.bmp");
    CImageStitching engine({{a, b}}, 2, 1);
    ASSERT_NE(engine.startProgressing(), 0);
    WaitUntilDone(engine);
    int width = -1;
    int height = -1;
    EXPECT_TRUE(engine.getDstImage(width, height).empty());
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    EXPECT_EQ(engine.getEffectiveArea(), StitchRect{});
}

}  // namespace
