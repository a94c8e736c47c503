// Calibration of the controller: applying a scale and unit, confirming a
// drawn calibration line, and showing the picture at its calibrated size.
#include "image_controller.h"
#include "print_size_zoom.h"
#include "view_geometry.h"

void CImageController::SetCalibration(float newScale, const std::u16string& unit) {
    if (owner_ == nullptr) {
        return;
    }
    model_.SetScaleAndUnit(newScale, unit);
    printScale = newScale;
    printUnitText = unit;
    if (!objects_.empty()) {
        Render(0);
    }
}

void CImageController::ApplyStoredCalibration(float newScale, const std::u16string& unit) {
    if (owner_ == nullptr) {
        return;
    }
    SetCalibration(newScale, unit);
    model_.calibrationScale = newScale;
    model_.calibrationUnit = unit;
}

void CImageController::CycleUnit() {
    if (owner_ == nullptr) {
        return;
    }
    const float converted = model_.CycleDisplayedUnit();
    SetCalibration(converted, model_.displayedUnit);
}

void CImageController::GetCalibrationPictureSize(int& width, int& height) const {
    width = picture_ ? picture_->GetWidth() : 0;
    height = picture_ ? picture_->GetHeight() : 0;
}

int CImageController::ConfirmCalibrationLine(const CCLObject& line) {
    if (owner_ == nullptr || host_ == nullptr) {
        return 0;
    }
    // The line measures itself in view pixels; the calibration is made in
    // picture pixels.
    int width = 0;
    int height = 0;
    GetCalibrationPictureSize(width, height);
    const auto chosen = host_->AskCalibration(line.results[CCLObject::kLength] / zoom_, width, height);
    if (!chosen) {
        return 0;
    }
    SetCalibration(chosen->scale, chosen->unit);
    model_.calibrationScale = chosen->scale;
    model_.calibrationUnit = chosen->unit;
    ClearSelection();  // the calibration line goes with the selection
    host_->CalibrationChanged();
    return 1;
}

void CImageController::ShowAtPrintSize(int magnification, float newScale, const std::u16string& unit) {
    printUnitText = unit;
    printScale = newScale;
    printMagnification = magnification;
    if (owner_ == nullptr || !picture_ || !picture_->IsValid()) {
        return;
    }
    DeviceMetrics screen;
    {
        CClientDC window(owner_);
        screen.horizontalPixels = window.GetDeviceCaps(HORZRES);
        screen.horizontalMillimetres = window.GetDeviceCaps(HORZSIZE);
    }
    // A zero width, screen size, scale or magnification gives no size to
    // show: the view stays as it is rather than dividing by zero.
    const auto zoom = PrintSizeZoom(picture_->GetWidth(), unit, newScale, magnification, screen);
    if (!zoom) {
        return;
    }
    canvas_.SetScrollSizes(0, 0);
    scale = newScale;
    zoom_ = ClampZoom(*zoom);
    unitText = unit;
    Render(1);
}
