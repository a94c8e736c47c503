// Parameter-file names: a plain stem in the family's folder, nothing that
// reaches elsewhere.
#include <gtest/gtest.h>

#include "param_file_names.h"

namespace {

TEST(ParamFileNames, PlainNamesLieInTheFamilyFolder) {
    EXPECT_EQ(ParamFilePath(L"C:\\Mikra\\", L"CMOSE", L"Blood smear"), L"C:\\Mikra\\Params\\CMOSE\\Blood smear.ini");
    EXPECT_EQ(ParamFilePath(L"C:\\Mikra", L"CMOSE", L"血液"), L"C:\\Mikra\\Params\\CMOSE\\血液.ini");
}

TEST(ParamFileNames, NamesThatReachElsewhereAreRefused) {
    for (const wchar_t* name : {L"", L".", L"..", L"..\\Config", L"a/b", L"a\\b", L"C:x", L"a*", L"a?", L"a\"b", L"a<b",
                                L"a>b", L"a|b", L"tab\tname", L"trailing.", L"trailing "}) {
        EXPECT_FALSE(IsParamFileName(name)) << testing::PrintToString(std::wstring(name));
        EXPECT_FALSE(ParamFilePath(L"C:\\Mikra\\", L"CMOSE", name).has_value());
    }
}

}  // namespace
