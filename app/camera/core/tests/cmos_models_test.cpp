// The USB CMOS model tables, by device type, and the type-8 probe rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cmos_models.h"

namespace {

std::vector<std::wstring> Labels(std::span<const ResolutionRecord> table) {
    std::vector<std::wstring> labels;
    for (const ResolutionRecord& r : table) labels.emplace_back(r.label);
    return labels;
}

TEST(CmosModels, TablesAndExposureRangesPerDeviceType) {
    using L = std::vector<std::wstring>;
    const L sxga{L"1280 * 1024", L"1024 * 768", L"800 * 600", L"640 * 480"};
    const L qxga{L"2048 * 1536", L"1600 * 1200", L"1280 * 1024", L"1024 * 768", L"800 * 600", L"640 * 480"};
    struct Case {
        int type;
        L labels;
        int lowest, highest;  // 0, 0: no range
        bool fourEntry;
    };
    const Case cases[] = {
        {1, sxga, 89, 1000000, true},
        {3, sxga, 89, 1000000, true},
        {2, qxga, 107, 1000000, false},
        {5, qxga, 107, 1000000, false},
        {4, {L"1600 * 1200", L"1280 * 1024", L"1024 * 768", L"800 * 600", L"640 * 480"}, 0, 0, false},
        {6,
         {L"2592 * 1944", L"2048 * 1536", L"1600 * 1200", L"1280 * 1024", L"1024 * 768", L"800 * 600", L"640 * 480"},
         54,
         1000000,
         false},
        {7, {L"3488 * 2560", L"1744 * 1280", L"872 * 640"}, 44, 1000000, false},
        {8,
         {L"2592 * 1944", L"2560 * 1944", L"2048 * 1536", L"1296 * 972", L"1280 * 972", L"640 * 480"},
         46,
         1000000,
         false},
        {9, sxga, 83, 400000, true},
        {15, sxga, 83, 400000, true},
        {10, {L"752 * 480"}, 85, 980000, false},
        {11, qxga, 53, 1000000, false},
        {16, {L"1280 * 960", L"1280 * 720", L"1024 * 768", L"800 * 600", L"640 * 480"}, 53, 1000000, false},
        {0, sxga, 91, 290000, true},
        {12, sxga, 91, 290000, true},
        {-3, sxga, 91, 290000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const CmosModel model = CmosModelOf(c.type);
        EXPECT_EQ(Labels(model.resolutions), c.labels);
        if (c.lowest == 0) {
            EXPECT_FALSE(model.exposureRange.has_value());
        } else {
            ASSERT_TRUE(model.exposureRange.has_value());
            EXPECT_EQ((*model.exposureRange)[0], c.lowest);
            EXPECT_EQ((*model.exposureRange)[1], c.highest);
        }
        EXPECT_EQ(model.fourEntryModel, c.fourEntry);
        EXPECT_EQ(model.settleMs, c.type == 7 ? 50 : 0);
        // Each label names its own size, the largest first.
        for (const ResolutionRecord& r : model.resolutions) {
            EXPECT_EQ(std::wstring(r.label), std::to_wstring(r.width) + L" * " + std::to_wstring(r.height));
            EXPECT_LE(r.width, model.resolutions.front().width);
        }
    }
}

TEST(CmosModels, OnlyAType8SensorThatReadsBackAnotherWidthGetsTheNarrowTable) {
    EXPECT_EQ(Labels(NarrowType8Resolutions()),
              (std::vector<std::wstring>{L"2560 * 1944", L"1280 * 972", L"640 * 486"}));
    EXPECT_EQ(NarrowType8Resolutions()[2].height, 486);
    EXPECT_TRUE(NeedsNarrowType8Table(8, 2592, 2560));
    EXPECT_FALSE(NeedsNarrowType8Table(8, 2592, 2592));
    EXPECT_FALSE(NeedsNarrowType8Table(6, 2592, 2560));
}

}  // namespace
