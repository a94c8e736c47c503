// The real main frame and view: the undo and redo lists are created hidden,
// follow the current picture's history, and choosing a line jumps to its
// step.
#include <gtest/gtest.h>

#include <windows.h>

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

}  // namespace
