#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "counter_styles.h"

namespace {

constexpr ColourRef kRed = 0x0000FF;
constexpr ColourRef kGreen = 0x00FF00;

TEST(CounterStyles, SetOverwritesThePairAndGetFallsBackToDefaults) {
    CCounterStyles styles;
    EXPECT_EQ(styles.Get(14, kRed), (CounterNumbering{1, 15}));
    styles.Set(kRed, 5, 20, 14);
    styles.Set(kGreen, 2, 9, 14);
    styles.Set(kRed, 7, 30, 14);
    EXPECT_EQ(styles.Get(14, kRed), (CounterNumbering{7, 30}));
    EXPECT_EQ(styles.Get(14, kGreen), (CounterNumbering{2, 9}));
    EXPECT_EQ(styles.Get(15, kRed), (CounterNumbering{1, 15}));
    ASSERT_EQ(styles.Records().size(), 2u);
    EXPECT_EQ(styles.Records()[0], (CounterStyle{0, 7, 14, kRed, 30}));
}

// A controller's counters with their numbering.
class Counting : public ::testing::Test {
protected:
    template <typename Marker>
    CCL_Count& Stamp(ColourRef colour) {
        auto marker = std::make_unique<Marker>();
        styles.Number(*marker, colour);
        objects.push_back(std::move(marker));
        return static_cast<CCL_Count&>(*objects.back());
    }
    void Delete(CCL_Count& counter) {
        styles.Unnumber(counter, objects);
        std::erase_if(objects, [&](const std::unique_ptr<CCLObject>& o) { return o.get() == &counter; });
    }
    std::vector<std::int32_t> Numbers(std::int32_t type, ColourRef colour) const {
        std::vector<std::int32_t> numbers;
        for (const auto& o : objects) {
            const auto* c = dynamic_cast<const CCL_Count*>(o.get());
            if (c != nullptr && c->type == type && c->markerColour == colour) {
                numbers.push_back(c->number);
            }
        }
        return numbers;
    }

    CCounterStyles styles;
    std::vector<std::unique_ptr<CCLObject>> objects;
};

TEST_F(Counting, EachKindAndColourCountsOnItsOwn) {
    EXPECT_EQ(Stamp<CCL_CountCircle>(kRed).number, 1);
    EXPECT_EQ(Stamp<CCL_CountCircle>(kRed).number, 2);
    EXPECT_EQ(Stamp<CCL_CountDiamond>(kRed).number, 1);
    CCL_Count& green = Stamp<CCL_CountCircle>(kGreen);  // a new colour starts at 1
    EXPECT_EQ(green.number, 1);
    EXPECT_EQ(green.markerColour, kGreen);
    // The first marker of a colour registers all three kinds, circle first.
    ASSERT_EQ(styles.Records().size(), 6u);
    EXPECT_EQ(styles.Records()[0], (CounterStyle{2, 3, 14, kRed, 15}));
    EXPECT_EQ(styles.Records()[1], (CounterStyle{0, 1, 16, kRed, 15}));
    EXPECT_EQ(styles.Records()[2], (CounterStyle{1, 2, 15, kRed, 15}));
}

TEST_F(Counting, MarkersTakeTheStyleSize) {
    styles.Set(kRed, 10, 25, 16);
    CCL_Count& marker = Stamp<CCL_CountRect>(kRed);
    EXPECT_EQ(marker.number, 10);
    EXPECT_EQ(marker.size, 25);
}

TEST_F(Counting, DefaultsDoNotResetAStyleInUse) {
    styles.Set(kRed, 5, 20, 16);  // squares of red already numbered up to 4
    EXPECT_EQ(Stamp<CCL_CountCircle>(kRed).number, 1);
    EXPECT_EQ(styles.Get(16, kRed), (CounterNumbering{5, 20}));
    EXPECT_EQ(Stamp<CCL_CountRect>(kRed).number, 5);
}

TEST_F(Counting, DeletingClosesTheGapInItsStyleOnly) {
    Stamp<CCL_CountCircle>(kRed);
    CCL_Count& second = Stamp<CCL_CountCircle>(kRed);
    Stamp<CCL_CountCircle>(kRed);
    Stamp<CCL_CountCircle>(kGreen);
    Stamp<CCL_CountCircle>(kGreen);
    Stamp<CCL_CountDiamond>(kRed);
    Stamp<CCL_CountDiamond>(kRed);
    Delete(second);
    EXPECT_EQ(Numbers(14, kRed), (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(Numbers(14, kGreen), (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(Numbers(15, kRed), (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(styles.Records()[0], (CounterStyle{2, 3, 14, kRed, 15}));
    EXPECT_EQ(Stamp<CCL_CountCircle>(kRed).number, 3);
}

TEST_F(Counting, OtherObjectsAreNotNumbered) {
    CCL_Count bare;
    styles.Number(bare, kRed);
    EXPECT_EQ(bare.number, -1);
    EXPECT_TRUE(styles.Records().empty());
    styles.Unnumber(bare, objects);
    EXPECT_TRUE(styles.Records().empty());
}

}  // namespace
