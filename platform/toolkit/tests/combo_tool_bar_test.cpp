// Windows that drop down under a toolbar button's arrow: shown under the
// button on TBN_DROPDOWN, nothing else read as a toolbar record, and a
// window that has gone is never shown.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <memory>
#include <tuple>

#include "combo_tool_bar.h"

namespace {

constexpr UINT kPlain = 10;
constexpr UINT kWithList = 11;
constexpr UINT kWithOther = 12;

// A parent that hands notifications back to the control that sent them, as
// the frame and the docking bars do.
class NotifyParent : public CWindow {
public:
    bool Create() {
        RegisterWindowClass(L"VizcamDropDownTestParent", 0, GetSysColorBrush(COLOR_BTNFACE));
        return CreateEx(0, L"VizcamDropDownTestParent", L"", WS_OVERLAPPEDWINDOW, RECT{0, 0, 400, 300}, nullptr, 0);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NOTIFY) {
            LRESULT result = 0;
            if (ReflectNotify(lParam, result)) {
                return result;
            }
        }
        return Default(message, wParam, lParam);
    }
};

class ComboToolBarDropDownTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent_.Create());
        SetWindowPos(parent_.GetSafeHwnd(), nullptr, 0, 0, 0, 0,
                     SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        ASSERT_TRUE(toolBar_.Create(parent_.GetSafeHwnd(), 100));
        TBBUTTON buttons[3]{};
        const UINT ids[] = {kPlain, kWithList, kWithOther};
        for (int i = 0; i < 3; ++i) {
            buttons[i].idCommand = static_cast<int>(ids[i]);
            buttons[i].iBitmap = i;
            buttons[i].fsState = TBSTATE_ENABLED;
            buttons[i].fsStyle = BTNS_BUTTON;
        }
        SendMessageW(toolBar_.GetSafeHwnd(), TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));
        MoveWindow(toolBar_.GetSafeHwnd(), 0, 0, 300, 30, TRUE);
        list_ = MakeList();
        other_ = MakeList();
        ASSERT_TRUE(toolBar_.SetButtonDropDown(kWithList, 5, list_));
        ASSERT_TRUE(toolBar_.SetButtonDropDown(kWithOther, 6, other_));
    }

    HWND MakeList() const {
        return CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_NOTIFY, 0, 0, 80, 60, parent_.GetSafeHwnd(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }
    RECT ButtonInParent(UINT id) const {
        RECT rect{};
        SendMessageW(toolBar_.GetSafeHwnd(), TB_GETRECT, id, reinterpret_cast<LPARAM>(&rect));
        MapWindowPoints(toolBar_.GetSafeHwnd(), parent_.GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    RECT InParent(HWND window) const {
        RECT rect{};
        GetWindowRect(window, &rect);
        MapWindowPoints(nullptr, parent_.GetSafeHwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    // A press at the right end of the button, where the arrow is.
    void PressArrow(UINT id) const {
        RECT rect{};
        SendMessageW(toolBar_.GetSafeHwnd(), TB_GETRECT, id, reinterpret_cast<LPARAM>(&rect));
        const LPARAM at = MAKELPARAM(rect.right - 3, (rect.top + rect.bottom) / 2);
        SendMessageW(toolBar_.GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(toolBar_.GetSafeHwnd(), WM_LBUTTONUP, 0, at);
    }
    // A notification from the toolbar whose record is a header followed by
    // bytes that, read as a toolbar record, would name the button with a list.
    LRESULT SendHeaderOnly(UINT code) const {
        struct HeaderAndMore {
            NMHDR header;
            int wouldBeItem;
        };
        auto record = std::make_unique<HeaderAndMore>();
        static_assert(offsetof(HeaderAndMore, wouldBeItem) == offsetof(NMTOOLBARW, iItem));
        record->header.hwndFrom = toolBar_.GetSafeHwnd();
        record->header.idFrom = 100;
        record->header.code = code;
        record->wouldBeItem = static_cast<int>(kWithList);
        return SendMessageW(parent_.GetSafeHwnd(), WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&record->header));
    }

    NotifyParent parent_;
    CComboToolBar toolBar_;
    HWND list_ = nullptr;
    HWND other_ = nullptr;
};

TEST_F(ComboToolBarDropDownTest, TheArrowShowsItsOwnWindowUnderTheButton) {
    for (auto [id, window, image] : {std::tuple{kWithList, list_, 5}, std::tuple{kWithOther, other_, 6}}) {
        ShowWindow(list_, SW_HIDE);
        ShowWindow(other_, SW_HIDE);
        PressArrow(id);
        EXPECT_TRUE(IsWindowVisible(window)) << id;
        EXPECT_FALSE(IsWindowVisible(window == list_ ? other_ : list_)) << id;
        const RECT button = ButtonInParent(id);
        EXPECT_EQ(InParent(window).left, button.left) << id;
        EXPECT_EQ(InParent(window).top, button.bottom) << id;
        TBBUTTONINFOW info{};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_STYLE | TBIF_IMAGE;
        SendMessageW(toolBar_.GetSafeHwnd(), TB_GETBUTTONINFOW, id, reinterpret_cast<LPARAM>(&info));
        EXPECT_TRUE(info.fsStyle & BTNS_DROPDOWN) << id;
        EXPECT_EQ(info.iImage, image) << id;
    }
    EXPECT_FALSE(toolBar_.DropDown(kPlain));
    EXPECT_FALSE(toolBar_.SetButtonDropDown(99, 0, list_));  // no such button
    EXPECT_FALSE(toolBar_.SetButtonDropDown(kPlain, 0, nullptr));
}

TEST_F(ComboToolBarDropDownTest, OtherNotificationsAreReadAsTheirHeaderAlone) {
    // Codes the toolbar sends with smaller or other records; none may show a
    // drop-down or be answered as one.
    for (UINT code : {static_cast<UINT>(NM_CLICK), static_cast<UINT>(NM_RELEASEDCAPTURE),
                      static_cast<UINT>(TBN_HOTITEMCHANGE), static_cast<UINT>(TBN_DELETINGBUTTON)}) {
        EXPECT_EQ(SendHeaderOnly(code), 0) << code;
        EXPECT_FALSE(IsWindowVisible(list_)) << code;
        EXPECT_FALSE(IsWindowVisible(other_)) << code;
    }
}

TEST_F(ComboToolBarDropDownTest, AWindowDestroyedFirstIsNeverShown) {
    DestroyWindow(list_);
    const HWND successor = MakeList();  // may take the freed handle's slot
    PressArrow(kWithList);
    EXPECT_FALSE(IsWindowVisible(successor));
    EXPECT_FALSE(toolBar_.DropDown(kWithList));
    DestroyWindow(successor);
    // The other drop-down still works.
    PressArrow(kWithOther);
    EXPECT_TRUE(IsWindowVisible(other_));
}

TEST_F(ComboToolBarDropDownTest, TheWindowClosesOnEscapeAndWhenTheFocusLeaves) {
    PressArrow(kWithList);
    ASSERT_TRUE(IsWindowVisible(list_));
    EXPECT_EQ(GetFocus(), list_);
    SendMessageW(list_, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindowVisible(list_));
    EXPECT_EQ(GetFocus(), parent_.GetSafeHwnd());

    PressArrow(kWithList);
    ASSERT_TRUE(IsWindowVisible(list_));
    SetFocus(toolBar_.GetSafeHwnd());
    EXPECT_FALSE(IsWindowVisible(list_));
}

}  // namespace
