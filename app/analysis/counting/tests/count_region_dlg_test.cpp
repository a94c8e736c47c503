#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "count_region_dlg.h"
#include "counting_resource.h"
#include "counting_test_support.h"
#include "dc.h"
#include "modal_script.h"

namespace {

using testing_support::ModalScript;

// A grey picture of the size with rows padded as pictures are.
std::vector<std::uint8_t> GreyBits(int width, int height, std::uint8_t grey) {
    return std::vector<std::uint8_t>(BgrStride(width) * static_cast<std::size_t>(height), grey);
}

class CountRegionDlgTest : public counting_testing::LanguageFixture {
protected:
    void Bind(int width, int height) {
        bits = GreyBits(width, height, 0x80);
        ASSERT_TRUE(engine.Initialize(bits, width, height));
    }
    static std::vector<std::wstring> Fields(HWND d) {
        return {ModalScript::ItemText(d, IDC_REGION_X), ModalScript::ItemText(d, IDC_REGION_Y),
                ModalScript::ItemText(d, IDC_REGION_W), ModalScript::ItemText(d, IDC_REGION_H)};
    }
    static void Mouse(HWND d, UINT message, const RECT& preview, const PreviewFit& fit, int x, int y) {
        SendMessageW(d, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                     MAKELPARAM(preview.left + fit.offsetX + x, preview.top + fit.offsetY + y));
    }
    static void Drag(HWND d, const CCountRegionDlg& dlg, int x0, int y0, int x1, int y1) {
        const RECT preview = dlg.PreviewRect();
        Mouse(d, WM_LBUTTONDOWN, preview, dlg.Fit(), x0, y0);
        Mouse(d, WM_MOUSEMOVE, preview, dlg.Fit(), (x0 + x1) / 2, (y0 + y1) / 2);
        Mouse(d, WM_MOUSEMOVE, preview, dlg.Fit(), x1, y1);
        Mouse(d, WM_LBUTTONUP, preview, dlg.Fit(), x1, y1);
    }

    CIMGCount engine;
    std::vector<std::uint8_t> bits;
};

TEST_F(CountRegionDlgTest, WithoutARegionTheWholePictureIsShownAndTheEditsAreOff) {
    Bind(64, 48);
    CCountRegionDlg dlg(&engine);
    std::vector<std::wstring> fields;
    bool wholeChecked = false;
    bool editsOn = true;
    std::wstring caption;
    ModalScript script({[&](HWND d) {
        fields = Fields(d);
        wholeChecked = IsDlgButtonChecked(d, IDC_REGION_WHOLE) == BST_CHECKED;
        editsOn = IsWindowEnabled(GetDlgItem(d, IDC_REGION_X)) != FALSE;
        caption = ModalScript::Text(d);
        ModalScript::Press(d, IDCANCEL);
    }});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(fields, (std::vector<std::wstring>{L"0", L"0", L"64", L"48"}));
    EXPECT_TRUE(wholeChecked);
    EXPECT_FALSE(editsOn);
    EXPECT_EQ(caption, L"\u7ec6\u80de\u8ba1\u6570\u9009\u533a\u8bbe\u7f6e");
}

TEST_F(CountRegionDlgTest, RegionOpensCountedFromTheTopAndTypedValuesStayInside) {
    Bind(1024, 64);
    engine.setSelRect(CountPoint{5, 10}, 300, 8);  // rows 10..17 from the bottom
    CCountRegionDlg dlg(&engine);
    std::vector<std::wstring> opened;
    std::vector<std::wstring> typed;
    bool regionChecked = false;
    ModalScript script({[&](HWND d) {
        opened = Fields(d);
        regionChecked = IsDlgButtonChecked(d, IDC_REGION_RECT) == BST_CHECKED;
        ModalScript::SetText(d, IDC_REGION_X, L"5000");
        typed = Fields(d);
        ModalScript::SetText(d, IDC_REGION_H, L"100");
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(regionChecked);
    EXPECT_EQ(opened, (std::vector<std::wstring>{L"5", L"46", L"300", L"8"}));
    EXPECT_EQ(typed, (std::vector<std::wstring>{L"1024", L"46", L"0", L"8"}));
    EXPECT_EQ(dlg.m_nMode, 1);
    EXPECT_EQ(dlg.m_nX, 1024);
    EXPECT_EQ(dlg.m_nW, 0);
    EXPECT_EQ(dlg.m_nH, 18);
}

TEST_F(CountRegionDlgTest, DragEitherWayGivesOneRegionDrawnInTheMarkColour) {
    Bind(200, 100);
    engine.setSelRect(CountPoint{0, 0}, 1, 1);
    engine.setMarkColor(RGB(0, 0, 255));
    CCountRegionDlg dlg(&engine);
    std::vector<std::wstring> rightward;
    std::vector<std::wstring> leftward;
    std::uint32_t edge = 0;
    std::uint32_t inside = 0;
    std::uint32_t outside = 0;
    float zoom = 0;
    ModalScript script({[&](HWND d) {
        zoom = dlg.Fit().zoom;
        Drag(d, dlg, 10, 20, 60, 50);
        rightward = Fields(d);
        Drag(d, dlg, 60, 50, 10, 20);
        leftward = Fields(d);
        const RECT preview = dlg.PreviewRect();
        CClientDC screen(d);
        CMemoryDC dib(&screen, preview.right - preview.left, preview.bottom - preview.top, CMemoryDC::Kind::dibSection);
        dlg.PaintPreview(dib.GetSafeHdc());
        const PreviewFit fit = dlg.Fit();
        edge = dib.GetPixelRGB(fit.offsetX + 10, fit.offsetY + 35);
        inside = dib.GetPixelRGB(fit.offsetX + 35, fit.offsetY + 35);
        outside = dib.GetPixelRGB(fit.offsetX + fit.drawnWidth + 2, fit.offsetY + 35);
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    ASSERT_FLOAT_EQ(zoom, 1.0f) << "the preview holds the picture unzoomed";
    EXPECT_EQ(rightward, (std::vector<std::wstring>{L"10", L"20", L"50", L"30"}));
    EXPECT_EQ(leftward, rightward);
    EXPECT_EQ(edge, 0x0000FFu);
    EXPECT_EQ(inside, 0x808080u);
    EXPECT_EQ(outside, 0xFFFFFFu);
}

TEST_F(CountRegionDlgTest, WholePictureRadioTurnsTheEditsOff) {
    Bind(64, 48);
    engine.setSelRect(CountPoint{1, 1}, 10, 10);
    CCountRegionDlg dlg(&engine);
    bool editsOff = false;
    ModalScript script({[&](HWND d) {
        CheckRadioButton(d, IDC_REGION_WHOLE, IDC_REGION_RECT, IDC_REGION_WHOLE);
        ModalScript::Press(d, IDC_REGION_WHOLE);
        editsOff = IsWindowEnabled(GetDlgItem(d, IDC_REGION_W)) == FALSE;
        ModalScript::Press(d, IDOK);
    }});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(editsOff);
    EXPECT_EQ(dlg.m_nMode, 0);
}

}  // namespace
