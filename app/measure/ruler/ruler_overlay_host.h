#pragma once
// What the measuring ruler asks of the view that shows it: the sizes of
// what is shown, the calibration chosen in the main frame, and a repaint
// when a setting changes. The view implements it.
#include "ruler_overlay_geometry.h"

class IRulerOverlayHost {
public:
    // While video is open the camera's frame and its video window, else the
    // current picture and its displayed size; 0 where nothing is shown.
    virtual RulerSizes GetRulerSizes() const = 0;
    // The scale combo's selection: 0 "Default", N the calibration [scl_N];
    // below 0 when none is selected.
    virtual int GetCalibrationIndex() const = 0;
    // Paints the view (and the ruler's window over video) again at once.
    virtual void RedrawRuler() = 0;

protected:
    ~IRulerOverlayHost() = default;
};
