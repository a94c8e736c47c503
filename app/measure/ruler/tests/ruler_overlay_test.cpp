// The measuring ruler painted into a DIB section and read back pixel by
// pixel: tick spacing and lengths, the label against the same text drawn by
// hand, centring, the line near the top, and the key colour alone when the
// ruler is off or there is nothing to measure.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "ruler_overlay.h"
#include "ruler_test_support.h"

namespace {

using ruler_testing::RulerFiles;
using ruler_testing::TestHost;

constexpr std::uint32_t kKey = 0xFF9D00;  // RGB(255, 157, 0) as 0x00RRGGBB
constexpr std::uint32_t kInk = 0x0000FF;  // RGB(0, 0, 255)
constexpr COLORREF kInkColour = RGB(0, 0, 255);

class RulerOverlayTest : public testing::Test {
protected:
    void SetUp() override {
        files_.SaveCalibration(u"0.500000", u"10");
        files_.SetRuler(L"Show", 1);
        files_.SetRuler(L"RulerX", 60);
        files_.SetRuler(L"RulerY", 150);
        files_.SetRuler(L"RulerColor", static_cast<int>(kInkColour));
    }
    // The ruler painted over the key colour into a 200 by 100 DIB section.
    std::unique_ptr<CMemoryDC> Paint() {
        CRulerOverlay overlay(host_, files_.Config(), files_.Scale());
        auto dib = std::make_unique<CMemoryDC>(nullptr, 200, 100, CMemoryDC::Kind::dibSection);
        EXPECT_TRUE(dib->IsValid());
        overlay.PaintInto(*dib, 200, 100);
        return dib;
    }
    // Columns whose pixel on row y has the ink.
    static std::vector<int> InkedColumns(const CMemoryDC& dib, int y, int from = 0, int to = 200) {
        std::vector<int> columns;
        for (int x = from; x < to; ++x) {
            if (dib.GetPixelRGB(x, y) == kInk) {
                columns.push_back(x);
            }
        }
        return columns;
    }
    static bool OnlyKeyIn(const CMemoryDC& dib, RECT r) {
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                if (dib.GetPixelRGB(x, y) != kKey) {
                    return false;
                }
            }
        }
        return true;
    }

    RulerFiles files_;
    TestHost host_;
};

TEST_F(RulerOverlayTest, HalfMicronPerPixelTicksEveryTwentyPixelsLongerEveryFifthAndTenth) {
    const auto dib = Paint();
    // The line itself across the whole width.
    EXPECT_EQ(InkedColumns(*dib, 60).size(), 200u);
    // Below the line only ticks (and the vertical line at x 150).
    EXPECT_EQ(InkedColumns(*dib, 62), (std::vector<int>{20, 40, 60, 80, 100, 120, 140, 150, 160, 180}));
    for (int i = 1; i <= 9; ++i) {
        const int x = 20 * i;
        const int reach = i == 5 ? 5 : 3;
        EXPECT_EQ(dib->GetPixelRGB(x, 60 + reach), kInk) << i;
        EXPECT_EQ(dib->GetPixelRGB(x, 60 + reach + 1), kKey) << i;
        if (x > 58) {  // right of the label
            EXPECT_EQ(dib->GetPixelRGB(x, 60 - reach), kInk) << i;
            EXPECT_EQ(dib->GetPixelRGB(x, 60 - reach - 1), kKey) << i;
        }
    }
    // The tenth tick, at x 200, lies past the display's last column.
    EXPECT_EQ(dib->GetPixelRGB(199, 67), kKey);
    // The vertical line's ticks every 20 rows, the fifth at y 100 off the display.
    std::vector<int> rows;
    for (int y = 0; y < 100; ++y) {
        if (dib->GetPixelRGB(153, y) == kInk) {
            rows.push_back(y);
        }
    }
    EXPECT_EQ(rows, (std::vector<int>{20, 40, 60, 80}));
}

// The label "10μm" as the same text drawn into the same rectangle, in the
// context's font without smoothing.
std::unique_ptr<CMemoryDC> ReferenceLabel(RECT rect) {
    auto dib = std::make_unique<CMemoryDC>(nullptr, 200, 100, CMemoryDC::Kind::dibSection);
    dib->FillSolidRect(RECT{0, 0, 200, 100}, RGB(255, 157, 0));
    LOGFONTW face{};
    GetObjectW(GetCurrentObject(dib->GetSafeHdc(), OBJ_FONT), sizeof face, &face);
    face.lfQuality = NONANTIALIASED_QUALITY;
    const CFont font(face);
    const CSelectObject selectFont(*dib, font.GetSafeHandle());
    dib->SetTextColor(kInkColour);
    dib->SetBkMode(TRANSPARENT);
    dib->DrawText(u"10\u03bcm", rect, DT_LEFT | DT_TOP | DT_SINGLELINE);
    return dib;
}

