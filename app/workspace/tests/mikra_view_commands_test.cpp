// The view's command tables: camera settings act only while the video is
// open, the drawing tools and selection commands act on the target
// controller only, and the counting grid is a picture-only toggle.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "calibration_choice_resource.h"
#include "calibration_store.h"
#include "cl_arrow.h"
#include "color_button.h"
#include "camera_resource.h"
#include "cl_scale_bar.h"
#include "ini_file.h"
#include "ini_profile.h"
#include "object_dialogs_resource.h"
#include "fake_camera.h"
#include "language_library.h"
#include "modal_script.h"
#include "office_exports.h"
#include "mikra_view.h"
#include "picture_files.h"
#include "recording_view_frame.h"
#include "view_with_camera_double.h"
#include "resource.h"

namespace {

class ViewCommandsTest : public ViewWithCameraDouble {
protected:
    void SetUp() override { ASSERT_NO_FATAL_FAILURE(CreateView()); }

    bool Run(UINT id) { return view_->RunCommand(id); }

    PictureFiles files_{L"vizcam_view_commands"};
};

struct CameraCase {
    UINT id;
    const char* call;
    std::function<bool(const FakeCamera&)> done;
};

TEST_F(ViewCommandsTest, CameraSettingsActOnlyWhileTheVideoIsOpen) {
    const CameraCase cases[] = {
        {ID_VIDEO_BLACK_WHITE, "SetBW", [](const FakeCamera& c) { return c.bw == 1; }},
        {ID_VIDEO_LIGHT_AVERAGE, "SetLightAVG", [](const FakeCamera& c) { return c.lightAvg == 1; }},
        {ID_VIDEO_SHARPEN, "SetClearView", [](const FakeCamera& c) { return c.clearView == 1; }},
        {ID_VIDEO_CROP_ZOOM, "SetVideoZoom", [](const FakeCamera& c) { return c.videoZoom == 1; }},
        {ID_VIDEO_BAD_PIXEL_CORRECTION, "SetFinBadPNT", [](const FakeCamera&) { return true; }},
        {ID_VIDEO_EXPOSURE_TIME, "SetExposureUnit", [](const FakeCamera& c) { return c.exposureUnit == 1; }},
        {ID_VIDEO_CROSS_LINE, "EnableCrossLine",
         [](const FakeCamera& c) { return c.crossLine == 1 && c.crossX == 320 && c.crossY == 240; }},
        {ID_VIDEO_AUTO_EXPOSURE, "SetAutoExposure", [](const FakeCamera& c) { return c.paramFileIndexSet == -1; }},
        {ID_VIDEO_AUTO_WHITE_BALANCE, "SetAutoWhiteBalance",
         [](const FakeCamera& c) { return c.paramFileIndexSet == -1; }},
    };
    for (const CameraCase& c : cases) {
        camera_->calls.clear();
        ASSERT_TRUE(Run(c.id)) << c.call;
        EXPECT_TRUE(camera_->calls.empty()) << c.call << " ran without video";
    }
    view_->OpenVideo();
    ASSERT_TRUE(camera_->videoOpen);
    for (const CameraCase& c : cases) {
        camera_->calls = {};
        camera_->paramFileIndexSet = 5;
        frame_.paramFileSelection = 2;
        Run(c.id);
        ASSERT_EQ(camera_->calls.size(), 1u) << c.call;
        EXPECT_EQ(camera_->calls[0], c.call);
        EXPECT_TRUE(c.done(*camera_)) << c.call;
    }
    EXPECT_EQ(frame_.paramFileSelection, -1);
    // The toggles go back.
    Run(ID_VIDEO_BLACK_WHITE);
    Run(ID_VIDEO_CROSS_LINE);
    Run(ID_VIDEO_EXPOSURE_LINES);
    EXPECT_EQ(camera_->bw, 0);
    EXPECT_EQ(camera_->crossLine, 0);
    EXPECT_EQ(camera_->exposureUnit, 0);
}

// The crosshair dialog edits the open camera's lines; without video the
// command shows nothing.
TEST_F(ViewCommandsTest, VideoParametersRunTheCamerasDialogAndShowItsParameterFile) {
    camera_->paramFileIndex = 4;
    camera_->calls.clear();
    ASSERT_TRUE(Run(ID_VIDEO_PARAMETERS));
    EXPECT_TRUE(camera_->calls.empty());
    view_->OpenVideo();
    ASSERT_TRUE(camera_->videoOpen);
    camera_->calls.clear();
    frame_.paramFileSelection = 1;
    frame_.comboCalls.clear();
    Run(ID_VIDEO_PARAMETERS);
    EXPECT_EQ(camera_->calls, (std::vector<std::string>{"ShowVideoParams"}));
    // The dialog may have saved or deleted files: listed again before the choice.
    EXPECT_EQ(frame_.comboCalls, (std::vector<std::wstring>{L"RefillParamFiles"}));
    EXPECT_EQ(frame_.paramFileSelection, 4);
}

TEST_F(ViewCommandsTest, CrosshairSettingsEditTheOpenCamerasLines) {
    ASSERT_TRUE(Run(ID_VIDEO_CROSS_LINE_SETTINGS));
    EXPECT_EQ(camera_->GetCrossLineCount(), 0);
    view_->OpenVideo();
    HWND shown = nullptr;
    testing_support::ModalScript script({[&](HWND d) {
        if (GetDlgItem(d, IDC_CROSS_COUNT) && GetDlgItem(d, IDC_CROSS_SHOW_ALL)) {
            shown = d;
            SetDlgItemTextW(d, IDC_CROSS_COUNT, L"2");
            testing_support::ModalScript::Press(d, IDOK);
        }
    }});
    Run(ID_VIDEO_CROSS_LINE_SETTINGS);
    EXPECT_TRUE(script.Finished());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(camera_->GetCrossLineCount(), 2);
}

// In any state: OK gives the camera the chosen type (choices 0 to 2 are
// types 1 to 3), naming and size; Cancel gives it nothing.
TEST_F(ViewCommandsTest, SnapshotSettingsGiveTheCameraTheDialogsChoices) {
    camera_->imageType = 1;
    camera_->nameType = 0;
    camera_->resolutions = {{L"640 * 480", 640, 480}, {L"1280 * 1024", 1280, 1024}};
    camera_->snapshotSize = {L"Fixed", 640, 480};
    int shownSelection = -2;
    {
        testing_support::ModalScript cancel({[&](HWND d) {
            shownSelection = int(SendMessageW(GetDlgItem(d, IDC_SHOT_RESOLUTION), CB_GETCURSEL, 0, 0));
            testing_support::ModalScript::Press(d, IDCANCEL);
        }});
        camera_->calls.clear();
        ASSERT_TRUE(Run(ID_VIDEO_SNAPSHOT_SETTINGS));
        EXPECT_TRUE(cancel.Finished());
    }
    EXPECT_EQ(shownSelection, 0);
    EXPECT_TRUE(camera_->calls.empty());
    testing_support::ModalScript ok({[](HWND d) {
        SendMessageW(GetDlgItem(d, IDC_SHOT_TIFF), BM_CLICK, 0, 0);
        SendMessageW(GetDlgItem(d, IDC_SHOT_USER_NAMES), BM_CLICK, 0, 0);
        HWND combo = GetDlgItem(d, IDC_SHOT_RESOLUTION);
        SendMessageW(combo, CB_SETCURSEL, 1, 0);
        SendMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_SHOT_RESOLUTION, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        testing_support::ModalScript::Press(d, IDOK);
    }});
    Run(ID_VIDEO_SNAPSHOT_SETTINGS);
    EXPECT_TRUE(ok.Finished());
    EXPECT_EQ(camera_->calls, (std::vector<std::string>{"SaveSnapshotSize"}));
    EXPECT_EQ(camera_->imageType, 3);
    EXPECT_EQ(camera_->nameType, 1);
    EXPECT_EQ(camera_->snapshotSize.label, L"Fixed");
    EXPECT_EQ(camera_->snapshotSize.width, 1280);
    EXPECT_EQ(camera_->snapshotSize.height, 1024);
}

TEST_F(ViewCommandsTest, TheFixedSnapshotNeedsVideoAndNoRecording) {
    camera_->nameType = 1;
    Run(ID_VIDEO_FIXED_SNAPSHOT);
    EXPECT_TRUE(camera_->savedNames.empty());
    view_->OpenVideo();
    Run(ID_VIDEO_FIXED_SNAPSHOT);
    ASSERT_EQ(camera_->savedNames.size(), 1u);
    EXPECT_EQ(camera_->savedNames[0], L"ShotPictemp_0");
    camera_->recording = 1;
    Run(ID_VIDEO_FIXED_SNAPSHOT);
    EXPECT_EQ(camera_->savedNames.size(), 1u);
}

TEST_F(ViewCommandsTest, ToolsCancelAndSelectOnTheTargetControllerOnly) {
    struct Case {
        UINT id;
        int tool;
    };
    const Case tools[] = {{ID_TOOL_CALIBRATION_LINE, 1}, {ID_TOOL_LINE, 2},     {ID_TOOL_LINE_ANGLE, 4},
                          {ID_TOOL_ELLIPSE, 10},         {ID_TOOL_COUNTER, 14}, {ID_TOOL_COUNTER_RECTANGLE, 16}};
    CImageController& picture = *view_->GetCurrentController();
    for (const Case& c : tools) {
        ASSERT_TRUE(Run(c.id)) << c.id;
        EXPECT_EQ(picture.GetInteraction().tool, c.tool) << c.id;
        EXPECT_EQ(picture.GetInteraction().drawingMode, 1);
    }
    Run(ID_CANCEL_DRAWING);
    EXPECT_EQ(picture.GetInteraction().tool, 0);
    Run(ID_TOOL_SELECT);
    EXPECT_EQ(picture.GetInteraction().selectMode, 1);
    // Selecting again only cancels.
    Run(ID_TOOL_SELECT);
    EXPECT_EQ(picture.GetInteraction().selectMode, 0);

    // Video without live measuring: no target, nothing changes.
    view_->OpenVideo();
    ASSERT_EQ(view_->GetTargetController(), nullptr);
    Run(ID_TOOL_LINE);
    EXPECT_EQ(picture.GetInteraction().tool, 0);
    EXPECT_EQ(view_->GetLiveController().GetInteraction().tool, 0);
}

TEST_F(ViewCommandsTest, TheCountingGridIsAPictureOnlyToggle) {
    Run(ID_COUNT_GRID);
    EXPECT_EQ(view_->IsCountingGridShown(), 1);
    Run(ID_COUNT_GRID);
    EXPECT_EQ(view_->IsCountingGridShown(), 0);
    view_->OpenVideo();
    Run(ID_COUNT_GRID);
    EXPECT_EQ(view_->IsCountingGridShown(), 0);
}

TEST_F(ViewCommandsTest, UpdatesFollowTheCameraTheViewAndTheTargetController) {
    const auto state = [this](UINT id) {
        CCommandState s(id);
        EXPECT_TRUE(view_->UpdateCommand(s)) << id;
        return std::pair{s.IsEnabled(), s.IsChecked()};
    };
    EXPECT_EQ(state(ID_VIDEO_OPEN), (std::pair{true, false}));
    EXPECT_EQ(state(ID_VIDEO_CLOSE).first, false);
    EXPECT_EQ(state(ID_VIDEO_BLACK_WHITE).first, false);
    // No picture: the tools are blocked.
    EXPECT_EQ(state(ID_TOOL_LINE).first, false);

    const std::wstring file = files_.Bmp(L"a.bmp", 4, 4, 0xFF0000);
    view_->OpenPicture(file);
    view_->ShowPicture(file);
    Run(ID_TOOL_LINE);
    EXPECT_EQ(state(ID_TOOL_LINE), (std::pair{true, true}));
    EXPECT_EQ(state(ID_TOOL_CIRCLE), (std::pair{true, false}));
    Run(ID_COUNT_GRID);
    EXPECT_TRUE(state(ID_COUNT_GRID).second);

    view_->OpenVideo();
    camera_->bw = 1;
    EXPECT_EQ(state(ID_VIDEO_OPEN), (std::pair{true, true}));
    EXPECT_EQ(state(ID_VIDEO_CLOSE).first, true);
    EXPECT_EQ(state(ID_VIDEO_BLACK_WHITE), (std::pair{true, true}));
    camera_->recordDisabled = 1;
    EXPECT_EQ(state(ID_VIDEO_RECORD).first, false);
    // Video without live measuring: no target for the tools.
    EXPECT_EQ(state(ID_TOOL_LINE).first, false);
}

TEST_F(ViewCommandsTest, TheViewReleasesItsCameraWhileItsWindowStillExists) {
    bool destroyed = false;
    bool windowAlive = false;
    camera_->destroyed = &destroyed;
    view_->OpenVideo();
    const HWND window = view_->GetSafeHwnd();
    camera_->onDestroy = [&] { windowAlive = IsWindow(window) != FALSE; };
    view_.reset();
    EXPECT_TRUE(destroyed);
    EXPECT_TRUE(windowAlive) << "the camera must stop its preview in a live window";
}

}  // namespace

