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

}  // namespace

void CImageController::PushFirstStep() { model_.PushStep(kHistoryLoad); }

void CImageController::PushHistory(int action) {
    if (owner_ == nullptr) {
        return;
    }
    model_.PushStep(action);
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
    const int oldWidth = model_.PictureWidth();
    const int oldHeight = model_.PictureHeight();
    if (!model_.RestoreStep(index)) {
        return;
    }
    if (picture_ && (picture_->GetWidth() != oldWidth || picture_->GetHeight() != oldHeight)) {
        RebuildBuffers();
    }
    if (host_ != nullptr) {
        host_->HistoryChanged();
    }
    RefreshWorkspaceBar();
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
