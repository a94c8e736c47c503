#pragma once
// Checks shared by the tests of the model tables.
#include <gtest/gtest.h>

#include <span>
#include <string>

#include "labelled_size.h"

// The labels joined with '|'.
inline std::wstring JoinLabels(std::span<const LabelledSize> table) {
    std::wstring joined;
    for (const LabelledSize& entry : table) {
        joined += (joined.empty() ? L"" : L"|") + std::wstring(entry.label);
    }
    return joined;
}

// Each label reads "<width> * <height>" of its own entry, and no entry is
// wider or taller than the first, from which the frame buffers are sized.
inline void ExpectLabelsNameSizesLargestFirst(std::span<const LabelledSize> table) {
    ASSERT_FALSE(table.empty());
    for (const LabelledSize& entry : table) {
        EXPECT_EQ(std::wstring(entry.label), std::to_wstring(entry.width) + L" * " + std::to_wstring(entry.height));
        EXPECT_LE(entry.width, table.front().width) << entry.label;
        EXPECT_LE(entry.height, table.front().height) << entry.label;
    }
}
