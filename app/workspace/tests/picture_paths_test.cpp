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

}  // namespace
