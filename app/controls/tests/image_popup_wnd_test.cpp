// The floating picture window under Wine: moved and resized by posted mouse
// messages, its handles read back from its painting, its menu driven by keys.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>

#include "control_cursors.h"
#include "control_testing.h"
#include "image_popup_wnd.h"
#include "picture.h"
#include "thread_windows.h"

namespace {

using namespace controls_testing;

constexpr COLORREF kPictureColour = RGB(0, 160, 0);
constexpr RECT kStart{50, 40, 150, 120};

struct Box {
    int left, top, right, bottom;
};

class PopupTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseEnglishResources();
        host = std::make_unique<HostWindow>(100, 100, 400, 300);
        picture.Create(20, 16, 24, kPictureBmp);
        auto pixels = picture.Pixels();
        for (std::size_t i = 0; i + 2 < pixels.size(); i += 3) {
            pixels[i] = GetBValue(kPictureColour);
            pixels[i + 1] = GetGValue(kPictureColour);
            pixels[i + 2] = GetRValue(kPictureColour);
        }
        // Given corner to corner the wrong way round: the window normalises it.
        popup = std::make_unique<PostedOnly<CImagePopupWnd>>(&picture, RECT{150, 120, 50, 40}, host->hwnd);
        postedMouse.clear();
    }
    HWND Hwnd() const { return popup->GetSafeHwnd(); }
    Box Place() const {
        RECT r{};
        GetWindowRect(Hwnd(), &r);
        MapWindowPoints(nullptr, host->hwnd, reinterpret_cast<POINT*>(&r), 2);
        return {r.left, r.top, r.right, r.bottom};
    }
    // Hover (the handle is found on a move), press, drag by each step, release.
    void Drag(int x, int y, std::initializer_list<POINT> steps) {
        Move(Hwnd(), x, y, false);
        Down(Hwnd(), x, y);
        POINT last{x, y};
        for (POINT p : steps) {
            Move(Hwnd(), p.x, p.y);
            last = p;
        }
        Up(Hwnd(), last.x, last.y);
    }

    std::unique_ptr<HostWindow> host;
    CPicture picture;
    std::unique_ptr<PostedOnly<CImagePopupWnd>> popup;
};

void ExpectBox(const Box& got, const Box& want, const char* name) {
    EXPECT_EQ(got.left, want.left) << name;
    EXPECT_EQ(got.top, want.top) << name;
    EXPECT_EQ(got.right, want.right) << name;
    EXPECT_EQ(got.bottom, want.bottom) << name;
}

TEST_F(PopupTest, IsAChildOverTheNormalisedRectangle) {
    ASSERT_NE(Hwnd(), nullptr);
    ExpectBox(Place(), {50, 40, 150, 120}, "created");
    EXPECT_EQ(GetDlgCtrlID(Hwnd()), static_cast<int>(CImagePopupWnd::kControlId));
    EXPECT_EQ(GetParent(Hwnd()), host->hwnd);
    EXPECT_TRUE(IsWindowVisible(Hwnd()));
}

TEST_F(PopupTest, MovesByTheMouseIncludingLeftOfAndAboveItsParent) {
    Drag(50, 40, {{60, 50}, {80, 70}});
    ExpectBox(Place(), {80, 70, 180, 150}, "moved");
    EXPECT_TRUE(popup->IsChanged());
    // Points left of and above the window come as negative words.
    Drag(50, 40, {{-30, -20}, {-150, -100}});
    ExpectBox(Place(), {-120, -70, -20, 10}, "moved out");
    EXPECT_NE(GetCapture(), Hwnd());
}

TEST_F(PopupTest, AClickWithoutMovementChangesNothing) {
    Drag(50, 40, {});
    ExpectBox(Place(), {50, 40, 150, 120}, "clicked");
    EXPECT_FALSE(popup->IsChanged());
}

TEST_F(PopupTest, EachHandleResizesItsEdges) {
    const struct {
        const char* name;
        int x, y;
        Box expected;
    } cases[] = {
        {"top-left", 0, 0, {55, 47, 150, 120}},
        {"top", 50, 0, {50, 47, 150, 120}},
        {"top-right", 99, 0, {50, 47, 155, 120}},
        {"right", 99, 40, {50, 40, 155, 120}},
        {"bottom-right", 99, 79, {50, 40, 155, 127}},
        {"bottom", 50, 79, {50, 40, 150, 127}},
        {"bottom-left", 0, 79, {55, 40, 150, 127}},
        {"left", 0, 40, {55, 40, 150, 120}},
        // Off the handles a press moves the whole window.
        {"border without handle", 20, 0, {55, 47, 155, 127}},
    };
    for (const auto& c : cases) {
        SetWindowPos(Hwnd(), nullptr, kStart.left, kStart.top, 100, 80, SWP_NOZORDER | SWP_NOACTIVATE);
        Drag(c.x, c.y, {{c.x + 5, c.y + 7}});
        ExpectBox(Place(), c.expected, c.name);
    }
}

