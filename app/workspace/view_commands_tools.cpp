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
    {ID_TOOL_CALIBRATION_LINE, 1}, {ID_TOOL_LINE, 2},  {ID_TOOL_ANGLE, 3},    {ID_TOOL_RECTANGLE, 6},
    {ID_TOOL_CIRCLE, 7},           {ID_TOOL_TEXT, 13}, {ID_TOOL_COUNTER, 14},
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
}
