// The shared crosshair list: growth and access from the main thread, and a
// frame thread that always draws one consistent list while it grows.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "colour_ref.h"
#include "cross_line_list.h"

namespace {

TEST(CrossLineList, GrowsButNeverShrinksAndRefusesPositionsOutside) {
    CrossLineList list;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.Set(0, {}));
    list.Grow(5);
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Get(4), CrossLineEntry{});  // new entries are zeroed
    const CrossLineEntry entry{7, 1, 0, 12, 34, MakeColourRef(1, 2, 3)};
    EXPECT_TRUE(list.Set(4, entry));
    list.Grow(3);
    EXPECT_EQ(list.Count(), 5);
    list.Grow(-1);
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Get(4), entry);
    for (int outside : {-1, 5, 1 << 30}) {
        EXPECT_FALSE(list.Set(outside, entry)) << outside;
        EXPECT_FALSE(list.Get(outside).has_value()) << outside;
    }
}

// Entry i, once set, draws row i of a 1-column-wide band. The main thread
// grows the list one zeroed entry at a time and then sets it, while the
// frame thread draws: every frame must show the rows of a prefix of the
// entries (one list, not a mix), and never fewer than an earlier frame.
TEST(CrossLineList, FrameThreadDrawsAConsistentListWhileItGrows) {
    constexpr int kEntries = 2000;
    constexpr int kWidth = 4;
    constexpr int kHeight = kEntries + 1;
    CrossLineList list;
    std::atomic<bool> grown{false};

    std::thread frameThread([&] {
        std::vector<std::uint8_t> bytes(std::size_t(kWidth) * kHeight);
        int previous = 0;
        bool last = false;
        while (!last) {
            last = grown.load();  // one more frame after the list is complete
            std::fill(bytes.begin(), bytes.end(), 0);
            ASSERT_TRUE(list.DrawInto({bytes, kWidth, kHeight, 8}));
            int drawn = 0;
            while (drawn < kHeight && bytes[std::size_t(drawn) * kWidth + kWidth - 1] != 0) ++drawn;
            for (int row = drawn; row < kHeight; ++row) {
                ASSERT_EQ(bytes[std::size_t(row) * kWidth + kWidth - 1], 0) << "row " << row << " after " << drawn;
            }
            ASSERT_GE(drawn, previous);
            previous = drawn;
        }
        EXPECT_EQ(previous, kEntries);
    });

    for (int i = 0; i < kEntries; ++i) {
        list.Grow(i + 1);
        // Row i, column 0 (the band's last column stays free of vertical lines).
        ASSERT_TRUE(list.Set(i, {i, 1, 0, 0, kHeight - i, MakeColourRef(255, 255, 255)}));
    }
    grown = true;
    frameThread.join();
}

}  // namespace
