#include <gtest/gtest.h>

#include <string>

#include "command_line.h"

namespace {

struct PathCase {
    const wchar_t* commandLine;
    const wchar_t* path;
};

class ExtractDocumentPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(ExtractDocumentPathTest, TakesTheTextBetweenTheOuterQuotes) {
    EXPECT_EQ(ExtractDocumentPath(GetParam().commandLine), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, ExtractDocumentPathTest,
                         ::testing::Values(PathCase{L"\"C:\\My Pictures\\cells.kqmk\"", L"C:\\My Pictures\\cells.kqmk"},
                                           PathCase{L"C:\\cells.kqmk", L"C:\\cells.kqmk"}, PathCase{L"", L""},
                                           // Inner quotes stay: only the first and the last count.
                                           PathCase{L"\"a\" \"b.kqmk\"", L"a\" \"b.kqmk"},
                                           PathCase{L"/x \"C:\\a.kqmk\"", L"C:\\a.kqmk"},
                                           // A lone quote gives the text after it.
                                           PathCase{L"\"C:\\a.kqmk", L"C:\\a.kqmk"}, PathCase{L"\"\"", L""}));

TEST(NamesDrawingDocument, NeedsKqmkInLowerCase) {
    EXPECT_TRUE(NamesDrawingDocument(L"C:\\a.kqmk"));
    EXPECT_TRUE(NamesDrawingDocument(L"kqmk"));
    EXPECT_FALSE(NamesDrawingDocument(L"C:\\a.KQMK"));
    EXPECT_FALSE(NamesDrawingDocument(L"C:\\picture.bmp"));
    EXPECT_FALSE(NamesDrawingDocument(L""));
}

}  // namespace
