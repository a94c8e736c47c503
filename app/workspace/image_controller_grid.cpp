// The counting grid over the picture and its cell size from the calibration
// chosen in the main frame.
#include "calibration_store.h"
#include "image_controller.h"

void CImageController::LoadCalibration() {
    if (owner_ == nullptr) {
        return;
    }
    // -1 (no host, nothing chosen) names no stored section: the defaults.
    const int index = host_ != nullptr ? host_->SelectedCalibration() : -1;
    IniProfile file(scaleIniPath_);
    const CountingGridSettings grid = CalibrationStore(file).ReadGrid(index);
    gridColour_ = static_cast<COLORREF>(grid.colour);
    gridCellWidth_ = grid.width / grid.value;
    gridCellHeight_ = grid.height / grid.value;
}

void CImageController::DrawCountingGrid(int /*unused*/) {
    if (picture_) {
        canvas_.DrawGrid(*picture_, gridCellWidth_, gridCellHeight_, gridColour_);
    }
}
