// The view's picture file commands over a recording frame, with the file
// dialogs answered by the test: several pictures open in the dialog's
// order, deleting asks first, a drawing document stored and opened again
// keeps its objects, renaming keeps folder and extension and never takes a
// used name, and none of them acts while video is open.
#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>

#include <filesystem>

#include "file_commands_resource.h"
#include "modal_script.h"
#include "object_factory.h"
#include "picture_files.h"
#include "resource.h"
#include "resource_module.h"
#include "scripted_dialogs.h"
#include "view_with_camera_double.h"

namespace {

using testing_support::ModalScript;

class ViewFilesTest : public ViewWithCameraDouble {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(CreateView());
        view_->SetCommonDialogs(&dialogs_);
        red_ = files_.Bmp(L"red.bmp", 40, 30, 0xFF0000);
        green_ = files_.Bmp(L"green.bmp", 20, 10, 0x00FF00);
        ASSERT_FALSE(red_.empty());
        ASSERT_FALSE(green_.empty());
    }
    void Command(UINT id) { view_->RunCommand(id); }
    // Shows the path as the browser's selection would.
    void Show(const std::wstring& path) { view_->ShowPicture(path); }
    // Answers the program's message box with `button`, keeping its text.
    ModalScript Answer(int button, std::wstring& text) {
        return ModalScript({[button, &text](HWND box) {
            text = ModalScript::MessageText(box);
            ModalScript::Press(box, button);
        }});
    }

    PictureFiles files_{L"vizcam_view_files"};
    ScriptedDialogs dialogs_;
    std::wstring red_;
    std::wstring green_;
};

TEST_F(ViewFilesTest, OpeningSeveralFilesListsThemInTheDialogsOrderAndShowsTheLast) {
    dialogs_.openAnswers.push_back({{green_, red_}, false});
    Command(ID_FILE_LOAD_PICTURES);
    ASSERT_EQ(dialogs_.requests.size(), 1u);
    EXPECT_EQ(dialogs_.requests[0].filter,
              L"BMP File(*.bmp)|*.bmp|JPEG File(*.jpg)|*.jpg|TIFF File(*.tiff)|*.tiff|kqmk File(*.kqmk)|*kqmk|");
    EXPECT_EQ(dialogs_.requests[0].flags, DWORD{OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_OVERWRITEPROMPT});
    const auto& controllers = view_->GetControllers();
    ASSERT_EQ(controllers.size(), 2u);
    EXPECT_EQ(controllers[0]->GetPicturePath(), green_);
    EXPECT_EQ(controllers[1]->GetPicturePath(), red_);
    ASSERT_EQ(frame_.browserEntries.size(), 2u);
    EXPECT_EQ(frame_.browserEntries[0].path, red_);
    EXPECT_EQ(frame_.browserSelections, (std::vector<int>{-1, 0}));
}

TEST_F(ViewFilesTest, AChoiceTooLongForTheDialogIsToldAndOpensNothing) {
    dialogs_.openAnswers.push_back({{}, true});
    std::wstring told;
    ModalScript box = Answer(IDOK, told);
    Command(ID_FILE_LOAD_PICTURES);
    EXPECT_TRUE(box.Finished());
    EXPECT_EQ(told, LoadResourceString(IDS_TOO_MANY_FILES));
    EXPECT_TRUE(view_->GetControllers().empty());
    EXPECT_TRUE(frame_.browserSelections.empty());
}

TEST_F(ViewFilesTest, NoFileCommandActsWhileVideoIsOpen) {
    view_->OpenPicture(red_);
    Show(red_);
    view_->OpenVideo();
    ASSERT_TRUE(camera_->videoOpen);
    for (const UINT id : {ID_FILE_LOAD_PICTURES, ID_PICTURE_DELETE_FILE, ID_SAVE_DRAWING, ID_OPEN_DRAWING}) {
        Command(id);
    }
    EXPECT_TRUE(dialogs_.requests.empty());
    EXPECT_TRUE(std::filesystem::exists(red_));
    // The association is no picture command.
    Command(ID_ASSOCIATE_DRAWINGS);
    Command(ID_REMOVE_DRAWING_ASSOCIATION);
    EXPECT_EQ(frame_.associations, (std::vector<bool>{true, false}));
}

TEST_F(ViewFilesTest, DeletingAsksAndOnlyOkDeletes) {
    view_->OpenPicture(red_);
    view_->OpenPicture(green_);
    Show(red_);
    std::wstring asked;
    {
        ModalScript box = Answer(IDCANCEL, asked);
        Command(ID_PICTURE_DELETE_FILE);
        EXPECT_TRUE(box.Finished());
    }
    EXPECT_EQ(asked, LoadResourceString(IDS_CONFIRM_DELETE_PICTURE));
    EXPECT_TRUE(std::filesystem::exists(red_));
    EXPECT_EQ(view_->GetControllers().size(), 2u);
    {
        ModalScript box = Answer(IDOK, asked);
        Command(ID_PICTURE_DELETE_FILE);
        EXPECT_TRUE(box.Finished());
    }
    EXPECT_FALSE(std::filesystem::exists(red_));
    ASSERT_EQ(view_->GetControllers().size(), 1u);
    EXPECT_EQ(view_->GetControllers()[0]->GetPicturePath(), green_);
    ASSERT_EQ(frame_.browserEntries.size(), 1u);
    EXPECT_EQ(frame_.browserEntries[0].path, green_);
    EXPECT_FALSE(view_->GetCurrentController()->HasWindow());
    // Nothing shown: nothing to delete, nothing asked.
    Command(ID_PICTURE_DELETE_FILE);
    EXPECT_TRUE(std::filesystem::exists(green_));
}

