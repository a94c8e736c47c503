#include <gtest/gtest.h>

#include <string>

#include "units.h"

namespace {

TEST(Units, ConvertBetweenAllSixBothWays) {
    struct Case {
        std::u16string_view from;
        std::u16string_view to;
        float value;
        double expected;
    };
    const Case cases[] = {
        {u"mm", u"\u03bcm", 1.0f, 1000.0}, {u"cm", u"mm", 1.0f, 10.0},         {u"inch", u"mm", 1.0f, 25.4},
        {u"inch", u"mil", 1.0f, 1000.0},   {u"inch", u"uin", 1.0f, 1000000.0}, {u"mil", u"cm", 1000.0f, 2.54},
        {u"mil", u"\u03bcm", 1.0f, 25.4},  {u"uin", u"mm", 1.0f, 0.0000254},   {u"mm", u"inch", 25.4f, 1.0},
        {u"\u03bcm", u"cm", 100.0f, 0.01}, {u"cm", u"cm", 3.5f, 3.5},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(ConvertUnit(c.value, c.from, c.to), c.expected, c.expected * 1e-6)
            << std::string(c.from.begin(), c.from.end()) << " -> " << std::string(c.to.begin(), c.to.end());
    }
    // Every pair converts there and back to the value it started from.
    for (const auto from : kLengthUnits) {
        for (const auto to : kLengthUnits) {
            const double there = ConvertUnit(7.0f, from, to);
            EXPECT_NEAR(ConvertUnit(static_cast<float>(there), to, from), 7.0, 1e-5);
        }
    }
}

TEST(Units, UnknownUnitsPassTheValueThrough) {
    EXPECT_EQ(ConvertUnit(12.5f, u"mm", u"furlong"), 12.5);
    EXPECT_EQ(ConvertUnit(12.5f, u"px", u"mm"), 12.5);
}

TEST(Units, MissingUnitIsTheDefaultUnit) {
    EXPECT_EQ(NormalizeUnit(u"NULL"), u"\u03bcm");
    EXPECT_EQ(NormalizeUnit(u""), u"\u03bcm");
    EXPECT_EQ(NormalizeUnit(u"\u00b5m"), u"\u03bcm");
    EXPECT_EQ(ConvertUnit(1000.0f, u"\u00b5m", u"mm"), 1.0);
    EXPECT_NEAR(ConvertUnit(1.0f, u"NULL", u"mm"), 0.001, 1e-12);
    EXPECT_EQ(UnitIndex(u"inch"), 3);
    EXPECT_EQ(UnitIndex(u"Inch"), -1);
}

TEST(Units, DisplayCycleStepsThroughTheSixAndRestartsOutsideThem) {
    struct Case {
        std::u16string_view unit;
        std::u16string_view next;
    };
    const Case cases[] = {
        {u"\u03bcm", u"mm"}, {u"mm", u"cm"},       {u"cm", u"inch"},      {u"inch", u"mil"},
        {u"mil", u"uin"},    {u"uin", u"\u03bcm"}, {u"\u00b5m", u"mm"},   {u"NULL", u"mm"},
        {u"", u"mm"},        {u"px", u"\u03bcm"},  {u"Inch", u"\u03bcm"}, {u"nm", u"\u03bcm"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NextLengthUnit(c.unit), c.next) << std::string(c.unit.begin(), c.unit.end());
    }
    // Six steps from any unit of the cycle come back to it.
    for (const auto start : kLengthUnits) {
        std::u16string_view unit = start;
        for (int step = 0; step < 6; ++step) {
            unit = NextLengthUnit(unit);
        }
        EXPECT_EQ(unit, start);
    }
}

}  // namespace
