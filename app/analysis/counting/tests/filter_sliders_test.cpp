#include <gtest/gtest.h>

#include <cmath>

#include "filter_sliders.h"

namespace {

_tagOBJFILTER Range(double areaLow, double areaHigh, double roundLow, double roundHigh) {
    _tagOBJFILTER f;
    f.lower.area = areaLow;
    f.upper.area = areaHigh;
    f.lower.roundness = roundLow;
    f.upper.roundness = roundHigh;
    f.lower.greyMax = 30;
    f.upper.greyMax = 220;
    f.lower.perimeter = f.upper.perimeter = 12.3;
    return f;
}

TEST(FilterSliders, RoundnessRangeAndPositions) {
    const _tagOBJFILTER range = Range(10, 20, 0.85, 0.97);
    const FilterSliders sliders = LoadFilterMeasure(kRoundnessMeasure, range, range, 1.0);
    EXPECT_EQ(sliders.low, 84);
    EXPECT_EQ(sliders.high, 98);
    EXPECT_EQ(sliders.upperPosition, 97);
    EXPECT_EQ(sliders.lowerPosition, 84);
    EXPECT_DOUBLE_EQ(sliders.upperShown, 0.97);
}

TEST(FilterSliders, ScaledMeasuresSpanTheirRangeEvenForOneTarget) {
    struct Case {
        int measure;
        double scale;
        int low, high, lowerPosition, upperPosition;
    };
    const _tagOBJFILTER single = Range(100, 100, 0.5, 0.5);
    for (const Case c : {Case{0, 0.5, 25, 26, 25, 25}, Case{0, 1.0, 100, 101, 100, 100}, Case{1, 1.0, 12, 13, 12, 12},
                         Case{7, 1.0, 30, 220, 30, 220},
                         // A scale not above 0 measures in pixels, never dividing by it.
                         Case{0, 0.0, 100, 101, 100, 100}, Case{0, -2.0, 100, 101, 100, 100}}) {
        const FilterSliders s = LoadFilterMeasure(c.measure, single, single, c.scale);
        EXPECT_EQ(s.low, c.low) << c.measure << " at " << c.scale;
        EXPECT_EQ(s.high, c.high);
        EXPECT_EQ(s.lowerPosition, c.lowerPosition);
        EXPECT_EQ(s.upperPosition, c.upperPosition);
    }
}

TEST(FilterSliders, PositionsGoBackInRecordUnits) {
    _tagOBJRESULT limit;
    StoreFilterPosition(0, 25, 0.5, limit);
    EXPECT_DOUBLE_EQ(limit.area, 100);
    StoreFilterPosition(5, 10, 1.0, limit);
    EXPECT_NEAR(limit.area, 100 * 3.14159265358979, 1e-9);
    StoreFilterPosition(6, 84, 1.0, limit);
    EXPECT_DOUBLE_EQ(limit.roundness, 0.84);
    StoreFilterPosition(7, 0x1FF, 1.0, limit);
    EXPECT_EQ(limit.greyMax, 0xFF);
    StoreFilterPosition(10, 123456, 1.0, limit);
    EXPECT_EQ(limit.greySum, 123456u);
    StoreFilterPosition(2, 30, 0.0, limit);
    EXPECT_DOUBLE_EQ(limit.width, 30);
    EXPECT_TRUE(std::isfinite(limit.width));
}

}  // namespace
