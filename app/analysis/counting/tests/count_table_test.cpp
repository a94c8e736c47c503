#include <gtest/gtest.h>

#include "count_table.h"

namespace {

std::vector<_tagOBJRESULT> Targets(int count) {
    std::vector<_tagOBJRESULT> records(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        _tagOBJRESULT& r = records[static_cast<std::size_t>(i)];
        r.number = i + 1;
        r.area = 100.0 + i;
        r.perimeter = 40;
        r.width = r.height = 10;
        r.radius = 6;
        r.roundness = 0.9;
        r.greyMin = static_cast<std::uint8_t>(10 + i);
        r.greyMax = 200;
        r.greyMean = 100;
        r.greySum = 3000000000u;
    }
    return records;
}

CountTableSource Source(double scale, int decimals, int width = 64, int height = 48) {
    return CountTableSource{width, height, width, height, scale, decimals, L"\u03bcm"};
}

TEST(CountTable, ExcludedTargetsLeaveRowsNumberedInVectorOrder) {
    std::vector<_tagOBJRESULT> records = Targets(10);
    for (const int i : {1, 4, 9}) {
        records[static_cast<std::size_t>(i)].excluded = 1;
    }
    const CountTable table = BuildCountTable(records, Source(1.0, 0));
    ASSERT_EQ(table.rows.size(), 7u);
    EXPECT_EQ(table.rowTargets, (std::vector<int>{1, 3, 4, 6, 7, 8, 9}));
    for (std::size_t row = 0; row < 7; ++row) {
        EXPECT_EQ(table.rows[row][0], std::to_wstring(row + 1));
    }
    EXPECT_EQ(table.rows[1][1], L"102");  // the third target's area
    EXPECT_EQ(table.rows[0][11], L"3000000000");
    // The range spans the rows shown only.
    EXPECT_EQ(table.range.lower.area, 100.0);
    EXPECT_EQ(table.range.upper.area, 108.0);
    EXPECT_EQ(table.range.lower.greyMin, 10);
    EXPECT_EQ(table.range.upper.greyMin, 18);
}

TEST(CountTable, CalibratedColumnsAndSummaryCarryTheUnit) {
    std::vector<_tagOBJRESULT> records = Targets(1);
    records[0].area = 100;
    const CountTable table = BuildCountTable(records, Source(0.5, 2));
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.rows[0][1], L"25.00");
    EXPECT_EQ(table.rows[0][2], L"20.00");
    EXPECT_EQ(table.rows[0][6], L"2.82");  // 0.5 x sqrt(100 / pi)
    EXPECT_EQ(table.rows[0][7], L"0.90");
    EXPECT_EQ(table.summary[0], L"768.00 \u03bcm * \u03bcm");
    EXPECT_EQ(table.summary[2], L"25.00 \u03bcm * \u03bcm");
    EXPECT_EQ(table.summary[3], L"0.03");  // 100 of 3072
}

TEST(CountTable, TargetAreaIsSummedWithoutTruncation) {
    std::vector<_tagOBJRESULT> records = Targets(3);
    records[0].area = 10.5;
    records[1].area = 20.25;
    records[2].area = 0.75;
    const CountTable table = BuildCountTable(records, Source(1.0, 2));
    EXPECT_DOUBLE_EQ(table.targetArea, 31.5);
    EXPECT_EQ(table.summary[2], L"31.50 \u03bcm * \u03bcm");
}

TEST(CountTable, EmptyRegionOrNoRowsGiveAShareOfZero) {
    std::vector<_tagOBJRESULT> records = Targets(4);
    CountTableSource empty = Source(1.0, 2);
    empty.regionWidth = 0;
    const CountTable none = BuildCountTable(records, empty);
    EXPECT_EQ(none.summary[1], L"0.00 \u03bcm * \u03bcm");
    EXPECT_EQ(none.summary[3], L"0.00");

    for (_tagOBJRESULT& r : records) {
        r.excluded = 1;
    }
    const CountTable hidden = BuildCountTable(records, Source(1.0, 2));
    EXPECT_TRUE(hidden.rows.empty());
    EXPECT_EQ(hidden.summary[2], L"0.00 \u03bcm * \u03bcm");
    EXPECT_EQ(hidden.summary[3], L"0.00");
    EXPECT_EQ(hidden.range.lower.area, 100.0) << "the first record stands for the range";
    EXPECT_TRUE(BuildCountTable({}, Source(1.0, 2)).rows.empty());
}

}  // namespace
