// The rows and formats the Office exports write, from measurement objects
// and counter summaries.
#include <gtest/gtest.h>

#include <optional>

#include "office_rows.h"

namespace {

CCLObject Make(int type, int number, int decimals, float scale) {
    CCLObject object;
    object.type = type;
    object.number = number;
    object.decimals = decimals;
    object.scale = scale;
    object.unitText = u"μm";
    object.results[CCLObject::kAngle] = 30.0f;
    object.results[CCLObject::kLength] = 10.0f;
    object.results[CCLObject::kWidth] = 4.0f;
    object.results[CCLObject::kHeight] = 6.0f;
    object.results[CCLObject::kPerimeter] = 20.0f;
    object.results[CCLObject::kArea] = 100.0f;
    object.results[CCLObject::kRadius] = 3.0f;
    object.results[CCLObject::kDistance] = 8.0f;
    return object;
}

const OfficeTextSource kNoLibrary = [](int) { return std::wstring(); };

}  // namespace

TEST(OfficeRows, EachMeasuredKindWritesNineCells) {
    using Row = std::array<std::wstring, 9>;
    struct Case {
        int type;
        int decimals;
        float scale;
        Row row;
    } cases[] = {
        {2, 2, 0.5f, {L"直线_3", L"5.00", L"2.00", L"3.00", L"10.00", L"1.50", L"25.00", L"30.00", L"μm"}},
        {3, 1, 2.0f, {L"角_3", L"20.0", L"8.0", L"12.0", L"40.0", L"6.0", L"400.0", L"30.0", L"°"}},
        {4, 0, 1.0f, {L"直线夹角_3", L"10", L"4", L"6", L"20", L"3", L"100", L"30", L"°"}},
        {5, 2, 0.5f, {L"平行线_3", L"4.00", L"2.00", L"3.00", L"10.00", L"1.50", L"25.00", L"30.00", L"μm"}},
        {12, 3, 1.0f, {L"多边形_3", L"10.000", L"4.000", L"6.000", L"20.000", L"3.000", L"100.000", L"30.000", L"μm"}},
    };
    for (const Case& c : cases) {
        const std::optional<Row> row = OfficeRowFor(Make(c.type, 3, c.decimals, c.scale), kNoLibrary);
        ASSERT_TRUE(row.has_value()) << c.type;
        EXPECT_EQ(*row, c.row) << c.type;
    }
}

TEST(OfficeRows, ObjectsThatAreNoMeasurementsHaveNoRow) {
    for (int type : {0, 1, 13, 14, 15, 16, 17, 19}) {
        EXPECT_FALSE(OfficeRowFor(Make(type, 1, 2, 1.0f), kNoLibrary).has_value()) << type;
    }
}

TEST(OfficeRows, TheLanguageLibraryNamesObjectsAndHeadings) {
    const OfficeTextSource english = [](int id) {
        return id == 47003 ? std::wstring(L"Line") : id == 47039 ? std::wstring(L"Type") : std::wstring();
    };
    EXPECT_EQ((*OfficeRowFor(Make(2, 7, 2, 1.0f), english))[0], L"Line_7");
    const auto headings = OfficeHeadings(english);
    EXPECT_EQ(headings[0], L"Type");
    EXPECT_EQ(headings[8], L"单位");  // the library has none: the program's own text
}

TEST(OfficeRows, CounterRowsOnlyForCountedMarkerKinds) {
    struct Case {
        CounterStyle counter;
        std::optional<std::array<std::wstring, 4>> row;
    } cases[] = {
        {{2, 3, 14, 255}, std::array<std::wstring, 4>{L"圆形计数器", L"●", L"2", L"255"}},
        {{1, 2, 15, 0xFF00}, std::array<std::wstring, 4>{L"菱形计数器", L"◆", L"1", L"65280"}},
        {{9, 10, 16, 0xFFFFFF}, std::array<std::wstring, 4>{L"矩形计数器", L"■", L"9", L"16777215"}},
        {{0, 1, 14, 255}, std::nullopt},
        {{-1, 1, 15, 255}, std::nullopt},
        {{4, 5, 17, 255}, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<CounterRow> row = CounterRowFor(c.counter, kNoLibrary);
        ASSERT_EQ(row.has_value(), c.row.has_value()) << c.counter.kind << " " << c.counter.count;
        if (row) {
            EXPECT_EQ((std::array<std::wstring, 4>{row->name, row->symbol, row->count, row->colour}), *c.row);
        }
    }
}

TEST(OfficeRows, WorkbookFormatFollowsTheExtension) {
    struct Case {
        const char* target;
        int format;
    } cases[] = {{"a.xls", 56}, {"a.xlsx", 51}, {"a.XLSX", 51}, {"dir.xlsx/a.xls", 56}, {"noext", 56}};
    for (const Case& c : cases) EXPECT_EQ(WorkbookFormatFor(c.target), c.format) << c.target;
}
