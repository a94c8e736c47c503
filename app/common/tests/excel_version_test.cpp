// The spreadsheet version asked of its automation object, against the
// stand-in registered in the test prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "excel_stand_in_registration.h"
#include "excel_version.h"

namespace {

class ExcelVersionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override { CoUninitialize(); }

    static std::filesystem::path Record(const wchar_t* name) {
        const std::filesystem::path path = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove(path);
        return path;
    }
};

using Calls = std::vector<std::string>;

}  // namespace

TEST_F(ExcelVersionTest, NothingWithoutAnInstalledProgram) { EXPECT_FALSE(QueryExcelVersion().has_value()); }

TEST_F(ExcelVersionTest, ReadsTheVersionAndQuitsTheObject) {
    ExcelStandInRegistration excel(L"14.0", Record(L"query.txt"));
    ASSERT_TRUE(excel.Registered());
    EXPECT_EQ(QueryExcelVersion(), std::optional<std::wstring>(L"14.0"));
    EXPECT_EQ(excel.Calls(), (Calls{"Created", "Version", "Quit", "Released"}));
}

TEST_F(ExcelVersionTest, TheProcessAsksOnceWhateverChangesAfterwards) {
    {
        ExcelStandInRegistration excel(L"16.0", Record(L"once.txt"));
        ASSERT_TRUE(excel.Registered());
        EXPECT_EQ(InstalledExcelVersion(), L"16.0");
        EXPECT_EQ(InstalledExcelVersion(), L"16.0");
        EXPECT_EQ(excel.Calls(), (Calls{"Created", "Version", "Quit", "Released"}));
    }
    // Uninstalled meanwhile: the answer of the first query stays.
    EXPECT_EQ(InstalledExcelVersion(), L"16.0");
}
