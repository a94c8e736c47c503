#include "command_enabling.h"

#include <array>
#include <utility>

#include "resource.h"

namespace {

CommandUpdate Enable(bool enabled) { return {enabled, std::nullopt}; }
CommandUpdate EnableCheck(bool enabled, bool checked) { return {enabled, checked}; }
CommandUpdate Check(bool checked) { return {std::nullopt, checked}; }

constexpr std::array<ToolCommand, 18> kToolCommands{{
    {ID_TOOL_CALIBRATION_LINE, 1},
    {ID_TOOL_LINE, 2},
    {ID_TOOL_ANGLE, 3},
    {ID_TOOL_LINE_ANGLE, 4},
    {ID_TOOL_PARALLEL_LINES, 5},
    {ID_TOOL_RECTANGLE, 6},
    {ID_TOOL_CIRCLE, 7},
    {ID_TOOL_CIRCLE_TWO_POINTS, 8},
    {ID_TOOL_CIRCLE_THREE_POINTS, 9},
    {ID_TOOL_ELLIPSE, 10},
    {ID_TOOL_CURVE, 11},
    {ID_TOOL_POLYGON, 12},
    {ID_TOOL_TEXT, 13},
    {ID_TOOL_COUNTER, 14},
    {ID_TOOL_COUNTER_DIAMOND, 15},
    {ID_TOOL_COUNTER_RECTANGLE, 16},
    {ID_TOOL_SCALE_BAR, 17},
    {ID_TOOL_ARROW, 19},
}};

CommandUpdate VideoCommand(const CommandFacts& f, unsigned id) {
    const CameraFacts& c = f.camera;
    const bool v = c.videoOpen;
    const bool a = c.videoOpen || c.recording;
    const bool t = c.deviceTypeFlag;
    const bool gige = c.kind == CameraKind::GigE;
    const bool uvc = c.kind == CameraKind::Uvc;
    switch (id) {
    case IDC_PARAM_FILE_COMBO: return Enable(a);
    case ID_VIDEO_OPEN: return EnableCheck(true, v);
    case ID_VIDEO_CLOSE: return Enable(v);
    case ID_VIDEO_RECORD: return EnableCheck(v && !c.recordDisabled, c.recording);
    case ID_VIDEO_RECORD_STOP: return Enable(c.recording);
    case ID_VIDEO_SNAPSHOT:
    case ID_VIDEO_PARAMETERS: return Enable(a);
    case ID_VIDEO_AUTO_EXPOSURE: return Enable(v && !t && !uvc);
    case ID_VIDEO_AUTO_WHITE_BALANCE: return Enable(v && !c.monochrome && !t && !uvc);
    case ID_VIDEO_TIMED_CAPTURE: return EnableCheck(v, c.timedCapture);
    case ID_VIDEO_FULL_SCREEN:
    case ID_VIDEO_FIXED_SNAPSHOT: return Enable(a && !f.liveMeasure);
    case ID_VIDEO_CROSS_LINE: return EnableCheck(v, c.crossLine);
    case ID_VIDEO_STRETCH: return EnableCheck(v, c.stretched);
    case ID_VIDEO_BLACK_WHITE: return EnableCheck(v && !c.monochrome && !uvc, c.blackWhite);
    case ID_VIDEO_LIGHT_AVERAGE: return EnableCheck(v, c.lightAverage);
    case ID_VIDEO_SHARPEN: return EnableCheck(v, c.clearView);
    case ID_VIDEO_CROP_ZOOM: return EnableCheck(v && !t && !gige, c.videoZoom);
    case ID_VIDEO_RESOLUTION: return Enable(a && !t);
    // A GigE camera always counts its exposure in time.
    case ID_VIDEO_EXPOSURE_LINES: return EnableCheck(v && !gige, c.exposureUnit == 0);
    case ID_VIDEO_EXPOSURE_TIME:
        return EnableCheck((v && c.exposureUnitSupported) || gige, c.exposureUnit != 0 || gige);
    default: return {};
    }
}

CommandUpdate PictureCommand(const CommandFacts& f, unsigned id) {
    const bool v = f.camera.videoOpen;
    const bool r = f.camera.recording;
    const bool liveVideo = v && f.liveMeasure;
    // The controller the commands act on; there is none while video runs
    // without live measuring or while recording.
    const ControllerFacts& target = liveVideo ? f.live : f.picture;
    const bool noTarget = (v && !f.liveMeasure) || r;
    const bool blocked = noTarget || !target.hasPicture;
    const bool pictureView = !blocked && !liveVideo;

    if (const auto tool = ToolOfCommand(id)) {
        return EnableCheck(!blocked, target.tool == *tool);
    }
    switch (id) {
    // Undo and redo act on the target controller: without one they would
    // do nothing, so they are offered only when there is one.
    case ID_EDIT_UNDO_STEP: return Enable(!noTarget && target.undoAvailable);
    case ID_EDIT_REDO_STEP: return Enable(!noTarget && target.redoAvailable);
    case ID_TOOL_SELECT: return EnableCheck(!blocked, target.selectMode);
    case ID_LABEL_BACKGROUND: return EnableCheck(!blocked, target.labelBackground);
    case ID_PICTURE_ZOOM_OUT:
    case ID_PICTURE_ZOOM_IN:
    case ID_PICTURE_FIT:
    case ID_PICTURE_ACTUAL_SIZE:
    case ID_PRINT_BY_CALIBRATION: return Enable(pictureView);
    case ID_EDIT_PASTE_PICTURE: return Enable(pictureView && f.clipboardHasBitmap);
    case ID_EDIT_CUT_AREA:
    case ID_EDIT_COPY_AREA: return Enable(pictureView && target.selectedArea);
    case ID_PICTURE_CROP: return EnableCheck(pictureView, target.cropMode);
    case ID_EDIT_DELETE_OBJECTS:
    case ID_DRAW_COLOR:
    case ID_SELECT_COLOR:
    case ID_LABEL_FONT:
    case ID_LINE_WIDTH:
    case ID_RESULT_PRECISION:
    case ID_LABEL_ALL:
    case ID_LABEL_INDEX:
    case ID_LABEL_NONE:
    case ID_LABEL_BACKGROUND_COLOR:
    case ID_COUNTER_SETTINGS:
    case ID_SELECT_CALIBRATION:
    case ID_EXPORT_EXCEL:
    case ID_EXPORT_WORD:
    case ID_LABEL_RESULTS:
    case ID_UNIT_SWITCH: return Enable(!blocked);
    case ID_VIEW_RULERS: return Check(f.bars.rulers);
    case ID_LIVE_MEASURE: return Check(f.liveMeasure);
    case ID_VIEW_MEASURE_TOOLBAR: return Check(f.bars.measureToolbar);
    case ID_VIEW_PICTURE_TOOLBAR: return Check(f.bars.pictureToolbar);
    case ID_VIEW_COMPOSITE_WINDOW: return Check(f.bars.compositeWindow);
    case ID_VIEW_DATA_WINDOW: return Check(f.bars.dataWindow);
    case ID_VIEW_VIDEO_TOOLBAR: return Check(f.bars.videoToolbar);
    default: return {};
    }
}

// Processing, file, counting and printing commands work on the current
// picture only.
CommandUpdate PictureFileCommand(const CommandFacts& f, unsigned id) {
    const bool a = f.camera.videoOpen || f.camera.recording;
    const bool blocked = a || !f.picture.hasPicture;
    const bool liveVideo = f.camera.videoOpen && f.liveMeasure;
    if ((id >= ID_PICTURE_BLUR && id <= ID_PICTURE_DELETE_FILE) ||
        (id >= ID_COUNT_AUTOMATIC && id <= ID_COUNT_REGION_GROWING) ||
        (id >= ID_COUNT_FILL_HOLES && id <= ID_COUNT_REGION_SETTINGS)) {
        return Enable(!blocked);
    }
    switch (id) {
    case ID_FILE_SAVE_PICTURE:
    case ID_FILE_SAVE_PICTURE_AS:
    case ID_COUNT_COLOR:
    case ID_FILE_PRINT_SETUP:
    case ID_FILE_PRINT: return Enable(!blocked);
    case ID_COUNT_SHOW_OUTLINE: return EnableCheck(!blocked, f.countingOutlines);
    case ID_FILE_LOAD_PICTURES: return Enable(!a);
    case ID_COUNT_RESULTS: return Enable(!blocked && f.countedObjects >= 1);
    case ID_COUNT_GRID: return EnableCheck(!blocked || liveVideo, f.countingGrid);
    case ID_COUNT_GRID_SETTINGS: return Enable(!blocked || liveVideo);
    default: return {};
    }
}

}  // namespace

