// The drawing tools, selection and undo: each acts on the target controller
// (the picture, or the live video while live measuring) and does nothing
// without one.
#include "command_enabling.h"
#include "mikra_view.h"
#include "resource.h"

void RegisterToolCommands(CMikraView& view) {
    const auto onTarget = [&view](auto action) {
        return [&view, action] {
            if (CImageController* target = view.GetTargetController()) {
                action(*target);
            }
        };
    };
    for (const ToolCommand& command : ToolCommands()) {
        // The scale bar is chosen through its settings dialog.
        if (command.id == ID_TOOL_SCALE_BAR) {
            view.OnCommand(command.id, [&view] { view.ChooseScaleBar(); });
            continue;
        }
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
    view.OnCommand(ID_COUNTER_SETTINGS, [&view] { view.EditCounters(); });
    view.OnCommand(ID_CANCEL_DRAWING, onTarget([](CImageController& target) { target.CancelInteraction(); }));
}
