#pragma once
// A view in a plain parent window over a recording frame, its cameras made by
// the camera double: only the DirectShow family is loaded and it lists one
// device, "Capture". The English language library is the resource module.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "fake_camera.h"
#include "language_library.h"
#include "mikra_view.h"
#include "recording_view_frame.h"

class ViewWithCameraDouble : public testing::Test {
protected:
    // Creates the view (a CMikraView or a test's own kind of it), runs its
    // initial update and takes its camera.
    template <typename View = CMikraView>
    void CreateView() {
        ASSERT_TRUE(CWindow::RegisterWindowClass(L"VizcamViewTestParent", 0, nullptr));
        parent_.CreateEx(0, L"VizcamViewTestParent", L"", WS_POPUP | WS_VISIBLE, RECT{0, 0, 400, 300}, nullptr, 0);
        view_ = std::make_unique<View>(
            [](CameraFamily kind, int, HWND) {
                auto camera = std::make_unique<FakeCamera>();
                camera->kind = kind;
                camera->devices = {{L"Capture", 0}};
                return camera;
            },
            [](CameraFamily kind) { return kind == CameraFamily::directShow; });
        view_->SetViewFrame(&frame_);
        ASSERT_TRUE(view_->Create(parent_.GetSafeHwnd(), 1, nullptr));
        view_->OnInitialUpdate();
        camera_ = dynamic_cast<FakeCamera*>(view_->GetCamera());
        ASSERT_NE(camera_, nullptr);
    }
    // The view goes before the test's own members (its files among them).
    void TearDown() override { view_.reset(); }

    LanguageLibrary english_{0};
    CWindow parent_;
    RecordingViewFrame frame_;
    std::unique_ptr<CMikraView> view_;
    FakeCamera* camera_ = nullptr;
};
