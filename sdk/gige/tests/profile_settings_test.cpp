// KQGE.ini written and read through the platform's profile functions, and
// the file's text checked with the INI text reader: the section per model,
// the keys, what a missing file and unreadable gains leave.

#include <gtest/gtest.h>

#include <windows.h>

#include "temp_folder_test.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image_algorithm.h"
#include "profile_awb_settings.h"
#include "simcam/ini_text.h"

namespace kqge {
namespace {

namespace fs = std::filesystem;

class Camera final : public ExposureControl {
public:
    std::int32_t ExposureLines() const override { return 100; }
    std::int32_t LinesToExposure(std::int32_t lines) const override { return lines; }
    void SetExposure(std::int32_t) override {}
};

std::vector<std::uint8_t> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool Contains(const std::vector<std::uint8_t>& bytes, const std::string& ascii) {
    std::vector<std::uint8_t> narrow(ascii.begin(), ascii.end()), wide;
    for (char c : ascii) wide.insert(wide.end(), {static_cast<std::uint8_t>(c), 0});
    auto has = [&](const std::vector<std::uint8_t>& needle) {
        return std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end()) != bytes.end();
    };
    return has(narrow) || has(wide);
}

class ProfileSettings : public testing_support::TempFolderTest {
protected:
    void WriteText(const std::string& text) { std::ofstream(folder / "KQGE.ini", std::ios::binary) << text; }

    Camera camera;
};

TEST_F(ProfileSettings, MissingFileLeavesGainsZeroAndIdentityTables) {
    ProfileAwbSettingsFile file(folder / "KQGE.ini");
    CImageAlgorithm algorithm(camera, file, 0x14000);
    EXPECT_EQ(algorithm.LoadAwb(), 0);
    EXPECT_EQ(algorithm.GetAWBVal(), (AwbGains{0, 0, 0}));
    EXPECT_EQ(algorithm.CurrentAwbTables().blue, IdentityAwbTables().blue);
    EXPECT_FALSE(fs::exists(folder / "KQGE.ini"));
}

TEST_F(ProfileSettings, ResetWritesTheModelsSectionAndIgnoresOneAnd256) {
    ProfileAwbSettingsFile file(folder / "KQGE.ini");
    CImageAlgorithm algorithm(camera, file, 0x14000);
    algorithm.ReSetAWBVal(1, 100, 100);
    algorithm.ReSetAWBVal(100, 100, 256);
    EXPECT_FALSE(fs::exists(folder / "KQGE.ini"));

    algorithm.ReSetAWBVal(120, 100, 80);
    const auto bytes = FileBytes(folder / "KQGE.ini");
    EXPECT_TRUE(Contains(bytes, "[Parsun_AWB]"));
    const auto text = kq::simcam::IniText::Parse(bytes);
    EXPECT_EQ(text.Value(u"Parsun_AWB", u"RValue"), u"120");
    EXPECT_EQ(text.Value(u"Parsun_AWB", u"GValue"), u"100");
    EXPECT_EQ(text.Value(u"Parsun_AWB", u"BValue"), u"80");

    CImageAlgorithm reopened(camera, file, 0x14000);
    EXPECT_EQ(reopened.LoadAwb(), 1);
    EXPECT_EQ(reopened.GetAWBVal(), (AwbGains{120, 100, 80}));
    EXPECT_EQ(reopened.CurrentAwbTables().blue[80], 120);

    ProfileAwbSettingsFile sameFile(folder / "KQGE.ini");
    CImageAlgorithm other(camera, sameFile, 0x77);
    other.ReSetAWBVal(7, 8, 9);
    EXPECT_TRUE(Contains(FileBytes(folder / "KQGE.ini"), "[AWB]"));
    EXPECT_EQ(reopened.LoadAwb(), 1);
    EXPECT_EQ(reopened.GetAWBVal(), (AwbGains{120, 100, 80}));
}

TEST_F(ProfileSettings, ProfileReadingMatchesTheTextReading) {
    const std::string files[] = {
        "[Parsun_AWB]\r\nRValue= 42\r\nGValue=-3\r\nBValue=7x\r\n",
        "[parsun_awb]\r\nRValue=abc\r\n",
        "[AWB]\r\nRValue=5\r\n",
    };
    for (const std::string& text : files) {
        WriteText(text);
        ProfileAwbSettingsFile file(folder / "KQGE.ini");
        const AwbGains profile = file.Read(u"Parsun_AWB");
        EXPECT_EQ(profile, ReadAwbGains(kq::simcam::IniText::Parse(FileBytes(folder / "KQGE.ini")), u"Parsun_AWB"))
            << text;
    }
    WriteText(files[0]);
    EXPECT_EQ(ProfileAwbSettingsFile(folder / "KQGE.ini").Read(u"Parsun_AWB"), (AwbGains{42, -3, 7}));
}

TEST_F(ProfileSettings, UnreadableGainsLeaveIdentityTables) {
    WriteText("[Parsun_AWB]\r\nRValue=abc\r\nGValue=0\r\nBValue=-5\r\n");
    ProfileAwbSettingsFile file(folder / "KQGE.ini");
    CImageAlgorithm algorithm(camera, file, 0x14000);
    EXPECT_EQ(algorithm.LoadAwb(), 1);
    EXPECT_EQ(algorithm.GetAWBVal(), (AwbGains{0, 0, -5}));
    EXPECT_EQ(algorithm.CurrentAwbTables().red, IdentityAwbTables().red);
    EXPECT_EQ(algorithm.CurrentAwbTables().blue, IdentityAwbTables().blue);
}

TEST_F(ProfileSettings, FileThatCannotBeCreatedIsNotWritten) {
    ProfileAwbSettingsFile file(folder / "missing" / "KQGE.ini");
    CImageAlgorithm algorithm(camera, file, 0x14000);
    algorithm.ReSetAWBVal(10, 20, 30);
    EXPECT_EQ(algorithm.SaveAwb(), 0);
    EXPECT_EQ(algorithm.GetAWBVal(), (AwbGains{10, 20, 30}));
    EXPECT_FALSE(fs::exists(folder / "missing"));
}

TEST(ProfileSettingsPath, BesideTheModuleThatHoldsTheCode) {
    wchar_t program[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, program, MAX_PATH), 0u);
    const fs::path path = ProfileAwbSettingsFile::BesideThisModule();
    EXPECT_EQ(path.filename(), fs::path(L"KQGE.ini"));
    EXPECT_EQ(path.parent_path(), fs::path(program).parent_path());
}

}  // namespace
}  // namespace kqge
