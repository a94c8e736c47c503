// The counting grid over the picture and its cell size from the calibration
// chosen in the main frame.
#include "calibration_store.h"
#include "counting_grid.h"
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
    if (!picture_ || !picture_->IsValid() || !backBuffer_) {
        return;
    }
    gridCellWidth_ = GridCellSize(gridCellWidth_);
    gridCellHeight_ = GridCellSize(gridCellHeight_);

    GridPlacement place;
    place.pictureWidth = picture_->GetWidth();
    place.pictureHeight = picture_->GetHeight();
    place.zoom = zoom_;
    place.zoomedWidth = zoomedWidth_;
    place.zoomedHeight = zoomedHeight_;
    place.centreX = centreX_;
    place.centreY = centreY_;
    place.scrollX = scrollX_;
    place.scrollY = scrollY_;

    CPen pen(PS_SOLID, 1, gridColour_);
    CSelectObject selectPen(*backBuffer_, pen.GetSafeHandle());
    for (const GridSegment& line : CountingGridLines(place, gridCellWidth_, gridCellHeight_)) {
        backBuffer_->MoveTo(line.x1, line.y1);
        backBuffer_->LineTo(line.x2, line.y2);
    }
}
