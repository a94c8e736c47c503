// Calibration of the controller: applying a scale and unit, confirming a
// drawn calibration line, and showing the picture at its calibrated size.
#include "image_controller.h"
#include "print_size_zoom.h"
#include "private_messages.h"
#include "view_geometry.h"

void CImageController::SetCalibration(float newScale, const std::u16string& unit) {
    if (owner_ == nullptr) {
        return;
    }
    scale = printScale = newScale;
    unitText = printUnitText = unit;
    for (const auto& object : objects_) {
        object->scale = newScale;
        object->unitText = unit;
    }
    if (!objects_.empty()) {
        Render(0);
    }
}

int CImageController::ConfirmCalibrationLine(const CCLObject& line) {
    if (owner_ == nullptr) {
        return 0;
    }
    // The line measures itself in view pixels; the calibration is made in
    // picture pixels.
    calibrationDlg_.SetPixelLength(line.results[CCLObject::kLength] / zoom_);
    calibrationDlg_.SetParentWindow(owner_);
    if (calibrationDlg_.DoModal() != IDOK) {
        return 0;
    }
    const std::u16string unit(calibrationDlg_.m_strUnit.begin(), calibrationDlg_.m_strUnit.end());
    SetCalibration(calibrationDlg_.m_fValue, unit);
    calibrationScale_ = calibrationDlg_.m_fValue;
    calibrationUnit_ = unit;
    ClearSelection();  // the calibration line goes with the selection
    ::SendMessageW(owner_, WM_CALIBRATION_CHANGED, 0, 0);
    return 1;
}

void CImageController::ShowAtPrintSize(int magnification, float newScale, const std::u16string& unit) {
    printUnitText = unit;
    printScale = newScale;
    printMagnification = magnification;
    if (owner_ == nullptr || !picture_ || !picture_->IsValid()) {
        return;
    }
    ScreenMetrics screen;
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
    if (scrollSink_ != nullptr) {
        scrollSink_->SetScrollSizes(0, 0);
    }
    scale = newScale;
    zoom_ = ClampZoom(*zoom);
    unitText = unit;
    Render(1);
}
