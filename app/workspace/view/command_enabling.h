#pragma once
// Which of the view's commands are enabled and checked, from the camera's,
// the controllers' and the main frame's state. The view gathers the facts
// on every menu or toolbar update and applies the answer; this file decides.
#include <optional>
#include <span>

// The camera families by `CCameraDevice::GetCameraKind`.
enum class CameraKind : int { DirectShow = 1, UsbCmos = 2, Ccd = 3, GigE = 4, Uvc = 5 };

struct CameraFacts {
    bool videoOpen = false;  // V
    bool recording = false;  // R
    CameraKind kind = CameraKind::DirectShow;
    bool deviceTypeFlag = false;  // T: `CCameraDevice::CheckDeviceType` is non-zero
    bool monochrome = false;      // M
    bool recordDisabled = false;  // D
    bool timedCapture = false;
    bool crossLine = false;
    bool stretched = false;
    bool blackWhite = false;
    bool lightAverage = false;
    bool clearView = false;
    bool videoZoom = false;
    int exposureUnit = 0;  // 0 lines, otherwise time
    bool exposureUnitSupported = false;
};

// One image controller: the current picture's or the live video's.
struct ControllerFacts {
    bool hasPicture = false;  // attached to a drawing window
    bool undoAvailable = false;
    bool redoAvailable = false;
    int tool = 0;
    bool selectMode = false;
    bool labelBackground = false;
    bool cropMode = false;
    bool selectedArea = false;
};

// Visibility of the main frame's bars.
struct BarFacts {
    bool measureToolbar = false;
    bool pictureToolbar = false;
    bool compositeWindow = false;
    bool dataWindow = false;
    bool videoToolbar = false;
    bool rulers = false;
};

struct CommandFacts {
    CameraFacts camera;
    bool liveMeasure = false;  // L
    ControllerFacts picture;   // the current picture controller
    ControllerFacts live;      // the live controller
    bool clipboardHasBitmap = false;
    int countedObjects = 0;  // the current picture's counting engine
    bool countingOutlines = false;
    bool countingGrid = false;  // the view's counting-grid flag
    BarFacts bars;
};

// What an update does to one command: each part that is empty is left as
// it is. Both empty: the rules do not name the command.
struct CommandUpdate {
    std::optional<bool> enabled;
    std::optional<bool> checked;

    bool HasRule() const { return enabled.has_value() || checked.has_value(); }
    bool operator==(const CommandUpdate&) const = default;
};

CommandUpdate UpdateCommand(const CommandFacts& facts, unsigned commandId);

// A drawing-tool command and the tool number (object tag of the drawing
// file) it selects.
struct ToolCommand {
    unsigned id;
    int tool;
};

// Every drawing-tool command in menu order. No command selects tool 18.
std::span<const ToolCommand> ToolCommands();

// The tool number a tool command selects; nothing for other commands.
std::optional<int> ToolOfCommand(unsigned commandId);

// The label mode a label command sets: 0 index and results, 1 index only,
// 2 no label, 3 results only; nothing for other commands.
std::optional<int> LabelModeOfCommand(unsigned commandId);