TEST_F(PopupTest, AnEdgeDraggedPastItsOppositeStaysOnePixelAway) {
    Drag(0, 40, {{200, 40}});
    ExpectBox(Place(), {149, 40, 150, 120}, "one pixel wide");
    SetWindowPos(Hwnd(), nullptr, kStart.left, kStart.top, 100, 80, SWP_NOZORDER | SWP_NOACTIVATE);
    // Pinned, the edge waits until the mouse comes back past where it stopped following.
    Drag(0, 40, {{200, 40}, {90, 40}, {-10, 40}});
    ExpectBox(Place(), {139, 40, 150, 120}, "follows again");
}

TEST_F(PopupTest, CursorsShowTheHandleUnderThePointer) {
    const struct {
        int x, y, cursor;
    } cases[] = {{0, 0, 173},   {50, 0, 175}, {99, 0, 172}, {99, 40, 174}, {99, 79, 173},
                 {50, 79, 175}, {0, 79, 172}, {0, 40, 174}, {50, 40, 171}};
    for (const auto& c : cases) {
        Move(Hwnd(), c.x, c.y, false);
        const HCURSOR expected = ControlCursor(c.cursor);
        ASSERT_NE(expected, LoadCursorW(nullptr, IDC_ARROW)) << "cursor " << c.cursor << " missing";
        EXPECT_EQ(GetCursor(), expected) << c.x << "," << c.y;
    }
    popup->SetArrowCursor(true);
    SendMessageW(Hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), ControlCursor(170));
}

TEST_F(PopupTest, PaintsThePictureFrameAndHandlesExceptWhileMoving) {
    {
        Snapshot shot(Hwnd());
        EXPECT_EQ(shot.At(50, 40), kPictureColour);
        const POINT handles[] = {{1, 1}, {49, 1}, {98, 1}, {98, 39}, {98, 78}, {49, 78}, {1, 78}, {1, 39}};
        for (POINT h : handles) {
            EXPECT_EQ(shot.At(h.x, h.y), RGB(255, 255, 255)) << h.x << "," << h.y;
        }
        EXPECT_EQ(shot.At(4, 4), kPictureColour);
        const COLORREF frame = shot.At(20, 0);
        EXPECT_TRUE(frame == RGB(255, 255, 255) || frame == RGB(0, 100, 255)) << std::hex << frame;
        int blue = 0;
        for (int x = 10; x < 40; ++x) {
            blue += shot.At(x, 79) == RGB(0, 100, 255) ? 1 : 0;
        }
        EXPECT_GT(blue, 5);
        EXPECT_LT(blue, 30);
    }
    Move(Hwnd(), 50, 40, false);
    Down(Hwnd(), 50, 40);
    ASSERT_TRUE(popup->IsMoving());
    {
        Snapshot shot(Hwnd());
        EXPECT_EQ(shot.At(1, 1), kPictureColour);
        EXPECT_EQ(shot.At(20, 0), kPictureColour);
    }
    Up(Hwnd(), 50, 40);
}

// Counts the paints a window gets, as the system sends them.
struct PaintCounter {
    static inline HWND watched = nullptr;
    static inline int paints = 0;
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && sent->hwnd == watched && sent->message == WM_PAINT) {
            ++paints;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

TEST_F(PopupTest, APressThatStartsAMovePaintsTheHandlesAwayAtOnce) {
    UpdateWindow(Hwnd());
    PaintCounter::watched = Hwnd();
    PaintCounter::paints = 0;
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &PaintCounter::Hook, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    Move(Hwnd(), 50, 40, false);
    EXPECT_EQ(PaintCounter::paints, 0);
    Down(Hwnd(), 50, 40);
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(popup->IsMoving());
    EXPECT_EQ(PaintCounter::paints, 1) << "the handles stay on the screen while the window is moved";
    Up(Hwnd(), 50, 40);
}

// Chooses the menu item `downs` steps down from inside the menu's loop.
struct MenuKeys {
    static inline int downs = 0;
    static inline std::wstring firstText;
    static inline std::wstring secondText;
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        HWND menu = testing_support::FindThreadPopupMenu();
        if (!menu || !IsWindowVisible(menu)) {
            return;
        }
        KillTimer(nullptr, id);
        auto hmenu = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
        wchar_t text[64] = {};
        GetMenuStringW(hmenu, 0, text, 64, MF_BYPOSITION);
        firstText = text;
        GetMenuStringW(hmenu, 1, text, 64, MF_BYPOSITION);
        secondText = text;
        for (int i = 0; i < downs; ++i) {
            PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
        }
        PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    }
};

TEST_F(PopupTest, TheMenuCommandReachesTheMainWindow) {
    const struct {
        int downs;
        WORD command;
    } cases[] = {{1, CImagePopupWnd::kCopyCommand}, {2, CImagePopupWnd::kCutCommand}};
    for (const auto& c : cases) {
        host->commands.clear();
        MenuKeys::downs = c.downs;
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, &MenuKeys::Tick);
        Post(Hwnd(), WM_RBUTTONDOWN, 30, 30, MK_RBUTTON);
        KillTimer(nullptr, timer);
        Pump();
        ASSERT_EQ(host->commands.size(), 1u) << c.downs;
        EXPECT_EQ(host->commands[0], c.command);
        EXPECT_EQ(MenuKeys::firstText, L"Copy");
        EXPECT_EQ(MenuKeys::secondText, L"Cut");
    }
}

}  // namespace
