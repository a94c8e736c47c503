#include <gtest/gtest.h>

#include <string>

#include "calibration_store.h"
#include "memory_profile.h"

namespace {

class CalibrationStoreTest : public ::testing::Test {
protected:
    std::u16string Text(std::u16string_view section, std::u16string_view key) {
        return file_.Read(section, key).value_or(u"(missing)");
    }

    MemoryProfile file_;
    CalibrationStore store_{file_};
};

TEST_F(CalibrationStoreTest, FirstSaveWritesEveryKey) {
    EXPECT_EQ(store_.Count(), 0);
    // A line of 200 pixels calibrated as 50 μm.
    EXPECT_EQ(store_.Save(u"10x", 50.0f / 200.0f, u"\u03bcm", 2048, 1536), 1);
    EXPECT_EQ(Text(u"Scale", u"Count"), u"1");
    EXPECT_EQ(Text(u"scl_1", u"Name"), u"10x");
    EXPECT_EQ(Text(u"scl_1", u"Value"), u"0.250000");
    EXPECT_EQ(Text(u"scl_1", u"Rank"), u"1");
    EXPECT_EQ(Text(u"scl_1", u"Unit"), u"\u03bcm");
    EXPECT_EQ(Text(u"scl_1", u"Reso"), u"2048 * 1536");
    EXPECT_EQ(Text(u"scl_1", u"GridW"), u"10");
    EXPECT_EQ(Text(u"scl_1", u"GridH"), u"10");
    EXPECT_EQ(Text(u"scl_1", u"GColor"), u"16777215");
}

TEST_F(CalibrationStoreTest, SameNameOverwritesInPlaceOtherCaseIsNew) {
    store_.Save(u"a", 1.0f, u"mm", 10, 10);
    store_.Save(u"b", 2.0f, u"mm", 10, 10);
    file_.Write(u"scl_1", u"GridW", u"3.500000");
    file_.Write(u"scl_1", u"Rank", u"7");  // a stale rank must not redirect the write

    EXPECT_EQ(store_.Save(u"a", 4.0f, u"cm", 20, 30), 1);
    EXPECT_EQ(store_.Count(), 2);
    EXPECT_EQ(Text(u"scl_1", u"Value"), u"4.000000");
    EXPECT_EQ(Text(u"scl_1", u"Unit"), u"cm");
    EXPECT_EQ(Text(u"scl_1", u"GridW"), u"10");
    EXPECT_EQ(Text(u"scl_1", u"Rank"), u"1");
    EXPECT_FALSE(file_.Read(u"scl_7", u"Name"));

    EXPECT_EQ(store_.Save(u"A", 5.0f, u"mm", 1, 1), 3);
    EXPECT_EQ(store_.Count(), 3);
}

TEST_F(CalibrationStoreTest, SmallScalesKeepTheirDigits) {
    const float values[] = {0.000123456f, 1.0f / 3.0f, 2.5e-7f, 123456.789f, 0.25f};
    for (const float v : values) {
        const std::u16string text = CalibrationStore::FormatValue(v);
        EXPECT_EQ(CalibrationStore::ParseValue(text), v) << std::string(text.begin(), text.end());
    }
    EXPECT_EQ(CalibrationStore::FormatValue(0.25f), u"0.250000");
    // Values written by older versions stay readable.
    EXPECT_EQ(CalibrationStore::ParseValue(u"0.000123"), 0.000123f);
}

TEST_F(CalibrationStoreTest, UnreadableValuesMeasureInPixels) {
    for (const auto text : {u"NULL", u"abc", u"0", u"-2", u"inf", u"nan", u""}) {
        EXPECT_EQ(CalibrationStore::ParseValue(text), 1.0f);
    }
}

TEST_F(CalibrationStoreTest, DeletingTheSecondOfThreeRenumbers) {
    store_.Save(u"a", 1.0f, u"mm", 10, 10);
    store_.Save(u"b", 2.0f, u"cm", 20, 20);
    store_.Save(u"c", 3.0f, u"inch", 30, 30);
    file_.Write(u"scl_3", u"GridW", u"4.500000");
    store_.WriteRulerScale(2, 25);
    store_.WriteRulerScale(3, 40);

    ASSERT_TRUE(store_.Delete(2));
    EXPECT_EQ(Text(u"Scale", u"Count"), u"2");
    EXPECT_EQ(Text(u"scl_2", u"Name"), u"c");
    EXPECT_EQ(Text(u"scl_2", u"Rank"), u"2");
    EXPECT_EQ(Text(u"scl_2", u"Unit"), u"inch");
    EXPECT_EQ(Text(u"scl_2", u"Reso"), u"30 * 30");
    EXPECT_EQ(Text(u"scl_2", u"GridW"), u"4.500000");
    EXPECT_EQ(store_.ReadRulerScale(2), 40) << "the spacing moves with its calibration";
    for (const auto key :
         {u"Name", u"Value", u"Rank", u"Unit", u"Reso", u"GridW", u"GridH", u"GColor", u"RulerScale"}) {
        EXPECT_FALSE(file_.Read(u"scl_3", key));
    }
    EXPECT_EQ(store_.List().size(), 2u);
}

TEST_F(CalibrationStoreTest, DeletingTheLastLeavesNoSpacingForTheNextOne) {
    store_.Save(u"a", 1.0f, u"mm", 10, 10);
    store_.Save(u"b", 2.0f, u"cm", 20, 20);
    store_.WriteRulerScale(2, 50);
    ASSERT_TRUE(store_.Delete(2));
    store_.Save(u"c", 3.0f, u"inch", 30, 30);
    EXPECT_EQ(store_.ReadRulerScale(2), CalibrationStore::kDefaultRulerScale);
}

TEST_F(CalibrationStoreTest, RulerSpacingBelowOneOrUnreadableIsTen) {
    const struct {
        const char16_t* stored;
        int read;
    } cases[] = {{u"25", 25}, {u"1", 1}, {u"0", 10}, {u"-5", 10}, {u"abc", 10}, {u"", 10}, {u"99999999999", 10}};
    for (const auto& c : cases) {
        file_.Write(u"scl_0", u"RulerScale", c.stored);
        EXPECT_EQ(store_.ReadRulerScale(0), c.read) << "case " << (&c - cases);
    }
    EXPECT_EQ(store_.ReadRulerScale(7), 10) << "missing";
    store_.WriteRulerScale(0, 15);
    EXPECT_EQ(Text(u"scl_0", u"RulerScale"), u"15");
}

TEST_F(CalibrationStoreTest, DeleteOutsideTheStoredSectionsChangesNothing) {
    store_.Save(u"a", 1.0f, u"mm", 10, 10);
    for (const int n : {0, -1, 2}) {
        EXPECT_FALSE(store_.Delete(n));
    }
    EXPECT_EQ(store_.Count(), 1);
    EXPECT_EQ(Text(u"scl_1", u"Name"), u"a");
}

TEST_F(CalibrationStoreTest, DeleteAllRemovesTheFile) {
    store_.DeleteAll();  // nothing stored: nothing to do
    store_.Save(u"a", 1.0f, u"mm", 10, 10);
    store_.DeleteAll();
    EXPECT_TRUE(file_.Empty());
}

TEST_F(CalibrationStoreTest, UntrustedCountAndMissingSections) {
    file_.Write(u"Scale", u"Count", u"999999999");
    file_.Write(u"scl_2", u"Name", u"only");
    file_.Write(u"scl_2", u"Value", u"0.5");
    EXPECT_EQ(store_.Count(), CalibrationStore::kMaxCount);
    const auto list = store_.List();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].section, 2);
    EXPECT_EQ(list[0].unit, u"\u03bcm");  // missing unit
    EXPECT_EQ(list[0].value, 0.5f);

    file_.Write(u"Scale", u"Count", u"-4");
    EXPECT_EQ(store_.Count(), 0);
    EXPECT_TRUE(store_.List().empty());
}

