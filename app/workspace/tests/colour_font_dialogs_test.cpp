// The system's colour and font dialogs behind the style commands, filled
// the way a user would under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <colordlg.h>
#include <dlgs.h>

#include <string>

#include "colour_font_dialogs.h"
#include "modal_script.h"

namespace {

using testing_support::ModalScript;

class ColourFontDialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner_ = CreateWindowW(L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                               nullptr);
        ASSERT_NE(owner_, nullptr);
    }
    void TearDown() override { DestroyWindow(owner_); }

    HWND owner_ = nullptr;
    CColourFontDialogs dialogs_;
};

TEST_F(ColourFontDialogsTest, ColourDialogOpensOnTheColourAndGivesTheOneTyped) {
    std::wstring shownRed;
    ModalScript script({
        [&](HWND dialog) { shownRed = ModalScript::ItemText(dialog, COLOR_RED); },
        [](HWND dialog) {
            ModalScript::SetText(dialog, COLOR_RED, L"12");
            ModalScript::SetText(dialog, COLOR_GREEN, L"34");
            ModalScript::SetText(dialog, COLOR_BLUE, L"56");
        },
        [](HWND dialog) { ModalScript::Press(dialog, IDOK); },
    });
    EXPECT_EQ(dialogs_.ChooseColour(owner_, RGB(7, 8, 9)), std::optional<COLORREF>(RGB(12, 34, 56)));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(shownRed, L"7");

    ModalScript cancel({[](HWND dialog) { ModalScript::Press(dialog, IDCANCEL); }});
    EXPECT_EQ(dialogs_.ChooseColour(owner_, RGB(7, 8, 9)), std::nullopt);
}

TEST_F(ColourFontDialogsTest, FontDialogGivesTheFaceAndSizeChosen) {
    LOGFONTW initial{};
    initial.lfHeight = -12;
    initial.lfWeight = FW_NORMAL;
    wcscpy(initial.lfFaceName, L"Tahoma");
    std::wstring face;
    ModalScript script({
        [&](HWND dialog) {
            // The second face the dialog lists, whatever the fonts are.
            HWND faces = GetDlgItem(dialog, cmb1);
            wchar_t text[LF_FACESIZE] = {};
            if (SendMessageW(faces, CB_GETCOUNT, 0, 0) > 1 &&
                SendMessageW(faces, CB_GETLBTEXTLEN, 1, 0) < LF_FACESIZE) {
                SendMessageW(faces, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(text));
            }
            face = text;
            SendMessageW(faces, CB_SETCURSEL, 1, 0);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(faces));
        },
        [](HWND dialog) {
            HWND sizes = GetDlgItem(dialog, cmb3);
            SendMessageW(sizes, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"20"));
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb3, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
        },
        [](HWND dialog) { ModalScript::Press(dialog, IDOK); },
    });
    const std::optional<LOGFONTW> chosen = dialogs_.ChooseFont(owner_, initial);
    EXPECT_TRUE(script.Finished());
    ASSERT_TRUE(chosen.has_value());
    ASSERT_FALSE(face.empty());
    EXPECT_EQ(std::wstring(chosen->lfFaceName), face);
    HDC screen = GetDC(nullptr);
    const int expectedHeight = -MulDiv(20, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(chosen->lfHeight, expectedHeight);

    ModalScript cancel({[](HWND dialog) { ModalScript::Press(dialog, IDCANCEL); }});
    EXPECT_EQ(dialogs_.ChooseFont(owner_, initial).has_value(), false);
}

}  // namespace
