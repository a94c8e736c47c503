// The drawing tools, selection and undo: each acts on the target controller
// (the picture, or the live video while live measuring) and does nothing
// without one.
#include "mikra_view.h"
#include "resource.h"

namespace {
// Tool numbers are the object tags of the drawing documents.
struct ToolCommand {
    UINT id;
    int tool;
};
constexpr ToolCommand kTools[] = {
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
    {ID_TOOL_ARROW, 19},
};
}  // namespace

void RegisterToolCommands(CMikraView& view) {
    const auto onTarget = [&view](auto action) {
        return [&view, action] {
            if (CImageController* target = view.GetTargetController()) {
                action(*target);
            }
        };
    };
    for (const ToolCommand& command : kTools) {
        view.OnCommand(command.id, onTarget([tool = command.tool](CImageController& target) {
                           target.CancelInteraction();
                           target.SetTool(tool);
                       }));
    }
    view.OnCommand(ID_TOOL_SELECT, onTarget([](CImageController& target) {
                       const bool selecting = target.GetInteraction().selectMode != 0;
                       target.CancelInteraction();
                       if (!selecting) {
                           target.SetSelectMode();
                       }
                       target.Render(0);
                   }));
    view.OnCommand(ID_EDIT_UNDO_STEP, onTarget([](CImageController& target) {
                       target.FinishEditing();
                       target.Undo();
                   }));
    view.OnCommand(ID_EDIT_REDO_STEP, onTarget([](CImageController& target) {
                       target.FinishEditing();
                       target.Redo();
                   }));
    view.OnCommand(ID_EDIT_CLEAR_SELECTION, onTarget([](CImageController& target) { target.ClearSelection(); }));
    view.OnCommand(ID_EDIT_DELETE_OBJECTS, onTarget([](CImageController& target) {
                       target.FinishEditing();
                       target.DeleteSelection();
                   }));
    view.OnCommand(ID_CANCEL_DRAWING, onTarget([](CImageController& target) { target.CancelInteraction(); }));
}
