// The view's picture list over a recording frame: opening appends a
// controller and lists it first in the browser without showing it; a file
// that cannot be read is reported and left out; showing makes one picture
// current and releases the others; removing keeps the rest in order; the
// browser's selection message shows its current picture; a snapshot never
// keeps the temporary name of user naming.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <memory>
#include <string>

#include "fake_camera.h"
#include "language_library.h"
#include "mikra_view.h"
#include "picture_files.h"
#include "private_messages.h"
#include "recording_view_frame.h"
#include "view_with_camera_double.h"

namespace {

class ViewPicturesTest : public ViewWithCameraDouble {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(CreateView());
        red_ = files_.Bmp(L"red.bmp", 40, 30, 0xFF0000);
        green_ = files_.Bmp(L"green.BMP", 20, 10, 0x00FF00);
        ASSERT_FALSE(red_.empty());
        ASSERT_FALSE(green_.empty());
    }
    // A drawing document holding a 12 x 8 picture.
    std::wstring Document() {
        const std::wstring picture = files_.Bmp(L"doc.bmp", 12, 8, 0x0000FF);
        CImageController source(picture, view_->GetSafeHwnd());
        source.OpenPicture();
        const std::filesystem::path path = files_.Folder() / L"drawing.kqmk";
        EXPECT_EQ(source.SaveDrawingFile(path), DocumentStatus::ok);
        return path.wstring();
    }
    SIZE ImageSize(const CImageController& controller) const {
        int width = 0;
        int height = 0;
        controller.GetImageSize(width, height);
        return {width, height};
    }

    PictureFiles files_{L"vizcam_view_pictures"};
    std::wstring red_;
    std::wstring green_;
};

TEST_F(ViewPicturesTest, OpeningAppendsAndListsFirstWithoutShowing) {
    const std::wstring document = Document();
    view_->OpenPicture(red_);
    view_->OpenPicture(green_);
    view_->OpenPicture(document);
    const auto& controllers = view_->GetControllers();
    ASSERT_EQ(controllers.size(), 3u);
    EXPECT_EQ(controllers[0]->GetPicturePath(), red_);
    EXPECT_EQ(controllers[1]->GetPicturePath(), green_);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(controllers[k]->GetSequenceNumber(), k);
        EXPECT_TRUE(controllers[k]->HasWindow());
    }
    EXPECT_EQ(controllers[0]->GetPictureKind(), 1);
    EXPECT_EQ(controllers[1]->GetPictureKind(), 1);
    EXPECT_TRUE(controllers[2]->IsDocument());
    // Newest first; a document is captioned with its file name and listed
    // under the picture it holds.
    ASSERT_EQ(frame_.browserEntries.size(), 3u);
    EXPECT_EQ(frame_.browserEntries[0].caption, L"drawing.kqmk");
    EXPECT_EQ(frame_.browserEntries[0].path, controllers[2]->GetPicturePath().wstring());
    EXPECT_EQ(frame_.browserEntries[1].path, green_);
    EXPECT_EQ(frame_.browserEntries[1].caption, L"");
    EXPECT_EQ(frame_.browserEntries[2].path, red_);
    // Nothing is shown yet.
    EXPECT_FALSE(view_->GetCurrentController()->HasWindow());
    EXPECT_TRUE(frame_.unreadableFiles.empty());
}

TEST_F(ViewPicturesTest, AFileThatCannotBeReadIsReportedAndNotListed) {
    const std::wstring cases[] = {
        (files_.Folder() / L"missing.bmp").wstring(),
        files_.Text(L"empty.jpg", ""),
        files_.Folder().wstring(),
        files_.Text(L"broken.kqmk", "not a drawing document"),
        (files_.Folder() / L"missing.kqmk").wstring(),
    };
    for (const std::wstring& path : cases) {
        view_->OpenPicture(path);
    }
    EXPECT_TRUE(view_->GetControllers().empty());
    EXPECT_TRUE(frame_.browserEntries.empty());
    EXPECT_EQ(frame_.unreadableFiles, std::vector<std::wstring>(std::begin(cases), std::end(cases)));
    // A readable picture after them opens as usual.
    view_->OpenPicture(red_);
    ASSERT_EQ(view_->GetControllers().size(), 1u);
    EXPECT_EQ(frame_.browserEntries.size(), 1u);
}

TEST_F(ViewPicturesTest, APathTheBrowserListsAlreadyStaysOutOfTheList) {
    view_->OpenPicture(red_);
    view_->OpenPicture(red_);
    // Browser item n must stay list entry (count - 1 - n).
    EXPECT_EQ(view_->GetControllers().size(), frame_.browserEntries.size());
    EXPECT_EQ(view_->GetControllers().size(), 1u);
}

TEST_F(ViewPicturesTest, ShowingMakesOnePictureCurrentAndReleasesTheOther) {
    view_->OpenPicture(red_);
    view_->OpenPicture(green_);
    CImageController& red = *view_->GetControllers()[0];
    CImageController& green = *view_->GetControllers()[1];
    view_->ShowPicture(red_);
    ASSERT_EQ(view_->GetCurrentController(), &red);
    EXPECT_EQ(ImageSize(red).cx, 40);
    EXPECT_EQ(ImageSize(red).cy, 30);
    view_->ShowPicture(green_);
    ASSERT_EQ(view_->GetCurrentController(), &green);
    EXPECT_EQ(ImageSize(green).cx, 20);
    // Only the current controller holds its picture.
    EXPECT_EQ(red.GetPicture(), nullptr);
    ASSERT_NE(green.GetPicture(), nullptr);
    // An unknown path keeps the current picture; an empty one shows none.
    view_->ShowPicture((files_.Folder() / L"other.bmp").wstring());
    EXPECT_EQ(view_->GetCurrentController(), &green);
    view_->ShowPicture(L"");
    EXPECT_FALSE(view_->GetCurrentController()->HasWindow());
    EXPECT_EQ(green.GetPicture(), nullptr);
}

