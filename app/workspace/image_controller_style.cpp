// The style commands: colours, label font, line width, label mode and label
// box, for the selected objects as one history step or as the style of new
// objects, which is then saved.
#include "history_actions.h"
#include "image_controller.h"
#include "log_font_win32.h"

namespace {

// With a selection, each selected object takes the style and the change is
// one history step; without, the style becomes the default and is saved.
template <typename ToObject, typename ToDefault>
void ToSelectionOrDefault(CImageController& controller, ToObject toObject, ToDefault toDefault) {
    std::vector<CCLObject*>& selection = controller.GetSelection();
    if (selection.empty()) {
        toDefault();
        controller.SaveSettings();
        return;
    }
    for (CCLObject* object : selection) {
        toObject(*object);
    }
    controller.PushHistory(kHistoryModify);
    controller.Render(0);
}

// Every object takes the style, which is also the default, and is saved.
template <typename ToObject>
void ToEveryObject(CImageController& controller, ToObject toObject) {
    const auto& objects = *controller.GetObjectList();
    for (const auto& object : objects) {
        toObject(*object);
    }
    if (!objects.empty()) {
        controller.Render(0);
    }
    controller.SaveSettings();
}

}  // namespace

void CImageController::SetDrawColor(COLORREF colour) {
    if (owner_ != nullptr) {
        ToSelectionOrDefault(
            *this, [colour](CCLObject& o) { o.drawColour = colour; }, [this, colour] { drawColour = colour; });
    }
}

void CImageController::SetLabelFont(LOGFONTW font) {
    if (owner_ == nullptr) {
        return;
    }
    const LogFont chosen = FromLogFontW(font);
    ToSelectionOrDefault(
        *this,
        [&chosen](CCLObject& o) {
            o.font = chosen;
            o.label.font = chosen;
            o.label.dirty = 1;
        },
        [this, &chosen] { labelFont = chosen; });
}

void CImageController::SetLineWidth(int width) {
    if (owner_ != nullptr) {
        ToSelectionOrDefault(
            *this, [width](CCLObject& o) { o.lineWidth = width; }, [this, width] { lineWidth = width; });
    }
}

void CImageController::SetLabelMode(int mode) {
    if (owner_ == nullptr) {
        return;
    }
    const auto toObject = [mode](CCLObject& o) {
        o.labelMode = mode;
        o.label.dirty = 1;
    };
    // A selection changes and the mode of new objects stays; without one,
    // every object changes and the mode becomes the default.
    ToSelectionOrDefault(*this, toObject, [this, mode, &toObject] {
        for (const auto& object : objects_) {
            toObject(*object);
        }
        Render(0);
        labelMode = mode;
    });
}

void CImageController::SetSelectColor(COLORREF colour) {
    if (owner_ != nullptr) {
        selectedColour = colour;
        ToEveryObject(*this, [colour](CCLObject& o) { o.selectedColour = colour; });
    }
}

void CImageController::ToggleLabelBox() {
    if (owner_ != nullptr) {
        labelBoxShown = labelBoxShown != 0 ? 0 : 1;
        ToEveryObject(*this, [shown = labelBoxShown](CCLObject& o) {
            o.label.boxShown = shown;
            o.label.dirty = 1;
        });
    }
}

void CImageController::SetLabelBoxColor(COLORREF colour) {
    if (owner_ != nullptr) {
        labelBoxColour = colour;
        ToEveryObject(*this, [colour](CCLObject& o) {
            o.label.boxColour = colour;
            o.label.dirty = 1;
        });
    }
}
