#pragma once
// The grid settings dialog as the view asks for it, over the window the
// shell names.
#include <windows.h>

#include "grid_plate_dialog.h"
#include "grid_plate_dlg.h"

class CGridPlateOpener final : public IGridPlateDialog {
public:
    void SetParentWindow(HWND parent) { m_parent = parent; }
    bool EditGridPlate(int calibration) override {
        CGridPlateDlg dialog(calibration, m_parent);
        return dialog.DoModal() == IDOK;
    }

private:
    HWND m_parent = nullptr;
};
