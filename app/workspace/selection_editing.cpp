#include "selection_editing.h"

#include <algorithm>

#include "counter_styles.h"

bool IsDragFixed(const CCLObject& object) { return CCounterStyles::IsCounterType(object.type) || object.type == 19; }

bool SelectInRect(CDrawingModel& model, ToolInteraction& ui, const PixelRect& rect, float zoom) {
    std::vector<CCLObject*>& selection = model.Selection();
    bool any = false;
    for (const auto& owned : model.Objects()) {
        CCLObject* o = owned.get();
        if (!o->HitRect(rect, zoom)) {
            continue;
        }
        if (!any && ui.replaceSelection != 0) {
            // The earlier selection goes; the object just hit keeps state 4.
            for (CCLObject* s : selection) {
                if (s != o) {
                    s->state = CCLObject::kIdle;
                    s->activeHandle = 0;
                    s->label.dirty = 1;
                }
            }
            selection.clear();
        }
        any = true;
        if (std::find(selection.begin(), selection.end(), o) == selection.end()) {
            selection.push_back(o);
        }
    }
    if (any) {
        ui.moved = 0;
    }
    return any;
}

bool MoveSelection(CDrawingModel& model, ToolInteraction& ui, bool finish, float zoom) {
    if (ui.moving == 0) {
        return false;
    }
    if (!finish) {
        for (CCLObject* o : model.Selection()) {
            if (!IsDragFixed(*o)) {
                o->Move(ui.previous.x, ui.previous.y, ui.current.x, ui.current.y, zoom);
            }
        }
        ui.moved = 1;
        return false;
    }
    return !model.Selection().empty() && ui.moved != 0 && ui.calibrationShown == 0;
}

bool NudgeSelection(CDrawingModel& model, const ToolInteraction& ui, TrackPoint from, TrackPoint to, bool finish,
                    bool labelOnly, float zoom) {
    if (ui.nudging == 0) {
        return false;
    }
    if (finish) {
        return !model.Selection().empty();
    }
    for (CCLObject* o : model.Selection()) {
        const std::int32_t state = o->state;
        if (labelOnly) {
            o->state = CCLObject::kLabelActive;
        }
        o->Move(from.x, from.y, to.x, to.y, zoom);
        o->state = state;
    }
    return false;
}
