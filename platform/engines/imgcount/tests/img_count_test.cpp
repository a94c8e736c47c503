#include <gtest/gtest.h>

#include "img_count.h"

namespace {

// 2 x 2 BGR, rows bottom-up padded to 8 bytes.
const std::vector<std::uint8_t> kPixels = {
    10, 20, 30, 40, 50, 60, 0xEE, 0xEE,   // bottom row
    0, 0, 255, 255, 255, 255, 0xEE, 0xEE,  // top row: red, white
};

TEST(ImgCount, GreyModes) {
    CIMGCount engine;
    ASSERT_TRUE(engine.Init(kPixels, 2, 2));
    struct Case { int mode; std::vector<std::uint8_t> grey; };
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
