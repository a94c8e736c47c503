#include <gtest/gtest.h>

#include "unique_temp_dir.h"

#include "img_count.h"

namespace {

// 2 x 2 BGR, rows bottom-up padded to 8 bytes.
const std::vector<std::uint8_t> kPixels = {
    10, 20, 30,  40,  50,  60,  0xEE, 0xEE,  // bottom row
    0,  0,  255, 255, 255, 255, 0xEE, 0xEE,  // top row: red, white
};

TEST(ImgCount, GreyModes) {
    CIMGCount engine;
    ASSERT_TRUE(engine.Init(kPixels, 2, 2));
    struct Case {
        int mode;
        std::vector<std::uint8_t> grey;
    };
    for (const Case& c : {Case{0, {30, 60, 255, 255}}, Case{1, {20, 50, 0, 255}}, Case{2, {10, 40, 0, 255}},
                          Case{3, {22, 52, 76, 255}}}) {
        ASSERT_TRUE(engine.MakeGreyImage(c.mode));
        EXPECT_EQ(std::vector<std::uint8_t>(engine.GetGreyImage().begin(), engine.GetGreyImage().end()), c.grey)
            << c.mode;
    }
    EXPECT_FALSE(engine.MakeGreyImage(4));
    engine.SetMarkColor(0x00FF00);
    EXPECT_EQ(engine.GetMarkColor(), 0x00FF00u);
}

TEST(ImgCount, RejectsShortBlocks) {
    CIMGCount engine;
    EXPECT_FALSE(engine.Init(std::span(kPixels).first(15), 2, 2));
    EXPECT_FALSE(engine.Init(kPixels, 0, 2));
    EXPECT_FALSE(engine.MakeGreyImage(3));
    EXPECT_EQ(engine.GetWidth(), 0);
}

}  // namespace

namespace {

TEST(ImgCount, EdgeImageAndSelectionSurviveTheirFiles) {
    const std::filesystem::path file = testing_support::UniqueTempPath("vz_imgcount_edge.bmp");
    CIMGCount engine;
    int x = -1, y = -1, w = -1, h = -1;
    EXPECT_FALSE(engine.GetSelection(x, y, w, h));
    EXPECT_FALSE(engine.saveEdgeImg(file, 1));
    ASSERT_TRUE(engine.Init(kPixels, 2, 2));
    engine.EdgeImage()[1] = 255;
    engine.EdgeImage()[2] = 255;
    ASSERT_TRUE(engine.saveEdgeImg(file, 1));

    CIMGCount other;
    ASSERT_TRUE(other.Init(kPixels, 2, 2));
    ASSERT_TRUE(other.loadEdgeImg(file));
    EXPECT_EQ(std::vector<std::uint8_t>(other.EdgeImage().begin(), other.EdgeImage().end()),
              (std::vector<std::uint8_t>{0, 255, 255, 0}));

    // A file of another size leaves the edge image as it was.
    const std::vector<std::uint8_t> three(12 * 1, 0);
    CIMGCount wide;
    ASSERT_TRUE(wide.Init(three, 3, 1));
    wide.EdgeImage()[0] = 255;
    EXPECT_FALSE(wide.loadEdgeImg(file));
    EXPECT_EQ(wide.EdgeImage()[0], 255);

    engine.SetSelection(1, 2, 3, 4);
    ASSERT_TRUE(engine.GetSelection(x, y, w, h));
    EXPECT_EQ(std::vector<int>({x, y, w, h}), (std::vector<int>{1, 2, 3, 4}));
    engine.ReleaseSelection();
    EXPECT_FALSE(engine.GetSelection(x, y, w, h));
    std::filesystem::remove(file);
}

}  // namespace
