// The live controller's drawing over the video: objects at the zoom on the
// colour key, which the overlay shows as transparent, and nothing beyond
// the zoomed frame.
#include <gtest/gtest.h>

#include <windows.h>

#include "controller_fixture.h"
#include "line_figures.h"
#include "live_controller.h"

namespace {

using namespace controller_testing;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kUntouched = RGB(0, 0, 255);

class LiveRenderTest : public ControllerFixture {
protected:
    void SetUp() override {
        ControllerFixture::SetUp();
        Fill(kUntouched);
        live.SetOwnerWindow(window.hwnd());
        live.SetOverlayWindow(window.hwnd());
        live.SetZoom(2.0f);
        live.SetFrameSize(60, 40);
        auto line = std::make_unique<CCLLine>();
        line->points = {PointF{10.0f, 20.0f}, PointF{50.0f, 20.0f}};
        line->drawColour = kRed;
        line->labelMode = CCLObject::kLabelNothing;
        live.GetObjectList()->push_back(std::move(line));
    }

    void Fill(COLORREF colour) {
        HDC dc = ::GetDC(window.hwnd());
        const RECT all{0, 0, kClientWidth, kClientHeight};
        HBRUSH brush = ::CreateSolidBrush(colour);
        ::FillRect(dc, &all, brush);
        ::DeleteObject(brush);
        ::ReleaseDC(window.hwnd(), dc);
    }
    COLORREF Pixel(int x, int y) {
        HDC dc = ::GetDC(window.hwnd());
        const COLORREF pixel = ::GetPixel(dc, x, y);
        ::ReleaseDC(window.hwnd(), dc);
        return pixel;
    }

    CLiveController live;
};

TEST_F(LiveRenderTest, ObjectsAreDrawnAtTheZoomOnTheColourKey) {
    live.Render(1);
    struct Case {
        int x;
        int y;
        COLORREF expected;
        const char* what;
    };
    const Case cases[] = {
        {60, 40, kRed, "the line's middle at twice its picture position"},
        {60, 30, CLiveController::kColourKey, "above the line"},
        {5, 5, CLiveController::kColourKey, "the corner of the frame"},
        {119, 79, CLiveController::kColourKey, "the last pixel of the zoomed frame"},
        {121, 40, kUntouched, "beside the zoomed frame"},
        {60, 81, kUntouched, "below the zoomed frame"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Pixel(c.x, c.y), c.expected) << c.what;
    }
}

TEST_F(LiveRenderTest, NothingIsDrawnWithoutAnOverlayOrAFrame) {
    CLiveController idle;
    idle.SetOwnerWindow(window.hwnd());
    idle.SetFrameSize(60, 40);
    idle.Render(1);
    EXPECT_EQ(Pixel(5, 5), kUntouched) << "no overlay window";
    live.SetFrameSize(0, 0);
    live.Render(1);
    EXPECT_EQ(Pixel(5, 5), kUntouched) << "no frame";
}

}  // namespace
