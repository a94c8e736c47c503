// Focus fusion against scenes with a known answer: every input is the scene
// blurred except in a band of its own, so away from the bands' borders the
// fusion must give the scene back exactly.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "../../bgr/testing/bgr_scene.h"
#include "focus_stack.h"
#include "image_process_component.h"
#include "unique_temp_dir.h"

namespace {

using bgr_testing::BoxBlur;
using bgr_testing::TexturedScene;

struct BandCase {
    const char* name;
    int width;
    int height;
    int inputs;
    bool bandsAcross;  // bands of rows, else bands of columns
    int blurRadius;
};

// Input i: the blurred scene with band i left sharp.
std::vector<BgrImage> BandInputs(const BgrImage& scene, const BandCase& c) {
    const BgrImage blurred = BoxBlur(scene, c.blurRadius);
    std::vector<BgrImage> inputs;
    for (int i = 0; i < c.inputs; ++i) {
        BgrImage input = blurred;
        for (int y = 0; y < scene.height; ++y) {
            for (int x = 0; x < scene.width; ++x) {
                const int along = c.bandsAcross ? y : x;
                const int extent = c.bandsAcross ? scene.height : scene.width;
                if (along * c.inputs / extent == i) {
                    const std::size_t at = (static_cast<std::size_t>(y) * scene.width + x) * 3;
                    std::copy_n(scene.pixels.begin() + static_cast<std::ptrdiff_t>(at), 3,
                                input.pixels.begin() + static_cast<std::ptrdiff_t>(at));
                }
            }
        }
        inputs.push_back(std::move(input));
    }
    return inputs;
}

// Pixels farther than `margin` from every border between bands that differ
// from the scene.
int WrongOutsideBorders(const BgrImage& scene, std::span<const std::uint8_t> fused, const BandCase& c, int margin) {
    const int extent = c.bandsAcross ? scene.height : scene.width;
    int wrong = 0;
    for (int y = 0; y < scene.height; ++y) {
        for (int x = 0; x < scene.width; ++x) {
            const int along = c.bandsAcross ? y : x;
            bool nearBorder = false;
            for (int b = 1; b < c.inputs; ++b) {
                const int border = (b * extent + c.inputs - 1) / c.inputs;  // first index of band b
                if (along >= border - margin && along < border + margin) {
                    nearBorder = true;
                }
            }
            const std::size_t at = (static_cast<std::size_t>(y) * scene.width + x) * 3;
            if (!nearBorder && (fused[at] != scene.pixels[at] || fused[at + 1] != scene.pixels[at + 1] ||
                                fused[at + 2] != scene.pixels[at + 2])) {
                ++wrong;
            }
        }
    }
    return wrong;
}

constexpr BandCase kBandCases[] = {
    {"two_row_bands", 160, 120, 2, true, 2},
    {"five_row_bands", 200, 250, 5, true, 2},
    {"three_column_bands_odd_width", 641, 90, 3, false, 3},
    {"four_column_bands_light_blur", 240, 100, 4, false, 1},
};

class FusionBands : public testing::TestWithParam<BandCase> {};

TEST_P(FusionBands, GivesTheSceneBackAwayFromBandBorders) {
    const BandCase& c = GetParam();
    const BgrImage scene = TexturedScene(c.width, c.height, 11);
    const std::vector<BgrImage> inputs = BandInputs(scene, c);
    std::vector<BgrView> views(inputs.begin(), inputs.end());

    FocusStack stack;
    stack.Reset(c.width, c.height);
    for (const BgrView& view : views) {
        ASSERT_TRUE(stack.Add(view));
    }
    std::vector<std::uint8_t> fused(scene.pixels.size());
    ASSERT_TRUE(stack.Compose(views, fused));
    // The window, the Laplacian's neighbour and the blur reach across a border.
    const int margin = FocusStack::kRadius + 1 + c.blurRadius;
    EXPECT_EQ(WrongOutsideBorders(scene, fused, c, margin), 0);
    // The fused picture is no single input: every input is wrong somewhere.
    for (const BgrImage& input : inputs) {
        EXPECT_GT(WrongOutsideBorders(scene, input.pixels, c, margin), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Scenes, FusionBands, testing::ValuesIn(kBandCases),
                         [](const testing::TestParamInfo<BandCase>& info) { return std::string(info.param.name); });

TEST(FocusStack, RefusesInputsOfAnotherSizeAndMismatchedCompose) {
    const BgrImage scene = TexturedScene(64, 48, 3);
    const BgrImage other = TexturedScene(48, 64, 3);
    FocusStack stack;
    stack.Reset(64, 48);
    EXPECT_FALSE(stack.Add(BgrView(other)));
    EXPECT_FALSE(stack.Add(BgrView(64, 48, std::span(scene.pixels).first(100))));
    ASSERT_TRUE(stack.Add(BgrView(scene)));
    std::vector<std::uint8_t> out(scene.pixels.size());
    const BgrView two[] = {BgrView(scene), BgrView(scene)};
    EXPECT_FALSE(stack.Compose(two, out));                      // one input added, two given
    EXPECT_FALSE(stack.Compose(std::span(two, 1), std::span(out).first(out.size() - 3)));
    ASSERT_TRUE(stack.Compose(std::span(two, 1), out));
    EXPECT_EQ(out, scene.pixels);
}

class FusionEngine : public testing::Test {
protected:
    void SetUp() override {
        folder_ = testing_support::UniqueTempPath(std::string("fusion_") +
                                                  testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path Write(const BgrImage& image, const std::string& name, int type = kPictureBmp) {
        const std::filesystem::path path = folder_ / name;
        EXPECT_TRUE(bgr_testing::SaveBgr(image, path, type));
        return path;
    }

    static void WaitUntilDone(const CImageProcessComponent& engine) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (engine.IsProgressing() != 0 && std::chrono::steady_clock::now() < limit) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    std::filesystem::path folder_;
};

TEST_F(FusionEngine, FusesPicturesReadFromFiles) {
    const BandCase c{"files", 641, 120, 3, true, 2};
    const BgrImage scene = TexturedScene(c.width, c.height, 5);
    const std::vector<BgrImage> inputs = BandInputs(scene, c);
    CImageProcessComponent engine;
    int held = 0;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        held = engine.addFilePath(Write(inputs[i], "in" + std::to_string(i) + (i == 1 ? ".png" : ".bmp"),
                                        i == 1 ? kPicturePng : kPictureBmp));
    }
    EXPECT_EQ(held, 3);
    ASSERT_NE(engine.startProgressing(), 0);
    WaitUntilDone(engine);
    EXPECT_EQ(engine.IsProgressing(), 0);
    EXPECT_EQ(engine.getProgressStep(), 100);
    int width = 0;
    int height = 0;
    const std::span<const std::uint8_t> fused = engine.getDstImage(width, height);
    ASSERT_EQ(width, c.width);
    ASSERT_EQ(height, c.height);
    ASSERT_EQ(fused.size(), scene.pixels.size());
    EXPECT_EQ(WrongOutsideBorders(scene, fused, c, FocusStack::kRadius + 1 + c.blurRadius), 0);
}

TEST_F(FusionEngine, RefusesToStartAndGivesNoResult) {
    const BgrImage small = TexturedScene(40, 30, 1);
    const BgrImage large = TexturedScene(41, 30, 1);
    const std::filesystem::path a = Write(small, "a.bmp");
    const std::filesystem::path b = Write(small, "b.bmp");
    const std::filesystem::path wide = Write(large, "wide.bmp");
    const std::filesystem::path missing = folder_ / "missing.bmp";
    const std::filesystem::path garbage = folder_ / "garbage.bmp";
    std::filesystem::copy_file(a, garbage);
    std::filesystem::resize_file(garbage, 20);

    const struct {
        const char* what;
        std::vector<std::filesystem::path> paths;
    } cases[] = {
        {"none", {}},
        {"one picture", {a}},
        {"differing sizes", {a, b, wide}},
        {"missing file", {a, missing}},
        {"damaged file", {garbage, a}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CImageProcessComponent engine;
        for (const std::filesystem::path& path : c.paths) {
            engine.addFilePath(path);
        }
        EXPECT_EQ(engine.startProgressing(), 0);
        EXPECT_EQ(engine.IsProgressing(), 0);
        int width = -1;
        int height = -1;
        EXPECT_TRUE(engine.getDstImage(width, height).empty());
        EXPECT_EQ(width, 0);
        EXPECT_EQ(height, 0);
    }
}

TEST_F(FusionEngine, ServesOneFusionOnly) {
    const BgrImage scene = TexturedScene(40, 30, 2);
    const std::filesystem::path a = Write(scene, "a.bmp");
    const std::filesystem::path b = Write(scene, "b.bmp");
    CImageProcessComponent engine;
    engine.addFilePath(a);
    engine.addFilePath(b);
    ASSERT_NE(engine.startProgressing(), 0);
    // Paths after the start are not taken, and a second start is refused.
    EXPECT_EQ(engine.addFilePath(a), 2);
    EXPECT_EQ(engine.startProgressing(), 0);
    int width = 0;
    int height = 0;
    EXPECT_EQ(std::vector<std::uint8_t>(engine.getDstImage(width, height).begin(),
                                        engine.getDstImage(width, height).end()),
              scene.pixels);
}

TEST_F(FusionEngine, DestructionWaitsForTheWorker) {
    const BgrImage scene = TexturedScene(400, 300, 9);
    const std::filesystem::path a = Write(scene, "a.bmp");
    const std::filesystem::path b = Write(BoxBlur(scene, 1), "b.bmp");
    for (int round = 0; round < 3; ++round) {
        auto engine = std::make_unique<CImageProcessComponent>();
        engine->addFilePath(a);
        engine->addFilePath(b);
        ASSERT_NE(engine->startProgressing(), 0);
        engine.reset();  // joins a worker that may still run (sanitizers watch its memory)
    }
}

}  // namespace
