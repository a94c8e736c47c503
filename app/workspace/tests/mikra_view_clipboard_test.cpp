// The view's picture area commands on a real view with the real clipboard:
// paste, cut and copy of the floating piece with their enabling, the file
// information the shell's dialog is given, and print by calibration through
// dialog 158. None of them acts while video runs.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <filesystem>
#include <string>
#include <vector>

#include "calibration_store.h"
#include "clipboard_contents.h"
#include "history_actions.h"
#include "ini_profile.h"
#include "measure_resource.h"
#include "modal_script.h"
#include "picture_files.h"
#include "resource.h"
#include "view_with_camera_double.h"

namespace {

using testing_support::ModalScript;

class RecordingFileInfo : public IFileInfoDialog {
public:
    void ShowFileInfo(const std::u16string& text) override { shown.push_back(text); }
    std::vector<std::u16string> shown;
};

class ViewClipboardTest : public ViewWithCameraDouble {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(CreateView());
        view_->SetFileInfoDialog(&fileInfo_);
        file_ = files_.Bmp(L"green.bmp", 200, 100, 0x00C000);
        view_->OpenPicture(file_);
        view_->ShowPicture(file_);
        ASSERT_TRUE(Controller().HasWindow());
    }
    void TearDown() override {
        ViewWithCameraDouble::TearDown();
        PutText();
    }

    CImageController& Controller() { return *view_->GetCurrentController(); }

    bool Enabled(UINT id) {
        CCommandState state(id);
        EXPECT_TRUE(view_->UpdateCommand(state)) << id;
        return state.IsEnabled();
    }

    // The clipboard holding only a red bitmap of this size, or only text.
    void PutBitmap(int width, int height) {
        ASSERT_TRUE(clipboard_testing::PutBitmap(parent_.GetSafeHwnd(), width, height, RGB(255, 0, 0)));
    }
    void PutText() { clipboard_testing::PutText(); }
    SIZE ClipboardBitmapSize() { return clipboard_testing::BitmapSize(); }
    int LastAction() {
        const auto steps = Controller().GetHistoryStore().UndoList();
        return steps.empty() ? -1 : steps.back()->action;
    }

    PictureFiles files_{L"vizcam_view_clipboard"};
    RecordingFileInfo fileInfo_;
    std::wstring file_;
};

TEST_F(ViewClipboardTest, PasteCopyAndCutMoveTheFloatingPieceThroughTheClipboard) {
    PutText();
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE_PICTURE)) << "no bitmap to paste";
    EXPECT_FALSE(Enabled(ID_EDIT_COPY_AREA)) << "no piece to copy";
    EXPECT_FALSE(Enabled(ID_EDIT_CUT_AREA)) << "no piece to cut";
    ASSERT_TRUE(view_->RunCommand(ID_EDIT_COPY_AREA));
    EXPECT_EQ(ClipboardBitmapSize().cx, 0) << "copy without a piece left the clipboard alone";
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_TEXT));

    PutBitmap(30, 20);
    EXPECT_TRUE(Enabled(ID_EDIT_PASTE_PICTURE));
    ASSERT_TRUE(view_->RunCommand(ID_EDIT_PASTE_PICTURE));
    ASSERT_EQ(Controller().Floating().IsFloating(), 1);
    ASSERT_NE(Controller().Floating().GetFloatingPicture(), nullptr);
    EXPECT_EQ(Controller().Floating().GetFloatingPicture()->GetWidth(), 30);
    EXPECT_TRUE(Enabled(ID_EDIT_COPY_AREA));
    EXPECT_TRUE(Enabled(ID_EDIT_CUT_AREA));

    PutText();
    ASSERT_TRUE(view_->RunCommand(ID_EDIT_COPY_AREA));
    EXPECT_EQ(ClipboardBitmapSize().cx, 30) << "the piece as shown";
    EXPECT_EQ(ClipboardBitmapSize().cy, 20);
    EXPECT_EQ(Controller().Floating().IsFloating(), 1) << "copy keeps the piece";

    PutText();
    const int before = LastAction();
    ASSERT_TRUE(view_->RunCommand(ID_EDIT_CUT_AREA));
    EXPECT_EQ(ClipboardBitmapSize().cx, 30);
    EXPECT_EQ(Controller().Floating().IsFloating(), 0);
    EXPECT_EQ(LastAction(), kHistoryCut);
    EXPECT_NE(before, kHistoryCut);
}

