#pragma once
// The counting grid settings dialog as the view opens it. The shell
// supplies it, so the workspace never links the dialog; the view holds it
// without owning it, so no virtual destructor.
class IGridPlateDialog {
public:
    // Edits the grid of calibration `calibration` (0 "Default"); true when
    // the user confirmed and the settings were written.
    virtual bool EditGridPlate(int calibration) = 0;

protected:
    ~IGridPlateDialog() = default;
};
