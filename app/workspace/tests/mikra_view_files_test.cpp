// The view's picture file commands over a recording frame, with the file
// dialogs answered by the test: several pictures open in the dialog's
// order, deleting asks first, a drawing document stored and opened again
// keeps its objects, renaming keeps folder and extension and never takes a
// used name, and none of them acts while video is open.
#include <gtest/gtest.h>

#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "file_commands_resource.h"
#include "modal_script.h"
#include "module_folder.h"
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

    // Files of the folder other than the given ones, by name.
    std::vector<std::wstring> OtherFiles(std::initializer_list<std::wstring> known) const {
        std::vector<std::wstring> names;
        for (const auto& entry : std::filesystem::directory_iterator(files_.Folder())) {
            const std::wstring path = entry.path().wstring();
            if (std::find(known.begin(), known.end(), path) == known.end()) {
                names.push_back(entry.path().filename().wstring());
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::string Bytes(const std::wstring& path) {
        std::ifstream in(std::filesystem::path(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static SIZE PictureSize(const std::wstring& path) {
        CPicture picture(path, kPictureAuto);
        return {picture.GetWidth(), picture.GetHeight()};
    }
    void AddObject(CImageController& controller, int tag, float result) {
        std::unique_ptr<CCLObject> object = CreateObjectForTag(tag);
        ASSERT_NE(object, nullptr);
        object->results[0] = result;
        controller.GetObjectList()->push_back(std::move(object));
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

TEST_F(ViewFilesTest, SavingTwiceMakesTwoTimeStampedCopiesAndLeavesThePicture) {
    const std::string original = Bytes(red_);
    view_->OpenPicture(red_);
    Show(red_);
    Command(ID_FILE_SAVE_PICTURE);
    Command(ID_FILE_SAVE_PICTURE);
    EXPECT_EQ(Bytes(red_), original);
    const std::vector<std::wstring> copies = OtherFiles({red_, green_});
    ASSERT_EQ(copies.size(), 2u);
    const std::wregex copyName(L"red_\\d{18}\\.bmp");
    for (const std::wstring& name : copies) {
        EXPECT_TRUE(std::regex_match(name, copyName)) << name;
        EXPECT_EQ(PictureSize((files_.Folder() / name).wstring()).cx, 40) << name;
    }
    // Each copy is opened as a picture of its own.
    ASSERT_EQ(view_->GetControllers().size(), 3u);
    EXPECT_EQ(view_->GetControllers()[1]->GetPicturePath().filename(), copies[0]);
    EXPECT_EQ(view_->GetControllers()[2]->GetPicturePath().filename(), copies[1]);
}

TEST_F(ViewFilesTest, APictureOfAnUnknownTypeIsCopiedAsBmp) {
    CPicture picture(16, 12, 24, kPictureBmp);
    const std::wstring png = (files_.Folder() / L"scan.png").wstring();
    ASSERT_TRUE(picture.Save(png, kPicturePng));
    const std::string original = Bytes(png);
    view_->OpenPicture(png);
    Show(png);
    ASSERT_EQ(view_->GetCurrentController()->GetPictureKind(), 0);
    Command(ID_FILE_SAVE_PICTURE);
    EXPECT_EQ(Bytes(png), original);
    const std::vector<std::wstring> copies = OtherFiles({png, red_, green_});
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_TRUE(std::regex_match(copies[0], std::wregex(L"scan_\\d{18}\\.bmp"))) << copies[0];
    EXPECT_EQ(PictureSize((files_.Folder() / copies[0]).wstring()).cx, 16);
}

TEST_F(ViewFilesTest, SavingAPictureFromADocumentStoresTheDocumentAgain) {
    const std::wstring document = (files_.Folder() / L"doc.kqmk").wstring();
    {
        CImageController source(red_, view_->GetSafeHwnd());
        source.OpenPicture();
        ASSERT_EQ(source.SaveDrawingFile(document), DocumentStatus::ok);
    }
    view_->OpenPicture(document);
    ASSERT_EQ(view_->GetControllers().size(), 1u);
    CImageController& opened = *view_->GetControllers()[0];
    Show(opened.GetPicturePath().wstring());
    ASSERT_EQ(view_->GetCurrentController(), &opened);
    AddObject(opened, 2, 12.5f);
    Command(ID_FILE_SAVE_PICTURE);
    CImageController reread;
    reread.SetOwnerWindow(view_->GetSafeHwnd());
    ASSERT_EQ(reread.LoadDrawingFile(document), DocumentStatus::ok);
    ASSERT_EQ(reread.GetObjectList()->size(), 1u);
    EXPECT_FLOAT_EQ((*reread.GetObjectList())[0]->results[0], 12.5f);
    EXPECT_EQ(view_->GetControllers().size(), 1u);
}

TEST_F(ViewFilesTest, SaveAsWritesTheTypeOfTheExtensionOrADocumentAndOpensIt) {
    view_->OpenPicture(red_);
    Show(red_);
    AddObject(*view_->GetCurrentController(), 2, 7.0f);
    struct Case {
        const wchar_t* chosen;
        const wchar_t* written;
        bool document;
    };
    const Case cases[] = {
        {L"copy.jpg", L"copy.jpg", false},
        {L"copy.tiff", L"copy.tiff", false},
        {L"copy.png", L"copy.png.kqmk", true},
        {L"kept.kqmk", L"kept.kqmk", true},
    };
    std::size_t listed = 1;
    for (const Case& c : cases) {
        const std::wstring written = (files_.Folder() / c.written).wstring();
        frame_.browserSelections.clear();
        dialogs_.saveAnswers.push_back((files_.Folder() / c.chosen).wstring());
        Command(ID_FILE_SAVE_PICTURE_AS);
        ASSERT_TRUE(std::filesystem::exists(written)) << c.chosen;
        ASSERT_EQ(view_->GetControllers().size(), ++listed) << c.chosen;
        EXPECT_EQ(view_->GetControllers().back()->IsDocument(), c.document) << c.chosen;
        EXPECT_EQ(frame_.browserSelections, (std::vector<int>{-1, 0})) << c.chosen;
        if (c.document) {
            EXPECT_EQ(view_->GetControllers().back()->GetObjectList()->size(), 1u) << c.chosen;
        } else {
            EXPECT_EQ(PictureSize(written).cx, 40) << c.chosen;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(files_.Folder() / L"copy.png"));
    EXPECT_EQ(dialogs_.requests.back().flags, DWORD{OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_OVERWRITEPROMPT});
}

TEST_F(ViewFilesTest, AFailedSaveIsToldAndOpensNothing) {
    view_->OpenPicture(red_);
    Show(red_);
    for (const wchar_t* name : {L"a.bmp", L"a.kqmk"}) {
        dialogs_.saveAnswers.push_back((files_.Folder() / L"no such folder" / name).wstring());
        std::wstring told;
        ModalScript box = Answer(IDOK, told);
        Command(ID_FILE_SAVE_PICTURE_AS);
        EXPECT_TRUE(box.Finished()) << name;
        EXPECT_EQ(told, LoadResourceString(IDS_SAVE_FAILED)) << name;
    }
    EXPECT_EQ(view_->GetControllers().size(), 1u);
    EXPECT_TRUE(frame_.browserSelections.empty());
}

TEST_F(ViewFilesTest, TheBrowsersSaveAsWritesTheItemWithItsObjectsAndKeepsTheList) {
    view_->OpenPicture(red_);
    view_->OpenPicture(green_);
    Show(green_);
    AddObject(*view_->GetControllers()[0], 7, 2.5f);
    AddObject(*view_->GetControllers()[0], 2, 9.0f);
    // The item of the red picture, found by its path.
    frame_.browserMenuItem = BrowserItem{1, red_, L"red.bmp"};
    const std::wstring bmp = (files_.Folder() / L"red copy.bmp").wstring();
    const std::wstring document = (files_.Folder() / L"red copy.kqmk").wstring();
    dialogs_.saveAnswers = {bmp, document};
    view_->SaveImageAs();
    view_->SaveImageAs();
    EXPECT_EQ(PictureSize(bmp).cx, 40);
    CImageController reread;
    reread.SetOwnerWindow(view_->GetSafeHwnd());
    ASSERT_EQ(reread.LoadDrawingFile(document), DocumentStatus::ok);
    ASSERT_EQ(reread.GetObjectList()->size(), 2u);
    EXPECT_FLOAT_EQ((*reread.GetObjectList())[1]->results[0], 9.0f);
    EXPECT_EQ(view_->GetControllers().size(), 2u);
    EXPECT_EQ(view_->GetCurrentController(), view_->GetControllers()[1].get());
    // Each save took a history number of its own.
    const std::wstring blue = files_.Bmp(L"blue.bmp", 8, 8, 0x0000FF);
    view_->OpenPicture(blue);
    EXPECT_EQ(view_->GetControllers().back()->GetSequenceNumber(), 4);
}

// Left beside the test program for ImageMagick (check_saved_pictures.cmake).
TEST_F(ViewFilesTest, SavedPicturesAreLeftForAnOutsideReader) {
    const std::filesystem::path folder = std::filesystem::path(GetModuleFolder()) / L"saved_pictures";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::wstring red = (folder / L"red.bmp").wstring();
    std::filesystem::copy_file(red_, red);
    view_->OpenPicture(red);
    Show(red);
    Command(ID_FILE_SAVE_PICTURE);
    for (const wchar_t* name : {L"chosen.jpg", L"chosen.tiff"}) {
        dialogs_.saveAnswers.push_back((folder / name).wstring());
        Command(ID_FILE_SAVE_PICTURE_AS);
        EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
    }
    EXPECT_EQ(view_->GetControllers().size(), 4u);
}

}  // namespace