TEST_F(CalibrationStoreTest, GridSettingsOfAnySectionWithDefaults) {
    // Nothing stored: 10 by 10, white, value 1 (also for "Default", scl_0).
    const CountingGridSettings none = store_.ReadGrid(0);
    EXPECT_EQ(none.width, 10.0f);
    EXPECT_EQ(none.height, 10.0f);
    EXPECT_EQ(none.colour, 0xFFFFFFu);
    EXPECT_EQ(none.value, 1.0f);

    file_.Write(u"scl_0", u"GridW", u"25.500000");
    file_.Write(u"scl_0", u"GridH", u"12.000000");
    file_.Write(u"scl_0", u"GColor", u"255");
    file_.Write(u"scl_0", u"Value", u"0.500000");
    const CountingGridSettings stored = store_.ReadGrid(0);
    EXPECT_EQ(stored.width, 25.5f);
    EXPECT_EQ(stored.height, 12.0f);
    EXPECT_EQ(stored.colour, 255u);
    EXPECT_EQ(stored.value, 0.5f);
}

TEST_F(CalibrationStoreTest, GridNumbersThatCannotBeUsedReadAsDefaults) {
    struct Case {
        const char16_t* text;
        float expected;
    };
    // 0 would divide by zero; NaN and infinities have no size; a negative
    // size stays as stored (the grid draws it as one pixel).
    for (const Case k : {Case{u"0", 10.0f}, Case{u"0.000000", 10.0f}, Case{u"nan", 10.0f}, Case{u"inf", 10.0f},
                         Case{u"abc", 10.0f}, Case{u"-4", -4.0f}, Case{u"7.25", 7.25f}}) {
        file_.Write(u"scl_3", u"GridW", k.text);
        file_.Write(u"scl_3", u"GridH", k.text);
        file_.Write(u"scl_3", u"Value", k.text);
        const CountingGridSettings grid = store_.ReadGrid(3);
        const std::u16string text(k.text);
        EXPECT_EQ(grid.width, k.expected) << std::string(text.begin(), text.end());
        EXPECT_EQ(grid.height, k.expected) << std::string(text.begin(), text.end());
        EXPECT_EQ(grid.value, k.expected == 10.0f ? 1.0f : k.expected) << std::string(text.begin(), text.end());
    }
}

}  // namespace
