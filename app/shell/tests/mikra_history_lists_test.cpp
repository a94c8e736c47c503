// The real main frame and view: the undo and redo lists are created hidden,
// follow the current picture's history, and choosing a line jumps to its
// step.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "fake_camera.h"
#include "history_actions.h"
#include "language_library.h"
#include "main_frame.h"
#include "mikra_app.h"
#include "mikra_doc.h"
#include "mikra_view.h"
#include "picture_files.h"
#include "frame_with_camera_double.h"
#include "resource.h"

namespace {

class MikraHistoryListsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(chinese_.Loaded());
        ASSERT_TRUE(LoadFrameWithCameraDouble(frame_, document_));
        ShowWithoutActivating(frame_);
        view_ = dynamic_cast<CMikraView*>(frame_.GetActiveView());
        ASSERT_NE(view_, nullptr);
        view_->OnInitialUpdate();
        undoList_ = GetDlgItem(frame_.GetSafeHwnd(), IDC_UNDO_LIST);
        redoList_ = GetDlgItem(frame_.GetSafeHwnd(), IDC_REDO_LIST);
        ASSERT_NE(undoList_, nullptr);
        ASSERT_NE(redoList_, nullptr);
    }
    void TearDown() override { frame_.DestroyWindow(); }

    static std::vector<std::wstring> Lines(HWND list) {
        std::vector<std::wstring> lines;
        const auto n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
            SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            lines.push_back(text);
        }
        return lines;
    }
    // As the list box reports a chosen line to its parent.
    void Choose(HWND list, int id, int line) {
        SendMessageW(list, LB_SETCURSEL, line, 0);
        SendMessageW(frame_.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    }
    CImageController& OpenPictureWithThreeSteps() {
        const std::wstring path = files_.Bmp(L"history.bmp", 40, 30, 0x336699);
        view_->OpenPicture(path);
        view_->ShowPicture(path);
        CImageController& controller = *view_->GetCurrentController();
        controller.PushHistory(kHistoryCreate);
        controller.PushHistory(kHistoryCreate);
        controller.PushHistory(kHistoryModify);
        return controller;
    }

    LanguageLibrary chinese_{1};
    CMikraApp app_;
    CMikraDoc document_;
    CMainFrame frame_;
    CMikraView* view_ = nullptr;
    HWND undoList_ = nullptr;
    HWND redoList_ = nullptr;
    PictureFiles files_{L"vizcam_history_lists"};
};

TEST_F(MikraHistoryListsTest, TheListsFollowTheHistoryAndAChosenLineJumpsToItsStep) {
    EXPECT_FALSE(IsWindowVisible(undoList_));
    EXPECT_FALSE(IsWindowVisible(redoList_));
    CImageController& controller = OpenPictureWithThreeSteps();
    EXPECT_EQ(Lines(undoList_), (std::vector<std::wstring>{L"3 修改", L"2 创建", L"1 创建"}));
    EXPECT_TRUE(Lines(redoList_).empty());

    // The second line restores the state before its step: two steps undone.
    Choose(undoList_, IDC_UNDO_LIST, 1);
    EXPECT_EQ(controller.GetHistoryStore().Current(), 1);
    EXPECT_EQ(Lines(undoList_), (std::vector<std::wstring>{L"1 创建"}));
    EXPECT_EQ(Lines(redoList_), (std::vector<std::wstring>{L"2 创建", L"3 修改"}));

    // A redo line restores the state after its step.
    Choose(redoList_, IDC_REDO_LIST, 0);
    EXPECT_EQ(controller.GetHistoryStore().Current(), 2);
    EXPECT_EQ(Lines(redoList_), (std::vector<std::wstring>{L"3 修改"}));
}

