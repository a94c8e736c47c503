#include <gtest/gtest.h>

#include "unique_temp_dir.h"

#include <filesystem>

#include "image_controller.h"
#include "test_segment.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kMargin = 0xC0C0C0;
constexpr int kClientWidth = 200;
constexpr int kClientHeight = 150;

// A window with a 200 x 150 client area on the test display.
class TestWindow {
public:
    TestWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VizcamControllerTest";
        ::RegisterClassW(&wc);
        RECT rc{0, 0, kClientWidth, kClientHeight};
        ::AdjustWindowRect(&rc, WS_POPUP, FALSE);
        hwnd_ = ::CreateWindowW(L"VizcamControllerTest", L"test", WS_POPUP | WS_VISIBLE, 0, 0, rc.right - rc.left,
                                rc.bottom - rc.top, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~TestWindow() { ::DestroyWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

class RecordingScroll : public IScrollSizeSink {
public:
    void SetScrollSizes(int width, int height) override {
        lastWidth = width;
        lastHeight = height;
        ++calls;
    }
    int lastWidth = -1;
    int lastHeight = -1;
    int calls = 0;
};

// Picture colour at (x, y): quadrants red, green, blue, white.
std::uint32_t Quadrant(int x, int y, int width, int height) {
    const bool right = x >= width / 2;
    const bool bottom = y >= height / 2;
    return bottom ? (right ? 0xFFFFFF : 0x0000FF) : (right ? 0x00FF00 : 0xFF0000);
}

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(window.hwnd(), nullptr);
        dir = testing_support::UniqueTempPath("vz_controller_test");
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path WritePicture(const char* name, int width, int height) {
        CPicture p(width, height, 24, kPictureBmp);
        for (int y = 0; y < height; ++y) {
            std::uint8_t* row = p.GetBits(height - 1 - y);
            for (int x = 0; x < width; ++x) {
                const std::uint32_t c = Quadrant(x, y, width, height);
                row[x * 3] = static_cast<std::uint8_t>(c);
                row[x * 3 + 1] = static_cast<std::uint8_t>(c >> 8);
                row[x * 3 + 2] = static_cast<std::uint8_t>(c >> 16);
            }
        }
        const fs::path path = dir / name;
        EXPECT_TRUE(p.Save(path, kPictureBmp));
        return path;
    }

    std::unique_ptr<CImageController> Open(const fs::path& path) {
        auto controller = std::make_unique<CImageController>(path, window.hwnd());
        controller->SetScrollSizeSink(&scroll);
        controller->OpenPicture();
        return controller;
    }

    std::uint32_t At(const CImageController& c, int x, int y) const { return c.GetBackBuffer()->GetPixelRGB(x, y); }

    TestWindow window;
    RecordingScroll scroll;
    fs::path dir;
};

TEST_F(ControllerTest, SmallPictureIsCentredInTheMargin) {
    auto c = Open(WritePicture("small.bmp", 40, 30));
    c->Render(1);
    ASSERT_NE(c->GetBackBuffer(), nullptr);
    EXPECT_EQ(c->GetCentringX(), 80);
    EXPECT_EQ(c->GetCentringY(), 60);
    EXPECT_EQ(At(*c, 79, 70), kMargin);
    EXPECT_EQ(At(*c, 80, 60), 0xFF0000u);
    EXPECT_EQ(At(*c, 119, 60), 0x00FF00u);
    EXPECT_EQ(At(*c, 80, 89), 0x0000FFu);
    EXPECT_EQ(At(*c, 119, 89), 0xFFFFFFu);
    EXPECT_EQ(At(*c, 120, 89), kMargin);
    EXPECT_EQ(At(*c, 119, 90), kMargin);
    EXPECT_EQ(scroll.calls, 0);
}

TEST_F(ControllerTest, ZoomScalesAndRecentres) {
    auto c = Open(WritePicture("zoom.bmp", 40, 30));
    struct Case {
        float zoom;
        int left, top, width, height;
    };
    for (const Case k : {Case{0.5f, 90, 67, 20, 15}, Case{1.0f, 80, 60, 40, 30}, Case{2.0f, 60, 45, 80, 60}}) {
        c->SetZoom(k.zoom);
        c->Render(1);
        int zw = 0;
        int zh = 0;
        c->GetZoomedSize(zw, zh);
        EXPECT_EQ(zw, k.width) << k.zoom;
        EXPECT_EQ(zh, k.height) << k.zoom;
        EXPECT_EQ(At(*c, k.left - 1, k.top), kMargin) << k.zoom;
        EXPECT_EQ(At(*c, k.left, k.top), 0xFF0000u) << k.zoom;
        EXPECT_EQ(At(*c, k.left + k.width - 1, k.top + k.height - 1), 0xFFFFFFu) << k.zoom;
        EXPECT_EQ(At(*c, k.left + k.width, k.top + k.height - 1), kMargin) << k.zoom;
        EXPECT_EQ(At(*c, k.left + k.width / 2 - 1, k.top), 0xFF0000u) << k.zoom;
        EXPECT_EQ(At(*c, k.left + k.width / 2, k.top), 0x00FF00u) << k.zoom;
    }
}

TEST_F(ControllerTest, LargePictureScrolls) {
    auto c = Open(WritePicture("large.bmp", 400, 300));
    c->SetScrollPosition(150, 100);
    c->Render(1);
    EXPECT_EQ(c->GetCentringX(), 0);
    EXPECT_EQ(scroll.lastWidth, 400);
    EXPECT_EQ(scroll.lastHeight, 300);
    // Window (0, 0) shows picture (150, 100): red quadrant; (50, 50) shows
    // (200, 150): white.
    EXPECT_EQ(At(*c, 0, 0), 0xFF0000u);
    EXPECT_EQ(At(*c, 49, 49), 0xFF0000u);
    EXPECT_EQ(At(*c, 50, 50), 0xFFFFFFu);
    EXPECT_EQ(At(*c, 49, 50), 0x0000FFu);
}

TEST_F(ControllerTest, ObjectsDrawAtZoomedPositionsClippedToThePicture) {
    auto c = Open(WritePicture("objects.bmp", 40, 30));
    auto segment = std::make_unique<CTestSegment>(PointF{5.0f, 5.0f}, PointF{35.0f, 5.0f});
    segment->drawColour = RGB(0, 0, 0);
    segment->number = 1;
    segment->label.Update(*segment, 2.0f, 20.0f);
    segment->label.boxShown = 0;
    CTestSegment* raw = segment.get();
    c->GetObjectList()->push_back(std::move(segment));
    c->SetZoom(2.0f);
    c->Render(1);
    // At zoom 2 the picture starts at (60, 45); the segment runs along y = 55.
    EXPECT_EQ(At(*c, 90, 55), 0x000000u);
    EXPECT_EQ(At(*c, 90, 54), 0xFF0000u);
    // The label's text lies at (64, 85) onwards, inside the picture.
    int ink = 0;
    for (int y = 85; y < 85 + raw->label.height; ++y) {
        for (int x = 64; x < 64 + raw->label.width && x < 140; ++x) {
            ink += At(*c, x, y) == 0 ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 5);
    // Selected: handle squares in the selected colour around (70, 55).
    raw->state = CCLObject::kSelectedWhole;
    c->Render(0);
    EXPECT_EQ(At(*c, 68, 52), 0xC80000u);
    // A label dragged past the picture's edge is clipped to the picture.
    raw->state = 0;
    raw->label.x = -10.0f;
    c->Render(0);
    for (int y = 0; y < kClientHeight; ++y) {
        for (int x = 0; x < 60; ++x) {
            ASSERT_EQ(At(*c, x, y), kMargin) << x << "," << y;
        }
    }
}

TEST_F(ControllerTest, ZoomStaysBoundedAndFitNeedsAPicture) {
    auto c = Open(WritePicture("bounds.bmp", 40, 30));
    for (int i = 0; i < 100; ++i) {
        c->ZoomIn();
    }
    EXPECT_EQ(c->GetZoom(), 64.0f);
    for (int i = 0; i < 200; ++i) {
        c->ZoomOut();
    }
    EXPECT_EQ(c->GetZoom(), 1.0f / 64.0f);
    c->ZoomActualSize();
    c->ZoomIn();
    c->ZoomOut();
    EXPECT_NEAR(c->GetZoom(), 1.0f, 1e-5f);
    c->ZoomToFit();
    EXPECT_FLOAT_EQ(c->GetZoom(), 5.0f);

    CImageController empty(dir / "missing.bmp", window.hwnd());
    empty.OpenPicture();
    empty.SetZoom(2.0f);
    empty.ZoomToFit();
    EXPECT_EQ(empty.GetZoom(), 2.0f);
    int w = -1;
    int h = -1;
    empty.GetImageSize(w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
}

TEST_F(ControllerTest, NoOwnerWindowDoesNothing) {
    CImageController c(WritePicture("orphan.bmp", 40, 30), nullptr);
    c.OpenPicture();
    c.Render(1);
    int w = -1;
    int h = -1;
    c.GetImageSize(w, h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(c.GetPicture(), nullptr);
    EXPECT_EQ(c.GetBackBuffer(), nullptr);
}

TEST_F(ControllerTest, EightBitPicturesBecomeColourKeepingTheirPalette) {
    CPicture indexed(2, 1, 8, kPictureBmp);
    indexed.GetBits(0)[0] = 0;
    indexed.GetBits(0)[1] = 1;
    const std::vector<PaletteEntry> palette = {{0, 0, 200, 0}, {100, 50, 0, 0}};
    indexed.SetPalette(palette);
    ASSERT_TRUE(indexed.Save(dir / "indexed.bmp", kPictureBmp));
    auto c = Open(dir / "indexed.bmp");
    ASSERT_NE(c->GetPicture(), nullptr);
    EXPECT_EQ(c->GetPicture()->GetBpp(), 24);
    EXPECT_EQ(c->GetPicture()->GetPixelColor(0, 0), 0xC80000u);
    EXPECT_EQ(c->GetPicture()->GetPixelColor(1, 0), 0x003264u);

    CPicture grey(2, 1, 8, kPictureBmp);
    grey.GetBits(0)[0] = 17;
    grey.GetBits(0)[1] = 240;
    ASSERT_TRUE(grey.Save(dir / "grey.bmp", kPictureBmp));
    auto g = Open(dir / "grey.bmp");
    EXPECT_EQ(g->GetPicture()->GetPixelColor(0, 0), 0x111111u);
    EXPECT_EQ(g->GetPicture()->GetPixelColor(1, 0), 0xF0F0F0u);
    // The counting engine works on the converted picture.
    ASSERT_NE(g->GetCounter(), nullptr);
    EXPECT_EQ(g->GetCounter()->GetGreyImage()[0], 17);
    EXPECT_EQ(g->GetCounter()->getMarkColor(), 255u);
}

}  // namespace