TEST_F(ViewClipboardTest, NothingActsWhileVideoRuns) {
    PutBitmap(30, 20);
    view_->OpenVideo();
    ASSERT_TRUE(view_->IsVideoActive());
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE_PICTURE)) << "paste offered over the video";
    for (const UINT id : {ID_EDIT_PASTE_PICTURE, ID_EDIT_COPY_AREA, ID_EDIT_CUT_AREA, ID_FILE_INFORMATION}) {
        EXPECT_TRUE(view_->RunCommand(id));
    }
    EXPECT_EQ(Controller().Floating().IsFloating(), 0);
    EXPECT_TRUE(fileInfo_.shown.empty());
}

TEST_F(ViewClipboardTest, FileInformationNamesThePathTheResolutionAndTheFileSize) {
    ASSERT_TRUE(view_->RunCommand(ID_FILE_INFORMATION));
    ASSERT_EQ(fileInfo_.shown.size(), 1u);
    // 54 header bytes and 100 rows of 600 bytes: 60054 bytes.
    const std::wstring path(file_);
    EXPECT_EQ(fileInfo_.shown[0],
              std::u16string(path.begin(), path.end()) + u"\n\nResolution: 200*100\nFile size: 58.65KB");
}

TEST_F(ViewClipboardTest, PrintByCalibrationShowsThePictureAtTheChosenCalibrationsSize) {
    const std::filesystem::path scale = files_.Folder() / L"scale.ini";
    {
        IniProfile file(scale.wstring());
        CalibrationStore store(file);
        store.Save(u"4x", 2.0f, u"cm", 640, 480);
        store.Save(u"10x", 0.0254f, u"mm", 800, 600);
    }
    view_->SetScaleIniPath(scale.wstring());
    ModalScript cancel({[](HWND d) { ModalScript::Press(d, IDCANCEL); }});
    ASSERT_TRUE(view_->RunCommand(ID_PRINT_BY_CALIBRATION));
    ASSERT_TRUE(cancel.Finished());
    EXPECT_EQ(Controller().GetZoom(), 1.0f) << "a cancelled dialog changes nothing";

    ModalScript choose({[](HWND d) {
        // Rows keep the order of their sections: the second is "10x".
        ModalScript::SelectListRow(d, 1);
        ModalScript::SetText(d, IDC_PRINT_MAGNIFICATION, L"2");
        // The preview shows it only; OK also prints (the view's print tests).
        ModalScript::Press(d, IDC_PRINT_PREVIEW);
    }});
    ASSERT_TRUE(view_->RunCommand(ID_PRINT_BY_CALIBRATION));
    ASSERT_TRUE(choose.Finished());
    EXPECT_EQ(Controller().printUnitText, u"mm");
    EXPECT_EQ(Controller().printScale, 0.0254f);
    EXPECT_EQ(Controller().printMagnification, 2);
    // 200 pixels of 0.0254 mm are 0.2 inch; twice that on the screen.
    HDC screen = ::GetDC(view_->GetSafeHwnd());
    const double dotsPerInch =
        ::GetDeviceCaps(screen, HORZRES) / (::GetDeviceCaps(screen, HORZSIZE) * 0.03937007874015748);
    ::ReleaseDC(view_->GetSafeHwnd(), screen);
    EXPECT_NEAR(Controller().GetZoom(), dotsPerInch * 0.4 / 200.0, 1e-4);
}

}  // namespace
