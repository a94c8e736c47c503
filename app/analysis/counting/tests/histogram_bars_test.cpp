#include <gtest/gtest.h>

#include "histogram_bars.h"

namespace {

TEST(HistogramBars, LargestFillsThePanelEvenWhenSmallerThanIt) {
    struct Case {
        int count, largest, panel, height;
    };
    // A largest count below the panel height must still scale (it made the
    // divisor 0 when it was largest div panel height).
    for (const Case c : {Case{50, 50, 120, 120}, Case{25, 50, 120, 60}, Case{1, 50, 120, 2}, Case{0, 50, 120, 0},
                         Case{1000, 4000, 100, 25}, Case{7, 0, 100, 0}, Case{2000000000, 2000000000, 120, 120}}) {
        EXPECT_EQ(BarHeight(c.count, c.largest, c.panel), c.height) << c.count << "/" << c.largest;
    }
}

TEST(HistogramBars, ShareCountsTheWindowInclusively) {
    LevelCounts counts{};
    counts[0] = 10;
    counts[100] = 30;
    counts[255] = 60;
    EXPECT_DOUBLE_EQ(WindowShare(counts, 0, 255, 10, 10), 100.0);
    EXPECT_DOUBLE_EQ(WindowShare(counts, 100, 100, 10, 10), 30.0);
    EXPECT_DOUBLE_EQ(WindowShare(counts, 1, 99, 10, 10), 0.0);
    EXPECT_DOUBLE_EQ(WindowShare(counts, 0, 100, 0, 10), 0.0);
}

}  // namespace
