// The browser lists' platform-free rules: which names they take, their
// order, and how a packed mouse point reads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file_kinds.h"
#include "newest_first.h"
#include "screen_point.h"

TEST(FileKinds, PictureCodesAndDrawingsByExtensionWithoutCase) {
    const struct {
        const wchar_t* name;
        int code;
        bool listed;
    } cases[] = {
        {L"a.bmp", 1, true},         {L"A.BMP", 1, true},     {L"a.jpg", 2, true},  {L"a.JPEG", 2, true},
        {L"a.tif", 3, true},         {L"a.Tiff", 3, true},    {L"a.png", 0, false}, {L"a.kqmk", 0, true},
        {L"C:\\x\\B.KQMK", 0, true}, {L"kqmk.txt", 0, false}, {L"", 0, false},      {L"bmp", 1, true},
        {L"a.jpg.bak", 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsImageFileName(c.name), c.code) << c.name;
        EXPECT_EQ(IsBrowserFileName(c.name), c.listed) << c.name;
    }
}

TEST(FileKinds, WorkbooksFollowTheInstalledVersionsExtension) {
    const struct {
        const wchar_t* name;
        const wchar_t* version;
        DocumentType type;
    } cases[] = {
        {L"r.doc", L"11.0", DocumentType::word},          {L"r.DOC", L"16.0", DocumentType::word},
        {L"r.xls", L"11.0", DocumentType::workbook},      {L"r.xlsx", L"11.0", DocumentType::none},
        {L"r.xls", L"12.0", DocumentType::none},          {L"r.xlsx", L"12.0", DocumentType::workbookXlsx},
        {L"r.XLSX", L"13.0", DocumentType::workbookXlsx}, {L"r.xlsx", L"14.0", DocumentType::workbookXlsx},
        {L"r.xls", L"14.0", DocumentType::none},          {L"r.xlsx", L"16.0", DocumentType::workbookXlsx},
        {L"r.docx", L"16.0", DocumentType::none},         {L"r.txt", L"11.0", DocumentType::none},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetDocumentType(c.name, c.version), c.type) << c.name << " with " << c.version;
    }
}

TEST(NewestFirst, OrdersByTimeDescendingKeepingEnumerationOrderForEqualTimes) {
    std::vector<DatedFile> files = {
        {L"old", 100}, {L"tie1", 300}, {L"new", 900}, {L"tie2", 300}, {L"oldest", 5}, {L"tie3", 300},
    };
    EXPECT_EQ(NewestFirst(files), (std::vector<std::wstring>{L"new", L"tie1", L"tie2", L"tie3", L"old", L"oldest"}));
    EXPECT_TRUE(NewestFirst({}).empty());
}

TEST(NewestFirst, ManyFilesComeOutSortedAndComplete) {
    std::vector<DatedFile> files;
    for (int i = 0; i < 2000; ++i) {
        files.push_back({std::to_wstring(i), (i * 7919) % 500});
    }
    const std::vector<std::wstring> sorted = NewestFirst(files);
    ASSERT_EQ(sorted.size(), files.size());
    for (std::size_t k = 1; k < sorted.size(); ++k) {
        const DatedFile& before = files[std::stoi(sorted[k - 1])];
        const DatedFile& after = files[std::stoi(sorted[k])];
        ASSERT_GE(before.lastWrite, after.lastWrite) << k;
        if (before.lastWrite == after.lastWrite) {
            ASSERT_LT(std::stoi(sorted[k - 1]), std::stoi(sorted[k])) << k;
        }
    }
}

TEST(UnpackSignedPoint, WordsLeftOfAndAboveThePrimaryScreenStayNegative) {
    const struct {
        std::uint32_t packed;
        ScreenPoint point;
    } cases[] = {
        {0x00140064u, {100, 20}},
        {0xFFCEFED4u, {-300, -50}},
        {0x0005FFFFu, {-1, 5}},
        {0x80007FFFu, {32767, -32768}},
        {0u, {0, 0}},
    };
    for (const auto& c : cases) {
        const ScreenPoint p = UnpackSignedPoint(c.packed);
        EXPECT_EQ(p.x, c.point.x) << std::hex << c.packed;
        EXPECT_EQ(p.y, c.point.y) << std::hex << c.packed;
    }
}
