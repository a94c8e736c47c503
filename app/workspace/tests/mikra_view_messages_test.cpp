// The view's private messages: payload addresses are read only while the
// program lends them, so the same numbers from another process open,
// calibrate and delete nothing; the resolution change refits the video zoom
// and a camera without a frame width keeps zoom 1.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "fake_camera.h"
#include "history_actions.h"
#include "language_library.h"
#include "lent_payload.h"
#include "mikra_view.h"
#include "picture_files.h"
#include "private_messages.h"
#include "recording_view_frame.h"
#include "view_with_camera_double.h"

namespace {

class ViewMessagesTest : public ViewWithCameraDouble {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(CreateView()); }
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) {
        return SendMessageW(view_->GetSafeHwnd(), message, wParam, lParam);
    }

    PictureFiles files_{L"vizcam_view_messages"};
};

TEST_F(ViewMessagesTest, AnExportSnapshotIsDeletedOnlyWhenWeLentItsPath) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / L"vizcam_export_snapshot.bmp";
    std::ofstream(file) << "BM";
    std::wstring path = file.wstring();
    // Another sender's address, even one that happens to name a file here.
    Send(WM_SNAPSHOT_OPEN, reinterpret_cast<WPARAM>(&path), 1);
    EXPECT_TRUE(std::filesystem::exists(file));
    {
        CLentPayload lent(&path);
        Send(WM_SNAPSHOT_OPEN, lent.Get(), 1);
    }
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ViewMessagesTest, AnOutsidePicturePathOpensNothing) {
    const std::wstring file = files_.Bmp(L"outside.bmp", 4, 4, 0xFF0000);
    const wchar_t* path = file.c_str();
    Send(WM_OPEN_PICTURE_PATH, 0, reinterpret_cast<LPARAM>(path));
    Send(WM_OPEN_PICTURE_PATH, 0, 0x1234);  // no address at all
    EXPECT_TRUE(view_->GetControllers().empty());
    {
        CLentPayload lent(path);
        Send(WM_OPEN_PICTURE_PATH, 0, static_cast<LPARAM>(lent.Get()));
    }
    ASSERT_EQ(view_->GetControllers().size(), 1u);
    EXPECT_EQ(view_->GetControllers()[0]->GetPicturePath(), file);
    EXPECT_EQ(frame_.browserSelections, (std::vector<int>{-1, 0}));
}

TEST_F(ViewMessagesTest, AScaleEntryCalibratesATargetWithAPictureOnly) {
    CScaleEntry entry{3, L"10x", L"2048", L"mm", 2.5f};
    {
        // The controller without window has no picture.
        CLentPayload lent(&entry);
        Send(WM_SCALE_SELECTED, 0, static_cast<LPARAM>(lent.Get()));
        EXPECT_FLOAT_EQ(view_->GetCurrentController()->scale, 1.0f);
    }
    const std::wstring file = files_.Bmp(L"a.bmp", 4, 4, 0xFF0000);
    view_->OpenPicture(file);
    view_->ShowPicture(file);
    CImageController& picture = *view_->GetCurrentController();
    Send(WM_SCALE_SELECTED, 0, reinterpret_cast<LPARAM>(&entry));
    EXPECT_FLOAT_EQ(picture.scale, 1.0f);
    {
        CLentPayload lent(&entry);
        // Video without live measuring: no target.
        view_->OpenVideo();
        Send(WM_SCALE_SELECTED, 0, static_cast<LPARAM>(lent.Get()));
        EXPECT_FLOAT_EQ(picture.scale, 1.0f);
        view_->CloseVideo();
        Send(WM_SCALE_SELECTED, 0, static_cast<LPARAM>(lent.Get()));
    }
    EXPECT_FLOAT_EQ(picture.scale, 2.5f);
    EXPECT_EQ(picture.unitText, u"mm");
}

TEST_F(ViewMessagesTest, AChangedHistoryRefillsTheFramesListsFromTheTarget) {
    const std::wstring file = files_.Bmp(L"steps.bmp", 4, 4, 0x00FF00);
    view_->OpenPicture(file);
    view_->ShowPicture(file);
    CImageController& picture = *view_->GetCurrentController();
    picture.PushHistory(kHistoryCreate);
    picture.PushHistory(kHistoryDelete);
    picture.Undo();
    ASSERT_EQ(frame_.undoLines.size(), 1u);
    EXPECT_EQ(frame_.undoLines[0].substr(0, 2), u"1 ");
    ASSERT_EQ(frame_.redoLines.size(), 1u);
    EXPECT_EQ(frame_.redoLines[0].substr(0, 2), u"2 ");
    // Video without live measuring has no target: nothing may be chosen.
    view_->OpenVideo();
    Send(WM_HISTORY_CHANGED, 0, 0);
    EXPECT_TRUE(frame_.undoLines.empty());
    EXPECT_TRUE(frame_.redoLines.empty());
    view_->CloseVideo();
    Send(WM_HISTORY_CHANGED, 0, 0);
    EXPECT_EQ(frame_.undoLines.size(), 1u);
    EXPECT_EQ(frame_.redoLines.size(), 1u);
}

TEST_F(ViewMessagesTest, AResolutionChangeRefitsTheVideoZoom) {
    frame_.resolutionSelection = 2;
    Send(WM_RESOLUTION_CHANGED, 0, 0);
    EXPECT_EQ(camera_->resolutionIndex, -1) << "changed without video";
    view_->OpenVideo();
    camera_->videoSize = {640, 480};
    camera_->videoWindowSize = {1280, 960};
    Send(WM_RESOLUTION_CHANGED, 0, 0);
    EXPECT_EQ(camera_->resolutionIndex, 2);
    EXPECT_FLOAT_EQ(view_->GetVideoZoom(), 2.0f);
    EXPECT_EQ(view_->GetTotalSize().cx, 0);
    // A camera without a frame width yet: zoom 1, nothing divided by zero.
    camera_->videoSize = {0, 0};
    Send(WM_RESOLUTION_CHANGED, 0, 0);
    EXPECT_FLOAT_EQ(view_->GetVideoZoom(), 1.0f);
}

TEST_F(ViewMessagesTest, TheParameterFileIndexGoesToTheCamera) {
    Send(WM_PARAMFILE_SELECTED, 0, 3);
    EXPECT_EQ(camera_->paramFileIndexSet, 3);
}

}  // namespace
