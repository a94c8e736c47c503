// The view's input over a recording frame and the camera double: lines
// drawn by posted mouse messages with the cursor's position and colour in
// the status bar, live measuring and its overlay over the video, region
// drags handed to the camera, the region menu, the pre-translation of the
// video's mouse points and the cursor.
#include <gtest/gtest.h>

#include <windows.h>
#include <windowsx.h>

#include <optional>
#include <string>
#include <vector>

#include "fake_camera.h"
#include "line_figures.h"
#include "mikra_view.h"
#include "picture_files.h"
#include "private_messages.h"
#include "resource.h"
#include "thread_windows.h"
#include "view_with_camera_double.h"

// Found by argument lookup: RECT lives in the global namespace.
static bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }
static std::ostream& operator<<(std::ostream& out, const RECT& r) {
    return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

namespace {

constexpr int kViewWidth = 400;
constexpr int kViewHeight = 300;

class ViewInputTest : public ViewWithCameraDouble {
protected:
    void SetUp() override {
        // The shared pointer stays off the view: only the posted mouse
        // messages reach it.
        SetCursorPos(5000, 5000);
        ASSERT_NO_FATAL_FAILURE(CreateView());
        MoveWindow(View(), 0, 0, kViewWidth, kViewHeight, TRUE);
    }
    HWND View() const { return view_->GetSafeHwnd(); }

    void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    void Post(UINT message, WPARAM flags, int x, int y) {
        PostMessageW(View(), message, flags, MAKELPARAM(x, y));
        Pump();
    }
    void Click(int x, int y) {
        Post(WM_MOUSEMOVE, 0, x, y);
        Post(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
        Post(WM_LBUTTONUP, 0, x, y);
    }
    void Drag(ViewPoint from, ViewPoint to) {
        Post(WM_MOUSEMOVE, 0, from.x, from.y);
        Post(WM_LBUTTONDOWN, MK_LBUTTON, from.x, from.y);
        Post(WM_MOUSEMOVE, MK_LBUTTON, (from.x + to.x) / 2, (from.y + to.y) / 2);
        Post(WM_MOUSEMOVE, MK_LBUTTON, to.x, to.y);
        Post(WM_LBUTTONUP, 0, to.x, to.y);
    }

    // Video of this size, shown at that size from pos, scrolled to scroll.
    void OpenVideo(CameraFrameSize video, CameraFrameSize shown, POINT pos, POINT scroll = {0, 0}) {
        camera_->videoSize = video;
        camera_->videoWindowSize = shown;
        camera_->videoPos = {pos.x, pos.y};
        if (!camera_->videoOpen) {
            view_->OpenVideo();
        }
        ASSERT_TRUE(camera_->videoOpen);
        // The video zoom follows the displayed size.
        SendMessageW(View(), WM_RESOLUTION_CHANGED, 0, 0);
        view_->SetScrollSizes(video.width, video.height);
        SetScrollPos(View(), SB_HORZ, scroll.x, TRUE);
        SetScrollPos(View(), SB_VERT, scroll.y, TRUE);
        ASSERT_EQ(view_->GetScrollPosition().x, scroll.x);
        ASSERT_EQ(view_->GetScrollPosition().y, scroll.y);
    }

    // The window's rectangle on the screen relative to the view's client
    // corner, and its visible part in its own coordinates.
    struct Placed {
        RECT window;
        RECT visible;
    };
    Placed PlacedOver(HWND window) const {
        POINT corner{0, 0};
        ClientToScreen(View(), &corner);
        Placed placed{};
        GetWindowRect(window, &placed.window);
        OffsetRect(&placed.window, -corner.x, -corner.y);
        EXPECT_NE(GetWindowRgnBox(window, &placed.visible), ERROR);
        return placed;
    }
    SIZE Client() const {
        RECT client{};
        GetClientRect(View(), &client);
        return {client.right, client.bottom};
    }

    PictureFiles files_{L"vizcam_view_input"};
};

TEST_F(ViewInputTest, LinesDrawnByMouseShowThePicturePointAndTheColourUnderTheCursor) {
    // 200 x 150 at zoom 1, centred in the 400 x 300 view from (100, 75).
    const std::wstring olive = files_.Bmp(L"olive.bmp", 200, 150, 0x0AC81E);
    view_->OpenPicture(olive);
    view_->ShowPicture(olive);
    CImageController* picture = view_->GetCurrentController();
    ASSERT_EQ(picture->GetPicturePath(), olive);
    ASSERT_TRUE(view_->RunCommand(ID_TOOL_LINE));

    Click(150, 100);
    Post(WM_MOUSEMOVE, 0, 250, 140);
    Click(250, 140);
    ASSERT_EQ(picture->GetObjectList()->size(), 1u);
    const auto& line = static_cast<const CCLLine&>(*picture->GetObjectList()->front());
    EXPECT_EQ(line.points[0], (PointF{50, 25}));
    EXPECT_EQ(line.points[1], (PointF{150, 65}));

    struct Case {
        ViewPoint at;
        const wchar_t* position;
        const wchar_t* colour;
    };
    const Case cases[] = {
        {{280, 200}, L"(X,Y):(180,125)", L"(R,G,B):(10,200,30)"},  // on the picture
        {{50, 40}, L"(X,Y):(0,0)", L"(R,G,B):(192,192,192)"},      // the margin: the picture's corner
    };
    for (const Case& c : cases) {
        Post(WM_MOUSEMOVE, 0, c.at.x, c.at.y);
        EXPECT_EQ(frame_.statusPanes[2], c.position);
        EXPECT_EQ(frame_.statusPanes[1], c.colour);
    }
}

TEST_F(ViewInputTest, ACropKeepsTheObjectsOnTheirPixelsAndShowsTheNewSize) {
    // 200 x 150 at zoom 1, centred in the 400 x 300 view from (100, 75).
    const std::wstring olive = files_.Bmp(L"olive.bmp", 200, 150, 0x0AC81E);
    view_->OpenPicture(olive);
    view_->ShowPicture(olive);
    CImageController* picture = view_->GetCurrentController();
    ASSERT_TRUE(view_->RunCommand(ID_TOOL_LINE));
    Click(150, 100);
    Post(WM_MOUSEMOVE, 0, 200, 140);
    Click(200, 140);
    ASSERT_EQ(picture->GetObjectList()->size(), 1u);

    ASSERT_TRUE(view_->RunCommand(ID_PICTURE_CROP));
    EXPECT_EQ(picture->GetInteraction().cropMode, 1);
    // From picture pixel (20, 10), 150 wide and 100 high.
    Drag({120, 85}, {270, 185});
    int width = 0;
    int height = 0;
    picture->GetImageSize(width, height);
    EXPECT_EQ(width, 150);
    EXPECT_EQ(height, 100);
    EXPECT_EQ(picture->GetInteraction().cropMode, 0);
    EXPECT_TRUE(frame_.statusPanes[3].ends_with(L": 150*100")) << std::string(frame_.statusPanes[3].begin(), frame_.statusPanes[3].end());
    const auto& line = static_cast<const CCLLine&>(*picture->GetObjectList()->front());
    EXPECT_EQ(line.points[0], (PointF{30, 15}));
    EXPECT_EQ(line.points[1], (PointF{80, 55}));

    // The command again turns crop mode off without cropping.
    ASSERT_TRUE(view_->RunCommand(ID_PICTURE_CROP));
    ASSERT_TRUE(view_->RunCommand(ID_PICTURE_CROP));
    EXPECT_EQ(picture->GetInteraction().cropMode, 0);
    Drag({150, 110}, {200, 150});
    picture->GetImageSize(width, height);
    EXPECT_EQ(width, 150);
}

TEST_F(ViewInputTest, LiveMeasuringShowsTheToolbarsAndTheOverlayAndTakesTheInput) {
    ASSERT_NO_FATAL_FAILURE(OpenVideo({640, 480}, {320, 240}, {40, 30}));
    EXPECT_FALSE(frame_.toolBarsShown[ViewToolBar::main]);
    EXPECT_FALSE(frame_.toolBarsShown[ViewToolBar::measure]);
    EXPECT_FALSE(IsWindowVisible(view_->GetLiveOverlayWindow()));
    EXPECT_TRUE(IsWindowVisible(view_->GetVideoHostWindow()));
    EXPECT_EQ(view_->GetTargetController(), nullptr);

    ASSERT_TRUE(view_->RunCommand(ID_LIVE_MEASURE));
    EXPECT_TRUE(frame_.toolBarsShown[ViewToolBar::main]);
    EXPECT_TRUE(frame_.toolBarsShown[ViewToolBar::measure]);
    EXPECT_TRUE(IsWindowVisible(view_->GetLiveOverlayWindow()));
    EXPECT_FALSE(IsWindowVisible(view_->GetVideoHostWindow()));
    CLiveController& live = view_->GetLiveController();
    EXPECT_EQ(view_->GetTargetController(), &live);
    EXPECT_EQ(live.GetOverlayWindow(), view_->GetLiveOverlayWindow());
    EXPECT_FLOAT_EQ(live.GetZoom(), 0.5f);
    int width = 0;
    int height = 0;
    live.GetFrameSize(width, height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    const Placed placed = PlacedOver(view_->GetLiveOverlayWindow());
    EXPECT_EQ(placed.window, (RECT{40, 30, 360, 270}));
    EXPECT_EQ(placed.visible, (RECT{0, 0, 320, 240}));
    // The three counter kinds of the current colour, numbered from 1; a
    // numbering under way survives leaving and resuming live measuring.
    const auto key = static_cast<ColourRef>(live.counterColourKey);
    EXPECT_EQ(live.GetCounterStyles()->Records().size(), 3u);
    EXPECT_EQ(live.GetCounterStyle(14, key).nextNumber, 1);
    live.SetCounterStyle(key, 5, 15, 14);
    ASSERT_TRUE(view_->RunCommand(ID_LIVE_MEASURE));
    ASSERT_TRUE(view_->RunCommand(ID_LIVE_MEASURE));
    EXPECT_EQ(live.GetCounterStyles()->Records().size(), 3u);
    EXPECT_EQ(live.GetCounterStyle(14, key).nextNumber, 5);

    // Tools and the mouse reach the live controller, counted from the video's corner.
    ASSERT_TRUE(view_->RunCommand(ID_TOOL_LINE));
    EXPECT_EQ(live.GetInteraction().tool, 2);
    EXPECT_EQ(view_->GetCurrentController()->GetInteraction().tool, 0);
    Post(WM_MOUSEMOVE, 0, 140, 80);
    EXPECT_EQ(live.GetInteraction().current.x, 100);
    EXPECT_EQ(live.GetInteraction().current.y, 50);

    ASSERT_TRUE(view_->RunCommand(ID_LIVE_MEASURE));
    EXPECT_FALSE(frame_.toolBarsShown[ViewToolBar::main]);
    EXPECT_FALSE(frame_.toolBarsShown[ViewToolBar::measure]);
    EXPECT_FALSE(IsWindowVisible(view_->GetLiveOverlayWindow()));
    EXPECT_TRUE(IsWindowVisible(view_->GetVideoHostWindow()));
    EXPECT_EQ(view_->GetTargetController(), nullptr);
}

TEST_F(ViewInputTest, TheMeasuringRulerHasItsWindowOverTheVideoWhileItIsOpen) {
    CRulerOverlay* ruler = view_->GetRulerOverlay();
    ASSERT_NE(ruler, nullptr);
    EXPECT_FALSE(IsWindowVisible(view_->GetRulerOverlayWindow()));
    ASSERT_NO_FATAL_FAILURE(OpenVideo({640, 480}, {320, 240}, {40, 30}));
    EXPECT_EQ(ruler->GetTargetWindow(), view_->GetRulerOverlayWindow());
    EXPECT_EQ(IsWindowVisible(view_->GetRulerOverlayWindow()) != FALSE, ruler->m_bShow != 0) << "only while on";
    // Switched on (as the settings dialog does), the window lies over the video.
    ruler->m_bShow = 1;
    ShowWindow(view_->GetRulerOverlayWindow(), SW_SHOWNA);
    view_->LayoutVideoOverlays();
    EXPECT_TRUE(IsWindowVisible(view_->GetRulerOverlayWindow()));
    const Placed placed = PlacedOver(view_->GetRulerOverlayWindow());
    EXPECT_EQ(placed.window, (RECT{40, 30, 360, 270}));
    EXPECT_EQ(placed.visible, (RECT{0, 0, 320, 240}));
    view_->CloseVideo();
    EXPECT_FALSE(IsWindowVisible(view_->GetRulerOverlayWindow()));
}

TEST_F(ViewInputTest, TheMeasuringRulerOverTheVideoShowsOnlyItsColourOnTheKey) {
    CRulerOverlay* ruler = view_->GetRulerOverlay();
    ASSERT_NE(ruler, nullptr);
    ASSERT_NO_FATAL_FAILURE(OpenVideo({640, 480}, {320, 240}, {40, 30}));
    HWND window = view_->GetRulerOverlayWindow();
    ruler->m_bShow = 1;
    ruler->m_colour = RGB(0, 0, 255);
    ShowWindow(window, SW_SHOWNA);
    view_->LayoutVideoOverlays();
    ruler->PaintOnView();

    // What the window shows, read back from its surface: the layered window
    // cuts out exactly the key colour, so any other colour but the ruler's
    // shows over the video.
    RECT client{};
    GetClientRect(window, &client);
    CMemoryDC shown(nullptr, client.right, client.bottom, CMemoryDC::Kind::dibSection);
    ASSERT_TRUE(shown.IsValid());
    HDC surface = GetDC(window);
    BitBlt(shown.GetSafeHdc(), 0, 0, client.right, client.bottom, surface, 0, 0, SRCCOPY);
    ReleaseDC(window, surface);
    constexpr std::uint32_t kKey = 0xFF9D00;
    constexpr std::uint32_t kInk = 0x0000FF;
    int inked = 0;
    int blended = 0;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            const std::uint32_t rgb = shown.GetPixelRGB(x, y);
            inked += rgb == kInk ? 1 : 0;
            blended += rgb != kInk && rgb != kKey ? 1 : 0;
        }
    }
    EXPECT_GT(inked, client.right + client.bottom) << "both lines and a label";
    EXPECT_EQ(blended, 0) << "pixels of neither the key nor the ruler's colour";
}

TEST_F(ViewInputTest, TheMouseOverThePictureOrLiveVideoMovesTheRulerMarkers) {
    const std::wstring olive = files_.Bmp(L"olive.bmp", 200, 150, 0x0AC81E);
    view_->OpenPicture(olive);
    view_->ShowPicture(olive);
    Post(WM_MOUSEMOVE, 0, 120, 90);
    ASSERT_FALSE(frame_.rulerMarkers.empty());
    EXPECT_EQ(frame_.rulerMarkers.back().x, 120);
    EXPECT_EQ(frame_.rulerMarkers.back().y, 90);
    ASSERT_NO_FATAL_FAILURE(OpenVideo({640, 480}, {320, 240}, {40, 30}));
    const std::size_t before = frame_.rulerMarkers.size();
    Post(WM_MOUSEMOVE, 0, 100, 60);
    EXPECT_EQ(frame_.rulerMarkers.size(), before) << "video without live measuring";
    ASSERT_TRUE(view_->RunCommand(ID_LIVE_MEASURE));
    Post(WM_MOUSEMOVE, 0, 101, 61);
    ASSERT_EQ(frame_.rulerMarkers.size(), before + 1);
    EXPECT_EQ(frame_.rulerMarkers.back().x, 101);
}

TEST_F(ViewInputTest, OverlayCoversTheScrolledVideoAndShowsOnlyWhatIsInsideTheView) {
    ASSERT_NO_FATAL_FAILURE(OpenVideo({800, 600}, {800, 600}, {0, 0}, {100, 50}));
    ASSERT_TRUE(view_->RunCommand(ID_LIVE_MEASURE));
    const SIZE client = Client();
    Placed placed = PlacedOver(view_->GetLiveOverlayWindow());
    EXPECT_EQ(placed.window, (RECT{-100, -50, 700, 550}));
    EXPECT_EQ(placed.visible, (RECT{100, 50, 100 + client.cx, 50 + client.cy}));
    Post(WM_MOUSEMOVE, 0, 10, 20);
    EXPECT_EQ(view_->GetLiveController().GetInteraction().current.x, 110);
    EXPECT_EQ(view_->GetLiveController().GetInteraction().current.y, 70);

    // Scrolled back: laid out again.
    SetScrollPos(View(), SB_HORZ, 0, TRUE);
    SetScrollPos(View(), SB_VERT, 0, TRUE);
    view_->LayoutVideoOverlays();
    placed = PlacedOver(view_->GetLiveOverlayWindow());
    EXPECT_EQ(placed.window, (RECT{0, 0, 800, 600}));
    EXPECT_EQ(placed.visible, (RECT{0, 0, client.cx, client.cy}));
}

TEST_F(ViewInputTest, RegionDragsGiveTheCameraItsRegionInVideoPixels) {
    using Mode = CMikraView::RegionMode;
    struct Case {
        const char* what;
        CameraFrameSize video, shown;
        POINT pos, scroll;
        UINT command;
        ViewPoint from, to;
        std::optional<FakeCamera::Region> expected;
    };
    const Case cases[] = {
        {"zoom 1, scrolled: the scroll offset counts",
         {800, 600},
         {800, 600},
         {0, 0},
         {100, 50},
         ID_REGION_WHITE_BALANCE,
         {10, 20},
         {110, 70},
         FakeCamera::Region{110, 70, 210, 120}},
        {"half size: the scroll position does not count",
         {1280, 960},
         {640, 480},
         {0, 0},
         {100, 50},
         ID_REGION_AUTO_EXPOSURE,
         {20, 30},
         {120, 80},
         FakeCamera::Region{40, 60, 240, 160}},
        {"dragged upward: rows ordered",
         {320, 240},
         {320, 240},
         {40, 30},
         {0, 0},
         ID_REGION_WHITE_BALANCE,
         {60, 130},
         {160, 50},
         FakeCamera::Region{20, 20, 120, 100}},
        {"a press left of and above the video starts on its edge",
         {320, 240},
         {320, 240},
         {40, 30},
         {0, 0},
         ID_REGION_AUTO_EXPOSURE,
         {-10, 5},
         {100, 100},
         FakeCamera::Region{0, 0, 60, 70}},
        {"a press below the video starts on its bottom edge",
         {320, 240},
         {320, 240},
         {40, 30},
         {0, 0},
         ID_REGION_WHITE_BALANCE,
         {50, 290},
         {150, 100},
         FakeCamera::Region{10, 70, 110, 240}},
        {"right to left runs nothing",
         {320, 240},
         {320, 240},
         {40, 30},
         {0, 0},
         ID_REGION_WHITE_BALANCE,
         {200, 100},
         {100, 150},
         std::nullopt},
        {"no height runs nothing",
         {320, 240},
         {320, 240},
         {40, 30},
         {0, 0},
         ID_REGION_AUTO_EXPOSURE,
         {60, 100},
         {160, 100},
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NO_FATAL_FAILURE(OpenVideo(c.video, c.shown, c.pos, c.scroll));
        camera_->whiteBalanceRegions.clear();
        camera_->exposureRegions.clear();
        camera_->paramFileIndexSet = 7;
        ASSERT_TRUE(view_->RunCommand(c.command));
        EXPECT_NE(view_->GetRegionMode(), Mode::none);
        Drag(c.from, c.to);
        EXPECT_EQ(view_->GetRegionMode(), Mode::none) << "the release ends the region mode";
        const auto& run =
            c.command == ID_REGION_WHITE_BALANCE ? camera_->whiteBalanceRegions : camera_->exposureRegions;
        const auto& other =
            c.command == ID_REGION_WHITE_BALANCE ? camera_->exposureRegions : camera_->whiteBalanceRegions;
        EXPECT_TRUE(other.empty());
        if (!c.expected) {
            EXPECT_TRUE(run.empty());
            EXPECT_EQ(camera_->paramFileIndexSet, 7);
            continue;
        }
        ASSERT_EQ(run.size(), 1u);
        EXPECT_EQ(run[0], *c.expected) << run[0].left << "," << run[0].top << "," << run[0].right << ","
                                       << run[0].bottom;
        EXPECT_EQ(camera_->paramFileIndexSet, -1);
        EXPECT_EQ(frame_.paramFileSelection, -1);
    }
}

TEST_F(ViewInputTest, NoRegionIsArmedWhileAutoExposureRuns) {
    ASSERT_NO_FATAL_FAILURE(OpenVideo({320, 240}, {320, 240}, {0, 0}));
    camera_->aeLiving = 1;
    for (const UINT command : {ID_REGION_WHITE_BALANCE, ID_REGION_AUTO_EXPOSURE}) {
        ASSERT_TRUE(view_->RunCommand(command));
        EXPECT_EQ(view_->GetRegionMode(), CMikraView::RegionMode::none);
        Drag({10, 10}, {100, 100});
    }
    EXPECT_TRUE(camera_->whiteBalanceRegions.empty());
    EXPECT_TRUE(camera_->exposureRegions.empty());
}

// Records the commands of the pop-up menu this thread tracks, then closes it.
class MenuWatch {
public:
    MenuWatch() {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 30, &MenuWatch::Tick);
    }
    ~MenuWatch() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    MenuWatch(const MenuWatch&) = delete;
    MenuWatch& operator=(const MenuWatch&) = delete;
    const std::vector<UINT>& Commands() const { return commands_; }
    bool Seen() const { return seen_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        MenuWatch* self = current_;
        HWND menu = testing_support::FindThreadPopupMenu();
        if (!self || self->seen_ || !menu) return;
        self->seen_ = true;
        const auto items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(items); ++i) {
            self->commands_.push_back(GetMenuItemID(items, i));
        }
        PostMessageW(GetFocus() ? GetFocus() : menu, WM_KEYDOWN, VK_ESCAPE, 0);
    }
    static inline MenuWatch* current_ = nullptr;
    UINT_PTR timer_ = 0;
    bool seen_ = false;
    std::vector<UINT> commands_;
};

TEST_F(ViewInputTest, RightPressOnTheVideoOffersTheRegionMenuExceptForGigEOrWhileAutoExposureRuns) {
    struct Case {
        const char* what;
        CameraFamily kind;
        int aeLiving;
        UINT message;
        bool offered;
    };
    const Case cases[] = {
        {"DirectShow", CameraFamily::directShow, 0, WM_RBUTTONDOWN, true},
        {"USB CMOS", CameraFamily::usbCmos, 0, WM_RBUTTONDOWN, true},
        {"the release", CameraFamily::directShow, 0, WM_RBUTTONUP, false},
        {"GigE", CameraFamily::gigE, 0, WM_RBUTTONDOWN, false},
        {"auto exposure running", CameraFamily::directShow, 1, WM_RBUTTONDOWN, false},
    };
    ASSERT_NO_FATAL_FAILURE(OpenVideo({320, 240}, {320, 240}, {0, 0}));
    for (const Case& c : cases) {
        camera_->kind = c.kind;
        camera_->aeLiving = c.aeLiving;
        bool seen = false;
        std::vector<UINT> commands;
        {
            const MenuWatch watch;
            SendMessageW(View(), c.message, c.message == WM_RBUTTONDOWN ? MK_RBUTTON : 0, MAKELPARAM(50, 50));
            seen = watch.Seen();
            commands = watch.Commands();
        }
        Pump();
        EXPECT_EQ(seen, c.offered) << c.what;
        if (c.offered) {
            EXPECT_EQ(commands, (std::vector<UINT>{ID_REGION_WHITE_BALANCE, ID_REGION_AUTO_EXPOSURE})) << c.what;
        }
    }
}

TEST_F(ViewInputTest, PreTranslationMovesVideoWindowPointsIntoTheViewKeepingTheirSign) {
    ASSERT_NO_FATAL_FAILURE(OpenVideo({800, 600}, {800, 600}, {40, 30}, {10, 20}));
    // A window the camera shows its video in, inside the view.
    HWND video =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 40, 30, 100, 100, View(), nullptr, nullptr, nullptr);
    ASSERT_NE(video, nullptr);
    struct Case {
        const char* what;
        CameraFamily kind;
        HWND to;
        UINT message;
        ViewPoint expected;
    };
    const Case cases[] = {
        {"DirectShow, move", CameraFamily::directShow, video, WM_MOUSEMOVE, {25, 3}},
        {"UVC, press", CameraFamily::uvc, video, WM_LBUTTONDOWN, {25, 3}},
        {"DirectShow, release", CameraFamily::directShow, video, WM_LBUTTONUP, {25, 3}},
        {"the view's own message", CameraFamily::directShow, nullptr, WM_MOUSEMOVE, {-5, -7}},
        {"USB CMOS draws no window of its own", CameraFamily::usbCmos, video, WM_MOUSEMOVE, {-5, -7}},
        {"a right press is left alone", CameraFamily::directShow, video, WM_RBUTTONDOWN, {-5, -7}},
    };
    for (const Case& c : cases) {
        camera_->kind = c.kind;
        MSG message{c.to ? c.to : View(), c.message, 0, MAKELPARAM(-5, -7), 0, {}};
        EXPECT_FALSE(view_->PreTranslateMessage(message)) << c.what;
        EXPECT_EQ(GET_X_LPARAM(message.lParam), c.expected.x) << c.what;
        EXPECT_EQ(GET_Y_LPARAM(message.lParam), c.expected.y) << c.what;
    }
    DestroyWindow(video);
}

TEST_F(ViewInputTest, CursorStyleCommandsAndTheCursorOfTheTarget) {
    ASSERT_TRUE(view_->RunCommand(ID_POINTER_CROSS));
    EXPECT_EQ(view_->GetCursorStyle(), 1);
    ASSERT_TRUE(view_->RunCommand(ID_POINTER_ARROW));
    EXPECT_EQ(view_->GetCursorStyle(), 0);

    const LPARAM inClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    EXPECT_EQ(SendMessageW(View(), WM_SETCURSOR, reinterpret_cast<WPARAM>(View()), inClient), TRUE)
        << "the picture's controller sets it";
    ASSERT_NO_FATAL_FAILURE(OpenVideo({320, 240}, {320, 240}, {0, 0}));
    EXPECT_EQ(SendMessageW(View(), WM_SETCURSOR, reinterpret_cast<WPARAM>(View()), inClient), FALSE)
        << "video without live measuring has no controller";
    ASSERT_TRUE(view_->RunCommand(ID_LIVE_MEASURE));
    EXPECT_EQ(SendMessageW(View(), WM_SETCURSOR, reinterpret_cast<WPARAM>(View()), inClient), TRUE);
}

}  // namespace
