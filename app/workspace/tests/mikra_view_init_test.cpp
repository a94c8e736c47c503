// The view's initial update against a recording frame and camera doubles:
// the loading of the last session's pictures and files behind the loading
// dialog's thread, and device discovery per loaded camera family.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "fake_camera.h"
#include "language_library.h"
#include "loading_dialog_user.h"
#include "mikra_view.h"
#include "picture_files.h"
#include "recording_view_frame.h"
#include "resource.h"

namespace {

using namespace std::chrono_literals;

class ViewInitTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CWindow::RegisterWindowClass(L"VizcamViewTestParent", 0, nullptr));
        parent_.CreateEx(0, L"VizcamViewTestParent", L"", WS_POPUP | WS_VISIBLE, RECT{0, 0, 400, 300}, nullptr, 0);
        ASSERT_NE(parent_.GetSafeHwnd(), nullptr);
    }

    // Builds the view over the recording frame; loaded tells which families load.
    void Build(std::function<bool(CameraFamily)> loaded) {
        auto factory = [this](CameraFamily kind, int index, HWND) -> std::unique_ptr<CCameraDevice> {
            auto camera = std::make_unique<FakeCamera>();
            camera->kind = kind;
            made_.push_back({kind, index});
            if (kind == CameraFamily::directShow) {
                camera->devices = {{L"Capture A", 0}, {L"Capture B", 1}};
            } else {
                camera->devices = {{L"Family camera", 1}};
            }
            return camera;
        };
        view_ = std::make_unique<CMikraView>(factory, std::move(loaded));
        view_->SetViewFrame(&frame_);
        ASSERT_TRUE(view_->Create(parent_.GetSafeHwnd(), 1, nullptr));
        view_->OnInitialUpdate();
    }

    LanguageLibrary english_{0};
    CWindow parent_;
    RecordingViewFrame frame_;
    std::vector<std::pair<CameraFamily, int>> made_;
    std::unique_ptr<CMikraView> view_;
    PictureFiles files_{L"vizcam_view_init"};
};

TEST_F(ViewInitTest, EmptyFoldersStartNoLoadingAndGiveTheCameraItsFolders) {
    // A loading thread would wait for a choice nobody makes.
    Build([](CameraFamily kind) { return kind == CameraFamily::directShow; });
    EXPECT_EQ(FindLoadingDialog(), nullptr);
    EXPECT_TRUE(view_->GetControllers().empty());
    auto* camera = dynamic_cast<FakeCamera*>(view_->GetCamera());
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->shotFolder, L"C:\\pictures\\");
    EXPECT_EQ(camera->videoFolder, L"C:\\videos\\");
    EXPECT_EQ(camera->paramFileIndexSet, -1);
    EXPECT_EQ(view_->GetTotalSize().cx, 100);
}

TEST_F(ViewInitTest, CancellingKeepsWhatWasOpened) {
    const std::wstring a = files_.Bmp(L"a.bmp", 4, 4, 0xFF0000);
    const std::wstring b = files_.Bmp(L"b.bmp", 4, 4, 0x00FF00);
    frame_.browserPictures = {a, b};
    frame_.exportFiles = {L"C:\\f\\1.xls", L"C:\\f\\2.xls", L"C:\\f\\3.xls"};
    LoadingDialogUser user(IDOK);
    // Cancel while the first file is added: the loop stops before the next.
    frame_.onExportFileAdded = [&] {
        if (frame_.addedFiles.size() == 1) {
            SendMessageW(user.Dialog(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    };
    Build([](CameraFamily kind) { return kind == CameraFamily::directShow; });
    ASSERT_NE(user.Dialog(), nullptr);
    // Opened from the last path to the first.
    ASSERT_EQ(view_->GetControllers().size(), 2u);
    EXPECT_EQ(view_->GetControllers()[0]->GetPicturePath(), b);
    EXPECT_EQ(view_->GetControllers()[1]->GetPicturePath(), a);
    ASSERT_EQ(frame_.browserEntries.size(), 2u);
    EXPECT_EQ(frame_.browserEntries[0].path, a);
    EXPECT_EQ(view_->GetControllers()[1]->GetSequenceNumber(), 1);
    EXPECT_EQ(frame_.addedFiles, std::vector<std::wstring>{L"C:\\f\\3.xls"});
}

TEST_F(ViewInitTest, CancelBeforeLoadingOpensNothing) {
    frame_.browserPictures = {files_.Bmp(L"a.bmp", 4, 4, 0xFF0000)};
    LoadingDialogUser user(IDCANCEL);
    Build([](CameraFamily kind) { return kind == CameraFamily::directShow; });
    ASSERT_NE(user.Dialog(), nullptr);
    EXPECT_TRUE(view_->GetControllers().empty());
}

TEST_F(ViewInitTest, ALoneDirectShowFamilyListsOnlyItsDevices) {
    Build([](CameraFamily kind) { return kind == CameraFamily::directShow; });
    ASSERT_EQ(frame_.devices.size(), 2u);
    for (const auto& device : frame_.devices) {
        EXPECT_EQ(device.kind, CameraFamily::directShow);
    }
    EXPECT_EQ(frame_.devices[1].name, L"Capture B");
    // Only DirectShow cameras were made: one to enumerate, one kept.
    for (const auto& [kind, index] : made_) {
        EXPECT_EQ(kind, CameraFamily::directShow);
    }
    auto* camera = dynamic_cast<FakeCamera*>(view_->GetCamera());
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->GetCameraKind(), 1);
    EXPECT_EQ(camera->selectedDevice, 0);
}

TEST_F(ViewInitTest, EachLoadedFamilyIsListedUnderItsKind) {
    Build([](CameraFamily kind) { return kind == CameraFamily::directShow || kind == CameraFamily::gigE; });
    ASSERT_EQ(frame_.devices.size(), 3u);
    EXPECT_EQ(frame_.devices[2].kind, CameraFamily::gigE);
    for (const auto& [kind, index] : made_) {
        EXPECT_TRUE(kind == CameraFamily::directShow || kind == CameraFamily::gigE);
    }
}

TEST_F(ViewInitTest, NoCameraFromTheFactoryMeansNoVideo) {
    view_ = std::make_unique<CMikraView>([](CameraFamily, int, HWND) { return nullptr; },
                                         [](CameraFamily) { return true; });
    view_->SetViewFrame(&frame_);
    ASSERT_TRUE(view_->Create(parent_.GetSafeHwnd(), 1, nullptr));
    view_->OnInitialUpdate();
    EXPECT_EQ(view_->GetCamera(), nullptr);
    EXPECT_TRUE(frame_.devices.empty());
    view_->OpenVideo();
    view_->TakeSnapshot();
    EXPECT_FALSE(view_->IsVideoActive());
    EXPECT_EQ(view_->GetTargetController(), view_->GetCurrentController());
}

TEST_F(ViewInitTest, PrintingIsOnePage) {
    Build([](CameraFamily) { return false; });
    CPrintInfo info;
    view_->OnBeginPrinting(nullptr, info);
    EXPECT_EQ(info.maxPage, 1);
}

}  // namespace
