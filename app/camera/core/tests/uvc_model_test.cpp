// The UVC camera's resolution tables and its sixteen properties.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "labelled_size_check.h"
#include "uvc_model.h"

namespace {

TEST(UvcModel, ResolutionTableByTypeAndReportedCount) {
    const std::wstring longTable =
        L"2592 * 1944|2048 * 1536|1600 * 1200|1280 * 1024|1280 * 960|1024 * 768|800 * 600|640 * 480";
    const std::wstring shortTable = L"2592 * 1944|1280 * 960|640 * 480";
    const std::wstring otherTable = L"1600 * 1200|1280 * 960|1280 * 720|800 * 600|640 * 480|320 * 240";
    struct Case {
        int type;
        int reported;
        const std::wstring& labels;
    };
    const Case cases[] = {
        {0x5001, 5, longTable},  {0x5001, 8, longTable},  {0x5001, 4, shortTable},
        {0x5001, 1, shortTable}, {0x5001, 0, shortTable}, {0x5001, -3, shortTable},
        {0x5002, 8, otherTable}, {0, 5, otherTable},      {1, 1, otherTable},
    };
    for (const Case& c : cases) {
        const auto table = UvcResolutionTable(c.type, c.reported);
        EXPECT_EQ(JoinLabels(table), c.labels) << std::hex << c.type << " " << std::dec << c.reported;
        ExpectLabelsNameSizesLargestFirst(table);
    }
}

TEST(UvcModel, DeviceNameByType) {
    EXPECT_EQ(std::wstring(UvcDeviceName(0x5001)), L"KQZelpha");
    EXPECT_EQ(std::wstring(UvcDeviceName(0x5002)), L"UNKNOWN");
    EXPECT_EQ(std::wstring(UvcDeviceName(1)), L"UNKNOWN");
}

std::vector<int> Ids(std::span<const UvcPropertyKey> properties) {
    std::vector<int> ids;
    for (const UvcPropertyKey& property : properties) {
        ids.push_back(static_cast<int>(property.id));
    }
    return ids;
}

std::vector<std::wstring> Keys(std::span<const UvcPropertyKey> properties) {
    std::vector<std::wstring> keys;
    for (const UvcPropertyKey& property : properties) {
        keys.emplace_back(property.key);
    }
    return keys;
}

TEST(UvcModel, PropertiesInTheOrderADeviceIsGivenThemAndTheSettingsAreWritten) {
    EXPECT_EQ(Ids(UvcPropertiesInOpenOrder()),
              (std::vector<int>{17, 18, 1, 0, 2, 3, 4, 16, 6, 7, 10, 15, 14, 13, 19, 20}));
    EXPECT_EQ(Keys(UvcPropertiesInSaveOrder()),
              (std::vector<std::wstring>{L"ColorMode", L"FlipMode", L"Contrast", L"Brightness", L"Hue", L"Saturation",
                                         L"Sharpness", L"Gamma", L"AEing", L"AWBing", L"WhiteBalance",
                                         L"BacklightCompensation", L"Zoom", L"Expouse", L"OffsetX", L"OffsetY"}));
}

TEST(UvcModel, BothOrdersPairEachKeyWithTheSameId) {
    std::set<std::pair<int, std::wstring>> opened, saved;
    for (const UvcPropertyKey& property : UvcPropertiesInOpenOrder()) {
        opened.emplace(static_cast<int>(property.id), property.key);
    }
    for (const UvcPropertyKey& property : UvcPropertiesInSaveOrder()) {
        saved.emplace(static_cast<int>(property.id), property.key);
    }
    EXPECT_EQ(opened.size(), 16u);
    EXPECT_EQ(opened, saved);
    const std::set<std::pair<int, std::wstring>> some = {{15, L"Expouse"}, {14, L"OffsetX"}, {13, L"OffsetY"},
                                                         {19, L"AEing"},   {20, L"AWBing"},  {0, L"Brightness"}};
    for (const auto& pair : some) {
        EXPECT_EQ(opened.count(pair), 1u) << pair.first;
    }
}

}  // namespace
