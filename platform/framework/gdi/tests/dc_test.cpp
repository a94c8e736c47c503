#include <gtest/gtest.h>

#include "dc.h"

namespace {

TEST(Dc, DrawsIntoADibSection) {
    CMemoryDC dc(nullptr, 20, 10, CMemoryDC::Kind::dibSection);
    ASSERT_TRUE(dc.IsValid());
    dc.FillSolidRect(RECT{0, 0, 20, 10}, RGB(192, 192, 192));
    {
        CPen pen(PS_NULL, 1, 0);
        CBrush brush(RGB(200, 0, 0));
        CSelectObject selectPen(dc, pen.GetSafeHandle());
        CSelectObject selectBrush(dc, brush.GetSafeHandle());
        dc.Rectangle(2, 2, 6, 6);  // null pen: the right and bottom edges stay out
    }
    {
        CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
        CSelectObject selectPen(dc, pen.GetSafeHandle());
        dc.MoveTo(10, 8);
        dc.LineTo(15, 8);
    }
    EXPECT_EQ(dc.GetPixelRGB(0, 0), 0xC0C0C0u);
    EXPECT_EQ(dc.GetPixelRGB(2, 2), 0xC80000u);
    EXPECT_EQ(dc.GetPixelRGB(4, 4), 0xC80000u);
    EXPECT_EQ(dc.GetPixelRGB(5, 5), 0xC0C0C0u);
    EXPECT_EQ(dc.GetPixelRGB(10, 8), 0x0000FFu);
    EXPECT_EQ(dc.GetPixelRGB(15, 8), 0xC0C0C0u);
    EXPECT_EQ(dc.GetPixelRGB(99, 0), 0u);
}

TEST(Dc, ClipRegionKeepsDrawingInside) {
    CMemoryDC dc(nullptr, 10, 10, CMemoryDC::Kind::dibSection);
    dc.FillSolidRect(RECT{0, 0, 10, 10}, RGB(255, 255, 255));
    CRgn clip(2, 2, 5, 5);
    dc.SelectClipRgn(&clip);
    dc.FillSolidRect(RECT{0, 0, 10, 10}, RGB(0, 0, 0));
    dc.SelectClipRgn(nullptr);
    EXPECT_EQ(dc.GetPixelRGB(1, 1), 0xFFFFFFu);
    EXPECT_EQ(dc.GetPixelRGB(2, 2), 0u);
    EXPECT_EQ(dc.GetPixelRGB(5, 5), 0xFFFFFFu);
}

TEST(Dc, TextMeasuresAndDraws) {
    CMemoryDC dc(nullptr, 80, 30, CMemoryDC::Kind::dibSection);
    dc.FillSolidRect(RECT{0, 0, 80, 30}, RGB(255, 255, 255));
    LOGFONTW lf{};
    lf.lfHeight = 16;
    CFont font(lf);
    CSelectObject selectFont(dc, font.GetSafeHandle());
    RECT extent{0, 0, 0, 0};
    dc.DrawText(u"Hi", extent, DT_CALCRECT);
    EXPECT_GT(extent.right, 4);
    EXPECT_GT(extent.bottom, 4);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SetBkMode(TRANSPARENT);
    RECT where{0, 0, 80, 30};
    dc.DrawText(u"Hi", where, 0);
    int dark = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 80; ++x) {
            dark += dc.GetPixelRGB(x, y) == 0 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 5);
}

// Title bars draw their minimise, maximise and close buttons with the symbol
// font; where the font mapper cannot find it by name they show letters.
TEST(Dc, TheTitleBarsSymbolFontIsFoundByName) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HFONT font = CreateFontW(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Marlett");
    ASSERT_NE(font, nullptr);
    HGDIOBJ before = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, before);
    DeleteObject(font);
    DeleteDC(dc);
    EXPECT_STREQ(face, L"Marlett");
}

}  // namespace
