// The view's zoom, scrolling, wheel and layout over a recording frame and
// the camera double: zoom steps and the ruler geometry, the picture drawn
// at the scroll bar's final position, the video refitted and moved with the
// bars, and the folder commands with the folder dialog answered by the test.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "picture.h"
#include "picture_files.h"
#include "resource.h"
#include "resource_module.h"
#include "scripted_dialogs.h"
#include "view_with_camera_double.h"

namespace {

class ViewLayoutTest : public ViewWithCameraDouble {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(CreateView());
        view_->SetCommonDialogs(&dialogs_);
        SetWindowPos(view_->GetSafeHwnd(), nullptr, 0, 0, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
        // A picture larger than the view whose pixel (x, y) is blue x % 256,
        // green y % 256 (rows are stored bottom up): a window pixel tells
        // where the picture was drawn from.
        CPicture ramp(900, 700, 24, kPictureBmp);
        for (int y = 0; y < 700; ++y) {
            std::uint8_t* row = ramp.GetBits(y);
            for (int x = 0; x < 900; ++x) {
                row[x * 3] = static_cast<std::uint8_t>(x);
                row[x * 3 + 1] = static_cast<std::uint8_t>(699 - y);
                row[x * 3 + 2] = 0;
            }
        }
        ramp_ = (files_.Folder() / L"ramp.bmp").wstring();
        ASSERT_TRUE(ramp.Save(ramp_, kPictureBmp));
        view_->OpenPicture(ramp_);
        view_->ShowPicture(ramp_);
        ASSERT_TRUE(view_->GetCurrentController()->HasWindow());
    }
    void Command(UINT id) { view_->RunCommand(id); }
    CImageController& Current() { return *view_->GetCurrentController(); }
    POINT Bar() const { return view_->GetScrollPosition(); }
    // The picture pixel drawn at the window's top left corner.
    POINT DrawnFrom() {
        const std::uint32_t rgb = Current().GetBackBuffer()->GetPixelRGB(0, 0);
        return POINT{static_cast<LONG>(rgb & 0xFF), static_cast<LONG>((rgb >> 8) & 0xFF)};
    }
    // The picture follows the bars: its scroll origin and the pixel drawn
    // at the corner are the bars' positions.
    void ExpectInStep(const char* after) {
        const CanvasPlacement& place = Current().GetCanvas().Placement();
        EXPECT_EQ(place.scrollX, Bar().x) << after;
        EXPECT_EQ(place.scrollY, Bar().y) << after;
        EXPECT_EQ(DrawnFrom().x, Bar().x % 256) << after;
        EXPECT_EQ(DrawnFrom().y, Bar().y % 256) << after;
    }

