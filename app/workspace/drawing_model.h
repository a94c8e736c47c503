#pragma once
// The picture and the measurement objects drawn on it, without any window:
// the object list and its selection, the numbering of objects and counters,
// the style new objects take and the calibration last confirmed. Drawing
// documents and the undo history read and write this state. Platform-free.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cl_object.h"
#include "counter_styles.h"
#include "drawing_file.h"
#include "history_store.h"
#include "kqmk_blocks.h"
#include "log_font.h"
#include "picture.h"

// The style every new object takes.
struct DrawingStyle {
    float scale = 1.0f;
    std::u16string unitText = u"μm";
    std::int32_t decimals = 2;
    std::int32_t labelBoxShown = 1;
    ColourRef drawColour = 0;
    ColourRef selectedColour = CCLObject::kDefaultSelectedColour;
    ColourRef labelBoxColour = CTextObject::kDefaultBoxColour;
    std::int32_t penStyle = 0;  // a Win32 pen style, 0 solid
    std::int32_t lineWidth = 1;
    LogFont labelFont = SystemLogFont();
    std::int32_t labelMode = CCLObject::kLabelAll;
};

class CDrawingModel {
public:
    // String `stringId` of the language library in use; empty when it has
    // none, and the model's built-in text is used.
    using TextSource = std::function<std::u16string(int stringId)>;

    CDrawingModel() = default;
    // The history keeps its steps under `temporaryDirectory`.
    explicit CDrawingModel(const std::filesystem::path& temporaryDirectory);
    CDrawingModel(const CDrawingModel&) = delete;
    CDrawingModel& operator=(const CDrawingModel&) = delete;

    void SetTextSource(TextSource texts) { texts_ = std::move(texts); }
    // The text of a language string: the text source's, else the built-in
    // (Chinese) text of a counter name or a history action.
    std::u16string Text(int stringId) const;

    // The picture; null until one is loaded. Replacing it is the owner's.
    std::unique_ptr<CPicture>& PictureHolder() { return picture_; }
    const CPicture* Picture() const { return picture_.get(); }
    int PictureWidth() const { return picture_ ? picture_->GetWidth() : 0; }
    int PictureHeight() const { return picture_ ? picture_->GetHeight() : 0; }

    ObjectList& Objects() { return objects_; }
    const ObjectList& Objects() const { return objects_; }
    // Non-owning: objects of the list, or the calibration line while shown.
    std::vector<CCLObject*>& Selection() { return selection_; }
    CCounterStyles& CounterStyles() { return counterStyles_; }
    const CCounterStyles& CounterStyles() const { return counterStyles_; }
    ObjectTypeCounters& TypeCounters() { return typeCounters_; }
    const ObjectTypeCounters& TypeCounters() const { return typeCounters_; }
    CHistoryStore& History() { return history_; }

    // Copies the current style into one object (its label too) and marks
    // the label for recomposing.
    void ApplyStyle(CCLObject& object) const;
    // Gives one object the scale, unit text and decimals, which every
    // object shows as the model's.
    void ApplyScale(CCLObject& object) const;

    // Numbers a finished object before it joins the list: figures, texts
    // and arrows take the next number of their type, counters are numbered
    // per counter style, scale bars keep theirs.
    void NumberNew(CCLObject& object);
    // Counter numbering in the current counter colour key; a numbered
    // counter also takes its kind's name in the language in use.
    void NumberCounter(CCL_Count& counter);
    void UnnumberCounter(const CCL_Count& counter);

    // Deselects every object (state 0, no active handle, label recomposed).
    void DeselectAll();
    // Deletes the selected objects: counters give their numbers back, and
    // lines to polygons of each type that lost objects are renumbered
    // without gaps. False when nothing was selected.
    bool DeleteSelection();
    // Objects of `type` numbered 1, 2, 3 ... in the order they were created.
    void RenumberType(int type);

    // The scale and unit text of the style and of every object.
    void SetScaleAndUnit(float scale, const std::u16string& unit);
    // Moves the displayed unit one step along the display cycle and returns
    // the calibration last confirmed converted into it (units per pixel),
    // for the caller to apply with the new unit.
    float CycleDisplayedUnit();

    // Records the state after `action` (a HistoryAction) as the newest step,
    // described by the action's text in the language in use.
    void PushStep(int action);
    // Goes to history step `index`: objects, counter styles, numbering and
    // picture as saved, objects saved selected selected again. False, with
    // nothing changed, when the step cannot be read.
    bool RestoreStep(int index);

    // What the objects of opened documents and restored steps are made by.
    void SetObjectFactory(ObjectFactory makeObject) {
        makeObject_ = makeObject;
        history_.SetObjectFactory(makeObject);
    }
    // Writes the picture, the objects (idle) and the counter styles.
    DocumentStatus SaveDocument(const std::filesystem::path& path);
    // Takes a document's picture, adds its objects and counter styles and
    // its numbering; changes nothing when it cannot be read.
    DocumentStatus LoadDocument(const std::filesystem::path& path);

    DrawingStyle style;
    // Colour that selects the counter style of new counters.
    std::int32_t counterColourKey = 0;
    // The calibration last confirmed by the user.
    float calibrationScale = 1.0f;
    std::u16string calibrationUnit = u"μm";
    // The unit results are shown in, stepped by CycleDisplayedUnit.
    std::u16string displayedUnit = u"μm";
    // Origin of the picture as documents and history steps store it.
    std::int32_t pictureKind = kqmk::kKindOther;
    // Set when the picture came from a drawing document.
    std::filesystem::path documentPath;
    std::int32_t isDocument = 0;

private:
    std::unique_ptr<CPicture> picture_;
    ObjectList objects_;
    std::vector<CCLObject*> selection_;
    CCounterStyles counterStyles_;
    ObjectTypeCounters typeCounters_;
    CHistoryStore history_;
    ObjectFactory makeObject_ = &CreateObjectForTag;
    TextSource texts_;
};
