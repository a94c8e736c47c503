#include "mode_cursor.h"

#include "controls_resource.h"
#include "resource.h"

std::optional<int> ModeCursorId(const CursorModes& modes, const std::function<bool(int id)>& loads) {
    if (modes.regionOrCrop) {
        if (modes.cursorStyle == 0) {
            const int id = modes.regionKind ? IDC_CURSOR_REGION : IDC_CURSOR_ARROW;
            return loads(id) ? id : IDC_CURSOR_CROSS;
        }
        return modes.cursorStyle == 1 ? IDC_CURSOR_ARROW : IDC_CURSOR_CROSS;
    }
    if (modes.selecting) {
        switch (modes.hitState) {
        case 0: return IDC_CURSOR_SELECT;
        case 1: return IDC_CURSOR_SELECT_HIT;
        default: return IDC_CURSOR_MOVE;
        }
    }
    if (modes.countingMode == 4 || modes.countingMode == 5) {
        switch (modes.countingTool) {
        case 0: return IDC_CURSOR_COUNTING_CIRCLE;
        case 3: return IDC_CURSOR_COUNTING_SQUARE;
        case 5: return IDC_CURSOR_COUNTING_DIAMOND;
        default: return std::nullopt;
        }
    }
    if (modes.countingMode == 6) {
        return IDC_CURSOR_CROSS;
    }
    return IDC_CURSOR_ARROW;
}
