// Printing at the calibrated size through Wine's PostScript driver, measured
// on the page as Ghostscript renders it at the printer's resolution.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <limits>

#include "controller_fixture.h"
#include "dc.h"
#include "line_figures.h"
#include "log_font_win32.h"
#include "postscript_printer.h"

namespace {

using namespace controller_testing;
using namespace print_testing;

constexpr std::uint32_t kBlue = 0x0000FF;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);
// Rows of the picture: the plain line, and the labelled line with its label
// well below the first.
constexpr float kLineRow = 250.0f;
constexpr float kLabelledRow = 40.0f;
constexpr float kLabelRow = 330.0f;

bool IsBlue(std::uint32_t rgb) { return (rgb & 0xFF) > 200 && ((rgb >> 8) & 0xFF) < 60 && (rgb >> 16) < 60; }
bool IsRed(std::uint32_t rgb) { return (rgb >> 16) > 200 && ((rgb >> 8) & 0xFF) < 60 && (rgb & 0xFF) < 60; }
bool IsGreen(std::uint32_t rgb) { return ((rgb >> 8) & 0xFF) > 100 && (rgb >> 16) < 60 && (rgb & 0xFF) < 60; }

class PrintCalibratedTest : public ControllerFixture {
protected:
    static void SetUpTestSuite() { installed = InstallPostScriptPrinter(); }

    void SetUp() override {
        ControllerFixture::SetUp();
        ASSERT_TRUE(installed) << "the PostScript test printer could not be installed";
        printer = CreatePrinterDC();
        ASSERT_NE(printer, nullptr);
        controller = Open(WritePicture(L"blue.bmp", 1000, 500, kBlue));
        controller->printUnitText = u"mm";
        controller->printScale = 0.0254f;  // 1000 pixels are one inch
        controller->printMagnification = 1;

        auto line = std::make_unique<CCLLine>();
        line->points = {PointF{100.0f, kLineRow}, PointF{900.0f, kLineRow}};
        line->drawColour = kRed;
        line->labelMode = CCLObject::kLabelNothing;
        plainLine = line.get();
        controller->GetObjectList()->push_back(std::move(line));

        auto labelled = std::make_unique<CCLLine>();
        labelled->points = {PointF{100.0f, kLabelledRow}, PointF{300.0f, kLabelledRow}};
        labelled->Recompute();
        labelled->drawColour = kGreen;
        labelled->labelMode = CCLObject::kLabelAll;
        labelled->scale = 0.5f;
        labelled->unitText = u"cm";
        // A positive height is the cell height; the printer must keep it so.
        labelled->font = LogFont{};
        labelled->font.height = 40;
        labelled->font.weight = FW_NORMAL;
        labelled->font.SetFaceName(u"Tahoma");
        labelled->label.font = labelled->font;
        labelled->label.boxShown = 0;
        labelled->label.x = 100.0f;
        labelled->label.y = kLabelRow;
        labelledLine = labelled.get();
        controller->GetObjectList()->push_back(std::move(labelled));
    }

    // The controller's print on a page of the test printer, rendered.
    std::optional<CPicture> PrintedPage(const wchar_t* name) {
        const fs::path output = dir / name;
        if (!PrintPage(printer.get(), output, [&](HDC dc) { controller->PrintCalibrated(dc); })) {
            return std::nullopt;
        }
        return RenderPage(output, Caps(LOGPIXELSX));
    }

    int Caps(int index) const { return ::GetDeviceCaps(printer.get(), index); }
    // Printer dots per inch as the page size gives it.
    double DotsPerInch() const { return Caps(HORZRES) / (Caps(HORZSIZE) * 0.03937007874015748); }

    static bool installed;
    UniqueDC printer;
    std::unique_ptr<CImageController> controller;
    CCLObject* plainLine = nullptr;
    CCLObject* labelledLine = nullptr;
};

bool PrintCalibratedTest::installed = false;

TEST_F(PrintCalibratedTest, PictureAndObjectsPrintAtTheCalibratedSizeTimesTheMagnification) {
    // The page's dots and Ghostscript's pixels coincide at LOGPIXELSX.
    ASSERT_EQ(Caps(LOGPIXELSX), Caps(LOGPIXELSY));
    const int originX = Caps(PHYSICALOFFSETX);
    const int originY = Caps(PHYSICALOFFSETY);
    for (const int magnification : {1, 2}) {
        SCOPED_TRACE(magnification);
        controller->printMagnification = magnification;
        const auto page = PrintedPage(magnification == 1 ? L"times1.ps" : L"times2.ps");
        ASSERT_TRUE(page.has_value());
        const double inches = magnification;  // 1000 pixels of 0.0254 mm
        const double dots = DotsPerInch() * inches;
        const RECT picture = InkBox(*page, IsBlue);
        EXPECT_EQ(picture.left, originX);
        EXPECT_EQ(picture.top, originY);
        EXPECT_NEAR(picture.right - picture.left, dots, 1.0);
        EXPECT_NEAR(picture.bottom - picture.top, dots / 2, 1.0);

        // The red line across the middle row, from a tenth to nine tenths
        // (its end ticks reach above and below the row).
        const double zoom = dots / 1000.0;
        const int middle = originX + static_cast<int>(500 * zoom);
        const RECT row = InkBox(*page, IsRed, RECT{middle, 0, middle + 1, page->GetHeight()});
        EXPECT_NEAR(row.top, originY + kLineRow * zoom, 1.5);
        EXPECT_LE(row.bottom - row.top, 3) << "one line, not a band";
        const RECT line = InkBox(*page, IsRed);
        EXPECT_NEAR(line.left, originX + 100 * zoom, 3.0);
        EXPECT_NEAR(line.right, originX + 900 * zoom, 3.0);
    }
}

