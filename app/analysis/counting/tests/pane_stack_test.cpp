#include <gtest/gtest.h>

#include "pane_stack.h"

namespace {

// A 400-pixel client: picture 5..200, summary 205..285, table 290..395.
constexpr PaneStack kPanes{5, 200, 205, 285, 290, 395};

TEST(PaneStack, SharesCountLowPanesAsTheMinimum) {
    const PaneShares shares = SharesOf(kPanes, 400);
    EXPECT_FLOAT_EQ(shares.summary, 0.2f);
    EXPECT_FLOAT_EQ(shares.table, 105.0f / 400);
    EXPECT_FLOAT_EQ(shares.picture, 1.0f - 0.2f - 105.0f / 400);

    const PaneShares low = SharesOf(PaneStack{5, 300, 305, 325, 330, 395}, 400);
    EXPECT_FLOAT_EQ(low.summary, 0.2f);  // 20 pixels counted as 80
    EXPECT_FLOAT_EQ(low.table, 0.2f);    // 65 pixels counted as 80

    const PaneShares none = SharesOf(kPanes, 0);
    EXPECT_EQ(none.summary, 0.0f);
}

TEST(PaneStack, SummaryAndTableKeepTheirSharesThePictureTakesTheRest) {
    const struct {
        int newHeight;
        PaneStack expected;
    } cases[] = {
        // 640: table 168 high ending 5 from the bottom, summary 128, gaps of 5 kept.
        {640, {5, 329, 334, 462, 467, 635}},
        // 240: the shares ask for less than the minimum; the caller restores.
        {240, {5, 114, 119, 167, 172, 235}},
        // Edges that would move by 5 or less stay: 403 moves the table's
        // bottom by 3 and its top by 2.
        {403, kPanes},
    };
    const PaneShares shares = SharesOf(kPanes, 400);
    for (const auto& c : cases) {
        EXPECT_EQ(LayOutPanes(kPanes, shares, 400, c.newHeight), c.expected) << c.newHeight;
    }
    EXPECT_TRUE(IsPaneTooLow(LayOutPanes(kPanes, shares, 400, 240)));
    EXPECT_FALSE(IsPaneTooLow(LayOutPanes(kPanes, shares, 400, 640)));
}

TEST(PaneStack, TheSameSharesBringTheSameLayoutBack) {
    const PaneShares shares = SharesOf(kPanes, 400);
    const PaneStack grown = LayOutPanes(kPanes, shares, 400, 700);
    EXPECT_EQ(LayOutPanes(grown, shares, 700, 400), kPanes);
}

}  // namespace
