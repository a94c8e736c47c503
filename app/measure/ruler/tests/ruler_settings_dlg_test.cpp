// Dialog 255 from the Chinese language library, driven by control id: it
// opens at the stored positions in window pixels, every change shows at once
// through the overlay, a spacing below 1 becomes 1, and closing writes
// [Ruler] and the calibration's "RulerScale".
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "language_library.h"
#include "measure_resource.h"
#include "modal_script.h"
#include "ruler_overlay.h"
#include "ruler_test_support.h"

namespace {

using ruler_testing::RulerFiles;
using ruler_testing::TestHost;
using testing_support::ModalScript;

int SliderPos(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, TBM_GETPOS, 0, 0)); }
int SliderMax(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageW(dialog, id, TBM_GETRANGEMAX, 0, 0)); }

// The user drags a slider to `position`.
void DragSlider(HWND dialog, int id, int position) {
    HWND slider = GetDlgItem(dialog, id);
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
    SendMessageW(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
}

class RulerSettingsDlgTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(chinese_.Loaded());
        files_.SaveCalibration(u"0.500000", u"10");
        files_.SetRuler(L"RulerX", 50);
        files_.SetRuler(L"RulerY", 300);  // beyond the frame's width
        host_.sizes = {200, 100, 400, 200};
    }

    LanguageLibrary chinese_{1};
    RulerFiles files_;
    TestHost host_;
};

TEST_F(RulerSettingsDlgTest, OpensAtTheStoredPlaceShowsChangesAtOnceAndWritesOnClose) {
    CRulerOverlay overlay(host_, files_.Config(), files_.Scale());
    std::wstring caption;
    std::wstring unit;
    int horizontal = 0;
    int vertical = 0;
    int horizontalMax = 0;
    int verticalMax = 0;
    std::wstring spacingShown;
    int redrawsAfterShow = 0;
    int shownWhileOpen = -1;
    int spacingWhileOpen = 0;
    std::wstring clampedText;
    int positionWhileOpen = 0;
    ModalScript script({[&](HWND d) {
        caption = ModalScript::Text(d);
        unit = ModalScript::ItemText(d, IDC_RULER_UNIT);
        spacingShown = ModalScript::ItemText(d, IDC_RULER_SPACING);
        horizontal = SliderPos(d, IDC_RULER_HORIZONTAL_POS);
        vertical = SliderPos(d, IDC_RULER_VERTICAL_POS);
        horizontalMax = SliderMax(d, IDC_RULER_HORIZONTAL_POS);
        verticalMax = SliderMax(d, IDC_RULER_VERTICAL_POS);

        const int before = host_.redraws;
        SendDlgItemMessageW(d, IDC_RULER_SHOW, BM_CLICK, 0, 0);
        redrawsAfterShow = host_.redraws - before;
        overlay.LoadSettings(0);
        shownWhileOpen = overlay.m_bShow;

        ModalScript::SetText(d, IDC_RULER_SPACING, L"0");
        clampedText = ModalScript::ItemText(d, IDC_RULER_SPACING);
        overlay.LoadSettings(1);  // the dialog's values, not the files'
        spacingWhileOpen = overlay.m_nSpacing;

        DragSlider(d, IDC_RULER_HORIZONTAL_POS, 150);
        overlay.LoadSettings(0);
        positionWhileOpen = overlay.m_nHorizontalPos;
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(overlay.ShowSettingsDlg(nullptr), IDOK);
    ASSERT_TRUE(script.Finished());
    EXPECT_FALSE(overlay.IsDialogOpen());
    EXPECT_EQ(caption, L"\u6d4b\u91cf\u5c3a\u8bbe\u7f6e");
    EXPECT_EQ(unit, L"\u03bcm");
    EXPECT_EQ(spacingShown, L"10");
    EXPECT_EQ(horizontal, 100);  // 200 × 50 / 100
    EXPECT_EQ(vertical, 400);    // 300 clamped to 200, then 400 × 200 / 200
    EXPECT_EQ(horizontalMax, 200);
    EXPECT_EQ(verticalMax, 400);
    EXPECT_EQ(redrawsAfterShow, 1);
    EXPECT_EQ(shownWhileOpen, 1);
    EXPECT_EQ(clampedText, L"1");
    EXPECT_EQ(spacingWhileOpen, 1);
    EXPECT_EQ(positionWhileOpen, 150);
    EXPECT_GE(host_.redraws, 3);

    EXPECT_EQ(files_.ConfigText(L"Ruler", L"RulerX"), L"75");   // 100 × 150 / 200
    EXPECT_EQ(files_.ConfigText(L"Ruler", L"RulerY"), L"300");  // not moved: not written
    EXPECT_EQ(files_.ConfigText(L"Ruler", L"Show"), L"1");
    EXPECT_EQ(files_.ConfigText(L"Ruler", L"Middle"), L"0");
    EXPECT_EQ(files_.ConfigText(L"Ruler", L"RulerColor"), std::to_wstring(RGB(255, 255, 255)));
    EXPECT_EQ(files_.ScaleText(u"scl_1", u"RulerScale"), u"1");
}

TEST_F(RulerSettingsDlgTest, EveryEntryBelowOneBecomesOne) {
    CRulerOverlay overlay(host_, files_.Config(), files_.Scale());
    std::vector<std::wstring> shown;
    ModalScript script({[&](HWND d) {
        for (const wchar_t* typed : {L"-5", L"25", L"0", L"3"}) {
            ModalScript::SetText(d, IDC_RULER_SPACING, typed);
            shown.push_back(ModalScript::ItemText(d, IDC_RULER_SPACING));
        }
        ModalScript::Press(d, IDCANCEL);
    }});
    overlay.ShowSettingsDlg(nullptr);
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"1", L"25", L"1", L"3"}));
    EXPECT_EQ(files_.ScaleText(u"scl_1", u"RulerScale"), u"3") << "closing by cancel writes too";
    EXPECT_EQ(files_.ConfigText(L"Ruler", L"RulerX"), L"50");
}

TEST_F(RulerSettingsDlgTest, WithoutSizesNothingIsConvertedAndThePositionsStay) {
    host_.sizes = {0, 0, 0, 0};
    host_.calibration = 0;
    CRulerOverlay overlay(host_, files_.Config(), files_.Scale());
    std::wstring unit;
    ModalScript script({[&](HWND d) {
        unit = ModalScript::ItemText(d, IDC_RULER_UNIT);
        DragSlider(d, IDC_RULER_HORIZONTAL_POS, 1);
        ModalScript::Press(d, IDOK);
    }});
    overlay.ShowSettingsDlg(nullptr);
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(unit, L"mm") << "Default's unit";
    EXPECT_EQ(files_.ConfigText(L"Ruler", L"RulerX"), L"50");
    EXPECT_EQ(files_.ConfigText(L"Ruler", L"RulerY"), L"300");
    EXPECT_EQ(files_.ScaleText(u"scl_0", u"RulerScale"), u"10");
}

}  // namespace
