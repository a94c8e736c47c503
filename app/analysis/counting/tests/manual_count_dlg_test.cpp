#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "counting_resource.h"
#include "counting_test_support.h"
#include "dc.h"
#include "manual_count_dlg.h"
#include "modal_script.h"

namespace {

using testing_support::ModalScript;

// 64 x 48 grey 200 with a pure red 20 x 20 square at (10, 10): luminance 76,
// red 255.
CPicture RedSquarePicture() {
    CPicture picture(64, 48, 24, kPictureBmp);
    for (int y = 0; y < 48; ++y) {
        std::uint8_t* row = picture.GetBits(y);
        for (int x = 0; x < 64; ++x) {
            const bool square = x >= 10 && x < 30 && y >= 10 && y < 30;
            row[x * 3] = square ? 0 : 200;
            row[x * 3 + 1] = square ? 0 : 200;
            row[x * 3 + 2] = square ? 255 : 200;
        }
    }
    return picture;
}

class ManualCountDlgTest : public counting_testing::LanguageFixture {
protected:
    void SetUp() override {
        LanguageFixture::SetUp();
        ASSERT_TRUE(engine.Initialize(picture.Pixels(), 64, 48));
        ASSERT_TRUE(engine.creatGrayImg(3));
        engine.setMarkColor(RGB(0, 255, 0));
        original.assign(picture.Pixels().begin(), picture.Pixels().end());
        dlg.m_pEngine = &engine;
        dlg.m_pPicture = &picture;
        dlg.m_pCopy = std::make_unique<CPicture>(picture, true, false, false);
    }
    std::vector<std::uint8_t> Pixels() const { return {picture.Pixels().begin(), picture.Pixels().end()}; }
    static void Slide(HWND d, int id, int position) {
        HWND slider = GetDlgItem(d, id);
        SendMessageW(slider, TBM_SETPOS, TRUE, position);
        SendMessageW(d, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(slider));
    }
    static std::pair<std::wstring, std::wstring> Edits(HWND d) {
        return {ModalScript::ItemText(d, IDC_MANUAL_LOWER_EDIT), ModalScript::ItemText(d, IDC_MANUAL_UPPER_EDIT)};
    }

    CPicture picture = RedSquarePicture();
    std::vector<std::uint8_t> original;
    CIMGCount engine;
    CManualCountDlg dlg;
};

TEST_F(ManualCountDlgTest, OpensOnTheEnginesWindowWithALowerOfAtLeastOneAndCancelRestores) {
    ASSERT_TRUE(engine.creatEdgeImg(0, 200, 0));
    std::pair<std::wstring, std::wstring> opened;
    std::wstring share;
    std::wstring caption;
    LRESULT lowerMax = 0;
    bool marked = false;
    ModalScript script({[&](HWND d) {
        opened = Edits(d);
        share = ModalScript::ItemText(d, IDC_MANUAL_SHARE);
        caption = ModalScript::Text(d);
        lowerMax = SendDlgItemMessageW(d, IDC_MANUAL_LOWER_SLIDER, TBM_GETRANGEMAX, 0, 0);
        marked = Pixels() != original;
        ModalScript::Press(d, IDCANCEL);
    }});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(opened, std::make_pair(std::wstring(L"1"), std::wstring(L"200")));
    EXPECT_EQ(lowerMax, 200);
    EXPECT_EQ(share, L"100.0000%");
    EXPECT_EQ(caption, L" \u624b\u52a8\u8ba1\u6570");
    EXPECT_TRUE(marked) << "the outlines of the window are painted while it is open";
    EXPECT_TRUE(Pixels() == original);
    EXPECT_FALSE(dlg.m_pCopy);
}

TEST_F(ManualCountDlgTest, UpperBelowLowerPullsTheLowerDownAndOkKeepsTheTargets) {
    ASSERT_TRUE(engine.creatEdgeImg(0, 200, 0));
    std::pair<std::wstring, std::wstring> pulled;
    std::wstring share;
    ModalScript script({[&](HWND d) {
        ModalScript::SetText(d, IDC_MANUAL_LOWER_EDIT, L"120");
        Slide(d, IDC_MANUAL_UPPER_SLIDER, 80);
        pulled = Edits(d);
        Slide(d, IDC_MANUAL_LOWER_SLIDER, 50);
        share = ModalScript::ItemText(d, IDC_MANUAL_SHARE);
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(pulled, std::make_pair(std::wstring(L"80"), std::wstring(L"80")));
    EXPECT_EQ(dlg.m_nLower, 50u);
    EXPECT_EQ(dlg.m_nUpper, 80u);
    // 50..80 holds the square's 400 pixels of 3072.
    EXPECT_EQ(share, L"13.0208%");
    EXPECT_EQ(engine.getValve().cx, 50);
    engine.RefCountsResultList();
    ASSERT_EQ(engine.getObjectVector().size(), 1u);
    EXPECT_EQ(engine.getObjectVector()[0].area, 400);
}

TEST_F(ManualCountDlgTest, ChannelChangeStartsFromThePictureAsItWas) {
    ASSERT_TRUE(engine.creatEdgeImg(0, 100, 0));
    bool squareOutlined = false;
    std::vector<std::uint8_t> afterChange;
    ModalScript script({[&](HWND d) {
        squareOutlined = Pixels() != original;
        // Red: the square reads 255, outside 0..100 like the ground.
        SendDlgItemMessageW(d, IDC_MANUAL_CHANNEL, CB_SETCURSEL, 1, 0);
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_MANUAL_CHANNEL, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_MANUAL_CHANNEL)));
        afterChange = Pixels();
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(squareOutlined);
    EXPECT_TRUE(afterChange == original) << "no outline of the grey window may stay";
}

TEST_F(ManualCountDlgTest, HistogramBarsScaleToTheLargestCount) {
    ASSERT_TRUE(engine.creatEdgeImg(0, 255, 0));
    std::uint32_t groundTop = 0, emptyLevel = 0, squareTop = 0, squareAbove = 0, lowerBar = 0, upperBar = 0;
    int height = 0;
    ModalScript script({[&](HWND d) {
        const RECT panel = dlg.PanelRect();
        const int width = panel.right - panel.left;
        height = panel.bottom - panel.top;
        const int barWidth = width / 256;
        const int margin = (width % 256) / 2;
        CClientDC screen(d);
        CMemoryDC dib(&screen, width, height, CMemoryDC::Kind::dibSection);
        dlg.PaintHistogram(dib.GetSafeHdc(), width, height);
        // 2672 ground pixels fill the panel; the square's 400 a share of it.
        const int squareBar = height * 400 / 2672;
        const int ground = margin + 200 * barWidth;
        const int square = margin + 76 * barWidth;
        groundTop = dib.GetPixelRGB(ground, 0);
        emptyLevel = dib.GetPixelRGB(margin + 100 * barWidth, height - 1);
        squareTop = dib.GetPixelRGB(square, height - squareBar);
        squareAbove = dib.GetPixelRGB(square, height - squareBar - 1);
        lowerBar = dib.GetPixelRGB(margin + 1 * barWidth, height / 2);
        upperBar = dib.GetPixelRGB(margin + 255 * barWidth, height / 2);
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_GT(height, 20);
    EXPECT_EQ(groundTop, 0x000000u);
    EXPECT_EQ(emptyLevel, 0xFFFFFFu);
    EXPECT_EQ(squareTop, 0x000000u);
    EXPECT_EQ(squareAbove, 0xFFFFFFu);
    EXPECT_EQ(lowerBar, 0x00FF00u);
    EXPECT_EQ(upperBar, 0x0000FFu);
}

}  // namespace
