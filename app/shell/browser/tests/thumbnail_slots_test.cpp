// The browser's thumbnail cache gives way by last use: what was drawn most
// recently stays, a freed slot is taken before an occupied one, and a
// larger capacity keeps every thumbnail where it is.
#include <gtest/gtest.h>

#include "thumbnail_slots.h"

TEST(ThumbnailSlots, TheSlotUsedLongestAgoGivesWayWhenFull) {
    ThumbnailSlots slots(3);
    EXPECT_EQ(slots.Take(11), 0);
    EXPECT_EQ(slots.Take(12), 1);
    EXPECT_EQ(slots.Take(13), 2);
    // Drawing 11 again makes 12 the oldest.
    EXPECT_EQ(slots.Find(11), 0);
    EXPECT_EQ(slots.Take(14), 1);
    EXPECT_EQ(slots.Find(12), -1);
    EXPECT_EQ(slots.Find(14), 1);
    EXPECT_EQ(slots.Take(15), 2);  // 13 was used before 11 and 14
    EXPECT_EQ(slots.Find(13), -1);
    EXPECT_EQ(slots.GetSlotCount(), 3);
    // Taking a key already held keeps its slot.
    EXPECT_EQ(slots.Take(11), 0);
    EXPECT_EQ(slots.Find(0), -1);
}

TEST(ThumbnailSlots, AFreedSlotIsTakenFirstAndReservingKeepsSlots) {
    ThumbnailSlots slots(2);
    slots.Take(1);
    slots.Take(2);
    slots.Forget(1);
    slots.Forget(99);
    EXPECT_EQ(slots.Find(1), -1);
    EXPECT_EQ(slots.Take(3), 0);
    EXPECT_EQ(slots.Find(2), 1);

    slots.Reserve(4);
    slots.Reserve(1);  // never shrinks
    EXPECT_EQ(slots.GetCapacity(), 4);
    EXPECT_EQ(slots.Take(4), 2);
    EXPECT_EQ(slots.Take(5), 3);
    EXPECT_EQ(slots.Find(3), 0);
    EXPECT_EQ(slots.Find(2), 1);
    EXPECT_EQ(slots.Take(6), 2);  // 4 is now the oldest

    slots.Clear();
    EXPECT_EQ(slots.GetSlotCount(), 0);
    EXPECT_EQ(slots.Find(2), -1);
    EXPECT_EQ(slots.Take(7), 0);

    ThumbnailSlots none(0);
    EXPECT_EQ(none.Take(1), -1);
}
