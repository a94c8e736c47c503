#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <climits>
#include <cmath>
#include <string>
#include <string_view>

#include "annotation_strings.h"
#include "annotations_resource.h"
#include "arrow_pictures.h"
#include "cl_arrow.h"
#include "cl_count.h"
#include "cl_scale_bar.h"
#include "cl_text.h"
#include "dc.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kGreen = 0x008000;  // page colour behind the objects
constexpr std::uint32_t kBlue = 0x0000FF;   // 0xRRGGBB as the DIB reads
constexpr std::uint32_t kSelected = 0xC80000;
constexpr std::uint32_t kBox = 0x649664;  // the box colour 0x649664 read back as RGB

class Canvas : public ::testing::Test {
protected:
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 300;

    void Clear(std::uint32_t rgb) {
        dc.FillSolidRect(RECT{0, 0, kWidth, kHeight}, RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF));
    }
    void SetUp() override {
        ASSERT_TRUE(dc.IsValid());
        Clear(kWhite);
    }
    int Count(std::uint32_t rgb, int left, int top, int right, int bottom) const {
        int n = 0;
        for (int y = std::max(top, 0); y < std::min(bottom, kHeight); ++y) {
            for (int x = std::max(left, 0); x < std::min(right, kWidth); ++x) {
                n += dc.GetPixelRGB(x, y) == rgb ? 1 : 0;
            }
        }
        return n;
    }
    int CountAll(std::uint32_t rgb) const { return Count(rgb, 0, 0, kWidth, kHeight); }
    // Bounds of the pixels of one colour in a region; empty when none.
    RECT Extent(std::uint32_t rgb, int left, int top, int right, int bottom) const {
        RECT r{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                if (dc.GetPixelRGB(x, y) == rgb) {
                    r = {std::min<LONG>(r.left, x), std::min<LONG>(r.top, y), std::max<LONG>(r.right, x + 1),
                         std::max<LONG>(r.bottom, y + 1)};
                }
            }
        }
        return r;
    }

    CMemoryDC dc{nullptr, kWidth, kHeight, CMemoryDC::Kind::dibSection};
};

// --- arrow pictures ---------------------------------------------------------

