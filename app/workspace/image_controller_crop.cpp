// Cropping the picture to a rubber band the user drags: the picture keeps
// only the band's pixels, the objects keep their place on them, and the
// change is one undoable picture step.
#include <algorithm>
#include <memory>

#include "floating_geometry.h"
#include "history_actions.h"
#include "image_controller.h"

void CImageController::ToggleCropMode() {
    const bool wasOn = ui_.cropMode != 0;
    CancelInteraction();
    if (!wasOn && picture_ && picture_->IsValid()) {
        ClearSelection();
        ui_.cropMode = 1;
    }
}

void CImageController::CropToBand() {
    ui_.cropMode = 0;
    if (owner_ == nullptr || !picture_ || !picture_->IsValid()) {
        return;
    }
    // Band corners are track points: zoomed picture pixels.
    const int left = std::min(ui_.bandFrom.x, ui_.bandTo.x);
    const int top = std::min(ui_.bandFrom.y, ui_.bandTo.y);
    const int width = std::abs(ui_.bandTo.x - ui_.bandFrom.x);
    const int height = std::abs(ui_.bandTo.y - ui_.bandFrom.y);
    const auto box = ClipToPicture(WindowToPicture(left, top, width, height, WindowPlacement{zoom_, 0, 0, 0, 0}),
                                   picture_->GetWidth(), picture_->GetHeight());
    // A click or a band of one pixel is no crop.
    if (!box || box->width <= 1 || box->height <= 1) {
        Render(0);
        return;
    }
    auto cropped = std::make_unique<CPicture>();
    if (!picture_->Crop(box->left, box->top, box->left + box->width, box->top + box->height, *cropped)) {
        Render(0);
        return;
    }
    picture_ = std::move(cropped);
    for (const auto& object : objects_) {
        // Moved whole, by the crop's corner in picture pixels.
        const std::int32_t state = object->state;
        object->state = CCLObject::kSelectedWhole;
        object->Move(box->left, box->top, 0, 0, 1.0f);
        object->state = state;
        object->dragging = 0;
    }
    scrollX_ = scrollY_ = 0;
    RebuildBuffers();
    Render(1);
    PushHistory(kHistoryCut);
    RefreshWorkspaceBar();
}
