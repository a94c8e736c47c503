#pragma once
// Private window messages between the program's windows.
#include <windows.h>

// To the view: the resolution combo's selection changed (wParam 0, lParam 0).
constexpr UINT WM_RESOLUTION_CHANGED = 0x40F;

// To the view: the image controller stored a calibration drawn on its picture
// (wParam 0, lParam 0).
constexpr UINT WM_CALIBRATION_CHANGED = 0x468;
