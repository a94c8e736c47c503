#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "file_info_dlg.h"
#include "language_library.h"
#include "line_width_dlg.h"
#include "modal_script.h"
#include "rename_picture_dlg.h"
#include "resource.h"
#include "transparent_dlg.h"

namespace {

using testing_support::ModalScript;

bool Visible(HWND window) { return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

// ---- Line width -------------------------------------------------------------

class ProbeLineWidth : public CLineWidthDlg {
public:
    using CDialog::LastDataPrompt;
    using CLineWidthDlg::CLineWidthDlg;
};

class LineWidthTest : public testing::Test {
protected:
    LanguageLibrary english_{0};
};

TEST_F(LineWidthTest, StartsAtOneWithTheSpinLimitedToOneToTen) {
    ASSERT_TRUE(english_.Loaded());
    std::wstring shown;
    int low = -1;
    int high = -1;
    ModalScript script({[&](HWND dialog) {
        shown = ModalScript::ItemText(dialog, IDC_LINE_WIDTH_EDIT);
        SendDlgItemMessageW(dialog, IDC_LINE_WIDTH_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                            reinterpret_cast<LPARAM>(&high));
        ModalScript::Press(dialog, IDCANCEL);
    }});
    ProbeLineWidth dialog(nullptr);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(shown, L"1");
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 10);
}

class LineWidthAccepted : public LineWidthTest, public testing::WithParamInterface<int> {};

TEST_P(LineWidthAccepted, WidthInRangeIsTaken) {
    const std::wstring typed = std::to_wstring(GetParam());
    ModalScript script({[&](HWND dialog) {
        ModalScript::SetText(dialog, IDC_LINE_WIDTH_EDIT, typed.c_str());
        ModalScript::Press(dialog, IDOK);
    }});
    ProbeLineWidth dialog(nullptr);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.GetWidth(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Widths, LineWidthAccepted, testing::Values(1, 2, 5, 9, 10));

class LineWidthRefused : public LineWidthTest, public testing::WithParamInterface<const wchar_t*> {};

TEST_P(LineWidthRefused, OutOfRangeIsRefusedAndTheDialogStays) {
    std::wstring prompt;
    bool stillOpen = false;
    ModalScript script({
        [&](HWND dialog) {
            ModalScript::SetText(dialog, IDC_LINE_WIDTH_EDIT, GetParam());
            ModalScript::Press(dialog, IDOK);
        },
        [&](HWND box) {
            prompt = ModalScript::MessageText(box);
            ModalScript::Press(box, IDOK);
        },
        [&](HWND dialog) {
            stillOpen = GetDlgItem(dialog, IDC_LINE_WIDTH_EDIT) != nullptr;
            ModalScript::SetText(dialog, IDC_LINE_WIDTH_EDIT, L"7");
            ModalScript::Press(dialog, IDOK);
        },
    });
    ProbeLineWidth dialog(nullptr);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(stillOpen);
    EXPECT_NE(prompt.find(L"between 1 and 10"), std::wstring::npos) << prompt;
    EXPECT_EQ(ProbeLineWidth::LastDataPrompt(), prompt);
    EXPECT_EQ(dialog.GetWidth(), 7);
}

INSTANTIATE_TEST_SUITE_P(Widths, LineWidthRefused, testing::Values(L"0", L"11", L"-1", L"4294967297", L"x"));

// ---- Rename picture -----------------------------------------------------------

struct RenameSeen {
    std::wstring caption;
    std::wstring name;
    std::wstring second;
    bool secondVisible = false;
    bool secondEnabled = false;
};

RenameSeen RunRename(CRenamePictureDlg& dialog, const wchar_t* typed, int button, INT_PTR expected) {
    RenameSeen seen;
    ModalScript script({[&](HWND window) {
        seen.caption = ModalScript::Text(window);
        seen.name = ModalScript::ItemText(window, IDC_RENAME_EDIT);
        HWND second = GetDlgItem(window, IDC_RENAME_SECOND);
        seen.second = ModalScript::Text(second);
        seen.secondVisible = Visible(second);
        seen.secondEnabled = IsWindowEnabled(second) != FALSE;
        ModalScript::SetText(window, IDC_RENAME_EDIT, typed);
        ModalScript::Press(window, button);
    }});
    EXPECT_EQ(dialog.DoModal(), expected);
    EXPECT_TRUE(script.Finished());
    return seen;
}

struct RenameLanguage {
    int language;
    const wchar_t* renameCaption;
    const wchar_t* nameCaption;
};

class RenamePictureTest : public testing::TestWithParam<RenameLanguage> {};

TEST_P(RenamePictureTest, RenameKeepsTheTemplate) {
    LanguageLibrary library(GetParam().language);
    ASSERT_TRUE(library.Loaded());
    CRenamePictureDlg dialog(L"Picture 1", nullptr);
    const RenameSeen seen = RunRename(dialog, L"Cells left", IDOK, IDOK);
    EXPECT_EQ(seen.caption, GetParam().renameCaption);
    EXPECT_EQ(seen.name, L"Picture 1");
    EXPECT_FALSE(seen.secondVisible);
    EXPECT_FALSE(seen.secondEnabled);
    EXPECT_EQ(dialog.m_strName, L"Cells left");
}

TEST_P(RenamePictureTest, NamingASnapshotShowsTheSecondText) {
    LanguageLibrary library(GetParam().language);
    ASSERT_TRUE(library.Loaded());
    CRenamePictureDlg dialog(L"Snap 3", CRenamePictureDlg::kNameSnapshot, L"D:\\Pictures\\", nullptr);
    const RenameSeen seen = RunRename(dialog, L"Snap 3 stained", IDOK, IDOK);
    EXPECT_EQ(seen.caption, GetParam().nameCaption);
    EXPECT_EQ(seen.name, L"Snap 3");
    EXPECT_TRUE(seen.secondVisible);
    EXPECT_TRUE(seen.secondEnabled);
    EXPECT_EQ(seen.second, L"D:\\Pictures\\");
    EXPECT_EQ(dialog.m_strName, L"Snap 3 stained");
}

TEST_P(RenamePictureTest, CancelKeepsTheOldName) {
    LanguageLibrary library(GetParam().language);
    CRenamePictureDlg dialog(L"Picture 1", nullptr);
    RunRename(dialog, L"Typed but cancelled", IDCANCEL, IDCANCEL);
    EXPECT_EQ(dialog.m_strName, L"Picture 1");
}

INSTANTIATE_TEST_SUITE_P(Languages, RenamePictureTest,
                         testing::Values(RenameLanguage{0, L"Rename Current Picture", L"Name the current picture"},
                                         RenameLanguage{1, L"\u91cd\u547d\u540d\u5f53\u524d\u56fe\u7247",
                                                        L"\u547d\u540d\u5f53\u524d\u56fe\u7247"}));

// ---- File information ---------------------------------------------------------

TEST(FileInfoDlg, ShowsItsText) {
    LanguageLibrary chinese(1);
    ASSERT_TRUE(chinese.Loaded());
    const std::wstring text = L"C:\\Pictures\\cells.kqmk\r\n1280 x 1024, 24 bit";
    std::wstring shown;
    std::wstring caption;
    ModalScript script({[&](HWND dialog) {
        shown = ModalScript::ItemText(dialog, IDC_FILE_INFO_TEXT);
        caption = ModalScript::Text(dialog);
        ModalScript::Press(dialog, IDOK);
    }});
    CFileInfoDlg dialog(text, nullptr);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(shown, text);
    EXPECT_EQ(caption, L"\u6587\u4ef6\u4fe1\u606f");
}

// ---- Transparent overlays -----------------------------------------------------

class TransparentDlgTest : public testing::TestWithParam<UINT> {
protected:
    void SetUp() override {
        ASSERT_TRUE(english_.Loaded());
        view_ = CreateWindowExW(0, L"STATIC", L"view", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                nullptr, nullptr, nullptr);
        ASSERT_NE(view_, nullptr);
    }
    void TearDown() override {
        if (view_) {
            DestroyWindow(view_);
        }
    }
    LanguageLibrary english_{0};
    HWND view_ = nullptr;
};

TEST_P(TransparentDlgTest, SurfaceIsTheColourKey) {
    CTransparentDlg overlay(GetParam());
    ASSERT_TRUE(overlay.Create(view_));
    HWND window = overlay.GetSafeHwnd();
    // A pop-up the view owns, which the mouse passes through.
    EXPECT_EQ(GetWindow(window, GW_OWNER), view_);
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_CHILD, 0);
    EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);

    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &flags));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY)) << "only the key makes pixels see-through";
    EXPECT_EQ(key, RGB(255, 157, 0));

    // The dialog's own background is painted with the key colour.
    HDC dc = GetDC(window);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(window, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window)));
    ReleaseDC(window, dc);
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(brush, overlay.GetBackgroundBrush());
    LOGBRUSH description{};
    ASSERT_EQ(GetObjectW(brush, sizeof description, &description), static_cast<int>(sizeof description));
    EXPECT_EQ(description.lbStyle, static_cast<UINT>(BS_SOLID));
    EXPECT_EQ(description.lbColor, RGB(255, 157, 0));
}

INSTANTIATE_TEST_SUITE_P(Templates, TransparentDlgTest,
                         testing::Values(IDD_TRANSPARENT, IDD_GRID_OVERLAY, IDD_RULER_OVERLAY, IDD_VIDEO_HOST));

}  // namespace
