// What the exports take from the controller: the spreadsheet program's
// version and the data bar's measurements.
#include "excel_version.h"
#include "image_controller.h"

std::wstring CImageController::GetExcelVersion() { return InstalledExcelVersion(); }

void CImageController::NotifyObjectAdded(const CCLObject& object) {
    if (workspaceBar_ != nullptr) {
        workspaceBar_->AddMeasurement(object);
    }
}

void CImageController::RefreshWorkspaceBar() {
    if (workspaceBar_ != nullptr) {
        workspaceBar_->SetMeasurements(objects_);
    }
}
