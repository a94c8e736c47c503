// The controls' resources in both language libraries: cursors, the file
// list's document icons and the floating window's menu texts; the
// calibration notice keeps its own number.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "browser_resource.h"
#include "controls_resource.h"
#include "measure_resource.h"

namespace {

std::wstring String(HMODULE module, UINT id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

struct Language {
    const wchar_t* library;
    const wchar_t* copy;
    const wchar_t* cut;
};

class ControlResources : public ::testing::TestWithParam<Language> {};

TEST_P(ControlResources, AreInTheLanguageLibrary) {
    HMODULE module = LoadLibraryExW(GetParam().library, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    for (int id = IDC_CURSOR_ARROW; id <= IDC_CURSOR_SIZE_NS; ++id) {
        HANDLE cursor = LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE);
        ASSERT_NE(cursor, nullptr) << id;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(static_cast<HICON>(cursor), &info)) << id;
        EXPECT_FALSE(info.fIcon) << id;
        DeleteObject(info.hbmMask);
        if (info.hbmColor) {
            DeleteObject(info.hbmColor);
        }
        DestroyCursor(static_cast<HCURSOR>(cursor));
    }
    for (int id : {IDB_WORD_DOCUMENT, IDB_WORKBOOK}) {
        HANDLE bitmap = LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        ASSERT_NE(bitmap, nullptr) << id;
        BITMAP info{};
        GetObjectW(bitmap, sizeof(info), &info);
        EXPECT_EQ(info.bmWidth, 40) << id;
        EXPECT_EQ(info.bmHeight, 40) << id;
        EXPECT_EQ(info.bmBitsPixel, 24) << id;
        DeleteObject(bitmap);
    }
    EXPECT_EQ(String(module, IDS_POPUP_COPY), GetParam().copy);
    EXPECT_EQ(String(module, IDS_POPUP_CUT), GetParam().cut);
    EXPECT_NE(String(module, IDS_CALIBRATION_NEEDS_LENGTH), L"");
    EXPECT_NE(IDS_CALIBRATION_NEEDS_LENGTH, IDS_POPUP_COPY);
    FreeLibrary(module);
}

INSTANTIATE_TEST_SUITE_P(Languages, ControlResources,
                         ::testing::Values(Language{L"Lan_0.dll", L"Copy", L"Cut"},
                                           Language{L"Lan_1.dll", L"\u590d\u5236", L"\u526a\u5207"}));

}  // namespace
