// The controller's side of the undo history: recording steps and going back
// or forward to one.
#include "history_actions.h"
#include "image_controller.h"

namespace {

// Wait cursor while a step is read back.
class BusyCursor {
public:
    BusyCursor() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~BusyCursor() { ::SetCursor(previous_); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    HCURSOR previous_;
};

std::unique_ptr<HistoryStep> StepOf(int action) {
    auto step = std::make_unique<HistoryStep>();
    step->action = action;
    return step;
}

}  // namespace

void CImageController::PushFirstStep() {
    history_.PushStep(StepOf(kHistoryLoad), objects_, counterStyles_.Records(), picture_.get(), pictureKind_);
}

void CImageController::PushHistory(int action) {
    if (owner_ == nullptr) {
        return;
    }
    history_.PushStep(StepOf(action), objects_, counterStyles_.Records(), picture_.get(), pictureKind_);
    if (host_ != nullptr) {
        host_->HistoryChanged();
    }
}

void CImageController::RestoreHistory(int index) {
    if (owner_ == nullptr) {
        return;
    }
    BusyCursor busy;
    ClearSelection();
    // The step is read into fresh lists first, so a step that cannot be
    // read leaves the objects on screen as they are.
    ObjectList restored;
    CounterStyleList restoredStyles;
    const int oldWidth = picture_ ? picture_->GetWidth() : 0;
    const int oldHeight = picture_ ? picture_->GetHeight() : 0;
    if (!history_.RestoreStep(picture_.get(), restored, restoredStyles, index)) {
        return;
    }
    objects_ = std::move(restored);
    counterStyles_.Records() = std::move(restoredStyles);
    for (const auto& object : objects_) {
        if (object->state != CCLObject::kIdle) {
            selection_.push_back(object.get());
        }
    }
    typeCounters_ = history_.TypeCounters();
    if (picture_ && (picture_->GetWidth() != oldWidth || picture_->GetHeight() != oldHeight)) {
        RebuildBuffers();
    }
    if (host_ != nullptr) {
        host_->HistoryChanged();
    }
    Render(1);
}

void CImageController::Undo() {
    const auto undo = history_.UndoList();
    if (!undo.empty()) {
        RestoreHistory(undo.back()->index - 1);
    }
}

void CImageController::Redo() {
    const auto redo = history_.RedoList();
    if (!redo.empty()) {
        RestoreHistory(redo.front()->index);
    }
}