CommandUpdate UpdateCommand(const CommandFacts& facts, unsigned commandId) {
    if (commandId == IDC_PARAM_FILE_COMBO || (commandId >= ID_VIDEO_OPEN && commandId <= ID_VIDEO_EXPOSURE_TIME)) {
        return VideoCommand(facts, commandId);
    }
    if (commandId >= ID_EDIT_UNDO_STEP && commandId <= ID_EDIT_REDO_STEP) {
        return PictureCommand(facts, commandId);
    }
    if ((commandId >= ID_PICTURE_BLUR && commandId <= 45000) || commandId == ID_FILE_PRINT_SETUP ||
        commandId == ID_FILE_PRINT) {
        return PictureFileCommand(facts, commandId);
    }
    return {};
}

std::span<const ToolCommand> ToolCommands() { return kToolCommands; }

std::optional<int> ToolOfCommand(unsigned commandId) {
    for (const ToolCommand& command : kToolCommands) {
        if (command.id == commandId) {
            return command.tool;
        }
    }
    return std::nullopt;
}

std::optional<int> LabelModeOfCommand(unsigned commandId) {
    switch (commandId) {
    case ID_LABEL_ALL: return 0;
    case ID_LABEL_INDEX: return 1;
    case ID_LABEL_NONE: return 2;
    case ID_LABEL_RESULTS: return 3;
    default: return std::nullopt;
    }
}
