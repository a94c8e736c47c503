// The device tree's lists: numbering, the first device, entries by
// selection, and a refill that starts every list afresh.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device_tree_lists.h"

namespace {

TEST(DeviceTreeLists, NumbersEachCategoryFromOne) {
    DeviceTreeLists lists;
    EXPECT_EQ(lists.Add(4, {L"KQGE_Parsun", 0}), L"1. KQGE_Parsun");
    EXPECT_EQ(lists.Add(2, {L"Cam A", 1}), L"1. Cam A");
    EXPECT_EQ(lists.Add(4, {L"KQGE_Ostrel", 1}), L"2. KQGE_Ostrel");
    EXPECT_EQ(lists.Add(4, {L"", 2}), L"3. ");
    for (int category : {0, 6, -1}) {
        EXPECT_EQ(lists.Add(category, {L"x", 0}), std::nullopt) << category;
    }
    EXPECT_EQ(lists.At({4, 1}), (DeviceTreeEntry{L"KQGE_Ostrel", 1}));
    EXPECT_EQ(lists.At({4, 3}), std::nullopt);
    EXPECT_EQ(lists.At({4, -1}), std::nullopt);
    EXPECT_EQ(lists.At({3, 0}), std::nullopt);
    EXPECT_EQ(lists.At({0, 0}), std::nullopt);
}

TEST(DeviceTreeLists, FirstIsTheLowestCategoryWithDevices) {
    DeviceTreeLists lists;
    EXPECT_EQ(lists.First(), std::nullopt);
    lists.Add(5, {L"UVC", 0});
    lists.Add(2, {L"CMOS", 1});
    EXPECT_EQ(lists.First(), (DeviceTreeSelection{2, 0}));
    EXPECT_TRUE(lists.IsEmpty(1));
    EXPECT_FALSE(lists.IsEmpty(5));
}

TEST(DeviceTreeLists, ClearStartsTheNumberingAgainAndForgetsTheSelection) {
    DeviceTreeLists lists;
    lists.Add(3, {L"old 1", 1});
    lists.Add(3, {L"old 2", 2});
    lists.Select({3, 1});
    lists.Clear();
    EXPECT_EQ(lists.Selected(), DeviceTreeSelection{});
    EXPECT_EQ(lists.Add(3, {L"new", 7}), L"1. new");
    EXPECT_EQ(lists.At({3, 0}), (DeviceTreeEntry{L"new", 7}));
    EXPECT_EQ(lists.At({3, 1}), std::nullopt);
}

}  // namespace
