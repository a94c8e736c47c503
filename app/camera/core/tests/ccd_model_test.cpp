// The CCD models: resolution table and exposure range by device type.
#include <gtest/gtest.h>

#include <string>

#include "ccd_model.h"
#include "labelled_size_check.h"

namespace {

TEST(CcdModel, TableAndRangeByDeviceType) {
    struct Case {
        int deviceType;
        std::wstring labels;
        std::optional<ExposureRange> range;
    };
    const Case cases[] = {
        {1, L"1024 * 768", ExposureRange{71, 1000000}},
        {2, L"1360 * 1024", ExposureRange{75, 1000000}},
        {4, L"2304 * 1712|2304 * 856", ExposureRange{111, 1000000}},
        {5, L"2560 * 1920|1280 * 980|1024 * 768|640 * 480", std::nullopt},
        // Types the table does not name get the first type's table without
        // an exposure unit.
        {3, L"1024 * 768", std::nullopt},
        {0, L"1024 * 768", std::nullopt},
        {6, L"1024 * 768", std::nullopt},
        {-1, L"1024 * 768", std::nullopt},
    };
    for (const Case& c : cases) {
        const CcdModel model = CcdModelOfType(c.deviceType);
        EXPECT_EQ(JoinLabels(model.resolutions), c.labels) << "type " << c.deviceType;
        EXPECT_EQ(model.exposureRange, c.range) << "type " << c.deviceType;
    }
}

TEST(CcdModel, EveryLabelNamesItsSizeAndTheFirstEntryIsTheLargest) {
    for (int deviceType = 0; deviceType <= 6; ++deviceType) {
        ExpectLabelsNameSizesLargestFirst(CcdModelOfType(deviceType).resolutions);
    }
}

}  // namespace