// The undo and redo buttons carry arrows; a press on an arrow drops its list
// down under the button, as the toolbar reports it (TBN_DROPDOWN).
class MikraHistoryDropDownTest : public MikraHistoryListsTest {
protected:
    void SetUp() override {
        MikraHistoryListsTest::SetUp();
        toolBar_ = GetDlgItem(frame_.GetSafeHwnd(), IDR_TOOLBAR_MAIN);
        ASSERT_NE(toolBar_, nullptr);
    }
    RECT ButtonOnScreen(UINT id) const {
        RECT rect{};
        SendMessageW(toolBar_, TB_GETRECT, id, reinterpret_cast<LPARAM>(&rect));
        MapWindowPoints(toolBar_, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    static void Click(HWND window, POINT client) {
        const LPARAM at = MAKELPARAM(client.x, client.y);
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(window, WM_LBUTTONUP, 0, at);
    }
    // A click on the arrow at the right end of the button.
    void ClickArrow(UINT id) const {
        RECT rect{};
        SendMessageW(toolBar_, TB_GETRECT, id, reinterpret_cast<LPARAM>(&rect));
        Click(toolBar_, POINT{rect.right - 3, (rect.top + rect.bottom) / 2});
    }
    static RECT OnScreen(HWND window) {
        RECT rect{};
        GetWindowRect(window, &rect);
        return rect;
    }
    HWND toolBar_ = nullptr;
};

TEST_F(MikraHistoryDropDownTest, TheButtonsCarryArrowsWithTheirPictures) {
    EXPECT_TRUE(SendMessageW(toolBar_, TB_GETEXTENDEDSTYLE, 0, 0) & TBSTYLE_EX_DRAWDDARROWS);
    for (auto [id, image] : {std::pair{ID_EDIT_UNDO_STEP, 3}, std::pair{ID_EDIT_REDO_STEP, 4}}) {
        TBBUTTONINFOW info{};
        info.cbSize = sizeof(info);
        info.dwMask = TBIF_STYLE | TBIF_IMAGE;
        ASSERT_GE(SendMessageW(toolBar_, TB_GETBUTTONINFOW, id, reinterpret_cast<LPARAM>(&info)), 0);
        EXPECT_TRUE(info.fsStyle & BTNS_DROPDOWN) << id;
        EXPECT_EQ(info.iImage, image) << id;
    }
    // The other buttons keep their plain style.
    TBBUTTONINFOW open{};
    open.cbSize = sizeof(open);
    open.dwMask = TBIF_STYLE;
    SendMessageW(toolBar_, TB_GETBUTTONINFOW, ID_FILE_OPEN, reinterpret_cast<LPARAM>(&open));
    EXPECT_FALSE(open.fsStyle & BTNS_DROPDOWN);
}

TEST_F(MikraHistoryDropDownTest, AnArrowDropsItsListUnderTheButtonAndAChosenLineClosesIt) {
    CImageController& controller = OpenPictureWithThreeSteps();
    ClickArrow(ID_EDIT_UNDO_STEP);
    ASSERT_TRUE(IsWindowVisible(undoList_));
    EXPECT_FALSE(IsWindowVisible(redoList_));
    const RECT button = ButtonOnScreen(ID_EDIT_UNDO_STEP);
    const RECT list = OnScreen(undoList_);
    EXPECT_EQ(list.left, button.left);
    EXPECT_EQ(list.top, button.bottom);
    EXPECT_EQ(GetFocus(), undoList_);
    EXPECT_EQ(controller.GetHistoryStore().Current(), 3);  // the arrow runs no undo

    // A click on the second line goes back two steps and closes the list.
    RECT line{};
    SendMessageW(undoList_, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&line));
    Click(undoList_, POINT{line.left + 4, (line.top + line.bottom) / 2});
    EXPECT_EQ(controller.GetHistoryStore().Current(), 1);
    EXPECT_FALSE(IsWindowVisible(undoList_));

    // Escape closes the redo list, and so does the focus moving elsewhere.
    ClickArrow(ID_EDIT_REDO_STEP);
    ASSERT_TRUE(IsWindowVisible(redoList_));
    EXPECT_EQ(OnScreen(redoList_).left, ButtonOnScreen(ID_EDIT_REDO_STEP).left);
    SendMessageW(redoList_, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindowVisible(redoList_));
    ClickArrow(ID_EDIT_REDO_STEP);
    ASSERT_TRUE(IsWindowVisible(redoList_));
    SetFocus(view_->GetSafeHwnd());
    EXPECT_FALSE(IsWindowVisible(redoList_));
    EXPECT_EQ(controller.GetHistoryStore().Current(), 1);
}

TEST_F(MikraHistoryDropDownTest, ClosingTheFrameWithAListDroppedDownLeavesTheFrameWhole) {
    OpenPictureWithThreeSteps();
    frame_.AddDevice(CameraFamily::gigE, 2, L"GigE");
    frame_.AddDevice(CameraFamily::directShow, 0, L"Capture");
    ClickArrow(ID_EDIT_UNDO_STEP);
    ASSERT_TRUE(IsWindowVisible(undoList_));
    ASSERT_EQ(GetFocus(), undoList_);

    frame_.DestroyWindow();
    EXPECT_FALSE(IsWindow(undoList_));
    EXPECT_FALSE(IsWindow(redoList_));
    const auto first = frame_.SelectFirstDevice();
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->kind, CameraFamily::directShow);
    EXPECT_EQ(first->number, 0);
}

// The frame object may go before its window (a start-up that fails after the
// window exists): its parts end with the window and nothing they leave
// behind is shown or called.
TEST(MikraFrameDestructionTest, TheObjectGoingFirstWithAListDroppedDownEndsCleanly) {
    LanguageLibrary chinese{1};
    ASSERT_TRUE(chinese.Loaded());
    CMikraApp app;
    CMikraDoc document;
    auto frame = std::make_unique<CMainFrame>();
    ASSERT_TRUE(LoadFrameWithCameraDouble(*frame, document));
    ShowWithoutActivating(*frame);
    HWND window = frame->GetSafeHwnd();
    HWND toolBar = GetDlgItem(window, IDR_TOOLBAR_MAIN);
    HWND list = GetDlgItem(window, IDC_UNDO_LIST);
    RECT button{};
    SendMessageW(toolBar, TB_GETRECT, ID_EDIT_UNDO_STEP, reinterpret_cast<LPARAM>(&button));
    const LPARAM arrow = MAKELPARAM(button.right - 3, (button.top + button.bottom) / 2);
    SendMessageW(toolBar, WM_LBUTTONDOWN, MK_LBUTTON, arrow);
    SendMessageW(toolBar, WM_LBUTTONUP, 0, arrow);
    ASSERT_TRUE(IsWindowVisible(list));

    frame.reset();
    EXPECT_FALSE(IsWindow(list));
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