TEST_F(ViewFilesTest, AStoredDocumentOpensAgainWithItsObjectsAndResults) {
    view_->OpenPicture(red_);
    Show(red_);
    CImageController& shown = *view_->GetCurrentController();
    for (const auto& [tag, result] : {std::pair{2, 42.5f}, std::pair{7, 3.25f}}) {
        std::unique_ptr<CCLObject> object = CreateObjectForTag(tag);
        ASSERT_NE(object, nullptr);
        object->results[0] = result;
        shown.GetObjectList()->push_back(std::move(object));
    }
    const std::wstring document = (files_.Folder() / L"kept.kqmk").wstring();
    dialogs_.saveAnswers.push_back(document);
    Command(ID_SAVE_DRAWING);
    ASSERT_TRUE(std::filesystem::exists(document));
    EXPECT_EQ(dialogs_.requests.back().filter, L"kqmk File(*.kqmk)|*.kqmk|");

    dialogs_.openAnswers.push_back({{document}, false});
    Command(ID_OPEN_DRAWING);
    ASSERT_EQ(view_->GetControllers().size(), 2u);
    CImageController& opened = *view_->GetControllers()[1];
    EXPECT_TRUE(opened.IsDocument());
    EXPECT_EQ(frame_.browserEntries[0].caption, L"kept.kqmk");
    EXPECT_EQ(frame_.browserSelections, (std::vector<int>{-1, 0}));
    ASSERT_EQ(opened.GetObjectList()->size(), 2u);
    EXPECT_EQ((*opened.GetObjectList())[0]->type, 2);
    EXPECT_FLOAT_EQ((*opened.GetObjectList())[0]->results[0], 42.5f);
    EXPECT_EQ((*opened.GetObjectList())[1]->type, 7);
    EXPECT_FLOAT_EQ((*opened.GetObjectList())[1]->results[0], 3.25f);
}

TEST_F(ViewFilesTest, AFailedDocumentSaveIsToldAndAnUnreadableOneNotListed) {
    view_->OpenPicture(red_);
    Show(red_);
    dialogs_.saveAnswers.push_back((files_.Folder() / L"no such folder" / L"a.kqmk").wstring());
    std::wstring told;
    {
        ModalScript box = Answer(IDOK, told);
        Command(ID_SAVE_DRAWING);
        EXPECT_TRUE(box.Finished());
    }
    EXPECT_EQ(told, LoadResourceString(IDS_SAVE_FAILED));
    const std::wstring broken = files_.Text(L"broken.kqmk", "no document");
    dialogs_.openAnswers.push_back({{broken}, false});
    Command(ID_OPEN_DRAWING);
    EXPECT_EQ(view_->GetControllers().size(), 1u);
    EXPECT_EQ(frame_.unreadableFiles, std::vector<std::wstring>{broken});
    EXPECT_TRUE(frame_.browserSelections.empty());
}

TEST_F(ViewFilesTest, RenamingKeepsFolderAndExtensionAndRefusesUsedOrUnplainNames) {
    view_->OpenPicture(red_);
    view_->OpenPicture(green_);
    frame_.browserMenuItem = BrowserItem{1, red_, L"red.bmp"};
    struct Case {
        const char* what;
        std::optional<std::wstring> answer;
        UINT message;  // 0: renamed or left without a word
    };
    const Case refused[] = {
        {"cancelled", std::nullopt, 0},
        {"unchanged", L"red", 0},
        {"taken by a file", L"green", IDS_NAME_TAKEN},
        {"separator", L"..\\red", IDS_NAME_NOT_PLAIN},
        {"empty", L"", IDS_NAME_NOT_PLAIN},
    };
    for (const Case& c : refused) {
        frame_.pictureName = c.answer;
        std::wstring told;
        ModalScript box = Answer(IDOK, told);
        view_->RenameCurrentPicture();
        EXPECT_EQ(frame_.pictureNameOffered, L"red") << c.what;
        EXPECT_EQ(told, c.message ? LoadResourceString(c.message) : L"") << c.what;
        EXPECT_TRUE(std::filesystem::exists(red_)) << c.what;
        EXPECT_TRUE(frame_.renamedItems.empty()) << c.what;
        EXPECT_EQ(view_->GetControllers()[0]->GetPicturePath(), red_) << c.what;
    }
    frame_.pictureName = L"crimson";
    view_->RenameCurrentPicture();
    const std::wstring renamed = (files_.Folder() / L"crimson.bmp").wstring();
    EXPECT_FALSE(std::filesystem::exists(red_));
    EXPECT_TRUE(std::filesystem::exists(renamed));
    // The controller of the item's path, whatever its list position.
    EXPECT_EQ(view_->GetControllers()[0]->GetPicturePath(), renamed);
    EXPECT_EQ(view_->GetControllers()[1]->GetPicturePath(), green_);
    ASSERT_EQ(frame_.renamedItems.size(), 1u);
    EXPECT_EQ(frame_.renamedItems[0].index, 1);
    EXPECT_EQ(frame_.renamedItems[0].path, renamed);
    EXPECT_EQ(frame_.renamedItems[0].caption, L"crimson.bmp");
}

TEST_F(ViewFilesTest, AnItemWithoutExtensionOrNotListedIsNotRenamed) {
    view_->OpenPicture(red_);
    frame_.pictureName = L"other";
    for (const BrowserItem& item : {BrowserItem{0, red_, L"red"}, BrowserItem{0, green_, L"green.bmp"}}) {
        frame_.browserMenuItem = item;
        view_->RenameCurrentPicture();
    }
    EXPECT_EQ(frame_.pictureNameQuestions, 0);
    EXPECT_TRUE(std::filesystem::exists(red_));
    EXPECT_TRUE(frame_.renamedItems.empty());
}

}  // namespace