namespace {

// Records which operation ran; each changes the picture, and the rotation
// turns it a quarter.
class RecordingFilters final : public IImageFilterCommands {
public:
    std::vector<std::string> calls;
    bool Blur(CPicture& p) override { return Mark("Blur", p); }
    bool Sharpen(CPicture& p) override { return Mark("Sharpen", p); }
    bool Emboss(CPicture& p) override { return Mark("Emboss", p); }
    bool Mirror(CPicture& p) override { return Mark("Mirror", p); }
    bool Negative(CPicture& p) override { return Mark("Negative", p); }
    bool EdgeDetect(CPicture& p) override { return Mark("EdgeDetect", p); }
    bool Rotate(CPicture& p) override {
        CPicture turned;
        p.RotateRight(turned);
        p = std::move(turned);
        return Mark("Rotate", p);
    }
    bool HueSaturation(CPicture& p) override { return Mark("HueSaturation", p); }
    bool AdjustRGB(CPicture& p) override { return Mark("AdjustRGB", p); }

private:
    bool Mark(const char* name, CPicture& p) {
        calls.emplace_back(name);
        p.Pixels()[0] ^= 0xFF;
        return true;
    }
};

TEST_F(ViewCommandsTest, PictureOperationsRunOnTheCurrentPictureAndNeverOnVideo) {
    const UINT ids[] = {ID_PICTURE_BLUR,   ID_PICTURE_SHARPEN,        ID_PICTURE_EMBOSS,
                        ID_PICTURE_MIRROR, ID_PICTURE_NEGATIVE,       ID_PICTURE_EDGES,
                        ID_PICTURE_ROTATE, ID_PICTURE_HUE_SATURATION, ID_PICTURE_ADJUST_RGB};
    const std::vector<std::string> names = {"Blur",       "Sharpen", "Emboss",        "Mirror",   "Negative",
                                            "EdgeDetect", "Rotate",  "HueSaturation", "AdjustRGB"};
    RecordingFilters filters;
    // Set before the picture is opened: later controllers get it as well.
    view_->SetFilterCommands(&filters);
    const std::wstring file = files_.Bmp(L"wide.bmp", 6, 4, 0x00FF00);
    view_->OpenPicture(file);
    view_->ShowPicture(file);
    CImageController& current = *view_->GetCurrentController();
    const std::size_t stepsBefore = current.GetHistoryStore().UndoList().size();
    for (const UINT id : ids) {
        current.SetTool(2);
        ASSERT_TRUE(Run(id));
        EXPECT_EQ(current.GetInteraction().tool, 0) << "the drawing is cancelled first: " << id;
    }
    EXPECT_EQ(filters.calls, names);
    EXPECT_EQ(current.GetHistoryStore().UndoList().size(), stepsBefore + names.size()) << "one step each";
    const std::wstring& size = frame_.statusPanes[3];
    ASSERT_GE(size.size(), 3u);
    EXPECT_EQ(size.substr(size.size() - 3), L"4*6") << "the rotated size is shown";

    filters.calls.clear();
    view_->OpenVideo();
    for (const UINT id : ids) {
        Run(id);
    }
    EXPECT_TRUE(filters.calls.empty());
}

class StandInGridPlate final : public IGridPlateDialog {
public:
    bool EditGridPlate(int calibration) override {
        calibrations.push_back(calibration);
        return accept;
    }
    std::vector<int> calibrations;
    bool accept = true;
};

TEST_F(ViewCommandsTest, GridSettingsOpenOnTheChosenCalibrationButNeverWhileRecording) {
    StandInGridPlate grid;
    Run(ID_COUNT_GRID_SETTINGS);  // no dialog supplied: nothing happens
    view_->SetGridPlateDialog(&grid);
    frame_.calibrationSelection = 2;
    Run(ID_COUNT_GRID_SETTINGS);
    EXPECT_EQ(grid.calibrations, std::vector<int>{2});
    // Shown grid: the answer is taken over and the dialog may say no.
    Run(ID_COUNT_GRID);
    grid.accept = false;
    Run(ID_COUNT_GRID_SETTINGS);
    EXPECT_EQ(grid.calibrations, (std::vector<int>{2, 2}));
    view_->OpenVideo();
    view_->StartRecording();
    ASSERT_EQ(camera_->recording, 1);
    Run(ID_COUNT_GRID_SETTINGS);
    EXPECT_EQ(grid.calibrations.size(), 2u);
}

// The calibration selection command over a scale.ini of the test's own.
class ViewCalibrationCommandTest : public ViewCommandsTest {
protected:
    void SetUp() override {
        ViewCommandsTest::SetUp();
        scale_ = std::filesystem::temp_directory_path() / L"vizcam_view_commands_scale.ini";
        std::filesystem::remove(scale_);
        {
            IniProfile file(scale_.wstring());
            CalibrationStore store(file);
            store.Save(u"4x", 2.0f, u"cm", 640, 480);
            store.Save(u"10x", 0.5f, u"mm", 800, 600);
            store.Save(u"40x", 0.125f, u"inch", 1024, 768);
        }
        view_->SetScaleIniPath(scale_.wstring());
        file_ = files_.Bmp(L"calibrated.bmp", 40, 30, 0x808080);
        view_->OpenPicture(file_);
        view_->ShowPicture(file_);
        frame_.comboCalls.clear();
    }
    void TearDown() override {
        ViewCommandsTest::TearDown();
        std::filesystem::remove(scale_);
    }
    std::filesystem::path scale_;
    std::wstring file_;
};

TEST_F(ViewCalibrationCommandTest, TheChosenCalibrationIsAppliedAndShownInTheCombo) {
    CImageController* picture = view_->GetCurrentController();
    ASSERT_NE(picture, nullptr);
    picture->SetTool(2);
    testing_support::ModalScript script({[](HWND d) {
        testing_support::ModalScript::SelectListRow(d, 2);
        testing_support::ModalScript::Press(d, IDOK);
    }});
    ASSERT_TRUE(Run(ID_SELECT_CALIBRATION));
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(picture->GetInteraction().tool, 0);
    EXPECT_EQ(picture->GetCalibrationScale(), 0.125f);
    EXPECT_EQ(picture->GetCalibrationUnit(), u"inch");
    EXPECT_EQ(frame_.comboCalls, (std::vector<std::wstring>{L"Refill", L"Select 0.125 inch", L"SelectName 40x"}));
}

TEST_F(ViewCalibrationCommandTest, CancelChangesNothingUnlessCalibrationsWereDeleted) {
    CImageController* picture = view_->GetCurrentController();
    testing_support::ModalScript cancel({[](HWND d) { testing_support::ModalScript::Press(d, IDCANCEL); }});
    Run(ID_SELECT_CALIBRATION);
    EXPECT_TRUE(cancel.Finished());
    EXPECT_TRUE(frame_.comboCalls.empty());
    EXPECT_EQ(picture->GetCalibrationScale(), 1.0f);

    // OK without a row is a cancel too: no calibration of 1 per pixel is applied.
    picture->ApplyStoredCalibration(0.5f, u"mm");
    testing_support::ModalScript noRow({[](HWND d) { testing_support::ModalScript::Press(d, IDOK); }});
    Run(ID_SELECT_CALIBRATION);
    EXPECT_TRUE(frame_.comboCalls.empty());
    EXPECT_EQ(picture->GetCalibrationScale(), 0.5f);

    // A deletion renumbers the sections: the combo is refilled and shows the
    // picture's calibration again, though the dialog was cancelled.
    testing_support::ModalScript deleted({[](HWND d) {
                                              testing_support::ModalScript::SelectListRow(d, 0);
                                              testing_support::ModalScript::Press(d, IDC_SCALE_DELETE);
                                          },
                                          [](HWND d) { testing_support::ModalScript::Press(d, IDCANCEL); }});
    Run(ID_SELECT_CALIBRATION);
    EXPECT_TRUE(deleted.Finished());
    EXPECT_EQ(frame_.comboCalls, (std::vector<std::wstring>{L"Refill", L"Select 0.5 mm"}));
    EXPECT_EQ(picture->GetCalibrationScale(), 0.5f);
}

TEST_F(ViewCalibrationCommandTest, TheScaleBarDialogSetsUpTheScaleBarTool) {
    CImageController* picture = view_->GetCurrentController();
    picture->drawColour = static_cast<ColourRef>(RGB(0, 200, 0));
    testing_support::ModalScript cancel({[](HWND d) { testing_support::ModalScript::Press(d, IDCANCEL); }});
    Run(ID_TOOL_SCALE_BAR);
    EXPECT_TRUE(cancel.Finished());
    EXPECT_EQ(picture->GetInteraction().tool, 0);
    testing_support::ModalScript ok({[](HWND d) {
        SendMessageW(GetDlgItem(d, IDC_BAR_UNIT), CB_SETCURSEL, 1, 0);
        testing_support::ModalScript::SetText(d, IDC_BAR_LENGTH, L"20");
        testing_support::ModalScript::SetText(d, IDC_BAR_WIDTH, L"3");
        testing_support::ModalScript::Press(d, IDOK);
    }});
    Run(ID_TOOL_SCALE_BAR);
    EXPECT_TRUE(ok.Finished());
    EXPECT_EQ(picture->GetInteraction().tool, CCL_BiaoChi::kType);
    EXPECT_EQ(picture->scaleBar.value, 20.0f);
    EXPECT_EQ(picture->scaleBar.thickness, 3);
    EXPECT_EQ(picture->scaleBar.unitText, u"mm");
    EXPECT_EQ(picture->scaleBar.colour, RGB(0, 200, 0));
}

TEST_F(ViewCalibrationCommandTest, TheArrowPanelNeverOutlivesItsPicture) {
    EXPECT_EQ(view_->GetArrowPanelWindow(), nullptr);
    Run(ID_TOOL_ARROW);
    HWND panel = view_->GetArrowPanelWindow();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(IsWindowVisible(panel));
    EXPECT_NE(GetDlgItem(panel, IDC_ARROW_UP), nullptr);
    Run(ID_CANCEL_DRAWING);
    EXPECT_EQ(view_->GetArrowPanelWindow(), nullptr);
    EXPECT_FALSE(IsWindow(panel));

    Run(ID_TOOL_ARROW);
    panel = view_->GetArrowPanelWindow();
    ASSERT_NE(panel, nullptr);
    view_->GetCurrentController()->ClosePicture();
    EXPECT_EQ(view_->GetArrowPanelWindow(), nullptr);
    EXPECT_FALSE(IsWindow(panel));

    // Closing the picture from the browser destroys its controller: the
    // panel goes first.
    view_->ShowPicture(file_);
    Run(ID_TOOL_ARROW);
    panel = view_->GetArrowPanelWindow();
    ASSERT_NE(panel, nullptr);
    view_->RemovePicture(file_, false);
    EXPECT_EQ(view_->GetArrowPanelWindow(), nullptr);
    EXPECT_FALSE(IsWindow(panel));
}

TEST_F(ViewCalibrationCommandTest, TheArrowPanelShowsAChosenWhiteAsWhiteWhenTheToolIsChosenAgain) {
    Run(ID_TOOL_ARROW);
    HWND panel = view_->GetArrowPanelWindow();
    ASSERT_NE(panel, nullptr);
    HWND colour = GetDlgItem(panel, IDC_ARROW_COLOUR);
    auto* button = dynamic_cast<CColorButton*>(CWindow::FromHandle(colour));
    ASSERT_NE(button, nullptr);
    // The swatch as the button paints it, left of its drop-down arrow.
    const auto swatch = [colour] {
        RECT client{};
        GetClientRect(colour, &client);
        CMemoryDC shown(nullptr, client.right, client.bottom, CMemoryDC::Kind::dibSection);
        SendMessageW(colour, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shown.GetSafeHdc()), PRF_CLIENT);
        return shown.GetPixelRGB(client.right / 4, client.bottom / 2);
    };
    button->SetColor(RGB(255, 255, 255));
    SendMessageW(panel, WM_COLOR_SELECTED, RGB(255, 255, 255), IDC_ARROW_COLOUR);
    EXPECT_EQ(button->GetColor(), RGB(254, 254, 254)) << "kept off white while chosen";

