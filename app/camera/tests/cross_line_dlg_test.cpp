// The crosshair dialog in both languages over the camera double: the count,
// the entry controls, the positions within the video, the colour, and what
// a lowered count leaves drawn.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "camera_resource.h"
#include "color_button.h"
#include "cross_line_dlg.h"
#include "fake_camera.h"
#include "language_library.h"
#include "modal_script.h"

namespace {

using testing_support::ModalScript;

class CrossLineDlgTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        ASSERT_TRUE(language_.Loaded());
        camera_.videoSize = {640, 480};
    }
    // Runs the dialog over the camera with these steps, then OK.
    INT_PTR Run(CCameraDevice* camera, std::function<void(HWND)> steps) {
        CCrossLineDlg dlg(camera);
        ModalScript script({[&](HWND d) {
            steps(d);
            ModalScript::Press(d, IDOK);
        }});
        const INT_PTR result = dlg.DoModal();
        EXPECT_TRUE(script.Finished());
        return result;
    }
    static void Type(HWND d, int id, const wchar_t* text) {
        SetDlgItemTextW(d, id, text);  // sends EN_CHANGE
    }
    static void Click(HWND d, int id) { SendMessageW(GetDlgItem(d, id), BM_CLICK, 0, 0); }
    static int Items(HWND d) { return int(SendMessageW(GetDlgItem(d, IDC_CROSS_ENTRY), CB_GETCOUNT, 0, 0)); }
    static std::wstring Item(HWND d, int i) {
        wchar_t text[16] = {};
        SendMessageW(GetDlgItem(d, IDC_CROSS_ENTRY), CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(text));
        return text;
    }
    static void Select(HWND d, int i) {
        SendMessageW(GetDlgItem(d, IDC_CROSS_ENTRY), CB_SETCURSEL, WPARAM(i), 0);
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_CROSS_ENTRY, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_CROSS_ENTRY)));
    }
    CrossLineEntry Entry(int i) const { return camera_.GetCrossLine(i).value_or(CrossLineEntry{-1, -1, -1, -1, -1}); }

    LanguageLibrary language_{GetParam()};
    FakeCamera camera_;
};

TEST_P(CrossLineDlgTest, ACountOfZeroLeavesEveryEntryControlInert) {
    int items = -1;
    std::wstring caption;
    Run(&camera_, [&](HWND d) {
        caption = ModalScript::Text(d);
        items = Items(d);
        Click(d, IDC_CROSS_SHOW_ALL);
        Click(d, IDC_CROSS_HIDE);
        Click(d, IDC_CROSS_CENTRE);
        Type(d, IDC_CROSS_X, L"30");
        SendMessageW(GetDlgItem(d, IDC_CROSS_COLOUR), WM_COLOR_SELECTED, RGB(1, 2, 3), 0);
    });
    EXPECT_EQ(caption, GetParam() == 1 ? L"\u5341\u5b57\u7ebf\u8bbe\u7f6e" : L"Crosshair Settings");
    EXPECT_EQ(items, 0);
    EXPECT_EQ(camera_.GetCrossLineCount(), 0);
}

TEST_P(CrossLineDlgTest, CountBuildsTheEntriesAndARefusedCountIsNotApplied) {
    std::vector<std::wstring> listed;
    int afterRefused = -1;
    Run(&camera_, [&](HWND d) {
        Type(d, IDC_CROSS_COUNT, L"3");
        for (int i = 0; i < Items(d); ++i) {
            listed.push_back(Item(d, i));
        }
        Type(d, IDC_CROSS_COUNT, L"101");
        afterRefused = Items(d);
    });
    EXPECT_EQ(listed, (std::vector<std::wstring>{L"  1", L"  2", L"  3"}));
    EXPECT_EQ(afterRefused, 3);
    EXPECT_EQ(camera_.GetCrossLineCount(), 3);
}

TEST_P(CrossLineDlgTest, PositionsStayWithinTheVideo) {
    camera_.SetCrossLineCount(2);
    struct Case {
        int edit;
        const wchar_t* typed;
        int stored;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {IDC_CROSS_X, L"-5", 0, L"0"},
        {IDC_CROSS_X, L"700", 640, L"640"},
        {IDC_CROSS_X, L"123", 123, L"123"},
        {IDC_CROSS_Y, L"481", 480, L"480"},
        {IDC_CROSS_Y, L"99999999999", 480, L"480"},
    };
    for (const Case& c : cases) {
        std::wstring shown;
        LRESULT slider = -1;
        Run(&camera_, [&](HWND d) {
            Select(d, 1);
            Type(d, c.edit, c.typed);
            shown = ModalScript::ItemText(d, c.edit);
            slider = SendMessageW(GetDlgItem(d, c.edit == IDC_CROSS_X ? IDC_CROSS_X_SLIDER : IDC_CROSS_Y_SLIDER),
                                  TBM_GETPOS, 0, 0);
        });
        const CrossLineEntry entry = Entry(1);
        EXPECT_EQ(c.edit == IDC_CROSS_X ? entry.xOffset : entry.yOffset, c.stored) << c.typed;
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(slider, c.stored);
        EXPECT_EQ(Entry(0), CrossLineEntry{}) << "the other entry is untouched";
    }
}

