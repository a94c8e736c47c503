#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "counting_resource.h"
#include "counting_test_support.h"
#include "modal_script.h"
#include "target_filter_dlg.h"

namespace {

using testing_support::ModalScript;

class TargetFilterDlgTest : public counting_testing::LanguageFixture {
protected:
    void SetUp() override {
        LanguageFixture::SetUp();
        range.lower.area = 50;
        range.upper.area = 400;
        range.lower.roundness = 0.85;
        range.upper.roundness = 0.97;
        dlg.SetFilters(range, range);
        dlg.SetScale(1.0f, 2, L"px");
    }
    static void Choose(HWND d, int measure) {
        SendDlgItemMessageW(d, IDC_FILTER_MEASURE, CB_SETCURSEL, static_cast<WPARAM>(measure), 0);
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_FILTER_MEASURE, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_FILTER_MEASURE)));
    }
    static void Slide(HWND d, int id, int position) {
        HWND slider = GetDlgItem(d, id);
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        SendMessageW(d, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
    }
    static LRESULT Get(HWND d, int id, UINT message) { return SendDlgItemMessageW(d, id, message, 0, 0); }

    _tagOBJFILTER range;
    CTargetFilterDlg dlg;
};

TEST_F(TargetFilterDlgTest, RoundnessSlidersAndLimitsKeptAcrossMeasures) {
    LRESULT low = 0, high = 0, upper = 0, lower = 0, entries = 0;
    std::wstring hiddenLower, caption, firstEntry;
    LRESULT areaLowerAgain = 0, lowerMaxAfterMove = 0;
    ModalScript script({[&](HWND d) {
        caption = ModalScript::Text(d);
        entries = Get(d, IDC_FILTER_MEASURE, CB_GETCOUNT);
        Slide(d, IDC_FILTER_LOWER_SLIDER, 120);  // area lower limit 120
        Slide(d, IDC_FILTER_UPPER_SLIDER, 300);
        lowerMaxAfterMove = Get(d, IDC_FILTER_LOWER_SLIDER, TBM_GETRANGEMAX);
        Choose(d, 6);
        low = Get(d, IDC_FILTER_UPPER_SLIDER, TBM_GETRANGEMIN);
        high = Get(d, IDC_FILTER_UPPER_SLIDER, TBM_GETRANGEMAX);
        upper = Get(d, IDC_FILTER_UPPER_SLIDER, TBM_GETPOS);
        lower = Get(d, IDC_FILTER_LOWER_SLIDER, TBM_GETPOS);
        hiddenLower = ModalScript::ItemText(d, IDC_FILTER_LOWER_HIDDEN);
        Slide(d, IDC_FILTER_LOWER_SLIDER, 90);
        Choose(d, 0);
        areaLowerAgain = Get(d, IDC_FILTER_LOWER_SLIDER, TBM_GETPOS);
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(caption, L"\u76ee\u6807\u8fc7\u6ee4");
    EXPECT_EQ(entries, 11);
    EXPECT_EQ(lowerMaxAfterMove, 300) << "the lower slider stops at the upper limit";
    EXPECT_EQ(low, 84);
    EXPECT_EQ(high, 98);
    EXPECT_EQ(upper, 97);
    EXPECT_EQ(lower, 84);
    EXPECT_EQ(hiddenLower, L"0.84");
    EXPECT_EQ(areaLowerAgain, 120);
    const _tagOBJFILTER filter = dlg.GetFilter();
    EXPECT_EQ(filter.enabled, 1);
    EXPECT_DOUBLE_EQ(filter.lower.area, 120);
    EXPECT_DOUBLE_EQ(filter.upper.area, 300);
    EXPECT_DOUBLE_EQ(filter.lower.roundness, 0.90);
}

TEST_F(TargetFilterDlgTest, CancelDisablesTheFilter) {
    ModalScript script({[](HWND d) {
        Slide(d, IDC_FILTER_LOWER_SLIDER, 200);
        ModalScript::Press(d, IDCANCEL);
    }});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.GetFilter().enabled, 0);
}

}  // namespace
