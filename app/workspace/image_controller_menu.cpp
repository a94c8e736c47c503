// The right-click menu over the picture (and, through the live controller's
// facts, over live video): a right click first ends what the mouse was
// doing; only when no object was in progress does the menu open, at the
// cursor, owned by the main window, which routes its command to the view.
#include <string>

#include "image_controller.h"
#include "unique_handle.h"

ContextMenuFacts CImageController::GatherMenuFacts() const {
    ContextMenuFacts facts;
    facts.drawing = ui_.drawingMode != 0;
    facts.hasSelection = !selection_.empty();
    facts.fromDocument = model_.isDocument != 0;
    facts.regionSelect = ui_.regionSelect != 0;
    return facts;
}

void CImageController::ShowContextMenu(int, int, int) {
    ::ReleaseCapture();
    if (ui_.bandActive != 0) {
        DrawTrackRect();
        ui_.bandActive = 0;
        ui_.bandFrom = ui_.bandTo = TrackPoint{};
    }
    // A right click abandons the object in progress instead of opening the menu.
    if (ui_.step != 0) {
        ui_.step = 0;
        Render(0);
        return;
    }
    if (owner_ == nullptr || host_ == nullptr) {
        return;
    }
    UniqueMenu menu(::CreatePopupMenu());
    if (!menu) {
        return;
    }
    for (const ContextMenuItem& item : ContextMenuItems(GatherMenuFacts())) {
        if (item.IsSeparator()) {
            ::AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const std::u16string text = host_->Text(item.stringId);
        const std::wstring wide(text.begin(), text.end());
        ::AppendMenuW(menu.Get(), MF_STRING, item.command, wide.c_str());
    }
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::TrackPopupMenu(menu.Get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0,
                     ::GetAncestor(owner_, GA_ROOT), nullptr);
}
