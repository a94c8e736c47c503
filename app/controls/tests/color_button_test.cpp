// The colour button and its pop-up as real windows: where the pop-up opens,
// the messages each way of leaving it sends to the button's parent, the
// swatch the button paints and the dialog data exchange.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "color_button.h"
#include "color_popup.h"
#include "control_testing.h"
#include "modal_script.h"

namespace {

using controls_testing::HostWindow;
using controls_testing::Pump;
using Sent = HostWindow::Sent;
using testing_support::ModalScript;

constexpr int kButtonId = 1064;
constexpr COLORREF kStart = RGB(1, 2, 3);  // in no cell of the table
constexpr COLORREF kOrange = RGB(0xFF, 0x68, 0x20);

class ColourButtonTest : public ::testing::Test {
public:
    void Open(int hostY = 100) {
        host_ = std::make_unique<HostWindow>(100, hostY, 200, 60);
        ASSERT_TRUE(button_.Create(host_->hwnd, RECT{10, 10, 90, 34}, kButtonId));
        button_.SetColor(kStart);
        SendMessageW(host_->hwnd, WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button_.GetSafeHwnd()));
        popup_ = button_.PopupWindow();
        ASSERT_NE(popup_, nullptr);
        ASSERT_TRUE(button_.IsActive());
        Pump();
    }
    // The centre of a cell in the pop-up's client.
    POINT CellCentre(int index) const {
        const auto& layout = Popup().Layout();
        color_palette::Box b;
        if (index == color_palette::kAutomaticCell) {
            b = layout.automatic;
        } else if (index == color_palette::kMoreCell) {
            b = layout.more;
        } else {
            b = color_palette::CellBox(layout, index);
        }
        // Hover tests the point less the margin against the caption cells.
        const int shift = index < 0 ? layout.margin : 0;
        return {(b.left + b.right) / 2 + shift, (b.top + b.bottom) / 2 + shift};
    }
    const CColorPopup& Popup() const { return *dynamic_cast<CColorPopup*>(CWindow::FromHandle(popup_)); }
    void Hover(int index) {
        const POINT p = CellCentre(index);
        SendMessageW(popup_, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    }
    void Key(UINT key) { SendMessageW(popup_, WM_KEYDOWN, key, 0); }
    std::vector<Sent> Sequence() const { return host_->sent; }
    static Sent M(UINT message, COLORREF color) { return {message, color, kButtonId}; }

    std::unique_ptr<HostWindow> host_;
    CColorButton button_;
    HWND popup_ = nullptr;
};

TEST_F(ColourButtonTest, PopupOpensAtTheButtonsBottomLeft) {
    Open();
    RECT button{}, popup{};
    GetWindowRect(button_.GetSafeHwnd(), &button);
    GetWindowRect(popup_, &popup);
    EXPECT_EQ(popup.left, button.left);
    EXPECT_EQ(popup.top, button.bottom);
    EXPECT_EQ(popup.right - popup.left, Popup().Layout().width);
    EXPECT_EQ(GetCapture(), popup_);
    EXPECT_EQ(Sequence(), (std::vector<Sent>{M(WM_COLOR_DROPDOWN, kStart)}));
    EXPECT_EQ(Popup().ChosenCell(), color_palette::kMoreCell);
    // One tooltip per colour cell, over the cell, with the colour's name.
    HWND tooltip = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
            wchar_t cls[32] = {};
            GetClassNameW(hwnd, cls, 32);
            if (std::wstring(cls) == TOOLTIPS_CLASSW) {
                *reinterpret_cast<HWND*>(param) = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tooltip));
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(GetWindow(tooltip, GW_OWNER), popup_);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), color_palette::kColourCount);
    for (int cell : {0, 16, 35, 39}) {
        wchar_t text[80] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = popup_;
        tool.uId = static_cast<UINT_PTR>(cell + 1);
        tool.lpszText = text;
        ASSERT_TRUE(SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) << cell;
        EXPECT_STREQ(text, color_palette::TableEntry(cell).name);
        const color_palette::Box box = color_palette::CellBox(Popup().Layout(), cell);
        EXPECT_EQ(tool.rect.left, box.left);
        EXPECT_EQ(tool.rect.bottom, box.bottom);
    }
    Key(VK_ESCAPE);
}