    // The arrow tool chosen again while its panel is open shows it afresh.
    CImageController& picture = *view_->GetCurrentController();
    picture.SetTool(CCLArrow::kType);
    ASSERT_EQ(view_->GetArrowPanelWindow(), panel);
    EXPECT_TRUE(IsWindowVisible(panel));
    EXPECT_EQ(button->GetColor(), RGB(255, 255, 255));
    EXPECT_EQ(swatch(), 0xFFFFFFu);
    EXPECT_EQ(picture.GetArrowPrototype().GetArrowColor(), static_cast<ColourRef>(RGB(254, 254, 254)));

    // Another tool closes it: it belongs to the arrow tool alone.
    picture.SetTool(2);
    EXPECT_EQ(view_->GetArrowPanelWindow(), nullptr);
    EXPECT_FALSE(IsWindow(panel));
}

TEST_F(ViewCommandsTest, FullScreenVideoIsRefusedWhileRecordingOrMeasuringElseFillsTheDialog) {
    CWindow screen;
    ASSERT_TRUE(screen.CreateEx(0, L"VizcamViewTestParent", L"", WS_POPUP, RECT{0, 0, 50, 50}, nullptr, 0));
    frame_.fullScreenWindow = screen.GetSafeHwnd();
    ASSERT_TRUE(Run(ID_VIDEO_FULL_SCREEN));  // no video
    view_->OpenVideo();
    view_->StartRecording();
    ASSERT_EQ(camera_->recording, 1);
    Run(ID_VIDEO_FULL_SCREEN);
    view_->StopRecording();
    Run(ID_LIVE_MEASURE);
    ASSERT_EQ(view_->IsLiveMeasuring(), 1);
    Run(ID_VIDEO_FULL_SCREEN);
    Run(ID_LIVE_MEASURE);
    ASSERT_EQ(view_->IsLiveMeasuring(), 0);
    EXPECT_EQ(frame_.fullScreenShown, 0);
    EXPECT_FALSE(view_->IsFullScreenVideo());

    ASSERT_TRUE(camera_->videoOpen);
    camera_->calls.clear();
    Run(ID_VIDEO_FULL_SCREEN);
    EXPECT_EQ(frame_.fullScreenShown, 1);
    EXPECT_TRUE(view_->IsFullScreenVideo());
    EXPECT_EQ(camera_->host, screen.GetSafeHwnd());
    EXPECT_TRUE(camera_->videoOpen);
    const auto at = [&](const char* call) {
        return std::find(camera_->calls.begin(), camera_->calls.end(), call) - camera_->calls.begin();
    };
    // The view's video closes first; the camera fills the dialog it then previews into.
    EXPECT_LT(at("StopPreview"), at("SetFillWindow 1"));
    EXPECT_LT(at("SetFillWindow 1"), at("StartPreview"));
    EXPECT_LT(at("StartPreview"), static_cast<std::ptrdiff_t>(camera_->calls.size()));
    // Already full screen: nothing more.
    Run(ID_VIDEO_FULL_SCREEN);
    EXPECT_EQ(frame_.fullScreenShown, 1);

    // The frame cannot show its dialog: the video stays in the view.
    view_->SetFullScreenVideo(false);
    frame_.fullScreenWindow = nullptr;
    camera_->calls.clear();
    Run(ID_VIDEO_FULL_SCREEN);
    EXPECT_FALSE(view_->IsFullScreenVideo());
    EXPECT_EQ(at("StopPreview"), static_cast<std::ptrdiff_t>(camera_->calls.size()));
}

}  // namespace

