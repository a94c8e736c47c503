// How the view reads the names of the files it opens.
#include <gtest/gtest.h>

#include "picture_paths.h"

namespace {

TEST(PicturePathsTest, TypeCodeByExtensionWithoutRegardToCase) {
    struct Case {
        const wchar_t* path;
        int type;
    };
    const Case cases[] = {{L"C:\\p\\a.bmp", 1}, {L"C:\\p\\a.BMP", 1},  {L"C:\\p\\a.jpg", 2},     {L"C:\\p\\a.JpEg", 2},
                          {L"C:\\p\\a.tif", 3}, {L"C:\\p\\a.TIFF", 3}, {L"C:\\p\\a.png", 0},     {L"C:\\p\\a.kqmk", 0},
                          {L"C:\\p\\a", 0},     {L"C:\\p.bmp\\a", 0},  {L"C:\\p\\a.bmp.jpg", 2}, {L"C:\\p\\a.bmpx", 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(PictureTypeOfPath(c.path), c.type) << c.path;
    }
}

TEST(PicturePathsTest, DrawingDocumentsEndInKqmk) {
    EXPECT_TRUE(IsDrawingDocumentPath(L"C:\\p\\a.kqmk"));
    EXPECT_TRUE(IsDrawingDocumentPath(L"C:\\p\\a.KQMK"));
    EXPECT_FALSE(IsDrawingDocumentPath(L"C:\\p\\a.kqm"));
    EXPECT_FALSE(IsDrawingDocumentPath(L"qmk"));
    EXPECT_FALSE(IsDrawingDocumentPath(L"C:\\p\\a.kqmk.bmp"));
}

TEST(PicturePathsTest, FileNameIsThePartAfterTheLastBackslash) {
    EXPECT_EQ(FileNameOfPath(L"C:\\p\\q\\a.kqmk"), L"a.kqmk");
    EXPECT_EQ(FileNameOfPath(L"a.kqmk"), L"a.kqmk");
    EXPECT_EQ(FileNameOfPath(L"C:\\p\\"), L"");
}

TEST(PicturePathsTest, TheUsersShotNameReplacesTheTemporaryOneOrIsRefused) {
    const std::wstring shot = L"C:\\pics\\ShotPictemp_0.bmp";
    EXPECT_EQ(NamedShotPath(shot, L"slide 1", 1), L"C:\\pics\\slide 1.bmp");
    EXPECT_EQ(NamedShotPath(shot, L"slide", 2), L"C:\\pics\\slide.jpg");
    EXPECT_EQ(NamedShotPath(shot, L"slide", 3), L"C:\\pics\\slide.tiff");
    const std::wstring refusedNames[] = {L"",   L".",  L"..",   L"a\\b", L"..\\up", L"a/b",  L"C:x",
                                         L"a*", L"a?", L"a\"b", L"a<b",  L"a|b",    L"a\tb", L"a\nb"};
    for (const std::wstring& name : refusedNames) {
        EXPECT_FALSE(NamedShotPath(shot, name, 1).has_value()) << name;
    }
    EXPECT_FALSE(NamedShotPath(shot, L"slide", 0).has_value());
    EXPECT_FALSE(NamedShotPath(shot, L"slide", 4).has_value());
    EXPECT_FALSE(NamedShotPath(L"C:\\pics\\Shot_1.bmp", L"slide", 1).has_value());
}

TEST(PicturePathsTest, ATimeStampGoesBeforeTheExtension) {
    const LocalTime time{2026, 3, 4, 5, 6, 7, 89};
    EXPECT_EQ(TimestampedPath(L"C:\\p\\ShotPictemp_0.bmp", time), L"C:\\p\\ShotPictemp_0_202603040506070089.bmp");
    EXPECT_EQ(TimestampedPath(L"C:\\p.d\\shot", time), L"C:\\p.d\\shot_202603040506070089");
}

}  // namespace
