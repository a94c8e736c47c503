// The workbook extension rule the exporter and the export file list share.
#include <gtest/gtest.h>

#include <string>

#include "office_version.h"

TEST(UsesXlsx, MajorVersionTwelveAndLaterWriteXlsx) {
    const struct {
        const wchar_t* version;
        bool xlsx;
    } cases[] = {
        {L"11.0", false}, {L"9.0", false},   {L"12.0", true},  {L"13.0", true}, {L"14.0", true},
        {L"15.0", true},  {L"16.0", true},   {L"120.0", true}, {L"", false},    {L"abc", false},
        {L".14", false},  {L" 14.0", false}, {L"1", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UsesXlsx(c.version), c.xlsx) << c.version;
    }
}
