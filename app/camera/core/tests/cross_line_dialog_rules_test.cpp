// What the crosshair dialog accepts from the user.
#include <gtest/gtest.h>

#include "cross_line_dialog_rules.h"

namespace {

TEST(CrossLineDialogRules, CountFrom0To100) {
    struct Case {
        long long typed;
        std::optional<int> count;
    };
    const Case cases[] = {
        {0, 0}, {1, 1}, {100, 100}, {101, std::nullopt}, {-1, std::nullopt}, {1LL << 40, std::nullopt}};
    for (const Case& c : cases) {
        EXPECT_EQ(ValidCrossLineCount(c.typed), c.count) << c.typed;
    }
}

TEST(CrossLineDialogRules, PositionWithinTheVideo) {
    struct Case {
        long long typed;
        int limit;
        int position;
    };
    const Case cases[] = {{-5, 640, 0},    {0, 640, 0},           {320, 640, 320},        {640, 640, 640},
                          {641, 640, 640}, {1LL << 40, 480, 480}, {-(1LL << 40), 480, 0}, {7, 0, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(ClampCrossPosition(c.typed, c.limit), c.position) << c.typed << " in " << c.limit;
    }
}

TEST(CrossLineDialogRules, AChosenColourKeepsTheStoredTopByte) {
    EXPECT_EQ(ChosenCrossColour(0xAB000000u, 0x00123456u), 0xAB123456u);
    EXPECT_EQ(ChosenCrossColour(0xAB654321u, 0xFF123456u), 0xAB123456u);
    EXPECT_EQ(ChosenCrossColour(0x00FFFFFFu, 0x00000000u), 0x00000000u);
}

}  // namespace
