// A dialog laid out like the count results dialog, as a real window:
// anchors on resize, the minimum size, the grip, bars dragged by mouse
// messages and the colour button bound by data exchange.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "anchored_dialog.h"
#include "color_button.h"
#include "control_testing.h"
#include "controls_test_resource.h"
#include "resource_module.h"
#include "split_layout.h"

namespace {

using anchor_layout::Anchor;
using controls_testing::Pump;

const int kControls[] = {IDC_LEFT_FRAME,   IDC_LEFT_LIST,   IDC_RIGHT_TOP, IDC_RIGHT_MIDDLE,
                         IDC_RIGHT_BOTTOM, IDC_TEST_COLOUR, IDOK};
const std::map<int, std::pair<Anchor, Anchor>> kAnchors = {
    {IDC_LEFT_FRAME, {{0, 0}, {50, 100}}},          {IDC_LEFT_LIST, {{0, 0}, {50, 100}}},
    {IDC_RIGHT_TOP, {{50, 0}, {100, 33}}},          {IDC_RIGHT_MIDDLE, {{50, 33}, {100, 66}}},
    {IDC_RIGHT_BOTTOM, {{50, 66}, {100, 100}}},     {IDC_TEST_COLOUR, {{0, 100}, anchor_layout::kNoAnchor}},
    {IDOK, {{100, 100}, anchor_layout::kNoAnchor}},
};

class SplitTestDialog : public CAnchoredDialog {
public:
    explicit SplitTestDialog(HWND parent) : CAnchoredDialog(IDD_SPLIT_TEST, parent) {
        BindExchange([this](HWND dialog, BOOL save) {
            DDX_ColorButton(dialog, save, IDC_TEST_COLOUR, colour);
            return true;
        });
    }
    BOOL Save() { return UpdateData(TRUE); }

    COLORREF colour = RGB(0, 0, 255);
    CColorButton button;
    CSplitLayout layout;
    std::vector<HWND> moved;

protected:
    BOOL OnInitDialog() override {
        button.SubclassDlgItem(m_hWnd, IDC_TEST_COLOUR);
        const BOOL result = CAnchoredDialog::OnInitDialog();
        for (const auto& [id, anchors] : kAnchors) {
            AnchorChildren(GetDlgItem(id), anchors.first, anchors.second);
        }
        layout.Attach(m_hWnd);
        const int groups[] = {2, IDC_LEFT_FRAME,  IDC_LEFT_LIST, 1, IDC_RIGHT_TOP, 1, IDC_RIGHT_MIDDLE,
                              1, IDC_RIGHT_BOTTOM};
        layout.Init(groups);
        return result;
    }
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_LAYOUT_SPLIT) {
            moved.push_back(reinterpret_cast<HWND>(lParam));
            ReanchorChild(reinterpret_cast<HWND>(lParam));
            return TRUE;
        }
        return CAnchoredDialog::OnMessage(message, wParam, lParam);
    }
    void RepositionControls() override {
        CAnchoredDialog::RepositionControls();
        layout.Relayout();
    }
};

