// Preset files: names that stay inside the family folder, the listing of a
// folder, the keys in their order, what the capture information gives a
// preset, and the exposure time shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "param_presets.h"
#include "unique_temp_dir.h"

namespace {

TEST(PresetNames, RefusesWhatCouldLeaveTheFamilyFolderLikeAnEmptyName) {
    struct Case {
        const wchar_t* name;
        bool allowed;
    };
    const Case cases[] = {
        {L"Day", true},         {L"\u5fae\u5c0f\u7ec6\u80de 40x", true},
        {L"v1.2", true},        {L".hidden", true},
        {L"", false},           {L"..", false},
        {L"..\\Config", false}, {L"a..b", false},
        {L"sub\\name", false},  {L"sub/name", false},
        {L"C:name", false},     {L"\\\\server\\share\\x", false},
        {L"a*b", false},        {L"a?b", false},
        {L"a<b", false},        {L"a>b", false},
        {L"a|b", false},        {L"a\"b", false},
        {L"tab\tin", false},    {L"CON", false},
        {L"nul", false},        {L"com1", false},
        {L"LPT9", false},       {L"COM", true},
        {L"console", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsPresetNameAllowed(c.name), c.allowed) << std::wstring(c.name).size();
        EXPECT_EQ(PresetFilePath(L"C:\\Mikra\\", PresetFamily::ccd, c.name).has_value(), c.allowed);
    }
}

TEST(PresetNames, PathAndSectionFollowTheFamily) {
    struct Case {
        char code;
        const wchar_t* path;
        const wchar_t* section;
    };
    const Case cases[] = {
        {'0', L"C:\\Mikra\\Params\\CMOSE\\Day.ini", L"CMOSE"},
        {'1', L"C:\\Mikra\\Params\\CCD\\Day.ini", L"CCD"},
        {'2', L"C:\\Mikra\\Params\\GIGE\\Day.ini", L"GIGE"},
    };
    for (const Case& c : cases) {
        const auto family = PresetFamilyFromCode(c.code);
        ASSERT_TRUE(family.has_value()) << c.code;
        EXPECT_EQ(PresetFilePath(L"C:\\Mikra\\", *family, L"Day"), c.path);
        EXPECT_EQ(std::wstring(PresetFolderName(*family)), c.section);
    }
    EXPECT_FALSE(PresetFamilyFromCode('3').has_value());
    EXPECT_FALSE(PresetFamilyFromCode(0).has_value());
}

class PresetFolder : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = testing_support::UniqueTempPath("vizcam_presets");
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    void Touch(const std::string& name) { std::ofstream(folder_ / name) << "[CCD]\n"; }
    std::filesystem::path folder_;
};

TEST_F(PresetFolder, ListsIniFilesOnlyWithoutTheirExtension) {
    EXPECT_TRUE(ListPresetNames(folder_).empty());
    std::filesystem::create_directory(folder_ / "x.ini");
    Touch("notes.txt");
    Touch("ini");
    Touch(".ini");
    Touch("Night.ini.bak");
    EXPECT_TRUE(ListPresetNames(folder_).empty());

    Touch("Day.ini");
    Touch("Upper.INI");
    auto names = ListPresetNames(folder_);
    std::ranges::sort(names);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Day", L"Upper"}));
}

TEST_F(PresetFolder, AMissingFolderListsNothing) { EXPECT_TRUE(ListPresetNames(folder_ / "absent").empty()); }

TEST(PresetIndex, FindsANameAsTheFileSystemWould) {
    const std::vector<std::wstring> names{L"Day", L"night", L"\u7ec6\u80de"};
    EXPECT_EQ(PresetIndex(names, L"Day"), 0);
    EXPECT_EQ(PresetIndex(names, L"NIGHT"), 1);
    EXPECT_EQ(PresetIndex(names, L"\u7ec6\u80de"), 2);
    EXPECT_EQ(PresetIndex(names, L"Da"), -1);
    EXPECT_EQ(PresetIndex(names, L""), -1);
    EXPECT_EQ(PresetIndex({}, L"Day"), -1);
}

TEST(PresetFileKeys, WritesTheKeysInOrderWithAveragesForCcdAndGigE) {
    // Every field its own value, in the order the keys are written.
    const PresetValues v{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, {12, 13, 14}};
    const std::vector<std::wstring> order{L"Exposure",   L"Gain_R", L"Gain_G",    L"Gain_B",     L"Gain_AD",
                                          L"Contrast",   L"Gamma",  L"FilpKinds", L"ColorKinds", L"Sharpness",
                                          L"Saturation", L"AVGR",   L"AVGG",      L"AVGB"};
    for (PresetFamily family : {PresetFamily::usbCmos, PresetFamily::ccd, PresetFamily::gige}) {
        const auto keys = PresetFileKeys(family, v);
        const std::size_t expected = family == PresetFamily::usbCmos ? 11 : 14;
        ASSERT_EQ(keys.size(), expected);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            EXPECT_EQ(keys[i].key, order[i]) << i;
            EXPECT_EQ(keys[i].value, static_cast<int>(i) + 1) << i;
        }
    }
}

TEST(TakeCaptureInfo, CmosStoresTheAnalogueGainItsControlEdits) {
    const CaptureInfoReadout info{250, {40, 7, 99}, 0, 77};
    struct Case {
        PresetFamily family;
        int exposure, r, g, b, ad;
    };
    const Case cases[] = {
        // USB CMOS: analogue gain from byte 0; its colour gains are read apart.
        {PresetFamily::usbCmos, 250, -1, -1, -1, 40},
        {PresetFamily::ccd, 250, 40, 7, 99, 77},
        {PresetFamily::gige, -1, -1, -1, -1, -1},
    };
    for (const Case& c : cases) {
        PresetValues v;
        v.exposure = v.gainR = v.gainG = v.gainB = v.adGain = -1;
        TakeCaptureInfo(c.family, info, v);
        EXPECT_EQ(v.exposure, c.exposure);
        EXPECT_EQ(v.gainR, c.r);
        EXPECT_EQ(v.gainG, c.g);
        EXPECT_EQ(v.gainB, c.b);
        EXPECT_EQ(v.adGain, c.ad);
    }
}

TEST(PresetExposureTime, ScalesToMicrosecondsMillisecondsOrSeconds) {
    struct Case {
        std::uint32_t exposure;
        std::uint8_t control;
        const wchar_t* text;
        std::wstring_view unit;
    };
    const Case cases[] = {
        {100, 0, L"7.460", L"ms"},     // 100 x 2984 x 0.025 = 7460 us
        {100, 1, L"7.765", L"ms"},     // bit 0: 3106
        {100, 0xFE, L"7.460", L"ms"},  // only bit 0 counts
        {1, 0, L"74.600", L"us"},
        {0, 0, L"0.000", L"us"},
        {13, 0, L"969.800", L"us"},
        {14, 0, L"1.044", L"ms"},
        {13404, 0, L"999.938", L"ms"},
        {13405, 0, L"1.000", L"s"},  // 1000013 us
        {4000000000u, 1, L"310600.000", L"s"},
    };
    for (const Case& c : cases) {
        const ExposureTime t = PresetExposureTime({c.exposure, {}, c.control, 0});
        EXPECT_EQ(FormatExposureTime(t.value), c.text) << c.exposure;
        EXPECT_EQ(t.unit, c.unit) << c.exposure;
    }
}

}  // namespace
