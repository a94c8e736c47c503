// The device tree of the real main frame picks the view's camera: a
// double-click on another device asks the user, and once confirmed the view
// makes the camera of that family for that device, or moves its camera of the
// same family to it; a declined switch leaves camera and tree as they were.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "browser_test_support.h"
#include "fake_camera.h"
#include "frame_with_camera_double.h"
#include "language_library.h"
#include "main_frame.h"
#include "mikra_app.h"
#include "mikra_doc.h"
#include "mikra_view.h"
#include "modal_script.h"

namespace {

using testing_support::ModalScript;

class DeviceSelectionTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(chinese_.Loaded());
        ASSERT_TRUE(LoadFrameWithCameraDoubles(
            frame_, document_,
            {{CameraFamily::directShow, {{L"Capture", 0}}}, {CameraFamily::usbCmos, {{L"Left", 1}, {L"Right", 2}}}}));
        ShowWithoutActivating(frame_);
        frame_.GetBrowserBar().GetTabWindow().SelectTab(1);
        view_ = dynamic_cast<CMikraView*>(frame_.GetActiveView());
        ASSERT_NE(view_, nullptr);
        view_->OnInitialUpdate();
        ASSERT_EQ(Camera().kind, CameraFamily::directShow);
    }
    void TearDown() override { frame_.DestroyWindow(); }

    CDeviceTree& Tree() { return frame_.GetBrowserBar().GetDeviceTree(); }
    FakeCamera& Camera() { return dynamic_cast<FakeCamera&>(*view_->GetCamera()); }
    HTREEITEM Device(int category, int index) {
        HWND tree = Tree().GetSafeHwnd();
        auto item = reinterpret_cast<HTREEITEM>(
            SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(Tree().Root(category))));
        for (int i = 0; i < index && item; ++i) {
            item = reinterpret_cast<HTREEITEM>(
                SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
        }
        return item;
    }
    // The device the tree highlights.
    HTREEITEM Caret() {
        return reinterpret_cast<HTREEITEM>(SendMessageW(Tree().GetSafeHwnd(), TVM_GETNEXTITEM, TVGN_CARET, 0));
    }
    // Double-clicks the device and answers the question with `button`; the
    // question's text, empty when none was asked.
    std::wstring PickAnswering(int category, int index, int button) {
        std::wstring asked;
        ModalScript script({[&](HWND prompt) {
            asked = ModalScript::MessageText(prompt);
            ModalScript::Press(prompt, button);
        }});
        EXPECT_TRUE(DoubleClickTreeItem(Tree().GetSafeHwnd(), Device(category, index)));
        return asked;
    }

    LanguageLibrary chinese_{1};
    CMikraApp app_;
    CMikraDoc document_;
    CMainFrame frame_;
    CMikraView* view_ = nullptr;
};

TEST_F(DeviceSelectionTest, AConfirmedPickOfAnotherFamilyMakesItsCameraForThatDevice) {
    const std::wstring asked = PickAnswering(2, 1, IDOK);
    EXPECT_EQ(asked, L"\u5e0c\u671b\u66f4\u6362\u8bbe\u5907\u5417?");
    EXPECT_EQ(Camera().kind, CameraFamily::usbCmos);
    EXPECT_EQ(Camera().deviceIndex, 2);
    EXPECT_EQ(Tree().GetSelectedCategory(), 2);
    EXPECT_EQ(Tree().GetSelectedDevice(), (DeviceTreeEntry{L"Right", 2}));
    EXPECT_EQ(Caret(), Device(2, 1));
}

TEST_F(DeviceSelectionTest, APickInTheSameFamilyMovesTheCameraToThatDevice) {
    PickAnswering(2, 1, IDOK);
    FakeCamera* before = &Camera();
    PickAnswering(2, 0, IDOK);
    EXPECT_EQ(&Camera(), before);
    EXPECT_EQ(Camera().selectedDevice, 1);
    EXPECT_EQ(Tree().GetSelectedDevice(), (DeviceTreeEntry{L"Left", 1}));
}

TEST_F(DeviceSelectionTest, ADeclinedPickLeavesTheCameraAndTheTreeOnTheOpenDevice) {
    FakeCamera* before = &Camera();
    const std::wstring asked = PickAnswering(2, 0, IDCANCEL);
    EXPECT_FALSE(asked.empty());
    EXPECT_EQ(&Camera(), before);
    EXPECT_EQ(Tree().GetSelectedCategory(), 1);
    EXPECT_EQ(Tree().GetSelectedDevice(), (DeviceTreeEntry{L"Capture", 0}));
    // The open device is the tree's selection again.
    EXPECT_EQ(Caret(), Device(1, 0));
}

TEST_F(DeviceSelectionTest, ASwitchEndsTheVideoAndTheNewCameraStartsWithout) {
    view_->OpenVideo();
    ASSERT_EQ(Camera().videoOpen, 1);
    ASSERT_TRUE(view_->IsVideoActive());
    PickAnswering(2, 0, IDOK);
    EXPECT_EQ(Camera().kind, CameraFamily::usbCmos);
    EXPECT_EQ(Camera().deviceIndex, 1);
    EXPECT_EQ(Camera().videoOpen, 0);
    EXPECT_FALSE(view_->IsVideoActive());
    // The tree shows the camera now in use, not the one whose video closed.
    EXPECT_EQ(Caret(), Device(2, 0));
}

}  // namespace
