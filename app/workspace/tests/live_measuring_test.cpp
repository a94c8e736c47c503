// Measuring on the live video: objects drawn by mouse into the overlay over
// a striped window standing for the video, seen on the X screen; the
// counting grid; objects burnt into snapshot files that ImageMagick reads;
// and the end of live measuring.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "language_library.h"
#include "live_controller.h"
#include "resource.h"
#include "tools_fixture.h"
#include "transparent_dlg.h"
#include "unix_command.h"

namespace {

using namespace tools_testing;
using unix_testing::Quoted;
using unix_testing::UnixPath;

constexpr int kVideoX = 620;
constexpr int kVideoY = 380;
constexpr int kVideoWidth = 160;
constexpr int kVideoHeight = 120;
constexpr COLORREF kRed = RGB(255, 0, 0);

// The video: 8-pixel columns of green and blue.
COLORREF StripeAt(int x) { return (x / 8) % 2 == 0 ? RGB(0, 160, 0) : RGB(0, 0, 200); }

LRESULT CALLBACK VideoProc(HWND hwnd, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_ERASEBKGND) {
        return 1;
    }
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(hwnd, &paint);
        for (int x = 0; x < kVideoWidth; x += 8) {
            HBRUSH brush = ::CreateSolidBrush(StripeAt(x));
            const RECT column{x, 0, x + 8, kVideoHeight};
            ::FillRect(dc, &column, brush);
            ::DeleteObject(brush);
        }
        ::EndPaint(hwnd, &paint);
        return 0;
    }
    return ::DefWindowProcW(hwnd, message, wp, lp);
}

