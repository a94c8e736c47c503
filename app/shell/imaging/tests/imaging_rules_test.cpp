// The fusion and stitching dialogs' platform-free rules: engine pixels into
// a picture, the saved type by file name, the grid's shape.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "engine_result.h"
#include "stitch_grid_shape.h"

namespace {

std::vector<std::uint8_t> NumberedRows(int width, int height) {
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = static_cast<std::uint8_t>((i * 7 + i / 3) % 251);
    }
    return rows;
}

TEST(PictureFromEngineRows, CopiesEveryRowIntoThePaddedPictureTopDown) {
    // Widths whose rows the picture pads by 0 to 3 bytes.
    for (const int width : {1, 2, 3, 4, 641, 642}) {
        SCOPED_TRACE(width);
        const int height = 5;
        const std::vector<std::uint8_t> rows = NumberedRows(width, height);
        CPicture picture;
        ASSERT_TRUE(PictureFromEngineRows(rows, width, height, picture));
        ASSERT_EQ(picture.GetWidth(), width);
        ASSERT_EQ(picture.GetHeight(), height);
        EXPECT_EQ(picture.GetBpp(), 24);
        EXPECT_EQ(picture.GetType(), kPictureBmp);
        int wrong = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
                const std::uint32_t rgb = (std::uint32_t{rows[at + 2]} << 16) | (std::uint32_t{rows[at + 1]} << 8) |
                                          rows[at];
                wrong += picture.GetPixelColor(x, y) == rgb ? 0 : 1;
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(PictureFromEngineRows, RefusesRowsThatDoNotMatchTheSizeAndKeepsThePicture) {
    const std::vector<std::uint8_t> rows = NumberedRows(641, 4);
    const struct {
        const char* what;
        std::size_t bytes;
        int width;
        int height;
    } cases[] = {
        {"a byte short", rows.size() - 1, 641, 4},
        {"a row short", rows.size() - 641 * 3, 641, 4},
        {"rows padded to 4 bytes", 1924 * 4, 641, 4},
        {"more than the size", rows.size(), 641, 3},
        {"no width", 0, 0, 4},
        {"negative height", rows.size(), 641, -4},
        {"beyond the picture limit", rows.size(), CPicture::kMaxSide + 1, 1},
    };
    std::vector<std::uint8_t> source = rows;
    source.resize(rows.size() + 64, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CPicture picture(8, 2, 24, kPictureJpeg);
        EXPECT_FALSE(PictureFromEngineRows(std::span(source).first(c.bytes), c.width, c.height, picture));
        EXPECT_EQ(picture.GetWidth(), 8);
        EXPECT_EQ(picture.GetType(), kPictureJpeg);
    }
}

TEST(ResultPictureType, FollowsTheExtensionAndOtherwiseWritesJpeg) {
    const struct {
        const wchar_t* path;
        int type;
    } cases[] = {
        {L"C:\\out\\a.jpg", kPictureJpeg}, {L"C:\\out\\a.BMP", kPictureBmp}, {L"C:\\out\\a.tiff", kPictureTiff},
        {L"C:\\out\\a.Tiff", kPictureTiff}, {L"C:\\out\\a.png", kPictureJpeg}, {L"C:\\out\\a.tif", kPictureJpeg},
        {L"C:\\out\\a", kPictureJpeg},     {L"C:\\out.bmp\\a", kPictureJpeg},  {L"C:\\out\\a.bmp.jpeg", kPictureJpeg},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ResultPictureType(c.path), c.type) << std::string(c.path, c.path + std::wcslen(c.path));
    }
}

TEST(StitchGridShape, OneRowOrOneColumnOfAtLeastTwoTheLastChoiceWinning) {
    const struct {
        bool rowsChosen;
        int rows;
        int columns;
        StitchGridShape shape;
    } cases[] = {
        {true, 3, 2, {3, 1}},  {true, 1, 1, {2, 1}},   {true, 1, 5, {1, 5}},  {true, 20, 1, {20, 1}},
        {false, 1, 1, {1, 2}}, {false, 3, 4, {1, 4}},  {false, 6, 1, {6, 1}}, {false, 1, 20, {1, 20}},
        {true, 2, 20, {2, 1}}, {false, 20, 2, {1, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.rows) + " x " + std::to_string(c.columns) + (c.rowsChosen ? " rows" : " columns"));
        EXPECT_EQ(c.rowsChosen ? AfterRowsChosen(c.rows, c.columns) : AfterColumnsChosen(c.rows, c.columns), c.shape);
    }
}

}  // namespace
