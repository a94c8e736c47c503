// The picture area commands: paste a clipboard bitmap as the floating
// piece, cut or copy the floating piece to the clipboard, and the picture's
// file information. All work on the current picture only, never while
// video runs.
#include "mikra_view.h"
#include "resource.h"

void RegisterClipboardCommands(CMikraView& view) {
    struct Command {
        UINT id;
        void (*run)(CImageController& controller);
    };
    static constexpr Command kCommands[] = {
        {ID_EDIT_PASTE_PICTURE, [](CImageController& c) { c.PastePicture(); }},
        {ID_EDIT_CUT_AREA, [](CImageController& c) { c.Floating().CutFloating(); }},
        {ID_EDIT_COPY_AREA, [](CImageController& c) { c.Floating().CopyFloating(); }},
        {ID_FILE_INFORMATION, [](CImageController& c) { c.ShowImageInfo(); }},
    };
    for (const Command& command : kCommands) {
        view.OnCommand(command.id, [&view, command] {
            if (!view.IsVideoActive()) {
                command.run(*view.m_current);
            }
        });
    }
}
