// The real main frame and view with a camera double: a saved snapshot goes
// once to a pending Word or Excel export and is otherwise opened; a snapshot
// that was not saved ends the pending export; a path no camera of ours
// lends is not read; a snapshot on live video takes the live measurements.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fake_camera.h"
#include "handed_over_text.h"
#include "language_library.h"
#include "lent_payload.h"
#include "line_figures.h"
#include "main_frame.h"
#include "mikra_app.h"
#include "mikra_doc.h"
#include "mikra_view.h"
#include "picture_files.h"
#include "private_messages.h"
#include "frame_with_camera_double.h"
#include "resource.h"

namespace {

// Records WM_SNAPSHOT_OPEN on its way to the view: the lParam of each.
std::vector<LPARAM> g_snapshotOpens;
WNDPROC g_viewProc = nullptr;

LRESULT CALLBACK RecordingViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SNAPSHOT_OPEN) {
        g_snapshotOpens.push_back(lParam);
    }
    return CallWindowProcW(g_viewProc, window, message, wParam, lParam);
}

class MikraSnapshotTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(chinese_.Loaded());
        std::filesystem::create_directories(files_.Folder() / L"shots");
        ASSERT_TRUE(LoadFrameWithCameraDouble(frame_, document_));
        ShowWithoutActivating(frame_);
        view_ = dynamic_cast<CMikraView*>(frame_.GetActiveView());
        ASSERT_NE(view_, nullptr);
        view_->OnInitialUpdate();
        camera_ = dynamic_cast<FakeCamera*>(view_->GetCamera());
        ASSERT_NE(camera_, nullptr);
        camera_->shotFolder = (files_.Folder() / L"shots").wstring() + L"\\";
        camera_->announceTo = frame_.GetSafeHwnd();
        camera_->openAfterSave = 1;
        g_snapshotOpens.clear();
        g_viewProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(view_->GetSafeHwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingViewProc)));
    }
    void TearDown() override {
        if (view_ && g_viewProc) {
            SetWindowLongPtrW(view_->GetSafeHwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_viewProc));
        }
        frame_.DestroyWindow();
    }

    // Takes a snapshot through the double and returns the saved file's path.
    std::wstring Snap() {
        camera_->SaveSnapshot();
        return camera_->shotFolder + camera_->savedNames.back() + L".bmp";
    }
    std::size_t StillsFinished() const {
        return static_cast<std::size_t>(std::count(camera_->calls.begin(), camera_->calls.end(), "SetStillExposure"));
    }
    std::vector<std::wstring> OpenedPaths() const {
        std::vector<std::wstring> paths;
        for (const auto& controller : view_->GetControllers()) {
            paths.push_back(controller->GetPicturePath().wstring());
        }
        return paths;
    }
    // The colour (0x00RRGGBB) the view shows at (x, y) of its client area.
    std::uint32_t ViewPixel(int x, int y) const {
        const HWND view = view_->GetSafeHwnd();
        RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        HDC dc = GetDC(view);
        const COLORREF pixel = GetPixel(dc, x, y);
        ReleaseDC(view, dc);
        return (GetRValue(pixel) << 16) | (GetGValue(pixel) << 8) | GetBValue(pixel);
    }

    LanguageLibrary chinese_{1};
    CMikraApp app_;
    CMikraDoc document_;
    PictureFiles files_{L"vizcam_mikra_snapshots"};
    CMainFrame frame_;
    CMikraView* view_ = nullptr;
    FakeCamera* camera_ = nullptr;
};

TEST_F(MikraSnapshotTest, APendingExportTakesOneSnapshotAndTheNextOneOpens) {
    struct Case {
        const char* name;
        int CMainFrame::*flag;
        LPARAM target;
    };
    const Case cases[] = {{"Word", &CMainFrame::m_bSnapToWord, 0}, {"Excel", &CMainFrame::m_bSnapToExcel, 1}};
    for (const Case& c : cases) {
        g_snapshotOpens.clear();
        frame_.*c.flag = 1;
        const std::size_t opened = view_->GetControllers().size();
        const std::size_t stills = StillsFinished();

        const std::wstring exported = Snap();
        EXPECT_EQ(g_snapshotOpens, std::vector<LPARAM>{c.target}) << c.name;
        EXPECT_EQ(frame_.*c.flag, 0) << c.name;
        EXPECT_EQ(view_->GetControllers().size(), opened) << c.name;
        // The view deletes the snapshot it exported.
        EXPECT_FALSE(std::filesystem::exists(exported)) << c.name;
        EXPECT_EQ(StillsFinished(), stills + 1) << c.name;

        const std::wstring next = Snap();
        EXPECT_EQ(g_snapshotOpens.size(), 1u) << c.name;
        ASSERT_EQ(view_->GetControllers().size(), opened + 1) << c.name;
        EXPECT_EQ(OpenedPaths().back(), next) << c.name;
        EXPECT_TRUE(std::filesystem::exists(next)) << c.name;
        EXPECT_EQ(StillsFinished(), stills + 2) << c.name;
    }
}

