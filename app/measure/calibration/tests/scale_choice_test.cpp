#include <gtest/gtest.h>

#include <string>

#include "memory_profile.h"
#include "scale_choice.h"

namespace {

Calibration Entry(int section, std::u16string name, float value, std::u16string unit) {
    Calibration c;
    c.section = section;
    c.name = std::move(name);
    c.value = value;
    c.unit = std::move(unit);
    return c;
}

TEST(ScaleChoiceTest, ValueAndUnitSelectTheClosestEntryWithinAScaledTolerance) {
    const std::vector<Calibration> entries{
        Entry(1, u"a", 0.00025f, u"mm"), Entry(2, u"b", 0.0005f, u"mm"),  Entry(3, u"c", 0.25f, u"mm"),
        Entry(4, u"d", 0.25f, u"\u03bcm"), Entry(5, u"e", 120.0f, u"inch"), Entry(6, u"f", 0.2502f, u"mm"),
    };
    struct Case {
        float value;
        std::u16string unit;
        int index;
    };
    const Case cases[] = {
        {0.0005f, u"mm", 2},       // the first entry within 0.001 is not the one
        {0.00025f, u"mm", 1},
        {0.0004f, u"mm", 0},       // 20 % away from either
        {0.2505f, u"mm", 6},       // closest of 0.25 and 0.2502
        {0.2499f, u"mm", 3},
        {0.2505f, u"MM", 6},       // unit case ignored
        {0.25f, u"UM", 0},         // "um" is not "μm"
        {0.25f, u"\u00b5m", 4},    // the micro sign of an 8-bit file is "μm"
        {0.25f, u"\u039cM", 4},    // capital mu
        {0.25f, u"cm", 0},
        {120.0005f, u"inch", 5},   // large values: at most 0.001 away
        {120.002f, u"inch", 0},
        {0.0f, u"mm", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchCalibrationByValue(entries, c.value, c.unit), c.index)
            << c.value << " " << std::string(c.unit.begin(), c.unit.end());
    }
    EXPECT_EQ(MatchCalibrationByValue({}, 0.25f, u"mm"), 0);
    const std::vector<Calibration> quarter{Entry(1, u"q", 0.250000f, u"mm")};
    EXPECT_EQ(MatchCalibrationByValue(quarter, 0.2505f, u"mm"), 1);
}

TEST(ScaleChoiceTest, NameSelectsTheFirstEntryIgnoringCase) {
    const std::vector<Calibration> entries{Entry(1, u"Obj 10X", 1.0f, u"mm"), Entry(2, u"obj 10x", 2.0f, u"mm"),
                                           Entry(3, u"\u03a7\u0391", 1.0f, u"mm")};
    EXPECT_EQ(MatchCalibrationByName(entries, u"OBJ 10x"), 1);
    EXPECT_EQ(MatchCalibrationByName(entries, u"\u03c7\u03b1"), 3);
    EXPECT_EQ(MatchCalibrationByName(entries, u"Default"), 0);
    EXPECT_EQ(MatchCalibrationByName(entries, u"obj"), 0);
}

TEST(ScaleChoiceTest, ItemKStaysSectionKWhenASectionIsMissing) {
    MemoryProfile file;
    CalibrationStore store(file);
    store.Save(u"a", 0.5f, u"mm", 1, 1);
    store.Save(u"b", 2.0f, u"cm", 1, 1);
    store.Save(u"c", 3.0f, u"mil", 1, 1);
    for (const std::u16string_view key : {u"Name", u"Value", u"Unit", u"Reso", u"Rank"}) {
        file.DeleteKey(u"scl_2", key);
    }
    const std::vector<Calibration> items = ListCalibrationItems(store);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].name, u"a");
    EXPECT_EQ(items[1].section, 2);
    EXPECT_EQ(items[1].name, u"");
    EXPECT_EQ(items[1].value, 1.0f);
    EXPECT_EQ(items[1].unit, u"\u03bcm");
    EXPECT_EQ(items[2].section, 3);
    EXPECT_EQ(items[2].name, u"c");
    EXPECT_EQ(MatchCalibrationByValue(items, 3.0f, u"mil"), 3);
}

TEST(ScaleChoiceTest, AnUntrustedCountIsCapped) {
    MemoryProfile file;
    CalibrationStore store(file);
    file.Write(u"Scale", u"Count", u"2147483647");
    EXPECT_EQ(ListCalibrationItems(store).size(), static_cast<std::size_t>(CalibrationStore::kMaxCount));
    file.Write(u"Scale", u"Count", u"-4");
    EXPECT_TRUE(ListCalibrationItems(store).empty());
}

TEST(ScaleChoiceTest, DefaultCarriesTheDrawingUnitOrMillimetres) {
    EXPECT_EQ(DefaultChoiceUnit(u"cm"), u"cm");
    EXPECT_EQ(DefaultChoiceUnit(u""), u"mm");
    EXPECT_EQ(DefaultChoiceUnit(u"NULL"), u"mm");
    EXPECT_EQ(DefaultChoiceUnit(std::nullopt), u"mm");
}

}  // namespace
