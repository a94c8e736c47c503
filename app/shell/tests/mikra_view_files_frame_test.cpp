// The view's file commands through the real main frame and its picture
// browser: several files open in the dialog's order with the last one shown
// as item 0, deleting asks and takes the item out of the browser, a renamed
// item shows its new path and caption, and the association command
// registers and removes the drawing document type.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "browser_resource.h"
#include "fake_camera.h"
#include "file_association.h"
#include "frame_with_camera_double.h"
#include "language_library.h"
#include "main_frame.h"
#include "mikra_app.h"
#include "mikra_doc.h"
#include "mikra_view.h"
#include "modal_script.h"
#include "module_folder.h"
#include "picture_files.h"
#include "resource.h"
#include "resource_module.h"
#include "scripted_dialogs.h"

namespace {

using testing_support::ModalScript;

class MikraViewFilesFrameTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LoadFrameWithCameraDouble(frame_, document_));
        view_ = dynamic_cast<CMikraView*>(frame_.GetActiveView());
        ASSERT_NE(view_, nullptr);
        view_->OnInitialUpdate();
        view_->SetCommonDialogs(&dialogs_);
        red_ = files_.Bmp(L"red.bmp", 40, 30, 0xFF0000);
        green_ = files_.Bmp(L"green.bmp", 20, 10, 0x00FF00);
    }
    void TearDown() override { frame_.DestroyWindow(); }
    void Command(UINT id) { SendMessageW(frame_.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    CPictureBrowser& Browser() { return frame_.GetBrowserBar().GetPictureBrowser(); }

    LanguageLibrary english_{0};
    PictureFiles files_{L"vizcam_view_files_frame"};
    CMikraApp app_;
    CMikraDoc document_;
    CMainFrame frame_;
    ScriptedDialogs dialogs_;
    CMikraView* view_ = nullptr;
    std::wstring red_;
    std::wstring green_;
};

TEST_F(MikraViewFilesFrameTest, OpenedFilesAreListedInTheDialogsOrderAndTheLastIsShown) {
    dialogs_.openAnswers.push_back({{green_, red_}, false});
    Command(ID_FILE_LOAD_PICTURES);
    ASSERT_EQ(Browser().GetPaths(), (std::vector<std::wstring>{red_, green_}));
    EXPECT_EQ(Browser().GetCurrentIndex(), 0);
    ASSERT_TRUE(view_->GetCurrentController()->HasWindow());
    EXPECT_EQ(view_->GetCurrentController()->GetPicturePath(), red_);
}

TEST_F(MikraViewFilesFrameTest, DeletingTakesThePictureOutOfTheBrowser) {
    dialogs_.openAnswers.push_back({{green_, red_}, false});
    Command(ID_FILE_LOAD_PICTURES);
    ASSERT_EQ(view_->GetCurrentController()->GetPicturePath(), red_);
    std::wstring asked;
    ModalScript box({[&asked](HWND d) {
        asked = ModalScript::MessageText(d);
        ModalScript::Press(d, IDOK);
    }});
    Command(ID_PICTURE_DELETE_FILE);
    EXPECT_TRUE(box.Finished());
    EXPECT_EQ(asked, LoadResourceString(IDS_CONFIRM_DELETE_PICTURE));
    EXPECT_FALSE(std::filesystem::exists(red_));
    EXPECT_EQ(Browser().GetPaths(), std::vector<std::wstring>{green_});
}

TEST_F(MikraViewFilesFrameTest, ARenamedItemShowsItsNewPathAndCaption) {
    view_->OpenPicture(red_);
    view_->OpenPicture(green_);
    const std::wstring crimson = (files_.Folder() / L"crimson.bmp").wstring();
    frame_.RenameBrowserItem(1, crimson, L"crimson.bmp");
    EXPECT_EQ(Browser().GetPaths(), (std::vector<std::wstring>{green_, crimson}));
    EXPECT_EQ(Browser().GetItemCaption(1), L"crimson.bmp");
    EXPECT_EQ(Browser().GetItemCaption(0), L"green.bmp");
}

TEST_F(MikraViewFilesFrameTest, TheAssociationCommandsRegisterAndRemoveTheDocumentType) {
    const auto registered = [] { return CFileAssociation(L".kqmk", GetModuleFolder()).IsRegistered(); };
    Command(ID_REMOVE_DRAWING_ASSOCIATION);
    EXPECT_FALSE(registered());
    Command(ID_ASSOCIATE_DRAWINGS);
    EXPECT_TRUE(registered());
}

}  // namespace