TEST(ArrowPictures, EightBitmapsWithTheirTipsInPlace) {
    // One pixel past the tip, away from the arrow, for each direction.
    const std::array<POINT, 8> beyond = {
        {{60, 9}, {60, 111}, {9, 60}, {111, 60}, {20, 22}, {96, 22}, {23, 96}, {96, 96}}};
    for (std::int32_t d = 0; d < 8; ++d) {
        const ArrowPicture picture = *ArrowPictureFor(d);
        UniqueGdiObject<HBITMAP> bitmap(static_cast<HBITMAP>(::LoadImageW(
            ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(picture.bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ASSERT_TRUE(bitmap) << picture.bitmapId;
        BITMAP bm{};
        ASSERT_EQ(::GetObjectW(bitmap.get(), sizeof bm, &bm), static_cast<int>(sizeof bm));
        EXPECT_EQ(bm.bmWidth, 120);
        EXPECT_EQ(bm.bmHeight, 120);
        EXPECT_EQ(bm.bmBitsPixel, 24);
        HDC memory = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(memory, bitmap.get());
        const int tx = static_cast<int>(picture.tip.x);
        const int ty = static_cast<int>(picture.tip.y);
        EXPECT_EQ(::GetPixel(memory, tx, ty), RGB(0, 0, 0)) << d;
        EXPECT_EQ(::GetPixel(memory, beyond[static_cast<std::size_t>(d)].x, beyond[static_cast<std::size_t>(d)].y),
                  RGB(255, 255, 255))
            << d;
        EXPECT_EQ(::GetPixel(memory, 0, 0), RGB(255, 255, 255)) << d;
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
    }
}

// The Chinese language library holds the names the counters are given.
TEST(CounterNames, LanguageLibrariesHoldTheNames) {
    for (const wchar_t* library : {L"Lan_0.dll", L"Lan_1.dll"}) {
        HMODULE module = ::LoadLibraryExW(library, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << library;
        for (const int id : {IDS_COUNTER_CIRCLE, IDS_COUNTER_RECT, IDS_COUNTER_DIAMOND}) {
            wchar_t buffer[64] = {};
            const int n = ::LoadStringW(module, static_cast<UINT>(id), buffer, 64);
            ASSERT_GT(n, 0) << id;
            if (std::wstring_view(library) == L"Lan_1.dll") {
                EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(buffer), static_cast<std::size_t>(n)),
                          CounterName(id));
            }
        }
        ::FreeLibrary(module);
    }
}

// --- text -------------------------------------------------------------------

TEST_F(Canvas, TextIsDrawnThroughItsLabel) {
    CCLText note;
    note.text = u"Note 1";
    note.drawColour = RGB(0, 0, 255);
    int step = 5;
    ASSERT_TRUE(note.Track(&dc, 80, 60, step, true, 2.0f, 0, 0));  // a move places it too
    EXPECT_EQ(step, 0);
    EXPECT_EQ(note.position, (PointF{40, 30}));
    ASSERT_GT(note.label.width, 10);
    note.Draw(&dc, 2.0f, 0, 0);
    const PixelRect r = note.label.DeviceRect(2.0f, 0, 0);
    EXPECT_EQ(r.left, 80);
    EXPECT_EQ(r.top, 60);
    EXPECT_GT(Count(kBlue, r.left, r.top, r.right, r.bottom), 10);
    EXPECT_EQ(Count(kBlue, 0, 0, kWidth, kHeight), Count(kBlue, r.left, r.top, r.right, r.bottom));
    EXPECT_EQ(dc.GetPixelRGB(r.left - 2, r.top - 2), kBox);

    Clear(kWhite);
    note.state = CCLObject::kLabelActive;
    note.Draw(&dc, 2.0f, 0, 0);
    EXPECT_EQ(CountAll(kBlue), 0);
    EXPECT_GT(CountAll(kSelected), 10);
}

// --- arrow ------------------------------------------------------------------

TEST_F(Canvas, ArrowTakesItsColourAndLeavesWhiteTransparent) {
    Clear(kGreen);
    CCLArrow arrow;
    arrow.SetArrowColor(RGB(0, 0, 255));
    int step = 0;
    ASSERT_TRUE(arrow.Track(&dc, 100, 100, step, false, 1.0f, 0, 0));
    arrow.Draw(&dc, 1.0f, 0, 0);
    // The picture covers (85, 97)-(115, 127): blue shaft, green around it.
    EXPECT_EQ(dc.GetPixelRGB(100, 115), kBlue);
    EXPECT_EQ(dc.GetPixelRGB(86, 125), kGreen);
    EXPECT_EQ(dc.GetPixelRGB(113, 98), kGreen);
    EXPECT_EQ(CountAll(kWhite), 0);
    EXPECT_EQ(CountAll(kBlue), Count(kBlue, 85, 97, 115, 127));
    // The tip reaches the clicked point.
    const RECT ink = Extent(kBlue, 80, 90, 120, 130);
    EXPECT_NEAR(ink.top, 100, 2);
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 100, 2);
    EXPECT_EQ(CountAll(kSelected), 0);
}

TEST_F(Canvas, ArrowKeepsItsSizeWhenZoomed) {
    CCLArrow arrow;
    arrow.SetArrowStyle(3, 50, 50);  // right, tip at (110, 60) of the picture
    arrow.SetArrowColor(RGB(0, 0, 255));
    int step = 0;
    ASSERT_TRUE(arrow.Track(&dc, 150, 100, step, false, 1.0f, 0, 0));
    arrow.Draw(&dc, 2.0f, 100, 50);  // the tip's device point: (300 - 100, 200 - 50)
    const RECT ink = Extent(kBlue, 0, 0, kWidth, kHeight);
    EXPECT_NEAR(ink.right, 200, 2);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 150, 2);
    EXPECT_LE(ink.right - ink.left, 50);
    EXPECT_GE(ink.right - ink.left, 40);
}

TEST_F(Canvas, SelectedArrowIsOutlined) {
    CCLArrow arrow;
    arrow.SetArrowStyle(8, 30, 30);  // no picture, only the outline
    int step = 0;
    ASSERT_TRUE(arrow.Track(&dc, 100, 100, step, false, 1.0f, 0, 0));
    arrow.Draw(&dc, 1.0f, 0, 0);
    EXPECT_EQ(CountAll(kWhite), kWidth * kHeight);
    arrow.state = CCLObject::kBodyActive;
    arrow.Draw(&dc, 1.0f, 0, 0);
    // One pixel outside the 30 x 30 area at (100, 100).
    EXPECT_EQ(dc.GetPixelRGB(99, 110), kSelected);
    EXPECT_EQ(dc.GetPixelRGB(130, 110), kSelected);
    EXPECT_EQ(dc.GetPixelRGB(110, 99), kSelected);
    EXPECT_EQ(dc.GetPixelRGB(110, 130), kSelected);
    EXPECT_EQ(dc.GetPixelRGB(110, 110), kWhite);
    EXPECT_EQ(dc.GetPixelRGB(131, 110), kWhite);
}

// --- counters ---------------------------------------------------------------

TEST_F(Canvas, CounterFiguresAndNumbers) {
    CCL_CountCircle circle;
    CCL_CountRect rect;
    CCL_CountDiamond diamond;
    circle.centre = {50, 50};
    rect.centre = {150, 50};
    diamond.centre = {250, 50};
    for (CCL_Count* marker :
         {static_cast<CCL_Count*>(&circle), static_cast<CCL_Count*>(&rect), static_cast<CCL_Count*>(&diamond)}) {
        marker->markerColour = RGB(0, 0, 255);
        marker->number = 7;
        marker->Draw(&dc, 1.0f, 0, 0);
    }
    // Circle of radius 15 around (50, 50).
    EXPECT_GT(Count(kBlue, 45, 34, 56, 37), 0);
    EXPECT_GT(Count(kBlue, 34, 45, 37, 56), 0);
    EXPECT_EQ(Count(kBlue, 0, 0, 33, 100), 0);
    // Square reaching 12 pixels from (150, 50), diamond 17 from (250, 50).
    EXPECT_EQ(dc.GetPixelRGB(138, 45), kBlue);
    EXPECT_EQ(dc.GetPixelRGB(162, 55), kBlue);
    EXPECT_EQ(dc.GetPixelRGB(145, 38), kBlue);
    EXPECT_EQ(Count(kBlue, 100, 0, 137, 100), 0);
    EXPECT_EQ(dc.GetPixelRGB(233, 50), kBlue);
    EXPECT_EQ(dc.GetPixelRGB(250, 33), kBlue);
    EXPECT_EQ(dc.GetPixelRGB(267, 50), kBlue);
    EXPECT_EQ(Count(kBlue, 200, 0, 232, 100), 0);
    // The number inside: "7" starts 4 pixels left of the centre, 7 above.
    const RECT digits = Extent(kBlue, 142, 40, 159, 61);
    EXPECT_GE(digits.left, 146);
    EXPECT_GE(digits.top, 43);
    EXPECT_LT(digits.top, 50);
}

TEST_F(Canvas, WideNumbersStartFurtherLeftAndSelectionWidensThePen) {
    CCL_CountRect marker;
    marker.centre = {100, 100};
    marker.size = 30;  // a square from 75 to 125
    marker.markerColour = RGB(0, 0, 255);
    marker.number = 123;
    marker.Draw(&dc, 1.0f, 0, 0);
    const RECT digits = Extent(kBlue, 77, 80, 124, 120);
    EXPECT_GE(digits.left, 88);
    EXPECT_LT(digits.left, 96);
    EXPECT_EQ(dc.GetPixelRGB(76, 100), kWhite);  // pen width 1

    Clear(kWhite);
    marker.state = CCLObject::kBodyActive;
    marker.Draw(&dc, 1.0f, 0, 0);
    EXPECT_EQ(CountAll(kBlue), 0);
    EXPECT_EQ(dc.GetPixelRGB(75, 100), kSelected);
    EXPECT_GT(Count(kSelected, 73, 90, 78, 110), 20);  // two pixels wide
}

TEST_F(Canvas, BareCounterDrawsNothing) {
    CCL_Count bare;
    bare.centre = {100, 100};
    bare.number = 3;
    bare.Draw(&dc, 1.0f, 0, 0);
    EXPECT_EQ(CountAll(kWhite), kWidth * kHeight);
}

// --- scale bar --------------------------------------------------------------

class ScaleBarCanvas : public Canvas {
protected:
    void SetUp() override {
        Canvas::SetUp();
        bar.value = 100;
        bar.barUnit = u"μm";
        bar.scale = 0.5f;  // 200 image pixels
        bar.thickness = 2;
        bar.drawColour = RGB(0, 0, 255);
    }
    void Place(int x, int y, float zoom) {
        int step = 0;
        ASSERT_TRUE(bar.Track(&dc, x, y, step, false, zoom, 0, 0));
        ASSERT_EQ(step, 0);
    }
    CCL_BiaoChi bar;
};

TEST_F(ScaleBarCanvas, BarTicksAndCentredText) {
    Place(20, 100, 1.0f);
    ASSERT_GT(bar.label.width, 0);
    bar.Draw(&dc, 1.0f, 0, 0);
    // Two rows from 20 to 219; ticks 5 pixels beyond, at both ends.
    EXPECT_EQ(dc.GetPixelRGB(120, 100), kBlue);
    EXPECT_EQ(dc.GetPixelRGB(219, 101), kBlue);
    EXPECT_EQ(dc.GetPixelRGB(120, 102), kWhite);
    EXPECT_EQ(dc.GetPixelRGB(20, 95), kBlue);
    EXPECT_EQ(dc.GetPixelRGB(21, 106), kBlue);
    EXPECT_EQ(dc.GetPixelRGB(220, 95), kBlue);
    EXPECT_EQ(dc.GetPixelRGB(221, 106), kBlue);
    EXPECT_EQ(dc.GetPixelRGB(222, 100), kWhite);
    EXPECT_EQ(dc.GetPixelRGB(20, 94), kWhite);
    EXPECT_EQ(dc.GetPixelRGB(20, 107), kWhite);
    // The text "100.00 μm" sits above the bar, centred on it, without a box.
    const RECT text = Extent(kBlue, 0, 0, kWidth, 94);
    ASSERT_LT(text.left, text.right);
    EXPECT_LE(text.bottom, 98);
    EXPECT_NEAR((text.left + text.right) / 2.0, 120, 6);
    EXPECT_EQ(CountAll(kBox), 0);
    EXPECT_EQ(bar.label.text, u"100.00 μm");
}

TEST_F(ScaleBarCanvas, ZoomTwoDoublesTheLength) {
    Place(20, 100, 2.0f);  // left end at image (10, 50)
    bar.Draw(&dc, 2.0f, 0, 0);
    EXPECT_EQ(dc.GetPixelRGB(419, 100), kBlue);
    EXPECT_EQ(dc.GetPixelRGB(420, 95), kBlue);  // right tick at 20 + 400
    EXPECT_EQ(dc.GetPixelRGB(423, 100), kWhite);
}

TEST_F(ScaleBarCanvas, BackgroundBoxAsWideAsTheTextPlusFifteen) {
    bar.value = 1;  // a bar of 2 pixels under a long text
    bar.thickness = 1;
    bar.background = 1;
    Place(200, 150, 1.0f);
    bar.Draw(&dc, 1.0f, 0, 0);
    CTextObject probe;
    probe.text = bar.BarText();
    probe.Measure(&dc, bar.font);
    ASSERT_GT(probe.width, 15);
    // Row 158 lies below the ticks and inside the box (which ends at 150 + 2 x 5).
    EXPECT_EQ(Count(kBox, 0, 158, kWidth, 159), probe.width + 15);
    EXPECT_EQ(Count(kBox, 0, 160, kWidth, 161), 0);
}

TEST_F(ScaleBarCanvas, ZeroScaleDrawsOnlyTheEndTicks) {
    bar.scale = 0;
    Place(20, 100, 1.0f);
    bar.Draw(&dc, 1.0f, 0, 0);
    EXPECT_EQ(dc.GetPixelRGB(20, 95), kBlue);
    EXPECT_EQ(Count(kBlue, 23, 99, kWidth, 108), 0);  // no bar, no right tick (the text ends above)
}

TEST_F(ScaleBarCanvas, SelectedBarUsesTheSelectedColour) {
    Place(20, 100, 1.0f);
    bar.state = CCLObject::kBodyActive;
    bar.Draw(&dc, 1.0f, 0, 0);
    EXPECT_EQ(CountAll(kBlue), 0);
    EXPECT_EQ(dc.GetPixelRGB(120, 100), kSelected);
    EXPECT_GT(Count(kSelected, 0, 0, kWidth, 94), 10);  // the text too
}

TEST_F(ScaleBarCanvas, RubberBandFollowsTheMouseBeforeTheClick) {
    bar.drawColour = RGB(0, 0, 255);
    int step = 0;
    EXPECT_FALSE(bar.Track(&dc, 30, 60, step, true, 1.0f, 0, 0));
    EXPECT_EQ(bar.origin, (PointF{30, 60}));
    EXPECT_EQ(dc.GetPixelRGB(130, 60), kBlue);
    step = 1;
    Clear(kWhite);
    EXPECT_FALSE(bar.Track(&dc, 40, 60, step, true, 1.0f, 0, 0));
    EXPECT_EQ(CountAll(kBlue), 0);
    EXPECT_EQ(bar.origin, (PointF{30, 60}));
}

}  // namespace