TEST_F(ColourButtonTest, PopupNearTheScreenBottomOpensAboveTheButton) {
    Open(GetSystemMetrics(SM_CYSCREEN) - 60);
    RECT button{}, popup{};
    GetWindowRect(button_.GetSafeHwnd(), &button);
    GetWindowRect(popup_, &popup);
    EXPECT_EQ(popup.left, button.left);
    EXPECT_EQ(popup.bottom, button.top);
    Key(VK_ESCAPE);
}

TEST_F(ColourButtonTest, EachWayOfLeavingSendsItsSequence) {
    const COLORREF red = RGB(255, 0, 0);
    const struct {
        const char* name;
        void (*drive)(ColourButtonTest&);
        std::vector<Sent> expected;
        COLORREF finalColor;
    } cases[] = {
        {"click on a cell",
         [](ColourButtonTest& t) {
             t.Hover(9);
             const POINT p = t.CellCentre(9);
             SendMessageW(t.popup_, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
         },
         {M(WM_COLOR_CHANGED, kOrange), M(WM_COLOR_CLOSEUP, kOrange), M(WM_COLOR_SELECTED, kOrange),
          M(WM_COLOR_CHANGED, kOrange)},
         kOrange},
        {"escape after hovering",
         [](ColourButtonTest& t) {
             t.Hover(16);
             t.Hover(9);
             t.Key(VK_ESCAPE);
         },
         {M(WM_COLOR_CHANGED, red), M(WM_COLOR_CHANGED, kOrange), M(WM_COLOR_CLOSEUP, kStart),
          M(WM_COLOR_CANCELLED, kStart)},
         kStart},
        {"click outside",
         [](ColourButtonTest& t) {
             t.Hover(16);
             SendMessageW(t.popup_, WM_LBUTTONUP, 0, MAKELPARAM(-5, -7));
         },
         {M(WM_COLOR_CHANGED, red), M(WM_COLOR_CLOSEUP, kStart), M(WM_COLOR_CANCELLED, kStart)},
         kStart},
        {"arrow keys and enter",
         [](ColourButtonTest& t) {
             t.Key(VK_DOWN);   // from no cell: the first
             t.Key(VK_RIGHT);  // Brown
             t.Key(VK_DOWN);   // Orange
             t.Key(VK_RETURN);
         },
         {M(WM_COLOR_CHANGED, 0), M(WM_COLOR_CHANGED, RGB(0xA5, 0x2A, 0)), M(WM_COLOR_CHANGED, kOrange),
          M(WM_COLOR_CLOSEUP, kOrange), M(WM_COLOR_SELECTED, kOrange), M(WM_COLOR_CHANGED, kOrange)},
         kOrange},
        {"the automatic cell",
         [](ColourButtonTest& t) {
             t.Key(VK_DOWN);
             t.Key(VK_UP);  // row 0 up: the automatic cell
             t.Key(VK_SPACE);
         },
         {M(WM_COLOR_CHANGED, 0), M(WM_COLOR_CHANGED, kAutomaticColor), M(WM_COLOR_CLOSEUP, kAutomaticColor),
          M(WM_COLOR_SELECTED, kAutomaticColor), M(WM_COLOR_CHANGED, kAutomaticColor)},
         kAutomaticColor},
        {"hovering the automatic cell then choosing white",
         [](ColourButtonTest& t) {
             t.Hover(color_palette::kAutomaticCell);
             t.Hover(39);
             t.Key(VK_RETURN);
         },
         {M(WM_COLOR_CHANGED, kAutomaticColor), M(WM_COLOR_CHANGED, RGB(255, 255, 255)),
          M(WM_COLOR_CLOSEUP, RGB(255, 255, 255)), M(WM_COLOR_SELECTED, RGB(255, 255, 255)),
          M(WM_COLOR_CHANGED, RGB(255, 255, 255))},
         RGB(255, 255, 255)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Open();
        host_->sent.clear();
        c.drive(*this);
        Pump();
        EXPECT_EQ(Sequence(), c.expected);
        EXPECT_EQ(button_.GetColor(), c.finalColor);
        EXPECT_FALSE(button_.IsActive());
        EXPECT_FALSE(IsWindow(popup_));
        EXPECT_NE(GetCapture(), popup_);
    }
}

TEST_F(ColourButtonTest, TrackSelectionFollowsTheHoverCellUntilCancelled) {
    button_.SetTrackSelection(true);
    Open();
    Hover(16);
    EXPECT_EQ(button_.GetColor(), RGB(255, 0, 0));
    Hover(color_palette::kMoreCell);  // the more-colours cell reports the colour the pop-up opened with
    EXPECT_EQ(button_.GetColor(), kStart);
    Hover(9);
    EXPECT_EQ(button_.GetColor(), kOrange);
    Key(VK_ESCAPE);
    EXPECT_EQ(button_.GetColor(), kStart);
}

TEST_F(ColourButtonTest, MoreColoursOpensTheSystemDialog) {
    const struct {
        int pressed;
        UINT result;
    } cases[] = {{IDOK, WM_COLOR_SELECTED}, {IDCANCEL, WM_COLOR_CANCELLED}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pressed);
        Open();
        Hover(color_palette::kMoreCell);
        host_->sent.clear();
        bool sawDialog = false;
        ModalScript script({[&](HWND dialog) {
            sawDialog = GetWindow(dialog, GW_OWNER) == popup_ && Popup().IsChildDialogOpen();
            ModalScript::Press(dialog, c.pressed);
        }});
        Key(VK_RETURN);
        Pump();
        EXPECT_TRUE(script.Finished());
        EXPECT_TRUE(sawDialog);
        // The dialog opened on the pop-up's colour; OK keeps it.
        std::vector<Sent> expected{M(WM_COLOR_CLOSEUP, kStart), M(c.result, kStart)};
        EXPECT_EQ(Sequence(), expected);
        EXPECT_EQ(button_.GetColor(), kStart);
        EXPECT_FALSE(IsWindow(popup_));
    }
}

TEST_F(ColourButtonTest, SwatchShowsTheColourOrTheDefaultWhenAutomatic) {
    host_ = std::make_unique<HostWindow>(100, 100, 200, 60);
    ASSERT_TRUE(button_.Create(host_->hwnd, RECT{10, 10, 90, 34}, kButtonId));
    const struct {
        COLORREF color;
        COLORREF shown;
    } cases[] = {
        {kOrange, kOrange}, {kAutomaticColor, GetSysColor(COLOR_APPWORKSPACE)}, {RGB(0, 0, 255), RGB(0, 0, 255)}};
    EXPECT_EQ(button_.GetDefaultColor(), GetSysColor(COLOR_APPWORKSPACE));
    for (const auto& c : cases) {
        button_.SetColor(c.color);
        controls_testing::Snapshot shot(button_.GetSafeHwnd());
        // The swatch spans the middle left of the arrow; its frame is black.
        EXPECT_EQ(shot.At(20, 12), c.shown) << std::hex << c.color;
        EXPECT_EQ(shot.At(40, 12), c.shown) << std::hex << c.color;
        // The arrow at the right is black and not the swatch.
        EXPECT_NE(shot.At(74, 12), c.shown);
    }
}

TEST_F(ColourButtonTest, DataExchangeRoundTrip) {
    host_ = std::make_unique<HostWindow>(100, 100, 200, 60);
    ASSERT_TRUE(button_.Create(host_->hwnd, RECT{10, 10, 90, 34}, kButtonId));
    COLORREF member = kOrange;
    DDX_ColorButton(host_->hwnd, FALSE, kButtonId, member);
    EXPECT_EQ(button_.GetColor(), kOrange);
    button_.SetColor(kAutomaticColor);
    DDX_ColorButton(host_->hwnd, TRUE, kButtonId, member);
    EXPECT_EQ(member, kAutomaticColor);
    // A control that is not a colour button leaves the member alone.
    COLORREF untouched = 7;
    DDX_ColorButton(host_->hwnd, TRUE, 999, untouched);
    EXPECT_EQ(untouched, 7u);
}

}  // namespace