TEST_F(PrintCalibratedTest, LabelsKeepTheirScreenSizeOnPaper) {
    controller->printScale = 0.00254f;
    controller->printUnitText = u"mm";
    controller->printMagnification = 10;  // the same inch, with labels in "mm"
    const LogFont screenFont = labelledLine->font;
    const auto page = PrintedPage(L"label.ps");
    ASSERT_TRUE(page.has_value());
    // The label that was printed shows the print scale and unit.
    const std::u16string printed = labelledLine->label.text;
    EXPECT_NE(printed.find(u"mm"), std::u16string::npos) << std::string(printed.begin(), printed.end());

    // The same text in the font at the printer's resolution, drawn here.
    int screenDpi = 0;
    {
        CClientDC screen(window.hwnd());
        screenDpi = screen.GetDeviceCaps(LOGPIXELSY);
    }
    LogFont printerFont = screenFont;
    printerFont.height = ::MulDiv(screenFont.height, Caps(LOGPIXELSY), screenDpi);
    CMemoryDC reference(nullptr, 3000, 600, CMemoryDC::Kind::dibSection);
    reference.FillSolidRect(RECT{0, 0, 3000, 600}, RGB(255, 255, 255));
    {
        CFont font(ToLogFontW(printerFont));
        CSelectObject select(reference, font.GetSafeHandle());
        reference.SetTextColor(kGreen);
        reference.SetBkMode(TRANSPARENT);
        RECT where{10, 10, 3000, 600};
        reference.DrawText(printed, where, 0);
    }
    ::GdiFlush();
    RECT expected{0x7FFFFFFF, 0x7FFFFFFF, 0, 0};
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 3000; ++x) {
            if (IsGreen(reference.GetPixelRGB(x, y))) {
                expected.left = std::min<LONG>(expected.left, x);
                expected.top = std::min<LONG>(expected.top, y);
                expected.right = std::max<LONG>(expected.right, x + 1);
                expected.bottom = std::max<LONG>(expected.bottom, y + 1);
            }
        }
    }
    ASSERT_GT(expected.right, expected.left) << "the reference text drew nothing";

    // The label's ink on paper, below the labelled line and the red one.
    const double zoom = DotsPerInch() / 1000.0;
    const int below = Caps(PHYSICALOFFSETY) + static_cast<int>((kLineRow + 20) * zoom);
    const RECT label = InkBox(*page, IsGreen, RECT{0, below, page->GetWidth(), page->GetHeight()});
    ASSERT_GT(label.right, label.left) << "no label on paper";
    const double height = label.bottom - label.top;
    const double width = label.right - label.left;
    EXPECT_NEAR(height, expected.bottom - expected.top, 0.05 * height);
    EXPECT_NEAR(width, expected.right - expected.left, 0.05 * width);
}

TEST_F(PrintCalibratedTest, ObjectsKeepTheirOwnStyleAfterPrinting) {
    const LogFont font = labelledLine->font;
    const LogFont labelFont = labelledLine->label.font;
    ASSERT_TRUE(PrintPage(printer.get(), dir / L"style.ps", [&](HDC dc) { controller->PrintCalibrated(dc); }));
    EXPECT_EQ(labelledLine->font, font);
    EXPECT_EQ(labelledLine->label.font, labelFont);
    EXPECT_EQ(labelledLine->scale, 0.5f);
    EXPECT_EQ(labelledLine->unitText, u"cm");
    EXPECT_EQ(labelledLine->label.dirty, 1) << "the label is composed again in its own style";
    EXPECT_EQ(plainLine->scale, 1.0f);
}

// How many records a drawing leaves in a metafile over the printer's caps.
UINT RecordsDrawn(HDC printer, const std::function<void(HDC)>& draw) {
    HDC metafile = ::CreateEnhMetaFileW(printer, nullptr, nullptr, nullptr);
    draw(metafile);
    HENHMETAFILE recorded = ::CloseEnhMetaFile(metafile);
    ENHMETAHEADER header{};
    ::GetEnhMetaFileHeader(recorded, sizeof header, &header);
    ::DeleteEnhMetaFile(recorded);
    return header.nRecords;
}

TEST_F(PrintCalibratedTest, NothingIsPrintedWithoutAPrintableSize) {
    controller->GetObjectList()->clear();
    const auto print = [&](CImageController& c) {
        return RecordsDrawn(printer.get(), [&](HDC dc) { c.PrintCalibrated(dc); });
    };
    const UINT empty = RecordsDrawn(printer.get(), [](HDC) {});
    ASSERT_GT(print(*controller), empty) << "a sound print draws";
    struct Case {
        float scale;
        int magnification;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const Case c : {Case{0.0f, 1}, Case{-0.0254f, 1}, Case{nan, 1}, Case{inf, 1}, Case{0.0254f, 0},
                         Case{0.0254f, -3}, Case{1e30f, 1}, Case{1e-12f, 1}}) {
        controller->printScale = c.scale;
        controller->printMagnification = c.magnification;
        EXPECT_EQ(print(*controller), empty) << c.scale << " x " << c.magnification;
    }
    controller->PrintCalibrated(nullptr);
    CImageController windowless;
    EXPECT_EQ(print(windowless), empty);
}

}  // namespace