namespace {

class StandInImagingDialogs final : public IImagingDialogs {
public:
    void RunFusion() override { runs.push_back("fusion"); }
    void RunStitching() override { runs.push_back("stitching"); }
    std::vector<std::string> runs;
};

TEST_F(ViewCommandsTest, FusionAndStitchingOpenOnPicturesOnly) {
    StandInImagingDialogs dialogs;
    Run(ID_TOOLS_FUSION);  // no dialogs supplied: nothing happens
    view_->SetImagingDialogs(&dialogs);
    Run(ID_TOOLS_FUSION);
    Run(ID_TOOLS_STITCHING);
    EXPECT_EQ(dialogs.runs, (std::vector<std::string>{"fusion", "stitching"}));
    view_->OpenVideo();
    ASSERT_TRUE(camera_->videoOpen);
    Run(ID_TOOLS_FUSION);
    Run(ID_TOOLS_STITCHING);
    EXPECT_EQ(dialogs.runs.size(), 2u);
}

class WordTemplateExports final : public IOfficeExports {
public:
    OfficeExportOptions Options() override { return {}; }
    std::filesystem::path ExportFolder() override { return std::filesystem::temp_directory_path(); }
    void ExportExcel(const ObjectList&, const CounterStyleList&, const std::filesystem::path&,
                     const std::filesystem::path&) override {}
    void ExportWord(const ObjectList&, const std::filesystem::path&, const std::filesystem::path&, float, int,
                    bool) override {}
    void ShowExcelSettings() override {}
    void ShowWordTemplate() override { ++dialogs; }
    int dialogs = 0;
};

TEST_F(ViewCommandsTest, TheWordTemplateDialogOpensWhenConfiguredAndNeverOverVideo) {
    WordTemplateExports exports;
    view_->SetOfficeExports(&exports);
    CIniFile settings;
    ASSERT_TRUE(settings.WriteInt(0, L"Option", L"ExportWordTemplateDlg"));
    Run(ID_EXPORT_WORD_TEMPLATE);
    EXPECT_EQ(exports.dialogs, 0);
    ASSERT_TRUE(settings.WriteInt(1, L"Option", L"ExportWordTemplateDlg"));
    Run(ID_EXPORT_WORD_TEMPLATE);
    EXPECT_EQ(exports.dialogs, 1);
    view_->OpenVideo();
    ASSERT_TRUE(camera_->videoOpen);
    Run(ID_EXPORT_WORD_TEMPLATE);
    EXPECT_EQ(exports.dialogs, 1);
    settings.WriteInt(0, L"Option", L"ExportWordTemplateDlg");
    view_->SetOfficeExports(nullptr);
}

}  // namespace
