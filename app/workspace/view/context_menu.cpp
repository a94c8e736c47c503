#include "context_menu.h"

#include "resource.h"

std::vector<ContextMenuItem> ContextMenuItems(const ContextMenuFacts& facts) {
    std::vector<ContextMenuItem> items;
    if (facts.drawing) {
        items.push_back({IDS_MENU_CANCEL_DRAWING, ID_CANCEL_DRAWING});
    }
    items.push_back({IDS_MENU_SELECT_OBJECTS, ID_TOOL_SELECT});
    if (facts.hasSelection) {
        items.push_back({IDS_MENU_CLEAR_SELECTION, ID_EDIT_CLEAR_SELECTION});
        items.push_back({IDS_MENU_DELETE_OBJECTS, ID_EDIT_DELETE_OBJECTS});
    }
    if (facts.regionSelect) {
        items.push_back({IDS_MENU_PASTE_PICTURE, ID_EDIT_PASTE_PICTURE});
    }
    // Over live video the last line starts or ends live measuring; a
    // picture of a document has no file of its own to describe.
    if (facts.live) {
        items.push_back({IDS_MENU_LIVE_MEASURE, ID_LIVE_MEASURE});
    } else if (!facts.fromDocument) {
        items.push_back({});
        items.push_back({IDS_MENU_FILE_INFORMATION, ID_FILE_INFORMATION});
    }
    return items;
}
