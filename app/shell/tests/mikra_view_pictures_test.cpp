// The real main frame and view with the pictures of the last session: the
// initial update opens the picture folder's pictures behind the loading
// dialog and lists them in the picture browser, and choosing one in the
// browser shows its pixels in the view.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "fake_camera.h"
#include "language_library.h"
#include "loading_dialog_user.h"
#include "main_frame.h"
#include "mikra_app.h"
#include "mikra_doc.h"
#include "mikra_view.h"
#include "modal_script.h"
#include "picture_files.h"
#include "processing_resource.h"
#include "frame_with_camera_double.h"
#include "resource.h"

namespace {

using testing_support::ModalScript;

class MikraPicturesTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(chinese_.Loaded());
        std::filesystem::create_directories(pictures_.Folder() / L"Files");
        app_.m_ini.m_strPath = (pictures_.Folder() / L"Config.ini").wstring();
        app_.m_ini.WriteString(pictures_.Folder().wstring().c_str(), L"Option", L"PicF");
        app_.m_ini.WriteString((pictures_.Folder() / L"Files").wstring().c_str(), L"Option", L"XWF");
        frame_.emplace();
        ASSERT_TRUE(LoadFrameWithCameraDouble(*frame_, document_));
        ShowWithoutActivating(*frame_);
        view_ = dynamic_cast<CMikraView*>(frame_->GetActiveView());
        ASSERT_NE(view_, nullptr);
    }
    void TearDown() override {
        if (frame_) {
            frame_->DestroyWindow();
        }
    }
    // The colour (0x00RRGGBB) the view shows at the centre of its client area.
    std::uint32_t ViewCentre() const {
        const HWND view = view_->GetSafeHwnd();
        RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        RECT client{};
        GetClientRect(view, &client);
        HDC dc = GetDC(view);
        const COLORREF pixel = GetPixel(dc, client.right / 2, client.bottom / 2);
        ReleaseDC(view, dc);
        return (GetRValue(pixel) << 16) | (GetGValue(pixel) << 8) | GetBValue(pixel);
    }

    LanguageLibrary chinese_{1};
    CMikraApp app_;
    CMikraDoc document_;
    PictureFiles pictures_{L"vizcam_mikra_pictures"};
    std::optional<CMainFrame> frame_;
    CMikraView* view_ = nullptr;
};

TEST_F(MikraPicturesTest, PicturesOfTheFolderOpenAtStartAndTheBrowserChoiceIsShown) {
    RECT client{};
    GetClientRect(view_->GetSafeHwnd(), &client);
    ASSERT_GT(client.right, 20);
    ASSERT_GT(client.bottom, 20);
    // As large as the view, so that the whole client area shows the picture.
    const std::wstring older = pictures_.Bmp(L"older.bmp", client.right, client.bottom, 0xFF0000);
    const std::wstring newer = pictures_.Bmp(L"newer.bmp", client.right, client.bottom, 0x00FF00);
    ASSERT_FALSE(older.empty());
    ASSERT_FALSE(newer.empty());
    std::filesystem::last_write_time(older, std::filesystem::last_write_time(newer) - std::chrono::hours(1));
    {
        LoadingDialogUser user(IDOK);
        view_->OnInitialUpdate();
        ASSERT_NE(user.Dialog(), nullptr);
    }
    CPictureBrowser& browser = frame_->GetBrowserBar().GetPictureBrowser();
    ASSERT_EQ(view_->GetControllers().size(), 2u);
    ASSERT_EQ(browser.GetItemCount(), 2);
    EXPECT_EQ(browser.GetPaths(), (std::vector<std::wstring>{newer, older}));
    // Opened, not shown: the view still shows no picture.
    EXPECT_FALSE(view_->GetCurrentController()->HasWindow());

    app_.m_bDrawAD = 1;
    browser.SelectPicture(1);
    EXPECT_EQ(app_.m_bDrawAD, 0);
    EXPECT_EQ(view_->GetCurrentController()->GetPicturePath(), older);
    EXPECT_EQ(ViewCentre(), 0xFF0000u);
    EXPECT_EQ(frame_->GetStatusBar().GetPaneText(3),
              L"分辨率：" + std::to_wstring(client.right) + L"*" + std::to_wstring(client.bottom));

    browser.SelectPicture(0);
    EXPECT_EQ(view_->GetCurrentController()->GetPicturePath(), newer);
    EXPECT_EQ(ViewCentre(), 0x00FF00u);
}

TEST_F(MikraPicturesTest, ADocumentThatCannotBeReadAtStartIsReportedAndNotListed) {
    const std::wstring broken = pictures_.Text(L"broken.kqmk", "not a drawing document");
    const std::wstring picture = pictures_.Bmp(L"picture.bmp", 8, 8, 0xFF0000);
    std::wstring shown;
    std::wstring caption;
    ModalScript script({[&](HWND box) {
        shown = ModalScript::MessageText(box);
        caption = ModalScript::Text(box);
        EndDialog(box, IDOK);
    }});
    {
        LoadingDialogUser user(IDOK);
        view_->OnInitialUpdate();
        ASSERT_NE(user.Dialog(), nullptr);
    }
    EXPECT_TRUE(script.Finished());
    EXPECT_NE(shown.find(L"打开文件发生错误。"), std::wstring::npos);
    EXPECT_NE(shown.find(broken), std::wstring::npos);
    EXPECT_EQ(caption, L"Vizcam");
    CPictureBrowser& browser = frame_->GetBrowserBar().GetPictureBrowser();
    EXPECT_EQ(browser.GetPaths(), std::vector<std::wstring>{picture});
    ASSERT_EQ(view_->GetControllers().size(), 1u);
    EXPECT_EQ(view_->GetControllers()[0]->GetPicturePath(), picture);
}

TEST_F(MikraPicturesTest, ThePictureMenuWorksOnTheShownPictureWithDialogsOverTheFrame) {
    RECT client{};
    GetClientRect(view_->GetSafeHwnd(), &client);
    const std::wstring file = pictures_.Bmp(L"shown.bmp", client.right, client.bottom, 0x336699);
    {
        LoadingDialogUser user(IDOK);
        view_->OnInitialUpdate();
    }
    frame_->GetBrowserBar().GetPictureBrowser().SelectPicture(0);
    ASSERT_EQ(view_->GetCurrentController()->GetPicturePath(), file);

    ASSERT_TRUE(view_->RunCommand(ID_PICTURE_NEGATIVE));
    EXPECT_EQ(ViewCentre(), 0xCC9966u);

    HWND owner = nullptr;
    ModalScript script({[&](HWND dialog) {
        owner = GetWindow(dialog, GW_OWNER);
        HWND list = GetDlgItem(dialog, IDC_ROTATE_ANGLES);
        SendMessageW(list, CB_SETCURSEL, 2, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ROTATE_ANGLES, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        ModalScript::Press(dialog, IDOK);
    }});
    ASSERT_TRUE(view_->RunCommand(ID_PICTURE_ROTATE));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(owner, frame_->GetSafeHwnd());
    int width = 0;
    int height = 0;
    view_->GetCurrentController()->GetImageSize(width, height);
    EXPECT_EQ(width, client.bottom);
    EXPECT_EQ(height, client.right);
    EXPECT_EQ(frame_->GetStatusBar().GetPaneText(3),
              L"分辨率：" + std::to_wstring(client.bottom) + L"*" + std::to_wstring(client.right));
}

}  // namespace
