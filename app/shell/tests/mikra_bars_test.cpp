// Mikra.exe's bars worked by the mouse from another process: the data bar's
// edge dragged to make it higher, then its title dragged to the frame's
// right side; the browser bar widened by its edge and dragged out of the
// frame, where it floats; a toolbar dragged by its gripper to the frame's
// left side, another into the middle, where it floats, and back by its
// title. After the program is closed and started again, every bar is where
// and as large as the user left it.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <filesystem>

#include "mikra_program_test.h"
#include "picture_session.h"
#include "posted_drag.h"
#include "resource.h"
#include "unique_handle.h"

namespace {

namespace fs = std::filesystem;
using posted_drag::Drag;
const auto InBar = posted_drag::Between;

constexpr int kEdgeGrip = 5;

RECT ScreenRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

// A window's rectangle in the frame's client coordinates.
RECT InFrame(HWND frame, HWND hwnd) {
    RECT r = ScreenRect(hwnd);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Left, top, right, bottom: compared and printed as one value.
std::array<LONG, 4> Box(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// A docked toolbar dragged by its gripper (the strip before its first
// button, outside its client area) to `to`, a point of the frame's client
// area: the press a real mouse gives there, then the moves it gives while
// the toolbar holds the mouse.
void DragByGripper(HWND frame, HWND toolBar, POINT to) {
    const RECT window = ScreenRect(toolBar);
    PostMessageW(toolBar, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(window.left + 3, window.top + 3));
    const POINT at = InBar(frame, toolBar, to);
    PostMessageW(toolBar, WM_MOUSEMOVE, MK_LBUTTON, posted_drag::At(at));
    PostMessageW(toolBar, WM_LBUTTONUP, 0, posted_drag::At(at));
}

// The rectangle of a toolbar's button in another process, read through a
// buffer in that process; empty when it cannot be read.
RECT RemoteButtonRect(DWORD processId, HWND toolBar, UINT command) {
    RECT rect{};
    UniqueKernelHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) return rect;
    void* remote = VirtualAllocEx(process.Get(), nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return rect;
    if (SendMessageW(toolBar, TB_GETRECT, command, reinterpret_cast<LPARAM>(remote))) {
        ReadProcessMemory(process.Get(), remote, &rect, sizeof(rect), nullptr);
    }
    VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
    return rect;
}

bool Wider(const RECT& r) { return r.right - r.left > r.bottom - r.top; }

class MikraBarsTest : public MikraProgramTest {
protected:
    void SetUp() override {
        UseFreshProgram(L"vz_mikra_bars");
    }
    bool Exit(HWND frame) {
        PostMessageW(frame, WM_CLOSE, 0, 0);
        if (HWND question = mikra_.WaitForDialog()) {
            PostMessageW(GetDlgItem(question, IDOK), BM_CLICK, 0, 0);
        }
        return mikra_.WaitForExit(kExitTimeoutMs);
    }

};

TEST_F(MikraBarsTest, BarsMovedResizedAndFloatedComeBackAfterARestart) {
    ASSERT_TRUE(mikra_.Start());
    HWND frame = mikra_.WaitForMainFrame();
    ASSERT_NE(frame, nullptr);
    HWND data = FindDescendant(frame, IDC_DATA_BAR);
    HWND browser = FindDescendant(frame, IDC_BROWSER_BAR);
    ASSERT_NE(data, nullptr);
    ASSERT_NE(browser, nullptr);
    // A fresh installation shows neither: both are shown from the View menu.
    for (auto [bar, command] : {std::pair{data, ID_VIEW_DATA_WINDOW}, std::pair{browser, ID_VIEW_COMPOSITE_WINDOW}}) {
        if (!IsWindowVisible(bar)) PostMessageW(frame, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(data) && IsWindowVisible(browser); }, 10000));
    RECT client{};
    GetClientRect(frame, &client);

    // The data bar (bottom) made 60 pixels higher by its top edge.
    const RECT dataDocked = InFrame(frame, data);
    Drag(data, {100, 1}, {100, -59});
    ASSERT_TRUE(WaitFor([&] { return InFrame(frame, data).top == dataDocked.top - 60; }, 10000))
        << testing::PrintToString(Box(InFrame(frame, data)));
    const int dataExtent = dataDocked.bottom - dataDocked.top + 60;

    // Its title dragged near the frame's right edge: docked there, as wide
    // as it was high.
    const int title = GetSystemMetrics(SM_CYSMCAPTION) / 2 + kEdgeGrip;
    Drag(data, {100, title}, InBar(frame, data, {client.right - 5, client.bottom / 2}));
    ASSERT_TRUE(WaitFor(
        [&] {
            const RECT r = InFrame(frame, data);
            return r.right == client.right && r.left == client.right - dataExtent;
        },
        10000))
        << testing::PrintToString(Box(InFrame(frame, data)));

    // The browser bar (left) widened by 80 by its right edge, then dragged
    // out of the frame, where it floats at the same size.
    const RECT browserDocked = InFrame(frame, browser);
    const int width = browserDocked.right - browserDocked.left;
    Drag(browser, {width - 2, 100}, {width + 78, 100});
    ASSERT_TRUE(WaitFor([&] { return InFrame(frame, browser).right == browserDocked.right + 80; }, 10000))
        << testing::PrintToString(Box(InFrame(frame, browser)));
    Drag(browser, {30, title}, InBar(frame, browser, {-120, 60}));
    ASSERT_TRUE(WaitFor(
        [&] {
            const RECT r = ScreenRect(browser);
            return (GetWindowLongW(browser, GWL_STYLE) & WS_CHILD) == 0 && r.right - r.left == width + 80;
        },
        10000))
        << "the browser bar does not float at its size";
    EXPECT_TRUE(IsWindowVisible(browser));
    const RECT floating = ScreenRect(browser);
    const RECT dataPlace = InFrame(frame, data);

    ASSERT_TRUE(Exit(frame)) << "Mikra did not end";

    // Started again: the data bar on the right at its size, the browser bar
    // floating where it was left.
    ASSERT_TRUE(mikra_.Start());
    frame = mikra_.WaitForMainFrame();
    ASSERT_NE(frame, nullptr);
    data = FindDescendant(frame, IDC_DATA_BAR);
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(data) && Box(InFrame(frame, data)) == Box(dataPlace); }, 10000))
        << testing::PrintToString(Box(InFrame(frame, data))) << " instead of " << testing::PrintToString(Box(dataPlace));
    HWND floated = picture_session::WaitForTopWindow(mikra_.GetId(), L"VizcamDockingBar");
    ASSERT_NE(floated, nullptr) << "the browser bar does not float after the restart";
    EXPECT_EQ(GetDlgCtrlID(floated), IDC_BROWSER_BAR);
    EXPECT_TRUE(WaitFor([&] { return Box(ScreenRect(floated)) == Box(floating); }, 10000))
        << testing::PrintToString(Box(ScreenRect(floated))) << " instead of " << testing::PrintToString(Box(floating));
    EXPECT_TRUE(Exit(frame));
}

