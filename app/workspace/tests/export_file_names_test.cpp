// The workbook and document names of the Office exports.
#include <gtest/gtest.h>

#include <set>

#include "export_file_names.h"

namespace fs = std::filesystem;

namespace {

const LocalTime kStamp{2026, 3, 4, 5, 6, 7, 89};

}  // namespace

TEST(ExportFileNames, TheOptionsChooseTheWorkbook) {
    struct Case {
        OfficeExportOptions options;
        const wchar_t* version;
        fs::path target;
    } cases[] = {
        {{false, false, false, L""}, L"11.0", fs::path(L"out") / L"202603040506070089.xls"},
        {{false, false, false, L""}, L"12.0", fs::path(L"out") / L"202603040506070089.xlsx"},
        {{false, false, false, L""}, L"16.0", fs::path(L"out") / L"202603040506070089.xlsx"},
        {{false, true, false, L"C:\\mine.xls"}, L"16.0", fs::path(L"C:\\mine.xls")},
        {{false, true, true, L"C:\\mine.xls"}, L"16.0", fs::path(L"out") / L"ExcelDefault.xlsx"},
        {{false, true, false, L""}, L"11.0", fs::path(L"out") / L"ExcelDefault.xls"},
        {{false, false, true, L"C:\\mine.xls"}, L"9.0", fs::path(L"out") / L"202603040506070089.xls"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExcelExportTarget(c.options, L"out", c.version, kStamp, [](const fs::path&) { return false; }),
                  c.target)
            << c.target;
    }
}

TEST(ExportFileNames, ATakenTimeStampedNameMovesToTheNextFreeOne) {
    std::set<fs::path> taken = {fs::path(L"out") / L"202603040506070089.xlsx",
                                fs::path(L"out") / L"202603040506070089_1.xlsx"};
    const ExportFileExists exists = [&](const fs::path& p) { return taken.count(p) > 0; };
    EXPECT_EQ(ExcelExportTarget({}, L"out", L"14.0", kStamp, exists), fs::path(L"out") / L"202603040506070089_2.xlsx");
    // The fixed workbook is appended to, never renamed.
    taken.insert(fs::path(L"out") / L"ExcelDefault.xlsx");
    EXPECT_EQ(ExcelExportTarget({false, true, true, L""}, L"out", L"14.0", kStamp, exists),
              fs::path(L"out") / L"ExcelDefault.xlsx");
    taken.insert(fs::path(L"out") / L"shot.doc");
    EXPECT_EQ(FreeDocumentName(L"out", L"shot", exists), fs::path(L"out") / L"shot_1.doc");
    EXPECT_EQ(FreeDocumentName(L"out", L"other", exists), fs::path(L"out") / L"other.doc");
}

TEST(ExportFileNames, PictureKindsNameTheirFiles) {
    const std::pair<int, const char*> cases[] = {{0, ".bmp"}, {1, ".bmp"}, {2, ".jpg"}, {3, ".tiff"}, {4, ".png"}, {9, ".bmp"}};
    for (const auto& [kind, extension] : cases) EXPECT_EQ(PictureKindExtension(kind), extension) << kind;
}