    PictureFiles files_{L"vizcam_view_layout"};
    ScriptedDialogs dialogs_;
    std::wstring ramp_;
};

TEST_F(ViewLayoutTest, ZoomStepsByATenthAndTellsTheRulers) {
    Command(ID_PICTURE_ACTUAL_SIZE);
    for (int k = 0; k < 3; ++k) {
        Command(ID_PICTURE_ZOOM_IN);
    }
    EXPECT_NEAR(Current().GetZoom(), 1.331f, 1e-5f);
    ASSERT_FALSE(frame_.rulerUpdates.empty());
    EXPECT_EQ(frame_.rulerUpdates.back().mode, 3);
    EXPECT_FLOAT_EQ(frame_.rulerUpdates.back().geometry.zoomX, Current().GetZoom());
    EXPECT_EQ(frame_.rulerUpdates.back().geometry.width, 900);
    EXPECT_EQ(frame_.rulerUpdates.back().geometry.height, 700);
    Command(ID_PICTURE_ACTUAL_SIZE);
    EXPECT_EQ(Current().GetZoom(), 1.0f);
    Command(ID_PICTURE_ZOOM_OUT);
    EXPECT_NEAR(Current().GetZoom(), 0.9090909f, 1e-6f);
    EXPECT_FLOAT_EQ(frame_.rulerUpdates.back().geometry.zoomY, Current().GetZoom());
    // Fitted, the picture needs no scroll bars.
    Command(ID_PICTURE_FIT);
    EXPECT_LT(Current().GetZoom(), 0.5f);
    EXPECT_EQ(view_->GetTotalSize().cx, 0);
    EXPECT_EQ(view_->GetTotalSize().cy, 0);
}

TEST_F(ViewLayoutTest, ZoomWaitsWhileVideoIsOpen) {
    view_->OpenVideo();
    ASSERT_TRUE(camera_->videoOpen);
    const float zoom = Current().GetZoom();
    const std::size_t updates = frame_.rulerUpdates.size();
    for (const UINT id : {ID_PICTURE_ZOOM_IN, ID_PICTURE_ZOOM_OUT, ID_PICTURE_FIT, ID_PICTURE_ACTUAL_SIZE}) {
        Command(id);
    }
    EXPECT_EQ(Current().GetZoom(), zoom);
    EXPECT_EQ(frame_.rulerUpdates.size(), updates);
}

TEST_F(ViewLayoutTest, ScrollingAndTheWheelDrawThePictureWhereTheBarIs) {
    Command(ID_PICTURE_ACTUAL_SIZE);
    ASSERT_GT(view_->GetTotalSize().cx, 400);
    const HWND view = view_->GetSafeHwnd();
    struct Step {
        const char* what;
        UINT message;
        WPARAM wParam;
    };
    const Step steps[] = {
        {"line right", WM_HSCROLL, SB_LINEDOWN},
        {"page right", WM_HSCROLL, SB_PAGEDOWN},
        {"page down", WM_VSCROLL, SB_PAGEDOWN},
        {"line down", WM_VSCROLL, SB_LINEDOWN},
        {"wheel down", WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA))},
        {"line left", WM_HSCROLL, SB_LINEUP},
        {"wheel up", WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA)},
        {"end", WM_HSCROLL, SB_BOTTOM},
    };
    POINT before = Bar();
    for (const Step& step : steps) {
        SendMessageW(view, step.message, step.wParam, 0);
        EXPECT_TRUE(Bar().x != before.x || Bar().y != before.y) << step.what;
        ExpectInStep(step.what);
        before = Bar();
    }
    const auto& last = frame_.rulerUpdates.back();
    EXPECT_EQ(last.mode, 2);
    EXPECT_EQ(last.position.x, Bar().x);
}

TEST_F(ViewLayoutTest, ResizingStartsThePictureAtTheTopLeftAgain) {
    Command(ID_PICTURE_ACTUAL_SIZE);
    SendMessageW(view_->GetSafeHwnd(), WM_HSCROLL, SB_PAGEDOWN, 0);
    SendMessageW(view_->GetSafeHwnd(), WM_VSCROLL, SB_PAGEDOWN, 0);
    ASSERT_GT(Bar().x, 0);
    SetWindowPos(view_->GetSafeHwnd(), nullptr, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Bar().x, 0);
    EXPECT_EQ(Bar().y, 0);
    ExpectInStep("resize");
    // The bars cover the picture at the new size.
    EXPECT_EQ(view_->GetTotalSize().cx, 900);
    EXPECT_EQ(frame_.rulerUpdates.back().mode, 3);
    view_->UpdateLayout();
    ExpectInStep("layout");
}

