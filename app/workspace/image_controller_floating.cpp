// The controller's side of its floating piece: the picture the piece is
// cut from and painted back into, and how the window maps onto it.
#include <algorithm>

#include "image_controller.h"
#include "rendered_picture.h"

WindowPlacement CImageController::GetWindowPlacement() const {
    return WindowPlacement{zoom_, centreX_, centreY_, scrollX_, scrollY_};
}

bool CImageController::RepaintPicture(const std::function<void(CDC& dc)>& paint) {
    const ZoomedSize size{picture_->GetWidth(), picture_->GetHeight()};
    const auto rendered = RenderPicture(size, [&](CDC& dc) {
        if (!DrawPictureWithObjects(dc, picture_.get(), size, 1.0f, objects_, nullptr)) {
            return false;
        }
        paint(dc);
        return true;
    });
    if (!rendered) {
        return false;
    }
    if (picture_->GetBpp() == 24) {
        // The same pixel buffer, which the counting engine also reads.
        std::copy(rendered->Pixels().begin(), rendered->Pixels().end(), picture_->Pixels().begin());
    } else {
        *picture_ = *rendered;
        CreateCounter();
    }
    return true;
}

HWND CImageController::PieceWindow() const { return owner_; }

CPicture* CImageController::PiecePicture() { return picture_.get(); }

WindowPlacement CImageController::PiecePlacement() const { return GetWindowPlacement(); }

ZoomedSize CImageController::PieceShownSize() const { return ZoomedSize{zoomedWidth_, zoomedHeight_}; }

bool CImageController::RepaintPiecePicture(const std::function<void(CDC& dc)>& paint) {
    return picture_ && RepaintPicture(paint);
}

void CImageController::PieceShowPicture() { Render(1); }

void CImageController::PieceRecordStep(int action) { PushHistory(action); }

bool CImageController::PieceCtrlHeld() const { return ctrlHeld_ != 0; }
