#include <gtest/gtest.h>

#include "fix32.h"

namespace twain {
namespace {

TEST(Fix32, RoundsHalfAwayFromZeroOnBothSides) {
    struct Row {
        float value;
        int whole;
        unsigned frac;
    };
    const Row rows[] = {
        {0.0f, 0, 0},
        {1000.0f, 1000, 0},
        {-1000.0f, -1000, 0},
        {8.5f, 8, 0x8000},
        {-8.5f, -9, 0x8000},
        {100.0f, 100, 0},
        {-1.0f, -1, 0},
        {0.5f / 65536, 0, 1},
        {-0.5f / 65536, -1, 0xFFFF},
        {-128.25f, -129, 0xC000},
        {32767.0f, 32767, 0},
        {-32768.0f, -32768, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        const TW_FIX32 fix = ToFix32(row.value);
        EXPECT_EQ(fix.Whole, row.whole);
        EXPECT_EQ(fix.Frac, row.frac);
    }
}

TEST(Fix32, ReadsBackWhatItWrote) {
    for (float v : {-1000.0f, -999.5f, -0.25f, 0.0f, 1.0f, 11.0f, 255.0f, 1234.75f}) {
        SCOPED_TRACE(v);
        EXPECT_EQ(FromFix32(ToFix32(v)), v);
        EXPECT_EQ(Fix32Bits(Fix32FromBits(Fix32Bits(ToFix32(v)))), Fix32Bits(ToFix32(v)));
    }
}

}  // namespace
}  // namespace twain