TEST_F(ViewLayoutTest, VideoIsRefittedStretchedAndMovedWithTheBars) {
    view_->OpenVideo();
    ASSERT_TRUE(camera_->videoOpen);
    camera_->calls.clear();
    // Unstretched, the bars span the video.
    SendMessageW(view_->GetSafeHwnd(), WM_HSCROLL, SB_LINEDOWN, 0);
    SendMessageW(view_->GetSafeHwnd(), WM_VSCROLL, SB_LINEDOWN, 0);
    ASSERT_GT(Bar().x, 0);
    ASSERT_GT(Bar().y, 0);
    const std::string x = "SetVideoWindowPos " + std::to_string(Bar().x);
    const std::string y = "SetScrollOffset " + std::to_string(Bar().y);
    Command(ID_VIDEO_RESOLUTION);
    Command(ID_VIDEO_STRETCH);
    Command(ID_VIDEO_STRETCH);
    view_->UpdateLayout();
    EXPECT_EQ(camera_->calls, (std::vector<std::string>{x, y, "SetCaptureFormat", "FitVideoWindow 0",
                                                        "FitVideoWindow 1", "FitVideoWindow 0", "FitVideoWindow 0"}));
    EXPECT_EQ(view_->GetTotalSize().cx, 640);
    EXPECT_EQ(view_->GetTotalSize().cy, 480);
    // Stretched video needs no bars.
    Command(ID_VIDEO_STRETCH);
    EXPECT_EQ(view_->GetTotalSize().cx, 0);
}

TEST_F(ViewLayoutTest, WithoutVideoOnlyTheRefitOfTheCaptureFormatRuns) {
    camera_->calls.clear();
    Command(ID_VIDEO_STRETCH);
    EXPECT_TRUE(camera_->calls.empty());
    Command(ID_VIDEO_RESOLUTION);
    // The format is chosen only with video open; the refit runs in any state.
    EXPECT_EQ(camera_->calls, std::vector<std::string>{"FitVideoWindow 0"});
}

TEST_F(ViewLayoutTest, FolderCommandsStoreTheChoiceAndTellTheCamera) {
    struct Case {
        const char* what;
        UINT command;
        std::optional<std::wstring> answer;
        std::optional<std::wstring> stored;
    };
    const Case cases[] = {
        {"picture folder", ID_PICTURE_FOLDER, L"D:\\shots", L"D:\\shots\\"},
        {"drive root", ID_PICTURE_FOLDER, L"C:\\", L"C:\\"},
        {"video folder", ID_VIDEO_FOLDER, L"D:\\clips\\", L"D:\\clips\\"},
        {"export folder", ID_EXPORT_FOLDER, L"E:\\out", L"E:\\out\\"},
        {"cancelled", ID_PICTURE_FOLDER, std::nullopt, std::nullopt},
        {"no file-system path", ID_VIDEO_FOLDER, L"", std::nullopt},
    };
    for (const Case& c : cases) {
        frame_.storedFolders.clear();
        camera_->shotFolder = camera_->videoFolder = L"unchanged";
        dialogs_.folderAnswers.push_back(c.answer);
        Command(c.command);
        ASSERT_FALSE(dialogs_.folderQuestions.empty()) << c.what;
        EXPECT_EQ(dialogs_.folderQuestions.back().title, LoadResourceString(IDS_CHOOSE_FOLDER)) << c.what;
        if (!c.stored) {
            EXPECT_TRUE(frame_.storedFolders.empty()) << c.what;
            EXPECT_EQ(camera_->shotFolder, L"unchanged") << c.what;
            EXPECT_EQ(camera_->videoFolder, L"unchanged") << c.what;
            continue;
        }
        ASSERT_EQ(frame_.storedFolders.size(), 1u) << c.what;
        EXPECT_EQ(frame_.storedFolders[0].second, *c.stored) << c.what;
        EXPECT_EQ(camera_->shotFolder, c.command == ID_PICTURE_FOLDER ? *c.stored : L"unchanged") << c.what;
        EXPECT_EQ(camera_->videoFolder, c.command == ID_VIDEO_FOLDER ? *c.stored : L"unchanged") << c.what;
    }
}

TEST_F(ViewLayoutTest, TheFolderDialogStartsAtTheStoredFolder) {
    struct Case {
        std::wstring stored;
        std::optional<std::wstring> start;
    };
    const Case cases[] = {{L"C:\\pictures\\", L"C:\\pictures"}, {L"C:\\", L"C:\\"}, {L"", std::nullopt}};
    for (const Case& c : cases) {
        frame_.pictureFolder = c.stored;
        Command(ID_PICTURE_FOLDER);
        EXPECT_EQ(dialogs_.folderQuestions.back().start, c.start) << c.stored;
    }
}

}  // namespace
