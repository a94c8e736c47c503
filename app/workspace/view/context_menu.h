#pragma once
// The items of the right-click menu over a picture or over live video, from
// the controller's state. The controller builds and tracks the menu; this
// file decides what it holds. Platform-free.
#include <vector>

struct ContextMenuFacts {
    bool drawing = false;       // a drawing tool is chosen
    bool hasSelection = false;  // objects are selected
    bool fromDocument = false;  // the picture came from a drawing document
    bool live = false;          // the menu is over live video
    bool regionSelect = false;  // a band lifts part of the picture
};

// One menu line: its text's string id and its command; a separator has
// neither (both 0).
struct ContextMenuItem {
    int stringId = 0;
    unsigned command = 0;
    bool IsSeparator() const { return command == 0; }
};

std::vector<ContextMenuItem> ContextMenuItems(const ContextMenuFacts& facts);