TEST_P(CrossLineDlgTest, SliderHideCentreAndColourChangeTheSelectedEntry) {
    camera_.SetCrossLineCount(2);
    camera_.SetCrossLine(1, 7, 1, 0, 10, 20, RGB(0, 0, 255));
    std::wstring xShown;
    bool hiddenShown = true;
    Run(&camera_, [&](HWND d) {
        Select(d, 1);
        hiddenShown = IsDlgButtonChecked(d, IDC_CROSS_HIDE) == BST_CHECKED;
        HWND slider = GetDlgItem(d, IDC_CROSS_X_SLIDER);
        SendMessageW(slider, TBM_SETPOS, TRUE, 300);
        SendMessageW(d, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 300), reinterpret_cast<LPARAM>(slider));
        xShown = ModalScript::ItemText(d, IDC_CROSS_X);
        Click(d, IDC_CROSS_HIDE);
        Click(d, IDC_CROSS_CENTRE);
        SendMessageW(GetDlgItem(d, IDC_CROSS_COLOUR), WM_COLOR_SELECTED, RGB(10, 20, 30), 0);
    });
    EXPECT_FALSE(hiddenShown);
    EXPECT_EQ(xShown, L"300");
    EXPECT_EQ(Entry(1), (CrossLineEntry{7, 0, 1, 300, 20, RGB(10, 20, 30)}));
    EXPECT_EQ(Entry(0), CrossLineEntry{});
}

TEST_P(CrossLineDlgTest, ShowAllAndHideAllReachEveryEntry) {
    camera_.SetCrossLineCount(3);
    camera_.SetCrossLine(2, 3, 0, 1, 5, 6, RGB(1, 1, 1));
    bool hideShownAfterShowAll = true;
    Run(&camera_, [&](HWND d) {
        Click(d, IDC_CROSS_SHOW_ALL);
        hideShownAfterShowAll = IsDlgButtonChecked(d, IDC_CROSS_HIDE) == BST_CHECKED;
    });
    EXPECT_FALSE(hideShownAfterShowAll);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Entry(i).draw, 1) << i;
    }
    EXPECT_EQ(Entry(2), (CrossLineEntry{3, 1, 1, 5, 6, RGB(1, 1, 1)}));
    Run(&camera_, [&](HWND d) { Click(d, IDC_CROSS_HIDE_ALL); });
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Entry(i).draw, 0) << i;
    }
}

// The camera's list never shrinks: the lines past a lowered count are
// switched off, so none is drawn that the dialog can no longer reach.
TEST_P(CrossLineDlgTest, ALoweredCountStopsDrawingTheLinesPastIt) {
    camera_.SetCrossLineCount(3);
    for (int i = 0; i < 3; ++i) {
        camera_.SetCrossLine(i, i + 1, 1, 0, 2 + i, 1, RGB(255, 255, 255));
    }
    int items = -1;
    Run(&camera_, [&](HWND d) {
        Type(d, IDC_CROSS_COUNT, L"1");
        items = Items(d);
    });
    EXPECT_EQ(items, 1);
    EXPECT_EQ(Entry(0).draw, 1);
    EXPECT_EQ(Entry(1).draw, 0);
    EXPECT_EQ(Entry(2).draw, 0);
    std::vector<std::uint8_t> frame(8 * 4, 0);
    camera_.DrawCrossLines(frame.data(), 8, 4, 8);
    EXPECT_EQ(frame[0 * 8 + 2], 255);  // entry 0's column
    EXPECT_EQ(frame[0 * 8 + 3], 0);    // entry 1's column is not drawn
    EXPECT_EQ(frame[0 * 8 + 4], 0);
}

TEST_P(CrossLineDlgTest, WithoutACameraTheDialogStaysEmpty) {
    int items = -1;
    EXPECT_EQ(Run(nullptr,
                  [&](HWND d) {
                      Type(d, IDC_CROSS_COUNT, L"4");
                      items = Items(d);
                  }),
              IDOK);
    EXPECT_EQ(items, 0);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, CrossLineDlgTest, ::testing::Values(0, 1));

}  // namespace
