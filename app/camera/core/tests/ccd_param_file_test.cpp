// A CCD parameter file: what applying it gives the camera and what copying
// it into the settings writes.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ccd_param_file.h"

namespace {

using Keys = std::map<std::wstring, int>;

CcdParamFile Read(const Keys& keys) {
    return ReadCcdParamFile([&](const wchar_t* key, int fallback) {
        const auto found = keys.find(key);
        return found == keys.end() ? fallback : found->second;
    });
}

int Written(const CcdParamFile& file, const std::wstring& key) {
    for (const SettingValue& setting : CcdStartupSettings(file)) {
        if (key == setting.key) {
            return setting.value;
        }
    }
    ADD_FAILURE() << "not written";
    return -1;
}

TEST(CcdParamFile, CopyingAnEmptyFileWritesTheDefaultsApplyingItUses) {
    const CcdParamFile file = Read({});
    const std::vector<SettingValue> expected = {{L"Exposure", 200}, {L"Gain_R", 32},   {L"Gain_G", 32}, {L"Gain_B", 32},
                                                {L"Gain_AD", 100},  {L"Contrast", 16}, {L"Gamma", 16},  {L"Control", 0},
                                                {L"Saturation", 8}, {L"Sharpness", 1}};
    EXPECT_EQ(CcdStartupSettings(file), expected);
    EXPECT_EQ(file.colourMode, 0);
    EXPECT_EQ(file.flip, 0);
}

TEST(CcdParamFile, CopyingWritesTheValuesTheCameraTakes) {
    struct Case {
        const wchar_t* key;
        int stored;
        const wchar_t* writtenKey;
        int written;
    };
    const Case cases[] = {
        {L"Gain_R", 300, L"Gain_R", 44},  // a one-byte gain takes the low byte
        {L"Gain_G", 255, L"Gain_G", 255},
        {L"Gain_B", 256, L"Gain_B", 0},
        {L"Control", 0x1FF, L"Control", 0xFF},
        {L"Gain_AD", 6000, L"Gain_AD", 6000},
        {L"Exposure", 1000000, L"Exposure", 1000000},
        {L"Gamma", 0, L"Gamma", 0},
        {L"Saturation", 3, L"Saturation", 3},
        {L"Sharpness", 0, L"Sharpness", 0},
        {L"Contrast", 40, L"Contrast", 40},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Written(Read({{c.key, c.stored}}), c.writtenKey), c.written) << c.key << " " << c.stored;
    }
}

TEST(CcdParamFile, ResetsWhiteBalanceOnlyWhenAllThreeValuesAreInRange) {
    struct Case {
        int red, green, blue;
        bool resets;
    };
    const Case cases[] = {
        {2, 2, 2, true},      {255, 255, 255, true},  {100, 1, 100, false},  // "AVGG" 1
        {1, 100, 100, false}, {100, 100, 256, false}, {0, 0, 0, false},     {-5, 100, 100, false}, {128, 90, 200, true},
    };
    for (const Case& c : cases) {
        const CcdParamFile file = Read({{L"AVGR", c.red}, {L"AVGG", c.green}, {L"AVGB", c.blue}});
        EXPECT_EQ(ResetsWhiteBalance(file), c.resets) << c.red << " " << c.green << " " << c.blue;
    }
    EXPECT_FALSE(ResetsWhiteBalance(Read({}))) << "missing values read as 1";
}

TEST(CcdParamFile, ColourModeAndFlipComeFromTheirOwnKeys) {
    const CcdParamFile file = Read({{L"ColorKinds", 3}, {L"FilpKinds", 2}, {L"FlipKinds", 1}});
    EXPECT_EQ(file.colourMode, 3);
    EXPECT_EQ(file.flip, 2);
}

}  // namespace
