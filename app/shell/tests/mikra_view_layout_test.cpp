// The real main frame around the view: the folder commands write Config.ini
// (and nothing when cancelled), the ruler bars hide while a picture is shown
// smaller than its size, and moving the frame lays the picture out again.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "fake_camera.h"
#include "frame_with_camera_double.h"
#include "language_library.h"
#include "main_frame.h"
#include "mikra_app.h"
#include "mikra_doc.h"
#include "mikra_view.h"
#include "picture.h"
#include "resource.h"
#include "ruler_overlay.h"
#include "scripted_dialogs.h"
#include "view_splitter.h"

namespace {

class MikraViewLayoutTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
        // Every folder usable, so that reading one writes no fallback.
        std::ofstream ini(root_ / L"Config.ini");
        ini << "[Option]\r\n";
        for (const auto& [key, name] :
             {std::pair{"PicF", L"shots"}, std::pair{"AviF", L"clips"}, std::pair{"XWF", L"out"}}) {
            std::filesystem::create_directories(root_ / name);
            ini << key << "=" << (root_ / name).string() << "\\\r\n";
        }
        ini.close();
        app_.m_ini.m_strPath = (root_ / L"Config.ini").wstring();
        ASSERT_TRUE(LoadFrameWithCameraDouble(frame_, document_));
        view_ = dynamic_cast<CMikraView*>(frame_.GetActiveView());
        ASSERT_NE(view_, nullptr);
        view_->OnInitialUpdate();
        view_->SetCommonDialogs(&dialogs_);
        camera_ = dynamic_cast<FakeCamera*>(view_->GetCamera());
        ASSERT_NE(camera_, nullptr);
    }
    void TearDown() override {
        frame_.DestroyWindow();
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    void Command(UINT id) { SendMessageW(frame_.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    std::string ConfigText() const {
        std::ifstream in(root_ / L"Config.ini", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::wstring Option(const wchar_t* key) const {
        wchar_t value[MAX_PATH] = {};
        GetPrivateProfileStringW(L"Option", key, L"", value, MAX_PATH, (root_ / L"Config.ini").c_str());
        return value;
    }
    // Opens and shows a one-colour picture of this size.
    void ShowPicture(int width, int height) {
        CPicture picture(width, height, 24, kPictureBmp);
        const std::wstring path = (root_ / L"shown.bmp").wstring();
        ASSERT_TRUE(picture.Save(path, kPictureBmp));
        view_->OpenPicture(path);
        view_->ShowPicture(path);
        ASSERT_TRUE(view_->GetCurrentController()->HasWindow());
    }
    // The view sits below and right of the rulers when they are shown (a
    // hidden ruler leaves only the splitter's one-pixel gap).
    bool RulersShown() const {
        POINT corner{0, 0};
        MapWindowPoints(view_->GetSafeHwnd(), GetParent(view_->GetSafeHwnd()), &corner, 1);
        return corner.x >= CViewSplitterWnd::kRulerSize && corner.y >= CViewSplitterWnd::kRulerSize;
    }

    LanguageLibrary english_{0};
    std::filesystem::path root_ = std::filesystem::temp_directory_path() / L"vizcam_view_layout_frame";
    CMikraApp app_;
    CMikraDoc document_;
    CMainFrame frame_;
    ScriptedDialogs dialogs_;
    CMikraView* view_ = nullptr;
    FakeCamera* camera_ = nullptr;
};

TEST_F(MikraViewLayoutTest, AChosenFolderIsWrittenAndACancelledOneChangesNothing) {
    const std::string before = ConfigText();
    dialogs_.folderAnswers = {std::nullopt, L""};
    Command(ID_PICTURE_FOLDER);
    Command(ID_EXPORT_FOLDER);
    EXPECT_EQ(dialogs_.folderQuestions.size(), 2u);
    EXPECT_EQ(ConfigText(), before);

    const std::wstring videos = (root_ / L"videos").wstring();
    std::filesystem::create_directories(videos);
    dialogs_.folderAnswers = {L"C:\\", videos, root_.wstring() + L"\\"};
    Command(ID_PICTURE_FOLDER);
    Command(ID_VIDEO_FOLDER);
    Command(ID_EXPORT_FOLDER);
    EXPECT_EQ(Option(L"PicF"), L"C:\\");
    EXPECT_EQ(Option(L"AviF"), videos + L"\\");
    EXPECT_EQ(Option(L"XWF"), root_.wstring() + L"\\");
    EXPECT_EQ(app_.m_strPictureFolder, L"C:\\");
    EXPECT_EQ(camera_->shotFolder, L"C:\\");
    EXPECT_EQ(camera_->videoFolder, videos + L"\\");
}

TEST_F(MikraViewLayoutTest, RulersHideWhileThePictureIsShownSmallerThanItsSize) {
    frame_.m_bShowRuler = 1;
    frame_.ShowRulerBars();
    ASSERT_NO_FATAL_FAILURE(ShowPicture(60, 40));
    Command(ID_PICTURE_ACTUAL_SIZE);
    EXPECT_TRUE(RulersShown());
    Command(ID_PICTURE_ZOOM_OUT);
    EXPECT_FALSE(RulersShown());
    Command(ID_PICTURE_ZOOM_IN);
    Command(ID_PICTURE_ZOOM_IN);
    EXPECT_TRUE(RulersShown());
}

TEST_F(MikraViewLayoutTest, TheBarsFollowTheViewsPictureScrollAndMouse) {
    frame_.m_bShowRuler = 1;
    frame_.ShowRulerBars();
    ShowWithoutActivating(frame_);
    ASSERT_NO_FATAL_FAILURE(ShowPicture(1600, 1200));
    Command(ID_PICTURE_ACTUAL_SIZE);
    SendMessageW(view_->GetSafeHwnd(), WM_HSCROLL, SB_PAGEDOWN, 0);
    const POINT scroll = view_->GetScrollPosition();
    ASSERT_GT(scroll.x, 0);
    const CRulerView* top = frame_.GetSplitter().GetRuler(true);
    const CRulerView* left = frame_.GetSplitter().GetRuler(false);
    ASSERT_NE(top, nullptr);
    ASSERT_NE(left, nullptr);
    for (const CRulerView* bar : {top, left}) {
        const RulerBarGeometry& g = bar->GetGeometry();
        EXPECT_EQ(g.width, 1600);
        EXPECT_EQ(g.height, 1200);
        EXPECT_EQ(g.zoomX, 1.0f);
        EXPECT_EQ(g.scroll.x, scroll.x);
    }
    SendMessageW(view_->GetSafeHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(40, 30));
    EXPECT_EQ(top->GetMarker(), 40);
    EXPECT_EQ(left->GetMarker(), 30);
}

TEST_F(MikraViewLayoutTest, TheShownPictureDrawsTheMeasuringRulerOverItsObjects) {
    CRulerOverlay* ruler = view_->GetRulerOverlay();
    ASSERT_NE(ruler, nullptr) << "made by the initial update";
    ASSERT_NO_FATAL_FAILURE(ShowPicture(200, 100));
    Command(ID_PICTURE_ACTUAL_SIZE);
    CImageController* controller = view_->GetCurrentController();
    EXPECT_EQ(controller->GetRulerOverlay(), ruler);
    ruler->m_bShow = 1;
    ruler->m_bCentre = 0;
    ruler->m_nHorizontalPos = 40;
    ruler->m_nVerticalPos = 150;
    ruler->m_fScale = 0.5;
    ruler->m_nSpacing = 10;
    ruler->m_colour = RGB(255, 0, 0);
    controller->Render(1);
    const CanvasPlacement& place = controller->GetCanvas().Placement();
    HDC back = controller->GetCanvas().BackBuffer()->GetSafeHdc();
    const int x0 = place.centreX - place.scrollX;
    const int y0 = place.centreY - place.scrollY;
    EXPECT_EQ(GetPixel(back, x0 + 30, y0 + 40), RGB(255, 0, 0)) << "the horizontal line";
    EXPECT_EQ(GetPixel(back, x0 + 150, y0 + 90), RGB(255, 0, 0)) << "the vertical line";
    EXPECT_EQ(GetPixel(back, x0 + 100, y0 + 45), RGB(255, 0, 0)) << "the fifth tick";
    EXPECT_NE(GetPixel(back, x0 + 100, y0 + 46), RGB(255, 0, 0));
    EXPECT_NE(GetPixel(back, x0 + 30, y0 + 80), RGB(255, 0, 0));
}

TEST_F(MikraViewLayoutTest, MovingTheFrameLaysThePictureOutAgain) {
    ShowWithoutActivating(frame_);
    ASSERT_NO_FATAL_FAILURE(ShowPicture(1600, 1200));
    Command(ID_PICTURE_ACTUAL_SIZE);
    SendMessageW(view_->GetSafeHwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
    ASSERT_GT(view_->GetScrollPosition().y, 0);
    ASSERT_GT(view_->GetCurrentController()->GetCanvas().Placement().scrollY, 0);
    RECT frame{};
    GetWindowRect(frame_.GetSafeHwnd(), &frame);
    SetWindowPos(frame_.GetSafeHwnd(), nullptr, frame.left + 20, frame.top + 10, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(view_->GetScrollPosition().y, 0);
    EXPECT_EQ(view_->GetCurrentController()->GetCanvas().Placement().scrollY, 0);
}

}  // namespace