RECT ClientRect(HWND dialog, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

anchor_layout::Box Box(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

class AnchoredDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = GetResourceModule();
        SetResourceModule(GetModuleHandleW(nullptr));
        Open();
    }
    void Open() {
        dialog_.reset();
        dialog_ = std::make_unique<SplitTestDialog>(host_.hwnd);
        ASSERT_TRUE(dialog_->Create(host_.hwnd));
        hwnd_ = dialog_->GetSafeHwnd();
        SetWindowPos(hwnd_, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
        Pump();
    }
    void TearDown() override {
        dialog_.reset();
        SetResourceModule(previous_);
    }
    std::map<int, RECT> Rects() const {
        std::map<int, RECT> rects;
        for (int id : kControls) rects[id] = ClientRect(hwnd_, GetDlgItem(hwnd_, id));
        return rects;
    }
    SIZE Client() const {
        RECT r{};
        GetClientRect(hwnd_, &r);
        return {r.right, r.bottom};
    }
    void Resize(int dw, int dh) {
        RECT w{};
        GetWindowRect(hwnd_, &w);
        SetWindowPos(hwnd_, nullptr, 0, 0, w.right - w.left + dw, w.bottom - w.top + dh,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
    }
    std::size_t BarOf(split_geometry::Kind kind) const {
        for (std::size_t i = 0; i < dialog_->layout.BarCount(); ++i) {
            if (dialog_->layout.BarKind(i) == kind) return i;
        }
        return dialog_->layout.BarCount();
    }
    // Presses on the bar at (2, 2), moves through the given points (bar
    // client coordinates at press time) and releases.
    void Drag(HWND bar, std::initializer_list<POINT> moves) {
        SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        POINT origin{0, 0};
        MapWindowPoints(bar, nullptr, &origin, 1);
        for (const POINT& p : moves) {
            // Points are relative to where the bar was pressed: the bar moves
            // under the pointer, so convert through the screen.
            POINT screen{origin.x + p.x, origin.y + p.y};
            ScreenToClient(bar, &screen);
            SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON,
                         MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
        }
        SendMessageW(bar, WM_LBUTTONUP, 0, 0);
        Pump();
    }

    controls_testing::HostWindow host_{0, 0, 50, 50};
    HINSTANCE previous_ = nullptr;
    std::unique_ptr<SplitTestDialog> dialog_;
    HWND hwnd_ = nullptr;
};

TEST_F(AnchoredDialogTest, ControlsFollowTheirAnchorsWhenResized) {
    const std::map<int, RECT> before = Rects();
    const SIZE c0 = Client();
    Resize(120, 90);
    const SIZE c1 = Client();
    ASSERT_EQ(c1.cx, c0.cx + 120);
    const std::map<int, RECT> after = Rects();
    for (int id : kControls) {
        const auto& [tl, br] = kAnchors.at(id);
        const anchor_layout::Anchoring a = anchor_layout::Anchored(Box(before.at(id)), tl, br, c0.cx, c0.cy);
        EXPECT_EQ(Box(after.at(id)), anchor_layout::Place(a, c1.cx, c1.cy)) << id;
    }
    // The bars stay in the gaps.
    const RECT vertical = ClientRect(hwnd_, dialog_->layout.BarWindow(BarOf(split_geometry::kVerticalBar)));
    EXPECT_EQ(vertical.left + 1, (after.at(IDC_LEFT_FRAME).right + after.at(IDC_RIGHT_TOP).left) / 2);
    EXPECT_EQ(vertical.top, after.at(IDC_LEFT_FRAME).top);
    EXPECT_EQ(vertical.bottom, after.at(IDC_RIGHT_BOTTOM).bottom);
}

TEST_F(AnchoredDialogTest, MinimumTrackSizeAndGrip) {
    RECT window{};
    GetWindowRect(hwnd_, &window);
    MINMAXINFO info{};
    SendMessageW(hwnd_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, window.right - window.left);
    EXPECT_EQ(info.ptMinTrackSize.y, window.bottom - window.top);

    for (int grow : {0, 60}) {
        Resize(grow, grow);
        const SIZE c = Client();
        const RECT grip = dialog_->GripRect();
        EXPECT_EQ(grip.right, c.cx);
        EXPECT_EQ(grip.bottom, c.cy);
        EXPECT_EQ(grip.right - grip.left, GetSystemMetrics(SM_CXVSCROLL));
        POINT inside{grip.left + 3, grip.top + 3};
        POINT outside{grip.left - 3, grip.top - 3};
        ClientToScreen(hwnd_, &inside);
        ClientToScreen(hwnd_, &outside);
        EXPECT_EQ(SendMessageW(hwnd_, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTBOTTOMRIGHT);
        EXPECT_EQ(SendMessageW(hwnd_, WM_NCHITTEST, 0, MAKELPARAM(outside.x, outside.y)), HTCLIENT);

        controls_testing::Snapshot shot(hwnd_);
        int drawn = 0;
        for (int y = grip.top; y < grip.bottom; ++y) {
            for (int x = grip.left; x < grip.right; ++x) {
                drawn += shot.At(x, y) == GetSysColor(COLOR_BTNSHADOW);
            }
        }
        EXPECT_GT(drawn, 4);
        EXPECT_EQ(shot.At(grip.left - 2, grip.top - 2), GetSysColor(COLOR_BTNFACE));
    }
}

TEST_F(AnchoredDialogTest, BarsMoveTheFacingEdgesWithThePointer) {
    const struct {
        split_geometry::Kind kind;
        int dx;
        int dy;
        // Edges moved: per control, (left, top, right, bottom) multipliers of dx, dy.
        std::map<int, std::array<int, 4>> edges;
    } cases[] = {
        {split_geometry::kVerticalBar,
         25,
         9,
         {{IDC_LEFT_FRAME, {0, 0, 1, 0}},
          {IDC_RIGHT_TOP, {1, 0, 0, 0}},
          {IDC_RIGHT_MIDDLE, {1, 0, 0, 0}},
          {IDC_RIGHT_BOTTOM, {1, 0, 0, 0}}}},
        {split_geometry::kVerticalBar,
         -25,
         0,
         {{IDC_LEFT_FRAME, {0, 0, 1, 0}},
          {IDC_RIGHT_TOP, {1, 0, 0, 0}},
          {IDC_RIGHT_MIDDLE, {1, 0, 0, 0}},
          {IDC_RIGHT_BOTTOM, {1, 0, 0, 0}}}},
        {split_geometry::kHorizontalBar, 7, 12, {{IDC_RIGHT_TOP, {0, 0, 0, 1}}, {IDC_RIGHT_MIDDLE, {0, 1, 0, 0}}}},
        {split_geometry::kHorizontalBar, 0, -12, {{IDC_RIGHT_TOP, {0, 0, 0, 1}}, {IDC_RIGHT_MIDDLE, {0, 1, 0, 0}}}},
        {split_geometry::kJunction,
         20,
         10,
         {{IDC_LEFT_FRAME, {0, 0, 1, 0}},
          {IDC_RIGHT_TOP, {1, 0, 0, 1}},
          {IDC_RIGHT_MIDDLE, {1, 1, 0, 0}},
          {IDC_RIGHT_BOTTOM, {1, 0, 0, 0}}}},
        {split_geometry::kJunction,
         -20,
         -10,
         {{IDC_LEFT_FRAME, {0, 0, 1, 0}},
          {IDC_RIGHT_TOP, {1, 0, 0, 1}},
          {IDC_RIGHT_MIDDLE, {1, 1, 0, 0}},
          {IDC_RIGHT_BOTTOM, {1, 0, 0, 0}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.kind << " by " << c.dx << "," << c.dy);
        Open();
        const std::size_t index = BarOf(c.kind);
        ASSERT_LT(index, dialog_->layout.BarCount());
        HWND bar = dialog_->layout.BarWindow(index);
        const RECT barBefore = ClientRect(hwnd_, bar);
        const std::map<int, RECT> before = Rects();
        dialog_->moved.clear();
        // Half way first: the bar follows the pointer, not the sum of the steps.
        Drag(bar, {POINT{2 + c.dx / 2, 2 + c.dy / 2}, POINT{2 + c.dx, 2 + c.dy}});
        const int mx = c.kind == split_geometry::kHorizontalBar ? 0 : c.dx;
        const int my = c.kind == split_geometry::kVerticalBar ? 0 : c.dy;
        const std::map<int, RECT> after = Rects();
        std::vector<HWND> expectedMoved;
        for (int id : kControls) {
            RECT want = before.at(id);
            if (auto it = c.edges.find(id); it != c.edges.end()) {
                want.left += it->second[0] * mx;
                want.top += it->second[1] * my;
                want.right += it->second[2] * mx;
                want.bottom += it->second[3] * my;
                expectedMoved.push_back(GetDlgItem(hwnd_, id));
            }
            EXPECT_TRUE(EqualRect(&want, &after.at(id))) << id;
        }
        const RECT barAfter = ClientRect(hwnd_, bar);
        EXPECT_EQ(barAfter.left, barBefore.left + mx);
        EXPECT_EQ(barAfter.top, barBefore.top + my);
        // One announcement per moved control and step.
        std::vector<HWND> moved = dialog_->moved;
        std::sort(moved.begin(), moved.end());
        std::vector<HWND> twice;
        for (HWND h : expectedMoved) twice.insert(twice.end(), {h, h});
        std::sort(twice.begin(), twice.end());
        EXPECT_EQ(moved, twice);
    }
}

TEST_F(AnchoredDialogTest, MovesThatWouldEmptyAControlOrLeaveTheClientAreRefused) {
    const std::map<int, RECT> before = Rects();
    const SIZE c = Client();
    const struct {
        split_geometry::Kind kind;
        int dx;
        int dy;
    } cases[] = {
        {split_geometry::kVerticalBar, c.cx, 0},   {split_geometry::kVerticalBar, -c.cx, 0},
        {split_geometry::kHorizontalBar, 0, c.cy}, {split_geometry::kHorizontalBar, 0, -c.cy},
        {split_geometry::kJunction, -c.cx, -c.cy},
    };
    for (const auto& k : cases) {
        HWND bar = dialog_->layout.BarWindow(BarOf(k.kind));
        const RECT barBefore = ClientRect(hwnd_, bar);
        Drag(bar, {POINT{2 + k.dx, 2 + k.dy}});
        const RECT barAfter = ClientRect(hwnd_, bar);
        EXPECT_TRUE(EqualRect(&barBefore, &barAfter)) << k.kind;
    }
    const std::map<int, RECT> after = Rects();
    for (int id : kControls) EXPECT_TRUE(EqualRect(&before.at(id), &after.at(id))) << id;
    EXPECT_TRUE(dialog_->moved.empty());
}

TEST_F(AnchoredDialogTest, ResizingAfterADragKeepsTheNewSplit) {
    Drag(dialog_->layout.BarWindow(BarOf(split_geometry::kVerticalBar)), {POINT{27, 2}});
    const std::map<int, RECT> dragged = Rects();
    const SIZE c0 = Client();
    Resize(100, 0);
    const SIZE c1 = Client();
    const std::map<int, RECT> after = Rects();
    const int shift = c1.cx * 50 / 100 - c0.cx * 50 / 100;
    EXPECT_EQ(after.at(IDC_LEFT_FRAME).right, dragged.at(IDC_LEFT_FRAME).right + shift);
    EXPECT_EQ(after.at(IDC_RIGHT_TOP).left, dragged.at(IDC_RIGHT_TOP).left + shift);
    EXPECT_EQ(after.at(IDC_RIGHT_TOP).right, dragged.at(IDC_RIGHT_TOP).right + 100);
}

TEST_F(AnchoredDialogTest, ParentMovesDriveTheJunctionFromThePreviousPoint) {
    const std::map<int, RECT> before = Rects();
    dialog_->layout.OnParentMoved(300, 300);  // only records the point
    EXPECT_TRUE(dialog_->moved.empty());
    dialog_->layout.OnParentMoved(310, 305);
    dialog_->layout.OnParentMoved(318, 303);
    Pump();
    const std::map<int, RECT> after = Rects();
    EXPECT_EQ(after.at(IDC_LEFT_FRAME).right, before.at(IDC_LEFT_FRAME).right + 18);
    EXPECT_EQ(after.at(IDC_RIGHT_BOTTOM).left, before.at(IDC_RIGHT_BOTTOM).left + 18);
    EXPECT_EQ(after.at(IDC_RIGHT_TOP).bottom, before.at(IDC_RIGHT_TOP).bottom + 3);
    EXPECT_EQ(after.at(IDC_RIGHT_MIDDLE).top, before.at(IDC_RIGHT_MIDDLE).top + 3);
    EXPECT_EQ(after.at(IDC_RIGHT_BOTTOM).top, before.at(IDC_RIGHT_BOTTOM).top);
}

TEST_F(AnchoredDialogTest, MalformedGroupListsMakeNoBars) {
    CSplitLayout layout;
    layout.Attach(hwnd_);
    const int tooShort[] = {3, IDC_LEFT_FRAME, IDC_LEFT_LIST};
    const int negative[] = {-1, IDC_LEFT_FRAME};
    EXPECT_FALSE(layout.Init(tooShort));
    EXPECT_FALSE(layout.Init(negative));
    EXPECT_EQ(layout.BarCount(), 0u);
    const int twoGroups[] = {1, IDC_LEFT_FRAME, 1, IDC_RIGHT_TOP};
    EXPECT_TRUE(layout.Init(twoGroups));
    EXPECT_EQ(layout.BarCount(), 1u);
}

TEST_F(AnchoredDialogTest, ColourButtonRoundTripsThroughDataExchange) {
    EXPECT_EQ(dialog_->button.GetColor(), RGB(0, 0, 255));
    dialog_->button.SetColor(kAutomaticColor);
    EXPECT_TRUE(dialog_->Save());
    EXPECT_EQ(dialog_->colour, kAutomaticColor);
}

}  // namespace