class LiveMeasuringTest : public ToolsTest {
protected:
    void SetUp() override {
        ToolsTest::SetUp();
        ASSERT_TRUE(english_.Loaded());
        WNDCLASSW wc{};
        wc.lpfnWndProc = VideoProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VizcamLiveVideoStandIn";
        ::RegisterClassW(&wc);
        video_ = ::CreateWindowExW(0, wc.lpszClassName, L"video", WS_POPUP | WS_VISIBLE, kVideoX, kVideoY, kVideoWidth,
                                   kVideoHeight, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(video_, nullptr);
        ASSERT_TRUE(overlay_.Create(hwnd_));
        ::SetWindowPos(overlay_.GetSafeHwnd(), HWND_TOP, kVideoX, kVideoY, kVideoWidth, kVideoHeight,
                       SWP_NOACTIVATE | SWP_SHOWWINDOW);
        Pump();
        ::UpdateWindow(video_);

        // A frame of 80 x 60 camera pixels shown twice its size.
        live_.SetOwnerWindow(hwnd_);
        live_.SetOverlayWindow(overlay_.GetSafeHwnd());
        live_.SetZoom(2.0f);
        live_.SetFrameSize(80, 60);
        live_.drawColour = kRed;
        live_.lineWidth = 3;
        live_.labelMode = CCLObject::kLabelNothing;
        live_.Render(1);
        Attach(live_);
    }
    void TearDown() override {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        overlay_.DestroyWindow();
        ::DestroyWindow(video_);
        ToolsTest::TearDown();
    }

    // Runs a shell script that leaves `done` in the scratch folder.
    bool Shell(const std::string& script, const char* done) {
        const fs::path marker = dir_ / done;
        return unix_testing::RunShell(script + " && : > " + Quoted(UnixPath(marker)), marker);
    }

    LanguageLibrary english_{0};
    HWND video_ = nullptr;
    CTransparentDlg overlay_{IDD_TRANSPARENT};
    CLiveController live_;
};

TEST_F(LiveMeasuringTest, TheScreenShowsTheVideoThroughTheOverlayAndTheLineOverIt) {
    live_.SetTool(2);
    Click(20, 60);
    MoveTo(140, 60);
    Click(140, 60);
    ASSERT_EQ(live_.GetObjectList()->size(), 1u);
    const auto& line = static_cast<const CCLLine&>(*live_.GetObjectList()->front());
    EXPECT_FLOAT_EQ(line.points[0].x, 10.0f) << "camera pixels: the press at the zoom";
    EXPECT_FLOAT_EQ(line.points[1].y, 30.0f);
    Pump();
    ::Sleep(300);
    Pump();

    const fs::path shot = dir_ / "screen.bmp";
    const std::string geometry = std::to_string(kVideoWidth) + "x" + std::to_string(kVideoHeight) + "+" +
                                 std::to_string(kVideoX) + "+" + std::to_string(kVideoY);
    ASSERT_TRUE(Shell("import -window root -crop " + geometry + " +repage " + Quoted("BMP3:" + UnixPath(shot)),
                      "screen.done"));
    CPicture screen;
    ASSERT_TRUE(screen.Load(shot, kPictureBmp));
    ASSERT_EQ(screen.GetWidth(), kVideoWidth);
    const auto at = [&](int x, int y) {
        const std::uint8_t* p = screen.GetBits(kVideoHeight - 1 - y) + x * 3;
        return RGB(p[2], p[1], p[0]);
    };
    EXPECT_EQ(at(80, 60), kRed) << "the line";
    EXPECT_EQ(at(20, 60), kRed) << "its first point";
    int keyPixels = 0;
    int videoMismatches = 0;
    for (int y = 0; y < kVideoHeight; ++y) {
        for (int x = 0; x < kVideoWidth; ++x) {
            keyPixels += at(x, y) == CLiveController::kColourKey ? 1 : 0;
            // Away from the line the video shows unchanged.
            if ((y < 50 || y > 70) && at(x, y) != StripeAt(x)) {
                ++videoMismatches;
            }
        }
    }
    EXPECT_EQ(keyPixels, 0) << "the key colour is never seen";
    EXPECT_EQ(videoMismatches, 0);
}

TEST_F(LiveMeasuringTest, TheGridLiesInsideTheWindowEveryCellOfTheFrame) {
    // A plain window for the grid, read back from its own context.
    HWND grid = ::CreateWindowExW(0, L"STATIC", L"grid", WS_POPUP | WS_VISIBLE, 20, 620, kVideoWidth, kVideoHeight,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(grid, nullptr);
    live_.DrawCountingGrid(0);
    HDC dc = ::GetDC(grid);
    EXPECT_NE(::GetPixel(dc, 5, 20), CLiveController::kColourKey) << "nothing without a grid window";
    live_.SetDrawWindow(grid);
    live_.DrawCountingGrid(0);
    // Cells of 10 camera pixels, the 80-pixel frame stretched to 160.
    const COLORREF line = live_.GetGridColour();
    struct Case {
        int x, y;
        COLORREF expected;
    };
    const Case cases[] = {
        {5, 20, line},    {5, 100, line},   {20, 5, line},   {140, 5, line},  {5, 21, CLiveController::kColourKey},
        {21, 5, CLiveController::kColourKey}, {5, 0, CLiveController::kColourKey},
        {0, 5, CLiveController::kColourKey}, {5, 119, CLiveController::kColourKey},
        {159, 5, CLiveController::kColourKey},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(::GetPixel(dc, c.x, c.y), c.expected) << c.x << "," << c.y;
    }
    ::ReleaseDC(grid, dc);
    ::DestroyWindow(grid);
}

TEST_F(LiveMeasuringTest, SnapshotsCarryTheObjectsAtTheirOwnSizeInTheirOwnFormat) {
    auto drawn = std::make_unique<CCLLine>();
    drawn->points = {PointF{10.0f, 30.0f}, PointF{70.0f, 30.0f}};
    drawn->drawColour = kRed;
    drawn->lineWidth = 3;
    drawn->labelMode = CCLObject::kLabelNothing;
    live_.GetObjectList()->push_back(std::move(drawn));
    struct Case {
        int type;
        const char* name;
        const char* format;
        int tolerance;
    };
    const Case cases[] = {{kPictureBmp, "shot.bmp", "BMP3", 0},
                          {kPictureJpeg, "shot.jpg", "JPEG", 60},
                          {kPictureTiff, "shot.tiff", "TIFF", 0}};
    for (const Case& c : cases) {
        // A snapshot of twice the frame's size: the objects follow it.
        CPicture snapshot(160, 120, 24, c.type);
        for (int y = 0; y < 120; ++y) {
            std::fill_n(snapshot.GetBits(y), 160 * 3, std::uint8_t{128});
        }
        const fs::path path = dir_ / c.name;
        ASSERT_TRUE(snapshot.Save(path, c.type));
        ASSERT_EQ(live_.RenderToImage(path, c.type), 1) << c.name;

        const fs::path readBack = dir_ / (std::string(c.name) + ".bmp");
        const fs::path info = dir_ / (std::string(c.name) + ".txt");
        ASSERT_TRUE(Shell("identify -format '%m %w %h' " + Quoted(UnixPath(path)) + " > " + Quoted(UnixPath(info)) +
                              " && convert " + Quoted(UnixPath(path)) + " " + Quoted("BMP3:" + UnixPath(readBack)),
                          (std::string(c.name) + ".done").c_str()))
            << c.name;
        std::ifstream infoFile(info);
        const std::string identified((std::istreambuf_iterator<char>(infoFile)), std::istreambuf_iterator<char>());
        EXPECT_EQ(identified, std::string(c.format) + " 160 120") << c.name;
        CPicture seen;
        ASSERT_TRUE(seen.Load(readBack, kPictureBmp)) << c.name;
        const auto looksLike = [&](int x, int y, COLORREF expected) {
            const std::uint8_t* p = seen.GetBits(119 - y) + x * 3;
            return std::abs(p[2] - GetRValue(expected)) <= c.tolerance &&
                   std::abs(p[1] - GetGValue(expected)) <= c.tolerance &&
                   std::abs(p[0] - GetBValue(expected)) <= c.tolerance;
        };
        EXPECT_TRUE(looksLike(80, 60, kRed)) << c.name << ": the line at twice its frame position";
        EXPECT_TRUE(looksLike(80, 40, RGB(128, 128, 128))) << c.name << ": the picture beside it";
    }

    const fs::path broken = dir_ / "broken.jpg";
    std::ofstream(broken, std::ios::binary) << "not a picture";
    EXPECT_EQ(live_.RenderToImage(broken, kPictureJpeg), 0);
    std::ifstream brokenFile(broken, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(brokenFile)), std::istreambuf_iterator<char>()),
              "not a picture");
    EXPECT_EQ(live_.RenderToImage({}, kPictureBmp), 0);
}

