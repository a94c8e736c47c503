#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ini_file.h"
#include "module_folder.h"

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / (L"vizcam_ini_" + std::to_wstring(GetCurrentProcessId()));
        std::filesystem::create_directories(folder_);
        ini_.m_strPath = (folder_ / L"Config.ini").wstring();
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void WriteFile(const std::string& bytes) {
        std::ofstream(std::filesystem::path(ini_.m_strPath), std::ios::binary) << bytes;
    }
    std::string ReadFile() const {
        std::ifstream in(std::filesystem::path(ini_.m_strPath), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path folder_;
    CIniFile ini_;
};

TEST_F(IniFileTest, DefaultPathIsConfigIniBesideTheProgram) {
    CIniFile fresh;
    const std::wstring folder = GetModuleFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'\\');
    EXPECT_EQ(fresh.m_strPath, folder + L"Config.ini");
}

TEST_F(IniFileTest, MissingKeysGiveDefaultsAndNull) {
    int i = -1;
    float f = -1;
    std::wstring text;
    EXPECT_EQ(ini_.GetInt(i, L"Option", L"LAN", 7), 7);
    EXPECT_EQ(ini_.GetFloat(f, L"Ruler", L"RulerScale", 3), 3.0f);
    EXPECT_EQ(ini_.GetString(text, L"Option", L"PicF"), L"NULL");
    EXPECT_FALSE(ini_.FileExists());
}

TEST_F(IniFileTest, ValuesAsWrittenByHandAreRead) {
    WriteFile(
        "[Option]\r\nLAN=1\r\nPicF=D:\\Pictures\\\r\n[CLdraw]\r\nUnit=mm\r\nLW=300\r\n"
        "[Ruler]\r\nRulerScale=abc\r\nRulerX=12.75\r\n");
    int lan = 0;
    std::uint8_t byte = 0;
    float scale = -1;
    float x = 0;
    std::wstring text;
    EXPECT_EQ(ini_.GetInt(lan, L"Option", L"LAN", 0), 1);
    EXPECT_EQ(ini_.GetInt(byte, L"CLdraw", L"LW", 0), 300 & 0xFF);
    EXPECT_EQ(ini_.GetFloat(scale, L"Ruler", L"RulerScale", 5), 0.0f);  // not a number
    EXPECT_EQ(ini_.GetFloat(x, L"Ruler", L"RulerX", 0), 12.75f);
    EXPECT_EQ(ini_.GetString(text, L"Option", L"PicF"), L"D:\\Pictures\\");
    // Section names compare without regard to case.
    EXPECT_EQ(ini_.GetString(text, L"CLDraw", L"Unit"), L"mm");
    EXPECT_TRUE(ini_.FileExists());
}

TEST_F(IniFileTest, WritesUseTheirFormats) {
    ASSERT_TRUE(ini_.WriteFloat(2.5f, L"Ruler", L"RulerScale"));
    EXPECT_EQ(ini_.m_strValue, L"2.500000");
    ASSERT_TRUE(ini_.WriteInt(-42, L"Option", L"LAN"));
    EXPECT_EQ(ini_.m_strValue, L"-42");
    ASSERT_TRUE(ini_.WriteString(L"Photos", L"CLDraw", L"Unit"));
    ASSERT_TRUE(ini_.WriteString(L"mm", L"CLdraw", L"Unit"));  // same section, other case

    std::wstring text;
    EXPECT_EQ(ini_.GetString(text, L"Ruler", L"RulerScale"), L"2.500000");
    EXPECT_EQ(ini_.GetString(text, L"CLdraw", L"Unit"), L"mm");
    const std::string file = ReadFile();
    EXPECT_NE(file.find("RulerScale=2.500000"), std::string::npos) << file;
    EXPECT_NE(file.find("LAN=-42"), std::string::npos) << file;
    EXPECT_EQ(file.find("Photos"), std::string::npos) << file;
}

TEST_F(IniFileTest, DeleteKeyRemovesOnlyThatKey) {
    ini_.WriteInt(1, L"ShowBar", L"Ruler");
    ini_.WriteInt(1, L"ShowBar", L"Video");
    ASSERT_TRUE(ini_.DeleteKey(L"ShowBar", L"Ruler"));
    int v = 0;
    EXPECT_EQ(ini_.GetInt(v, L"ShowBar", L"Ruler", 9), 9);
    EXPECT_EQ(ini_.GetInt(v, L"ShowBar", L"Video", 9), 1);
}

// Folder paths longer than 99 characters come back whole.
TEST_F(IniFileTest, LongTextsAreReadWhole) {
    std::wstring path = L"C:\\";
    while (path.size() < 300) {
        path += L"a rather long folder name\\";
    }
    ini_.WriteString(path.c_str(), L"Option", L"PicF");
    std::wstring text;
    EXPECT_EQ(ini_.GetString(text, L"Option", L"PicF"), path);
}

TEST_F(IniFileTest, FloatsAreCutAt49Characters) {
    WriteFile("[Ruler]\r\nRulerX=1." + std::string(60, '1') + "9\r\n");
    float f = 0;
    EXPECT_NEAR(ini_.GetFloat(f, L"Ruler", L"RulerX", 0), 1.1111111f, 1e-6);
}

TEST_F(IniFileTest, FaceNameFitsItsBuffer) {
    WriteFile("[FSet]\r\nFa=A face name longer than the buffer\r\n");
    wchar_t face[8];
    ini_.GetFaceName(face, L"FSet", L"Arial");
    EXPECT_STREQ(face, L"A face ");
    ini_.GetFaceName(face, L"Missing", L"Arial");
    EXPECT_STREQ(face, L"Arial");
}

TEST_F(IniFileTest, CreateEmptyKeepsAnExistingFile) {
    EXPECT_FALSE(ini_.FileExists());
    ASSERT_TRUE(ini_.CreateEmpty());
    EXPECT_TRUE(ini_.FileExists());
    EXPECT_EQ(ReadFile(), "");  // no byte-order mark

    ini_.WriteInt(1, L"Option", L"LAN");
    ASSERT_TRUE(ini_.CreateEmpty());
    int lan = 0;
    EXPECT_EQ(ini_.GetInt(lan, L"Option", L"LAN", 0), 1);
}

TEST_F(IniFileTest, CreateEmptyTakesPathsOutsideTheCodePage) {
    const auto folder = folder_ / L"\u6d4b\u8bd5 \u03bcm";
    std::filesystem::create_directories(folder);
    ini_.m_strPath = (folder / L"scale.ini").wstring();
    ASSERT_TRUE(ini_.CreateEmpty());
    EXPECT_TRUE(std::filesystem::exists(folder / L"scale.ini"));
    ini_.WriteFloat(0.5f, L"Scale", L"Value");
    float v = 0;
    EXPECT_EQ(ini_.GetFloat(v, L"Scale", L"Value", 0), 0.5f);

    ini_.m_strPath = (folder_ / L"no such folder" / L"x.ini").wstring();
    EXPECT_FALSE(ini_.CreateEmpty());
}

}  // namespace
