#include <gtest/gtest.h>

#include "label_strings.h"
#include "measurement_row.h"

namespace {

CCLObject Object(int type, int number, int decimals, float scale) {
    CCLObject o;
    o.type = type;
    o.number = number;
    o.decimals = decimals;
    o.scale = scale;
    o.results[CCLObject::kAngle] = 30.8125f;
    o.results[CCLObject::kLength] = 10.0f;
    o.results[CCLObject::kWidth] = 4.0f;
    o.results[CCLObject::kHeight] = 2.5625f;
    o.results[CCLObject::kPerimeter] = 13.0f;
    o.results[CCLObject::kArea] = 10.0f;
    o.results[CCLObject::kRadius] = 1.0625f;
    o.results[CCLObject::kDistance] = 7.0f;
    return o;
}

TEST(MeasurementRow, NamesEveryMeasurementTypeAndSkipsTheRest) {
    const struct {
        int type;
        int nameId;
    } cases[] = {
        {2, kStringLine},
        {3, kStringAngle},
        {4, kStringTwoLineAngle},
        {5, kStringParallel},
        {6, kStringRectangle},
        {7, kStringCentreCircle},
        {8, kStringTwoPointCircle},
        {9, kStringThreePointCircle},
        {10, kStringEllipse},
        {11, kStringCurve},
        {12, kStringPolygon},
        {1, 0},
        {13, 0},
        {14, 0},
        {15, 0},
        {16, 0},
        {17, 0},
        {19, 0},
    };
    for (const auto& c : cases) {
        const auto row = MeasurementRowFor(Object(c.type, 3, 2, 1.0f));
        EXPECT_EQ(row.has_value(), c.nameId != 0) << c.type;
        if (row) {
            EXPECT_EQ(row->nameId, c.nameId) << c.type;
            EXPECT_EQ(row->number, 3);
        }
    }
}

TEST(MeasurementRow, ValuesAreScaledAndWrittenWithTheObjectsDecimals) {
    const struct {
        int type;
        int decimals;
        float scale;
        std::array<std::u16string, 7> values;
    } cases[] = {
        // Values chosen so that no rounding falls on a tie.
        {2, 2, 1.0f, {u"10.00", u"4.00", u"2.56", u"13.00", u"1.06", u"10.00", u"30.81"}},
        {6, 0, 2.0f, {u"20", u"8", u"5", u"26", u"2", u"40", u"31"}},
        // A parallel shows its distance as its length; the angle is not scaled.
        {5, 1, 0.5f, {u"3.5", u"2.0", u"1.3", u"6.5", u"0.5", u"2.5", u"30.8"}},
        // Out-of-range decimals are clamped, never put into a format.
        {2, -7, 1.0f, {u"10", u"4", u"3", u"13", u"1", u"10", u"31"}},
        {2,
         1000000,
         1.0f,
         {u"10.0000000000", u"4.0000000000", u"2.5625000000", u"13.0000000000", u"1.0625000000", u"10.0000000000",
          u"30.8125000000"}},
    };
    for (const auto& c : cases) {
        const auto row = MeasurementRowFor(Object(c.type, 1, c.decimals, c.scale));
        ASSERT_TRUE(row) << c.type;
        EXPECT_EQ(row->values, c.values) << c.type << " decimals " << c.decimals;
    }
}

}  // namespace
