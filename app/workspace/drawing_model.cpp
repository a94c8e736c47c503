#include "drawing_model.h"

#include <algorithm>
#include <array>

#include "annotation_strings.h"
#include "cl_count.h"
#include "history_actions.h"
#include "units.h"

namespace {

bool IsCounter(const CCLObject& o) { return CCounterStyles::IsCounterType(o.type); }
// Types numbered by their own counter and renumbered after deletions.
bool IsFigureType(int type) { return type >= 2 && type <= 12; }
constexpr std::int32_t kTextType = 13;
constexpr std::int32_t kArrowType = 19;

// Language string of a counter kind's default name; 0 for other types.
int CounterNameId(std::int32_t type) {
    switch (type) {
    case CCL_CountCircle::kType: return IDS_COUNTER_CIRCLE;
    case CCL_CountRect::kType: return IDS_COUNTER_RECT;
    case CCL_CountDiamond::kType: return IDS_COUNTER_DIAMOND;
    default: return 0;
    }
}

std::u16string BuiltInText(int stringId) {
    if (const auto name = CounterName(stringId); !name.empty()) {
        return std::u16string(name);
    }
    for (std::int32_t action = kHistoryLoad; action <= kHistoryCountRegion; ++action) {
        if (HistoryActionStringId(action) == stringId) {
            return std::u16string(HistoryActionText(action));
        }
    }
    return {};
}

}  // namespace

CDrawingModel::CDrawingModel(const std::filesystem::path& temporaryDirectory) : history_(temporaryDirectory) {}

std::u16string CDrawingModel::Text(int stringId) const {
    if (texts_) {
        if (std::u16string text = texts_(stringId); !text.empty()) {
            return text;
        }
    }
    return BuiltInText(stringId);
}

void CDrawingModel::ApplyStyle(CCLObject& object) const {
    ApplyScale(object);
    object.label.boxShown = style.labelBoxShown;
    object.drawColour = style.drawColour;
    object.selectedColour = style.selectedColour;
    object.label.boxColour = style.labelBoxColour;
    object.penStyle = style.penStyle;
    object.lineWidth = style.lineWidth;
    object.font = style.labelFont;
    object.label.font = style.labelFont;
    object.labelMode = style.labelMode;
    object.label.dirty = 1;
}

void CDrawingModel::ApplyScale(CCLObject& object) const {
    object.scale = style.scale;
    object.unitText = style.unitText;
    object.decimals = style.decimals;
}

void CDrawingModel::NumberNew(CCLObject& object) {
    if (IsFigureType(object.type) || object.type == kTextType || object.type == kArrowType) {
        object.number = typeCounters_.Next(object.type);
    } else if (auto* counter = dynamic_cast<CCL_Count*>(&object); counter != nullptr && IsCounter(object)) {
        NumberCounter(*counter);
    }
}

void CDrawingModel::NumberCounter(CCL_Count& counter) {
    counterStyles_.Number(counter, static_cast<ColourRef>(counterColourKey));
    if (const int nameId = CounterNameId(counter.type); nameId != 0) {
        counter.name = Text(nameId);
    }
}

void CDrawingModel::UnnumberCounter(const CCL_Count& counter) { counterStyles_.Unnumber(counter, objects_); }

void CDrawingModel::DeselectAll() {
    for (CCLObject* o : selection_) {
        o->label.dirty = 1;
        o->state = CCLObject::kIdle;
        o->activeHandle = 0;
    }
    selection_.clear();
}

bool CDrawingModel::DeleteSelection() {
    if (selection_.empty()) {
        return false;
    }
    std::array<int, 20> deleted{};
    for (CCLObject* o : selection_) {
        if (IsFigureType(o->type)) {
            ++deleted[static_cast<std::size_t>(o->type)];
        }
        if (auto* counter = dynamic_cast<const CCL_Count*>(o); counter != nullptr && IsCounter(*o)) {
            UnnumberCounter(*counter);
        }
        std::erase_if(objects_, [o](const std::unique_ptr<CCLObject>& owned) { return owned.get() == o; });
    }
    selection_.clear();
    for (int type = 2; type <= 12; ++type) {
        const int count = deleted[static_cast<std::size_t>(type)];
        if (count > 0) {
            RenumberType(type);
            typeCounters_.Remove(type, count);
        }
    }
    return true;
}

void CDrawingModel::RenumberType(int type) {
    std::vector<CCLObject*> ofType;
    for (const auto& owned : objects_) {
        if (owned->type == type) {
            ofType.push_back(owned.get());
        }
    }
    std::stable_sort(ofType.begin(), ofType.end(),
                     [](const CCLObject* a, const CCLObject* b) { return a->id < b->id; });
    for (std::size_t i = 0; i < ofType.size(); ++i) {
        ofType[i]->number = static_cast<std::int32_t>(i + 1);
        ofType[i]->label.dirty = 1;
    }
}

void CDrawingModel::SetScaleAndUnit(float scale, const std::u16string& unit) {
    style.scale = scale;
    style.unitText = unit;
    for (const auto& object : objects_) {
        object->scale = scale;
        object->unitText = unit;
    }
}

float CDrawingModel::CycleDisplayedUnit() {
    displayedUnit = NextLengthUnit(displayedUnit);
    return static_cast<float>(ConvertUnit(calibrationScale, calibrationUnit, displayedUnit));
}

void CDrawingModel::PushStep(int action) {
    auto step = std::make_unique<HistoryStep>();
    step->action = action;
    step->description = Text(HistoryActionStringId(action));
    history_.PushStep(std::move(step), objects_, counterStyles_.Records(), picture_.get(), pictureKind);
}

bool CDrawingModel::RestoreStep(int index) {
    // The step is read into fresh lists first, so a step that cannot be
    // read leaves the objects as they are.
    ObjectList restored;
    CounterStyleList restoredStyles;
    if (!history_.RestoreStep(picture_.get(), restored, restoredStyles, index)) {
        return false;
    }
    selection_.clear();
    objects_ = std::move(restored);
    counterStyles_.Records() = std::move(restoredStyles);
    for (const auto& object : objects_) {
        if (object->state != CCLObject::kIdle) {
            selection_.push_back(object.get());
        }
    }
    typeCounters_ = history_.TypeCounters();
    return true;
}

DocumentStatus CDrawingModel::SaveDocument(const std::filesystem::path& path) {
    // No object is stored selected or half dragged.
    DeselectAll();
    for (const auto& object : objects_) {
        object->state = CCLObject::kIdle;
    }
    if (!picture_) {
        picture_ = std::make_unique<CPicture>();
    }
    return WriteDrawingFile(path, picture_.get(), pictureKind, objects_, counterStyles_.Records());
}

DocumentStatus CDrawingModel::LoadDocument(const std::filesystem::path& path) {
    DrawingDocument document;
    const DocumentStatus status = ReadDrawingFile(path, document, makeObject_);
    if (status != DocumentStatus::ok) {
        return status;
    }
    // Only a document that opened marks the model as holding it: the mark
    // makes deleting the picture delete the document file too.
    isDocument = 1;
    documentPath = path;
    pictureKind = document.pictureKind;
    picture_ = std::make_unique<CPicture>(std::move(document.picture));
    for (auto& object : document.objects) {
        objects_.push_back(std::move(object));
    }
    MergeCounterStyles(counterStyles_.Records(), document.counterStyles);
    typeCounters_ = document.counters;
    return DocumentStatus::ok;
}
