// USB CMOS parameter files: keys and defaults, the analogue gains per device
// type, and the start-up settings a file becomes.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "cmos_param_file.h"

namespace {

using Keys = std::map<std::wstring, int>;

CmosParamValues Read(const Keys& stored) {
    return ReadCmosParamValues([&](const wchar_t* key, int fallback) {
        const auto found = stored.find(key);
        return found == stored.end() ? fallback : found->second;
    });
}

TEST(CmosParamFile, MissingKeysGiveTheFileDefaults) {
    const CmosParamValues v = Read({});
    EXPECT_EQ(v.exposure, 200);
    EXPECT_EQ(v.gainR, 32);
    EXPECT_EQ(v.gainG, 32);
    EXPECT_EQ(v.gainB, 32);
    EXPECT_EQ(v.gainAD, 100);
    EXPECT_EQ(v.contrast, 16);
    EXPECT_EQ(v.gamma, 16);
    EXPECT_EQ(v.control, 0);
    EXPECT_EQ(v.sharpness, 1);
    EXPECT_EQ(v.saturation, 8);
    EXPECT_EQ(Read({{L"Control", 0x1FF}, {L"FilpKinds", 3}}).control, 0xFF);
    EXPECT_EQ(Read({{L"FilpKinds", 3}}).flipKinds, 3);
}

TEST(CmosParamFile, AnalogueGainsPerDeviceType) {
    struct Case {
        int type;
        Keys stored;
        std::array<std::uint8_t, 3> gains;
    };
    const Case cases[] = {
        {15, {{L"Gain_G", 200}}, {32, 32, 32}},
        {15, {{L"Gain_R", 127}, {L"Gain_G", 128}, {L"Gain_B", 5}}, {127, 32, 5}},
        {6, {{L"Gain_AD", 0x140}, {L"Gain_R", 6000}}, {0x40, 0x40, 0x40}},
        {6, {}, {100, 100, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(AnalogueGainsOf(c.type, Read(c.stored)), c.gains);
    }
}

// The digital gains (up to 6000) go to the user-gain keys, never into the
// one-byte analogue keys; a missing "Gamma" is 16, not 0.
TEST(CmosParamFile, StartupSettingsAreWhatApplyingTheFileSets) {
    const Keys stored{{L"Exposure", 340}, {L"Gain_R", 6000}, {L"Gain_G", 700},    {L"Gain_B", 90},
                      {L"Gain_AD", 77},   {L"Contrast", 20}, {L"Control", 0x105}, {L"Sharpness", 3}};
    struct Case {
        int type;
        std::vector<SettingsKeyValue> settings;
    };
    const Case cases[] = {
        {6,
         {{L"Exposure", 340},
          {L"Gain_R", 77},
          {L"Gain_G", 77},
          {L"Gain_B", 77},
          {L"U_R", 6000},
          {L"U_G", 700},
          {L"U_B", 90},
          {L"Contrast", 20},
          {L"Gamma", 16},
          {L"Control", 5},
          {L"Saturation", 8},
          {L"Sharpness", 3}}},
        {15,
         {{L"Exposure", 340},
          {L"Gain_R", 32},
          {L"Gain_G", 32},
          {L"Gain_B", 90},
          {L"U_R", 6000},
          {L"U_G", 700},
          {L"U_B", 90},
          {L"Contrast", 20},
          {L"Gamma", 16},
          {L"Control", 5},
          {L"Saturation", 8},
          {L"SharpYUV", 3}}},
        {16,
         {{L"Exposure", 340},
          {L"Gain_All120", 77},
          {L"Gain_G", 77},
          {L"Gain_B", 77},
          {L"U_R", 6000},
          {L"U_G", 700},
          {L"U_B", 90},
          {L"Contrast", 20},
          {L"Gamma", 16},
          {L"Control", 5},
          {L"Saturation", 8},
          {L"Sharpness", 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const std::vector<SettingsKeyValue> settings = CmosStartupSettingsOf(c.type, Read(stored));
        ASSERT_EQ(settings.size(), c.settings.size());
        for (std::size_t i = 0; i < settings.size(); ++i) {
            EXPECT_EQ(std::wstring(settings[i].key), std::wstring(c.settings[i].key)) << i;
            EXPECT_EQ(settings[i].value, c.settings[i].value) << std::wstring(c.settings[i].key).size();
        }
    }
}

}  // namespace
