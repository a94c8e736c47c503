#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_enabling.h"
#include "resource.h"

namespace {

// A picture is open and has everything the picture commands look at.
CommandFacts PictureShown() {
    CommandFacts f;
    f.picture = {.hasPicture = true,
                 .undoAvailable = true,
                 .redoAvailable = true,
                 .tool = 0,
                 .selectMode = false,
                 .labelBackground = false,
                 .cropMode = false,
                 .selectedArea = true};
    f.clipboardHasBitmap = true;
    f.countedObjects = 3;
    return f;
}

CommandFacts VideoOpen(bool liveMeasure) {
    CommandFacts f = PictureShown();
    f.camera.videoOpen = true;
    f.liveMeasure = liveMeasure;
    f.live = {.hasPicture = true, .undoAvailable = true, .redoAvailable = true, .tool = 0};
    return f;
}

CommandFacts Recording() {
    CommandFacts f = VideoOpen(true);
    f.camera.recording = true;
    return f;
}

bool Enabled(const CommandFacts& f, unsigned id) {
    const CommandUpdate u = UpdateCommand(f, id);
    EXPECT_TRUE(u.enabled.has_value()) << id << " has no enabling rule";
    return u.enabled.value_or(true);
}

bool Checked(const CommandFacts& f, unsigned id) {
    const CommandUpdate u = UpdateCommand(f, id);
    EXPECT_TRUE(u.checked.has_value()) << id << " has no check rule";
    return u.checked.value_or(false);
}

const std::vector<unsigned> kToolIds{ID_TOOL_CALIBRATION_LINE,
                                     ID_TOOL_LINE,
                                     ID_TOOL_ANGLE,
                                     ID_TOOL_LINE_ANGLE,
                                     ID_TOOL_PARALLEL_LINES,
                                     ID_TOOL_RECTANGLE,
                                     ID_TOOL_CIRCLE,
                                     ID_TOOL_CIRCLE_TWO_POINTS,
                                     ID_TOOL_CIRCLE_THREE_POINTS,
                                     ID_TOOL_ELLIPSE,
                                     ID_TOOL_CURVE,
                                     ID_TOOL_POLYGON,
                                     ID_TOOL_TEXT,
                                     ID_TOOL_COUNTER,
                                     ID_TOOL_COUNTER_DIAMOND,
                                     ID_TOOL_COUNTER_RECTANGLE,
                                     ID_TOOL_SCALE_BAR,
                                     ID_TOOL_ARROW};

// Drawing, colour, font, width and the other commands that act on the target
// controller's objects.
std::vector<unsigned> DrawingCommands() {
    std::vector<unsigned> ids = kToolIds;
    for (unsigned id :
         {ID_TOOL_SELECT, ID_LABEL_BACKGROUND, ID_DRAW_COLOR, ID_SELECT_COLOR, ID_LABEL_BACKGROUND_COLOR, ID_LABEL_FONT,
          ID_LINE_WIDTH, ID_RESULT_PRECISION, ID_EDIT_DELETE_OBJECTS, ID_LABEL_ALL, ID_LABEL_INDEX, ID_LABEL_RESULTS,
          ID_LABEL_NONE, ID_COUNTER_SETTINGS, ID_SELECT_CALIBRATION, ID_EXPORT_EXCEL, ID_EXPORT_WORD, ID_UNIT_SWITCH}) {
        ids.push_back(id);
    }
    return ids;
}

// Zoom and the commands that need the picture itself, not the live video.
const std::vector<unsigned> kPictureViewIds{ID_PICTURE_ZOOM_IN,     ID_PICTURE_ZOOM_OUT,     ID_PICTURE_FIT,
                                            ID_PICTURE_ACTUAL_SIZE, ID_PRINT_BY_CALIBRATION, ID_EDIT_PASTE_PICTURE,
                                            ID_EDIT_CUT_AREA,       ID_EDIT_COPY_AREA,       ID_PICTURE_CROP};

// Processing, file, counting and print commands of the current picture.
const std::vector<unsigned> kPictureFileIds{
    ID_PICTURE_BLUR,        ID_PICTURE_SHARPEN,     ID_PICTURE_EMBOSS,       ID_PICTURE_MIRROR,
    ID_PICTURE_NEGATIVE,    ID_PICTURE_EDGES,       ID_PICTURE_ROTATE,       ID_PICTURE_HUE_SATURATION,
    ID_PICTURE_ADJUST_RGB,  ID_PICTURE_DELETE_FILE, ID_FILE_SAVE_PICTURE,    ID_FILE_SAVE_PICTURE_AS,
    ID_COUNT_AUTOMATIC,     ID_COUNT_MANUAL,        ID_COUNT_REGION_GROWING, ID_COUNT_RESULTS,
    ID_COUNT_COLOR,         ID_COUNT_SHOW_OUTLINE,  ID_COUNT_FILL_HOLES,     ID_COUNT_ERASER_SMALL,
    ID_COUNT_ERASER_MEDIUM, ID_COUNT_ERASER_LARGE,  ID_COUNT_DELETE_CELL,    ID_COUNT_PEN_SMALL,
    ID_COUNT_PEN_MEDIUM,    ID_COUNT_PEN_LARGE,     ID_COUNT_SPLIT_LINE,     ID_COUNT_REGION_SETTINGS,
    ID_FILE_PRINT_SETUP,    ID_FILE_PRINT};

TEST(CommandEnablingTest, PictureShownEnablesEveryPictureCommand) {
    const CommandFacts f = PictureShown();
    for (unsigned id : DrawingCommands()) {
        EXPECT_TRUE(Enabled(f, id)) << id;
    }
    for (unsigned id : kPictureViewIds) {
        EXPECT_TRUE(Enabled(f, id)) << id;
    }
    for (unsigned id : kPictureFileIds) {
        EXPECT_TRUE(Enabled(f, id)) << id;
    }
    EXPECT_TRUE(Enabled(f, ID_EDIT_UNDO_STEP));
    EXPECT_TRUE(Enabled(f, ID_FILE_LOAD_PICTURES));
}

TEST(CommandEnablingTest, WithoutAPictureNothingActsOnIt) {
    CommandFacts f = PictureShown();
    f.picture.hasPicture = false;
    for (unsigned id : DrawingCommands()) {
        EXPECT_FALSE(Enabled(f, id)) << id;
    }
    for (unsigned id : kPictureViewIds) {
        EXPECT_FALSE(Enabled(f, id)) << id;
    }
    for (unsigned id : kPictureFileIds) {
        EXPECT_FALSE(Enabled(f, id)) << id;
    }
    EXPECT_TRUE(Enabled(f, ID_FILE_LOAD_PICTURES));
}

TEST(CommandEnablingTest, VideoWithoutLiveMeasuringDisablesEveryDrawingCommand) {
    const CommandFacts f = VideoOpen(false);
    for (unsigned id : DrawingCommands()) {
        EXPECT_FALSE(Enabled(f, id)) << id;
    }
    for (unsigned id : kPictureViewIds) {
        EXPECT_FALSE(Enabled(f, id)) << id;
    }
    // The picture under the video keeps its history, but there is no
    // controller for undo to act on.
    EXPECT_FALSE(Enabled(f, ID_EDIT_UNDO_STEP));
    EXPECT_FALSE(Enabled(f, ID_EDIT_REDO_STEP));
}

TEST(CommandEnablingTest, LiveMeasuringActsOnTheLiveController) {
    CommandFacts f = VideoOpen(true);
    for (unsigned id : DrawingCommands()) {
        EXPECT_TRUE(Enabled(f, id)) << id;
    }
    // Zoom, clipboard and crop belong to the picture, not the video.
    for (unsigned id : kPictureViewIds) {
        EXPECT_FALSE(Enabled(f, id)) << id;
    }
    // The live controller's state decides, not the picture's.
    f.picture.tool = 6;
    f.picture.selectMode = true;
    f.live.tool = 2;
    EXPECT_TRUE(Checked(f, ID_TOOL_LINE));
    EXPECT_FALSE(Checked(f, ID_TOOL_RECTANGLE));
    EXPECT_FALSE(Checked(f, ID_TOOL_SELECT));
    f.live.undoAvailable = false;
    EXPECT_FALSE(Enabled(f, ID_EDIT_UNDO_STEP));
    f.live.hasPicture = false;
    for (unsigned id : DrawingCommands()) {
        EXPECT_FALSE(Enabled(f, id)) << id;
    }
}

TEST(CommandEnablingTest, RecordingDisablesZoomAndEveryPictureCommand) {
    const CommandFacts f = Recording();
    for (unsigned id : DrawingCommands()) {
        EXPECT_FALSE(Enabled(f, id)) << id;
    }
    for (unsigned id : kPictureViewIds) {
        EXPECT_FALSE(Enabled(f, id)) << id;
    }
    for (unsigned id : kPictureFileIds) {
        EXPECT_FALSE(Enabled(f, id)) << id;
    }
    EXPECT_FALSE(Enabled(f, ID_EDIT_UNDO_STEP));
    EXPECT_FALSE(Enabled(f, ID_FILE_LOAD_PICTURES));
    // The grid itself still shows over the recorded live video; its
    // settings do not open while recording.
    EXPECT_TRUE(Enabled(f, ID_COUNT_GRID));
    EXPECT_FALSE(Enabled(f, ID_COUNT_GRID_SETTINGS));
}

TEST(CommandEnablingTest, ToolCommandsSelectTheirToolNumbers) {
    const std::vector<int> tools{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 19};
    ASSERT_EQ(kToolIds.size(), tools.size());
    for (std::size_t i = 0; i < kToolIds.size(); ++i) {
        EXPECT_EQ(ToolOfCommand(kToolIds[i]), tools[i]) << kToolIds[i];
    }
    EXPECT_EQ(ToolOfCommand(32801), 1);
    // Tool 18 has no command; selection and other commands select no tool.
    for (unsigned id = 32773; id <= 33000; ++id) {
        EXPECT_NE(ToolOfCommand(id), 18) << id;
    }
    EXPECT_EQ(ToolOfCommand(ID_TOOL_SELECT), std::nullopt);
    EXPECT_EQ(ToolOfCommand(ID_LABEL_ALL), std::nullopt);

    // Each tool command is checked exactly when its tool is the current one.
    CommandFacts f = PictureShown();
    for (int current : {0, 1, 7, 17, 18, 19}) {
        f.picture.tool = current;
        for (std::size_t i = 0; i < kToolIds.size(); ++i) {
            EXPECT_EQ(Checked(f, kToolIds[i]), tools[i] == current) << kToolIds[i] << " tool " << current;
        }
    }
}

TEST(CommandEnablingTest, LabelCommandsUseModesZeroOneThreeTwo) {
    EXPECT_EQ(LabelModeOfCommand(ID_LABEL_ALL), 0);    // 显示所有信息
    EXPECT_EQ(LabelModeOfCommand(ID_LABEL_INDEX), 1);  // 显示索引
    EXPECT_EQ(LabelModeOfCommand(ID_LABEL_RESULTS), 3);
    EXPECT_EQ(LabelModeOfCommand(ID_LABEL_NONE), 2);
    EXPECT_EQ(LabelModeOfCommand(32797), 0);
    EXPECT_EQ(LabelModeOfCommand(32798), 1);
    EXPECT_EQ(LabelModeOfCommand(32857), 3);
    EXPECT_EQ(LabelModeOfCommand(32799), 2);
    EXPECT_EQ(LabelModeOfCommand(ID_TOOL_ANGLE), std::nullopt);
}

TEST(CommandEnablingTest, GigECameraOffersExposureTimeOnly) {
    struct Case {
        CameraKind kind;
        bool supported;
        int unit;
        bool linesEnabled, linesChecked, timeEnabled, timeChecked;
    };
    for (const Case k : {Case{CameraKind::GigE, false, 0, false, false, true, true},
                         Case{CameraKind::GigE, true, 1, false, false, true, true},
                         Case{CameraKind::UsbCmos, true, 0, true, true, true, false},
                         Case{CameraKind::UsbCmos, true, 1, true, false, true, true},
                         Case{CameraKind::UsbCmos, false, 0, true, true, false, false},
                         Case{CameraKind::Ccd, false, 1, true, false, false, true}}) {
        CommandFacts f = VideoOpen(false);
        f.camera.kind = k.kind;
        f.camera.exposureUnitSupported = k.supported;
        f.camera.exposureUnit = k.unit;
        const int kind = static_cast<int>(k.kind);
        EXPECT_EQ(Enabled(f, ID_VIDEO_EXPOSURE_LINES), k.linesEnabled) << kind << " unit " << k.unit;
        EXPECT_EQ(Checked(f, ID_VIDEO_EXPOSURE_LINES), k.linesChecked) << kind << " unit " << k.unit;
        EXPECT_EQ(Enabled(f, ID_VIDEO_EXPOSURE_TIME), k.timeEnabled) << kind << " unit " << k.unit;
        EXPECT_EQ(Checked(f, ID_VIDEO_EXPOSURE_TIME), k.timeChecked) << kind << " unit " << k.unit;
    }
    // Without video neither changes anything, so neither is offered.
    CommandFacts f = PictureShown();
    f.camera.kind = CameraKind::GigE;
    EXPECT_FALSE(Enabled(f, ID_VIDEO_EXPOSURE_LINES));
    EXPECT_FALSE(Enabled(f, ID_VIDEO_EXPOSURE_TIME));
}

TEST(CommandEnablingTest, VideoCommandsFollowTheCameraState) {
    struct Case {
        const char* name;
        unsigned id;
        CommandFacts facts;
        bool enabled;
    };
    auto with = [](CommandFacts f, auto change) {
        change(f);
        return f;
    };
    const CommandFacts idle = PictureShown();
    const CommandFacts video = VideoOpen(false);
    const CommandFacts live = VideoOpen(true);
    const CommandFacts rec = Recording();
    const std::vector<Case> cases{
        {"open always", ID_VIDEO_OPEN, idle, true},
        {"close needs video", ID_VIDEO_CLOSE, idle, false},
        {"close with video", ID_VIDEO_CLOSE, video, true},
        {"record with video", ID_VIDEO_RECORD, video, true},
        {"record disabled by the camera", ID_VIDEO_RECORD,
         with(video, [](CommandFacts& f) { f.camera.recordDisabled = true; }), false},
        {"stop needs recording", ID_VIDEO_RECORD_STOP, video, false},
        {"stop while recording", ID_VIDEO_RECORD_STOP, rec, true},
        {"snapshot needs video", ID_VIDEO_SNAPSHOT, idle, false},
        {"snapshot while recording only", ID_VIDEO_SNAPSHOT,
         with(idle, [](CommandFacts& f) { f.camera.recording = true; }), true},
        {"parameter files while recording only", IDC_PARAM_FILE_COMBO,
         with(idle, [](CommandFacts& f) { f.camera.recording = true; }), true},
        {"parameter files without video", IDC_PARAM_FILE_COMBO, idle, false},
        {"auto exposure", ID_VIDEO_AUTO_EXPOSURE, video, true},
        {"auto exposure of a UVC camera", ID_VIDEO_AUTO_EXPOSURE,
         with(video, [](CommandFacts& f) { f.camera.kind = CameraKind::Uvc; }), false},
        {"auto exposure of a flagged device", ID_VIDEO_AUTO_EXPOSURE,
         with(video, [](CommandFacts& f) { f.camera.deviceTypeFlag = true; }), false},
        {"white balance of a colour camera", ID_VIDEO_AUTO_WHITE_BALANCE, video, true},
        {"white balance of a monochrome camera", ID_VIDEO_AUTO_WHITE_BALANCE,
         with(video, [](CommandFacts& f) { f.camera.monochrome = true; }), false},
        {"black and white of a monochrome camera", ID_VIDEO_BLACK_WHITE,
         with(video, [](CommandFacts& f) { f.camera.monochrome = true; }), false},
        {"black and white of a UVC camera", ID_VIDEO_BLACK_WHITE,
         with(video, [](CommandFacts& f) { f.camera.kind = CameraKind::Uvc; }), false},
        {"black and white of a GigE camera", ID_VIDEO_BLACK_WHITE,
         with(video, [](CommandFacts& f) { f.camera.kind = CameraKind::GigE; }), true},
        {"full screen", ID_VIDEO_FULL_SCREEN, video, true},
        {"full screen while measuring live", ID_VIDEO_FULL_SCREEN, live, false},
        {"fixed snapshot while measuring live", ID_VIDEO_FIXED_SNAPSHOT, live, false},
        {"video zoom of a GigE camera", ID_VIDEO_CROP_ZOOM,
         with(video, [](CommandFacts& f) { f.camera.kind = CameraKind::GigE; }), false},
        {"video zoom of a flagged device", ID_VIDEO_CROP_ZOOM,
         with(video, [](CommandFacts& f) { f.camera.deviceTypeFlag = true; }), false},
        {"video zoom of a UVC camera", ID_VIDEO_CROP_ZOOM,
         with(video, [](CommandFacts& f) { f.camera.kind = CameraKind::Uvc; }), true},
        {"resolution while recording", ID_VIDEO_RESOLUTION, rec, true},
        {"resolution of a flagged device", ID_VIDEO_RESOLUTION,
         with(video, [](CommandFacts& f) { f.camera.deviceTypeFlag = true; }), false},
        {"timed capture needs video", ID_VIDEO_TIMED_CAPTURE, idle, false},
        {"cross line needs video", ID_VIDEO_CROSS_LINE, idle, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Enabled(c.facts, c.id), c.enabled) << c.name;
    }
}

TEST(CommandEnablingTest, VideoChecksShowTheCameraFlags) {
    CommandFacts f = VideoOpen(false);
    const std::vector<std::pair<unsigned, bool CameraFacts::*>> flags{
        {ID_VIDEO_TIMED_CAPTURE, &CameraFacts::timedCapture},
        {ID_VIDEO_CROSS_LINE, &CameraFacts::crossLine},
        {ID_VIDEO_STRETCH, &CameraFacts::stretched},
        {ID_VIDEO_BLACK_WHITE, &CameraFacts::blackWhite},
        {ID_VIDEO_LIGHT_AVERAGE, &CameraFacts::lightAverage},
        {ID_VIDEO_SHARPEN, &CameraFacts::clearView},
        {ID_VIDEO_CROP_ZOOM, &CameraFacts::videoZoom},
        {ID_VIDEO_RECORD, &CameraFacts::recording},
        {ID_VIDEO_OPEN, &CameraFacts::videoOpen}};
    for (const auto& [id, flag] : flags) {
        for (bool on : {true, false}) {
            CommandFacts g = f;
            g.camera.*flag = on;
            EXPECT_EQ(Checked(g, id), on) << id;
        }
    }
}

TEST(CommandEnablingTest, CommandsWithoutARuleAreLeftAsTheyAre) {
    const CommandFacts f = Recording();
    for (unsigned id :
         {35012u, 35018u, 35019u, 35020u, 35022u, 35023u, 32787u, 32833u, 32842u, 32843u, 32850u, 32854u,
          32858u, 37013u, 37014u, 37015u, 40000u, 40005u, 40006u, 40008u, 57608u, 57609u, 57664u, 59392u}) {
        EXPECT_FALSE(UpdateCommand(f, id).HasRule()) << id;
    }
    // The bar and live-measure commands are only checked.
    const CommandUpdate live = UpdateCommand(f, ID_LIVE_MEASURE);
    EXPECT_EQ(live, (CommandUpdate{std::nullopt, true}));
}

TEST(CommandEnablingTest, BarCommandsAreCheckedByTheirBar) {
    const std::vector<std::pair<unsigned, bool BarFacts::*>> bars{
        {ID_VIEW_MEASURE_TOOLBAR, &BarFacts::measureToolbar},   {ID_VIEW_PICTURE_TOOLBAR, &BarFacts::pictureToolbar},
        {ID_VIEW_COMPOSITE_WINDOW, &BarFacts::compositeWindow}, {ID_VIEW_DATA_WINDOW, &BarFacts::dataWindow},
        {ID_VIEW_VIDEO_TOOLBAR, &BarFacts::videoToolbar},       {ID_VIEW_RULERS, &BarFacts::rulers}};
    for (const auto& [id, bar] : bars) {
        CommandFacts f;
        f.bars.*bar = true;
        EXPECT_EQ(UpdateCommand(f, id), (CommandUpdate{std::nullopt, true})) << id;
        // Only its own bar counts.
        for (const auto& [other, otherBar] : bars) {
            if (other != id) {
                EXPECT_EQ(UpdateCommand(f, other), (CommandUpdate{std::nullopt, false})) << other;
            }
        }
    }
}

TEST(CommandEnablingTest, ClipboardSelectionAndCropNeedTheirState) {
    CommandFacts f = PictureShown();
    f.clipboardHasBitmap = false;
    f.picture.selectedArea = false;
    EXPECT_FALSE(Enabled(f, ID_EDIT_PASTE_PICTURE));
    EXPECT_FALSE(Enabled(f, ID_EDIT_CUT_AREA));
    EXPECT_FALSE(Enabled(f, ID_EDIT_COPY_AREA));
    EXPECT_FALSE(Checked(f, ID_PICTURE_CROP));
    f.picture.cropMode = true;
    f.picture.selectMode = true;
    f.picture.labelBackground = true;
    EXPECT_TRUE(Checked(f, ID_PICTURE_CROP));
    EXPECT_TRUE(Checked(f, ID_TOOL_SELECT));
    EXPECT_TRUE(Checked(f, ID_LABEL_BACKGROUND));
    f.picture.redoAvailable = false;
    EXPECT_FALSE(Enabled(f, ID_EDIT_REDO_STEP));
    EXPECT_TRUE(Enabled(f, ID_EDIT_UNDO_STEP));
}

TEST(CommandEnablingTest, CountingResultsAndGrid) {
    CommandFacts f = PictureShown();
    f.countedObjects = 0;
    EXPECT_FALSE(Enabled(f, ID_COUNT_RESULTS));
    f.countedObjects = 1;
    EXPECT_TRUE(Enabled(f, ID_COUNT_RESULTS));
    f.countingOutlines = true;
    f.countingGrid = true;
    EXPECT_TRUE(Checked(f, ID_COUNT_SHOW_OUTLINE));
    EXPECT_TRUE(Checked(f, ID_COUNT_GRID));

    // The grid plate also serves the live video with live measuring, not
    // the plain video.
    struct Case {
        CommandFacts facts;
        bool enabled;
    };
    CommandFacts noPicture;
    for (const Case& c : {Case{VideoOpen(true), true}, Case{VideoOpen(false), false}, Case{noPicture, false},
                          Case{PictureShown(), true}}) {
        EXPECT_EQ(Enabled(c.facts, ID_COUNT_GRID), c.enabled);
        EXPECT_EQ(Enabled(c.facts, ID_COUNT_GRID_SETTINGS), c.enabled);
    }
    // Counting itself stays with the picture, live measuring or not.
    EXPECT_FALSE(Enabled(VideoOpen(true), ID_COUNT_AUTOMATIC));
    EXPECT_FALSE(Enabled(VideoOpen(true), ID_COUNT_RESULTS));
}

}  // namespace
