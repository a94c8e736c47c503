#include <gtest/gtest.h>

#include "thumb_rules.h"

namespace {

TEST(ThumbRules, TheGridTakesFilesByTheEndOfTheirName) {
    const struct {
        const wchar_t* path;
        int type;
    } cases[] = {
        {L"C:\\p\\a.jpg", 2},  {L"C:\\p\\a.JPEG", 2}, {L"C:\\p\\a.Bmp", 1},
        {L"C:\\p\\a.tiff", 3}, {L"C:\\p\\a.tif", 0},  {L"C:\\p\\a.png", 0},
        {L"C:\\p\\a", 0},      {L"jpg", 2},           {L"", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ThumbFileType(c.path), c.type) << static_cast<int>(std::wstring_view(c.path).size());
    }
}

TEST(ThumbRules, PathsCompareWithoutCase) {
    EXPECT_TRUE(SamePath(L"C:\\Photos\\A.JPG", L"c:\\photos\\a.jpg"));
    EXPECT_FALSE(SamePath(L"C:\\Photos\\A.JPG", L"C:\\Photos\\A.JPG "));
    EXPECT_FALSE(SamePath(L"C:\\Photos\\A.JPG", L"C:\\Photos\\B.JPG"));
    EXPECT_EQ(CaptionOf(L"C:\\Photos\\cell one.jpg"), L"cell one.jpg");
    EXPECT_EQ(CaptionOf(L"plain.bmp"), L"plain.bmp");
    EXPECT_EQ(CaptionOf(L"C:\\Photos\\"), L"");
}

}  // namespace