TEST_F(MikraSnapshotTest, ASnapshotThatWasNotSavedEndsThePendingExport) {
    struct Case {
        const char* name;
        bool lendsMissingFile;
    };
    const Case cases[] = {{"no path", false}, {"missing file", true}};
    for (const Case& c : cases) {
        g_snapshotOpens.clear();
        frame_.m_bSnapToWord = 1;
        frame_.m_bSnapToExcel = 1;
        const std::size_t opened = view_->GetControllers().size();
        if (c.lendsMissingFile) {
            const std::wstring missing = camera_->shotFolder + L"never_saved.bmp";
            const CLentPayload lent(&missing);
            SendMessageW(frame_.GetSafeHwnd(), WM_SNAPSHOT_SAVED, lent.Get(), 0);
        } else {
            SendMessageW(frame_.GetSafeHwnd(), WM_SNAPSHOT_SAVED, 0, 0);
        }
        EXPECT_EQ(frame_.m_bSnapToWord, 0) << c.name;
        EXPECT_EQ(frame_.m_bSnapToExcel, 0) << c.name;
        EXPECT_TRUE(g_snapshotOpens.empty()) << c.name;
        EXPECT_EQ(view_->GetControllers().size(), opened) << c.name;

        // The user's next snapshot is opened, not exported and deleted.
        const std::wstring next = Snap();
        EXPECT_TRUE(g_snapshotOpens.empty()) << c.name;
        EXPECT_TRUE(std::filesystem::exists(next)) << c.name;
        ASSERT_EQ(view_->GetControllers().size(), opened + 1) << c.name;
        EXPECT_EQ(OpenedPaths().back(), next) << c.name;
    }
}

TEST_F(MikraSnapshotTest, APathNoCameraOfOursLendsIsNotRead) {
    frame_.m_bSnapToWord = 1;
    const std::wstring picture = files_.Bmp(L"outside.bmp", 8, 8, 0xFF0000);
    ASSERT_FALSE(picture.empty());
    // The same number with an address that is not lent, as another process
    // would send it.
    SendMessageW(frame_.GetSafeHwnd(), WM_SNAPSHOT_SAVED, reinterpret_cast<WPARAM>(&picture), 0);
    EXPECT_EQ(frame_.m_bSnapToWord, 1);
    EXPECT_TRUE(g_snapshotOpens.empty());
    EXPECT_TRUE(view_->GetControllers().empty());
    EXPECT_TRUE(std::filesystem::exists(picture));
    EXPECT_EQ(StillsFinished(), 0u);
}

TEST_F(MikraSnapshotTest, APostedPathIsTheSendersCopyAtPostingTime) {
    std::wstring grabberBuffer = Snap();
    ASSERT_EQ(view_->GetControllers().size(), 1u);
    const std::wstring posted = camera_->shotFolder + L"posted.bmp";
    std::filesystem::copy_file(grabberBuffer, posted);
    grabberBuffer = posted;
    ASSERT_TRUE(PostMessageW(frame_.GetSafeHwnd(), WM_SNAPSHOT_SAVED, HandOverText(grabberBuffer), 0));
    // The next still overwrites the grabber's buffer before the message is read.
    grabberBuffer = camera_->shotFolder + L"overwritten.bmp";
    MSG message{};
    while (PeekMessageW(&message, frame_.GetSafeHwnd(), WM_SNAPSHOT_SAVED, WM_SNAPSHOT_SAVED, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    ASSERT_EQ(view_->GetControllers().size(), 2u);
    EXPECT_EQ(OpenedPaths().back(), posted);
}

TEST_F(MikraSnapshotTest, ASnapshotOnLiveVideoTakesCopiesOfTheLiveMeasurements) {
    RECT client{};
    GetClientRect(view_->GetSafeHwnd(), &client);
    ASSERT_GT(client.right, 40);
    ASSERT_GT(client.bottom, 40);
    const std::wstring shot = files_.Bmp(L"live.bmp", client.right, client.bottom, 0x00FF00);
    ASSERT_FALSE(shot.empty());

    CLiveController& live = view_->GetLiveController();
    auto line = std::make_unique<CCLLine>();
    const float middle = static_cast<float>(client.bottom / 2);
    line->points = {PointF{0.0f, middle}, PointF{static_cast<float>(client.right), middle}};
    line->drawColour = 0x0000FF;  // red
    line->lineWidth = 5;
    line->labelMode = CCLObject::kLabelNothing;
    live.GetObjectList()->push_back(std::move(line));
    live.SetCounterStyle(0x00FF00, 6, 21, 14);

    view_->OpenSnapshot(shot, *live.GetObjectList(), *live.GetCounterStyles());
    ASSERT_EQ(view_->GetControllers().size(), 1u);
    CImageController& opened = *view_->GetControllers()[0];
    ASSERT_EQ(opened.GetObjectList()->size(), 1u);
    EXPECT_NE(opened.GetObjectList()->front().get(), live.GetObjectList()->front().get());
    EXPECT_EQ(opened.GetCounterStyle(14, 0x00FF00), (CounterNumbering{6, 21}));
    EXPECT_EQ(live.GetObjectList()->size(), 1u);

    frame_.GetBrowserBar().GetPictureBrowser().SelectPicture(0);
    ASSERT_EQ(view_->GetCurrentController(), &opened);
    EXPECT_EQ(ViewPixel(client.right / 4, client.bottom / 2), 0xFF0000u);
    EXPECT_EQ(ViewPixel(client.right / 4, client.bottom / 4), 0x00FF00u);
}

}  // namespace
