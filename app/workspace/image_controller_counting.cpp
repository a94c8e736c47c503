// The counting dialogs the controller opens on its picture's engine, and
// what it does with their answers.
#include "history_actions.h"
#include "image_controller.h"
#include "unique_temp_file.h"

void CImageController::PaintCountMarks() { counter_->DrawMarkInSrcIMGAfterEdge(picture_->Pixels(), outlineShown != 0); }

void CImageController::ManualCount() {
    if (owner_ == nullptr || !picture_ || !counter_ || countingDialogs_ == nullptr) {
        return;
    }
    // The edge image from before the dialog, to undo its edits on cancel;
    // a file of this controller's own, gone on either answer.
    const CUniqueTempFile edgeFile(history_.DocumentFolder(), "~tEdge", ".bmp");
    const bool saved = !edgeFile.Path().empty() && counter_->saveEdgeImg(edgeFile.Path(), 0);
    auto copy = std::make_unique<CPicture>(*picture_, true, false, false);
    if (countingDialogs_->ManualCount(*this, *counter_, *picture_, std::move(copy))) {
        PushHistory(kHistoryManualCount);
        return;
    }
    if (saved) {
        counter_->loadEdgeImg(edgeFile.Path());
    }
    PaintCountMarks();
    Render(1);
}

void CImageController::SetCountRegion() {
    if (owner_ == nullptr || !picture_ || !counter_ || countingDialogs_ == nullptr) {
        return;
    }
    CountRegionChoice choice;
    if (!countingDialogs_->ChooseCountRegion(*counter_, choice)) {
        return;
    }
    if (choice.regionOn) {
        counter_->setSelRect(CountPoint{choice.x, picture_->GetHeight() - choice.height - choice.y}, choice.width,
                             choice.height);
    } else {
        counter_->releaseSelRect();
    }
    PaintCountMarks();
    Render(1);
    PushHistory(kHistoryCountRegion);
}

void CImageController::ShowCountResults() {
    if (owner_ == nullptr || !picture_ || !counter_ || countingDialogs_ == nullptr) {
        return;
    }
    countingDialogs_->ShowCountResults(*counter_, picture_->GetWidth(), picture_->GetHeight(),
                                       CountCalibration{scale, decimals, unitText});
}
