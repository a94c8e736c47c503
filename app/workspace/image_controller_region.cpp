// Region selection and the floating piece on the controller's side: a band
// dragged on the picture lifts that part of it as the floating piece, the
// clipboard keys act on the piece, and whatever ends the mode or starts
// other work on the picture paints the piece back first, so that no edit is
// lost and no piece window is left over another picture.
#include <algorithm>
#include <cstdlib>

#include "image_controller.h"

void CImageController::SetRegionSelect(int on) { ui_.regionSelect = on != 0 ? 1 : 0; }

void CImageController::DropFloatingPiece() {
    if (floating_.IsFloating() != 0) {
        floating_.DropFloating(1);
    }
}

void CImageController::EndRegionSelect() {
    DropFloatingPiece();
    ui_.regionSelect = 0;
}

int CImageController::PastePicture() {
    if (floating_.Paste() == 0) {
        return 0;
    }
    ui_.regionSelect = 1;
    return 1;
}

bool CImageController::LiftBand() {
    if (ui_.regionSelect == 0) {
        return false;
    }
    // The band is in track points; the piece takes window pixels.
    const int left = std::min(ui_.bandFrom.x, ui_.bandTo.x) + centreX_ - scrollX_;
    const int top = std::min(ui_.bandFrom.y, ui_.bandTo.y) + centreY_ - scrollY_;
    const int width = std::abs(ui_.bandTo.x - ui_.bandFrom.x);
    const int height = std::abs(ui_.bandTo.y - ui_.bandFrom.y);
    if (width > 1 && height > 1) {
        floating_.SetRegionRect(RECT{left, top, left + width, top + height});
        floating_.CutToFloating();
    }
    return true;
}

bool CImageController::OnRegionKey(UINT key) {
    if (ui_.regionSelect == 0 || ctrlHeld_ == 0) {
        return false;
    }
    switch (key) {
    case 'A': floating_.LiftWholePicture(); return true;
    case 'C': floating_.CopyFloating(); return true;
    case 'V': PastePicture(); return true;
    case 'X': floating_.CutFloating(); return true;
    default: return false;
    }
}