TEST_F(ViewPicturesTest, RemovingKeepsTheOthersInOrder) {
    const std::wstring blue = files_.Bmp(L"blue.bmp", 8, 8, 0x0000FF);
    for (const std::wstring& path : {red_, green_, blue}) {
        view_->OpenPicture(path);
    }
    view_->ShowPicture(green_);
    // Closing the current picture leaves an empty one; its file stays.
    view_->RemovePicture(green_, false);
    ASSERT_EQ(view_->GetControllers().size(), 2u);
    EXPECT_EQ(view_->GetControllers()[0]->GetPicturePath(), red_);
    EXPECT_EQ(view_->GetControllers()[1]->GetPicturePath(), blue);
    EXPECT_FALSE(view_->GetCurrentController()->HasWindow());
    EXPECT_TRUE(std::filesystem::exists(green_));
    // Closing another keeps the current one and can delete the file.
    view_->ShowPicture(red_);
    view_->RemovePicture(blue, true);
    EXPECT_EQ(view_->GetCurrentController()->GetPicturePath(), red_);
    EXPECT_FALSE(std::filesystem::exists(blue));
    // The last one: empty controller and no scroll sizes.
    view_->RemovePicture(red_, false);
    EXPECT_TRUE(view_->GetControllers().empty());
    EXPECT_FALSE(view_->GetCurrentController()->HasWindow());
    EXPECT_EQ(view_->GetTotalSize().cx, 0);
    EXPECT_EQ(view_->GetTotalSize().cy, 0);
}

TEST_F(ViewPicturesTest, TheSelectionMessageShowsTheBrowsersPictureAndEndsVideo) {
    view_->OpenPicture(red_);
    view_->OpenPicture(green_);
    frame_.backgroundOn = true;
    view_->OpenVideo();
    ASSERT_TRUE(camera_->videoOpen);
    frame_.browserCurrent = green_;
    SendMessageW(view_->GetSafeHwnd(), WM_PICTURE_SELECTED, 0, 0);
    EXPECT_FALSE(frame_.backgroundOn);
    EXPECT_FALSE(camera_->videoOpen);
    ASSERT_EQ(view_->GetCurrentController(), view_->GetControllers()[1].get());
    EXPECT_EQ(ImageSize(*view_->GetCurrentController()).cx, 20);
    // No browser picture: the current one stays.
    frame_.browserCurrent.clear();
    SendMessageW(view_->GetSafeHwnd(), WM_PICTURE_SELECTED, 0, 0);
    EXPECT_EQ(view_->GetCurrentController(), view_->GetControllers()[1].get());
}

TEST_F(ViewPicturesTest, ASnapshotNeverKeepsTheTemporaryName) {
    struct Case {
        const char* what;
        std::optional<std::wstring> answer;
        bool named;
    };
    const Case cases[] = {{"named", L"slide", true},
                          {"cancelled", std::nullopt, false},
                          {"separator", L"..\\slide", false},
                          {"drive", L"C:slide", false},
                          {"empty", L"", false},
                          {"existing file", L"taken", false}};
    const std::wstring taken = files_.Text(L"taken.bmp", "keep me");
    camera_->nameType = 1;
    camera_->imageType = 1;
    for (const Case& c : cases) {
        const std::wstring temporary = files_.Bmp(L"ShotPictemp_0.bmp", 4, 4, 0xFF0000);
        frame_.pictureName = c.answer;
        const std::wstring opened = view_->AskShotName(temporary);
        EXPECT_FALSE(opened.empty()) << c.what;
        EXPECT_NE(opened, temporary) << c.what;
        EXPECT_TRUE(std::filesystem::exists(opened)) << c.what;
        EXPECT_FALSE(std::filesystem::exists(temporary)) << c.what;
        const std::wstring name = std::filesystem::path(opened).filename().wstring();
        if (c.named) {
            EXPECT_EQ(name, L"slide.bmp");
        } else {
            EXPECT_EQ(name.rfind(L"ShotPictemp_0_", 0), 0u) << c.what << " " << name;
            EXPECT_EQ(std::filesystem::path(opened).parent_path(), files_.Folder()) << c.what;
        }
        std::filesystem::remove(opened);
    }
    // The existing file was not replaced.
    std::ifstream kept{std::filesystem::path(taken)};
    std::string content;
    std::getline(kept, content);
    EXPECT_EQ(content, "keep me");
    EXPECT_EQ(frame_.pictureNameQuestions, static_cast<int>(std::size(cases)));
}

TEST_F(ViewPicturesTest, ShotsOutsideUserNamingKeepTheirNameUnasked) {
    const std::wstring shot = files_.Bmp(L"ShotPictemp_0.bmp", 4, 4, 0xFF0000);
    frame_.pictureName = L"slide";
    for (auto [nameType, timed] : {std::pair{0, 0}, std::pair{1, 1}}) {
        camera_->nameType = nameType;
        camera_->timedCapture = timed;
        EXPECT_EQ(view_->AskShotName(shot), shot);
    }
    EXPECT_EQ(frame_.pictureNameQuestions, 0);
    EXPECT_TRUE(std::filesystem::exists(shot));
}

}  // namespace