TEST_F(MikraBarsTest, ToolBarsDockedElsewhereAndFloatedComeBackAfterARestart) {
    ASSERT_TRUE(mikra_.Start());
    HWND frame = mikra_.WaitForMainFrame();
    ASSERT_NE(frame, nullptr);
    HWND main = FindDescendant(frame, IDR_TOOLBAR_MAIN);
    HWND measure = FindDescendant(frame, IDR_TOOLBAR_MEASURE);
    HWND video = FindDescendant(frame, IDR_TOOLBAR_VIDEO);
    ASSERT_NE(main, nullptr);
    ASSERT_NE(measure, nullptr);
    ASSERT_NE(video, nullptr);
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(main) && IsWindowVisible(measure); }, 10000));
    RECT client{};
    GetClientRect(frame, &client);

    // The main toolbar dragged to the frame's left edge stands there in a
    // column, its buttons one below the other.
    DragByGripper(frame, main, {5, client.bottom / 2});
    ASSERT_TRUE(WaitFor(
        [&] {
            const RECT r = InFrame(frame, main);
            return r.left == 0 && !Wider(r);
        },
        10000))
        << testing::PrintToString(Box(InFrame(frame, main)));
    // Its Open button still opens File > Open.
    const RECT open = RemoteButtonRect(mikra_.GetId(), main, ID_FILE_OPEN);
    ASSERT_GT(open.bottom, open.top) << "no Open button";
    const POINT centre{(open.left + open.right) / 2, (open.top + open.bottom) / 2};
    ASSERT_TRUE(WaitFor([&] { return SendMessageW(main, TB_ISBUTTONENABLED, ID_FILE_OPEN, 0) != 0; }, 10000));
    PostMessageW(main, WM_LBUTTONDOWN, MK_LBUTTON, posted_drag::At(centre));
    PostMessageW(main, WM_LBUTTONUP, 0, posted_drag::At(centre));
    HWND dialog = mikra_.WaitForDialog();
    ASSERT_NE(dialog, nullptr) << "the moved toolbar's Open button opened nothing";
    PostMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntilGone(dialog, 10000));

    // The measurement toolbar dragged into the middle of the frame floats in
    // a small window of its own, its buttons in a row.
    DragByGripper(frame, measure, {client.right / 2, client.bottom / 2});
    HWND floating = picture_session::WaitForTopWindow(mikra_.GetId(), L"VizcamFloatingBar");
    ASSERT_NE(floating, nullptr) << "the measurement toolbar does not float";
    EXPECT_EQ(GetParent(measure), floating);
    EXPECT_TRUE(Wider(ScreenRect(measure)));
    // The View menu hides and shows it with its window.
    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(ID_VIEW_MEASURE_TOOLBAR, 0), 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(floating); }, 10000)) << "the floating toolbar stays";
    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(ID_VIEW_MEASURE_TOOLBAR, 0), 0);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(floating) && IsWindowVisible(measure); }, 10000))
        << "the floating toolbar does not come back";
    const RECT mainPlace = InFrame(frame, main);
    const RECT floatingPlace = ScreenRect(floating);

    ASSERT_TRUE(Exit(frame)) << "Mikra did not end";

    // Started again: the main toolbar on the left, the measurement toolbar
    // floating where it was left.
    ASSERT_TRUE(mikra_.Start());
    frame = mikra_.WaitForMainFrame();
    ASSERT_NE(frame, nullptr);
    main = FindDescendant(frame, IDR_TOOLBAR_MAIN);
    video = FindDescendant(frame, IDR_TOOLBAR_VIDEO);
    ASSERT_NE(main, nullptr);
    ASSERT_NE(video, nullptr);
    EXPECT_TRUE(WaitFor([&] { return Box(InFrame(frame, main)) == Box(mainPlace); }, 10000))
        << testing::PrintToString(Box(InFrame(frame, main))) << " instead of "
        << testing::PrintToString(Box(mainPlace));
    floating = picture_session::WaitForTopWindow(mikra_.GetId(), L"VizcamFloatingBar");
    ASSERT_NE(floating, nullptr) << "the measurement toolbar does not float after the restart";
    measure = FindDescendant(floating, IDR_TOOLBAR_MEASURE);
    ASSERT_NE(measure, nullptr);
    EXPECT_TRUE(WaitFor([&] { return Box(ScreenRect(floating)) == Box(floatingPlace); }, 10000))
        << testing::PrintToString(Box(ScreenRect(floating))) << " instead of "
        << testing::PrintToString(Box(floatingPlace));

    // Dragged by its title onto the frame's top edge, it docks in the row
    // of the video toolbar.
    const int title = GetSystemMetrics(SM_CYSMCAPTION) / 2;
    Drag(floating, {30, title}, InBar(frame, floating, {client.right / 2, 3}));
    EXPECT_TRUE(WaitFor(
        [&] {
            return GetParent(measure) == frame && InFrame(frame, measure).top == InFrame(frame, video).top &&
                   Wider(ScreenRect(measure));
        },
        10000))
        << testing::PrintToString(Box(InFrame(frame, measure)));
    EXPECT_FALSE(IsWindowVisible(floating));
    EXPECT_TRUE(Exit(frame));
}

}  // namespace
