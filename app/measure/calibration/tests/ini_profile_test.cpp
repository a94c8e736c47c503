#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "calibration_store.h"
#include "ini_profile.h"

namespace {

class IniProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = std::filesystem::temp_directory_path() /
                (L"vizcam_scale_" + std::to_wstring(GetCurrentProcessId()) + L".ini");
        std::filesystem::remove(path_);
    }
    void TearDown() override { std::filesystem::remove(path_); }

    std::string Bytes() const {
        std::ifstream in(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path path_;
};

// The unit "μm" is outside most ANSI code pages: it must come back whole.
TEST_F(IniProfileTest, MicroMetreSurvivesTheFile) {
    {
        IniProfile file(path_.wstring());
        CalibrationStore store(file);
        store.Save(u"40\u500d", 0.000123456f, u"\u03bcm", 2592, 1944);
    }
    const std::string bytes = Bytes();
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFE);

    IniProfile file(path_.wstring());
    CalibrationStore store(file);
    const auto list = store.List();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].name, u"40\u500d");
    EXPECT_EQ(list[0].unit, u"\u03bcm");
    EXPECT_EQ(list[0].value, 0.000123456f);
    EXPECT_EQ(list[0].resolution, u"2592 * 1944");
}

TEST_F(IniProfileTest, ExistingAnsiFilesAreReadAsTheyAre) {
    std::ofstream(path_, std::ios::binary) << "[Scale]\r\nCount=1\r\n[scl_1]\r\nName=old\r\nValue=0.500000\r\n"
                                              "Rank=1\r\nUnit=mm\r\n";
    IniProfile file(path_.wstring());
    CalibrationStore store(file);
    ASSERT_EQ(store.Count(), 1);
    store.Save(u"new", 2.0f, u"cm", 1, 1);
    const auto list = store.List();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, u"old");
    EXPECT_EQ(list[0].value, 0.5f);
    EXPECT_EQ(list[1].unit, u"cm");
    EXPECT_EQ(Bytes().rfind("[Scale]", 0), 0u);  // no mark added to a file that had none
}

// The store's operations on a real file: overwrite by name, deletion with
// renumbering, lookup by name and by section number.
TEST_F(IniProfileTest, OverwriteDeleteAndSelectOnARealFile) {
    IniProfile file(path_.wstring());
    CalibrationStore store(file);
    store.Save(u"4x", 2.5f, u"μm", 640, 480);
    store.Save(u"10x", 1.0f, u"μm", 640, 480);
    store.Save(u"40x", 0.25f, u"mm", 640, 480);
    EXPECT_EQ(store.Save(u"10x", 0.5f, u"cm", 800, 600), 2);  // in place
    ASSERT_EQ(store.Count(), 3);

    ASSERT_TRUE(store.Delete(2));
    EXPECT_EQ(store.Count(), 2);
    EXPECT_EQ(store.Find(u"40x"), 2);
    EXPECT_FALSE(store.Find(u"10x").has_value());
    const auto second = store.Read(2);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->name, u"40x");
    EXPECT_EQ(second->unit, u"mm");
    EXPECT_EQ(file.Read(u"scl_2", u"Rank"), u"2");
    EXPECT_FALSE(file.Read(u"scl_3", u"Name").has_value());
}

TEST_F(IniProfileTest, DeleteAllRemovesTheFile) {
    IniProfile file(path_.wstring());
    CalibrationStore store(file);
    store.Save(u"a", 1.0f, u"mm", 1, 1);
    ASSERT_TRUE(std::filesystem::exists(path_));
    store.DeleteAll();
    EXPECT_FALSE(std::filesystem::exists(path_));
    EXPECT_EQ(store.Count(), 0);
}

TEST_F(IniProfileTest, EmptyFileBecomesUnicodeAFileWithContentIsKept) {
    std::ofstream(path_, std::ios::binary).close();
    ASSERT_TRUE(EnsureUnicodeIniFile(path_.wstring()));
    EXPECT_EQ(Bytes(), std::string("\xFF\xFE"));
    IniProfile file(path_.wstring());
    ASSERT_TRUE(file.Write(u"CLdraw", u"Unit", u"\u03bcm"));
    EXPECT_EQ(file.Read(u"CLdraw", u"Unit"), u"\u03bcm");

    const std::string before = Bytes();
    ASSERT_TRUE(EnsureUnicodeIniFile(path_.wstring()));
    EXPECT_EQ(Bytes(), before);
}

}  // namespace