TEST_F(LiveMeasuringTest, ClearAllEndsWithTheFirstStepAndNothingNumbered) {
    live_.SetTool(2);
    Click(20, 20);
    MoveTo(60, 20);
    Click(60, 20);
    live_.SetTool(14);
    Click(100, 100);
    ASSERT_EQ(live_.GetObjectList()->size(), 2u);
    ASSERT_EQ(live_.GetHistoryStore().Last(), 2);
    live_.SetSelectMode();
    live_.GetSelection().push_back(live_.GetObjectList()->front().get());
    live_.SetScrollPosition(30, 40);

    live_.ClearAll();
    EXPECT_TRUE(live_.GetObjectList()->empty());
    EXPECT_TRUE(live_.GetSelection().empty());
    EXPECT_EQ(live_.GetHistoryStore().Last(), 0);
    EXPECT_TRUE(live_.GetCounterStyles()->Records().empty());
    EXPECT_EQ(live_.GetTypeCounters(), ObjectTypeCounters{});
    EXPECT_EQ(live_.GetCanvas().Placement().scrollX, 0);
    EXPECT_EQ(live_.GetCanvas().Placement().scrollY, 0);
    // Measuring again starts numbering afresh.
    live_.SetOverlayWindow(overlay_.GetSafeHwnd());
    live_.Render(1);
    live_.SetTool(14);
    Click(100, 100);
    ASSERT_EQ(live_.GetObjectList()->size(), 1u);
    EXPECT_EQ(live_.GetObjectList()->front()->number, 1);
}

}  // namespace