TEST_F(RulerOverlayTest, TheLabelReadsTheSpacingAndUnitAboveTheLineOrBelowNearTheTop) {
    const struct {
        int rulerX;
        RECT label;   // where the text goes
        RECT clear;   // where no text may be
        int lastRow;  // rows of the label free of ticks: up to this one
    } cases[] = {
        {60, {10, 40, 58, 60}, {10, 64, 58, 100}, 56},  // above: 60 - 20 to 60
        {30, {10, 40, 58, 60}, {10, 0, 58, 22}, 59},    // below: 30 + 10 to 30 + 30
        {41, {10, 21, 58, 41}, {10, 49, 58, 100}, 37},  // 41 is not near the top
    };
    for (const auto& c : cases) {
        files_.SetRuler(L"RulerX", c.rulerX);
        const auto dib = Paint();
        const auto reference = ReferenceLabel(c.label);
        int inked = 0;
        for (int y = c.label.top; y <= c.lastRow; ++y) {
            for (int x = c.label.left; x < c.label.right; ++x) {
                ASSERT_EQ(dib->GetPixelRGB(x, y), reference->GetPixelRGB(x, y)) << c.rulerX << ": " << x << "," << y;
                inked += reference->GetPixelRGB(x, y) == kInk ? 1 : 0;
            }
        }
        EXPECT_GT(inked, 20) << "the reference has text";
        // Only the ticks at x 20 and 40 cross the other side.
        for (int y = c.clear.top; y < c.clear.bottom; ++y) {
            if (y == 60) {
                continue;  // the horizontal line of the first case
            }
            for (int x = c.clear.left; x < c.clear.right; ++x) {
                if (x != 20 && x != 40) {
                    ASSERT_EQ(dib->GetPixelRGB(x, y), kKey) << c.rulerX << ": " << x << "," << y;
                }
            }
        }
    }
}

TEST_F(RulerOverlayTest, CentredTheLinesRunThroughTheMiddleWhateverTheStoredPositions) {
    files_.SetRuler(L"Middle", 1);
    const auto dib = Paint();
    EXPECT_EQ(InkedColumns(*dib, 50).size(), 200u);
    // The vertical line at x 100 with its third tick on row 60.
    EXPECT_EQ(InkedColumns(*dib, 60), (std::vector<int>{97, 98, 99, 100, 101, 102, 103}));
    EXPECT_EQ(dib->GetPixelRGB(100, 90), kInk);
    EXPECT_EQ(dib->GetPixelRGB(150, 90), kKey);
}

TEST_F(RulerOverlayTest, OffOrWithoutSizesOnlyTheKeyColourIsPainted) {
    const struct {
        int show;
        RulerSizes sizes;
    } cases[] = {
        {0, {200, 100, 200, 100}}, {1, {0, 100, 200, 100}}, {1, {200, 0, 200, 100}},
        {1, {200, 100, 0, 100}},   {1, {200, 100, 200, 0}}, {1, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        files_.SetRuler(L"Show", c.show);
        host_.sizes = c.sizes;
        const auto dib = Paint();
        EXPECT_TRUE(OnlyKeyIn(*dib, RECT{0, 0, 200, 100}))
            << c.show << " " << c.sizes.frameWidth << "x" << c.sizes.frameHeight << " on " << c.sizes.displayWidth
            << "x" << c.sizes.displayHeight;
    }
}

TEST_F(RulerOverlayTest, StoredPositionsBecomeWindowPixelsOnlyBetweenRealSizes) {
    host_.sizes = {200, 100, 400, 200};
    CRulerOverlay shown(host_, files_.Config(), files_.Scale());
    EXPECT_EQ(shown.m_nHorizontalPos, 120);
    EXPECT_EQ(shown.m_nVerticalPos, 300);
    host_.sizes = {0, 0, 400, 200};
    CRulerOverlay nothing(host_, files_.Config(), files_.Scale());
    EXPECT_EQ(nothing.m_nHorizontalPos, 100) << "kept, not divided by 0";
    EXPECT_EQ(nothing.m_nVerticalPos, 100);
}

TEST_F(RulerOverlayTest, UnusableScaleAndSpacingFallBack) {
    const struct {
        const char16_t* value;
        const char16_t* spacing;
        double scale;
        int ticks;  // expected spacing in window pixels
    } cases[] = {
        {u"0.500000", u"10", 0.5, 20}, {u"0", u"10", 1.0, 10},       {u"-2", u"10", 1.0, 10},
        {u"abc", u"10", 1.0, 10},      {u"0.500000", u"0", 0.5, 20}, {u"0.500000", u"-3", 0.5, 20},
        {u"0.500000", u"2", 0.5, 4},
    };
    for (const auto& c : cases) {
        files_.SaveCalibration(c.value, c.spacing);
        CRulerOverlay overlay(host_, files_.Config(), files_.Scale());
        EXPECT_EQ(overlay.m_fScale, c.scale);
        const auto dib = Paint();
        const std::vector<int> columns = InkedColumns(*dib, 62, 60, 150);
        ASSERT_GE(columns.size(), 2u);
        EXPECT_EQ(columns[1] - columns[0], c.ticks) << static_cast<int>(&c - cases);
    }
}

TEST_F(RulerOverlayTest, DefaultTakesItsUnitFromTheDrawingSettings) {
    host_.calibration = 0;
    const struct {
        const wchar_t* stored;  // null: no key
        const wchar_t* unit;
    } cases[] = {{nullptr, L"mm"}, {L"", L"mm"}, {L"cm", L"cm"}, {L"\u00b5m", L"\u03bcm"}};
    for (const auto& c : cases) {
        if (c.stored) {
            files_.SetConfig(L"CLdraw", L"Unit", c.stored);
        }
        CRulerOverlay overlay(host_, files_.Config(), files_.Scale());
        EXPECT_EQ(overlay.m_strUnit, c.unit);
        EXPECT_EQ(overlay.m_fScale, 1.0);
        EXPECT_EQ(overlay.m_nSpacing, 10);
    }
    host_.calibration = 1;
    CRulerOverlay chosen(host_, files_.Config(), files_.Scale());
    EXPECT_EQ(chosen.m_strUnit, L"\u03bcm");
    EXPECT_EQ(chosen.m_fScale, 0.5);
}

}  // namespace
