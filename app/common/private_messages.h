#pragma once
// Private window messages between the program's windows, all in one place so
// that no two share a number. Each says who receives it and its parameters.
#include <windows.h>

// To the image controller's owner window (the view): the undo history
// changed (wParam 0, lParam 0). The view refills the undo and redo lists.
constexpr UINT WM_HISTORY_CHANGED = 0x40E;

// To the view: the resolution combo's selection changed (wParam 0, lParam 0).
constexpr UINT WM_RESOLUTION_CHANGED = 0x40F;

// To the view: the image controller stored a calibration drawn on its picture
// (wParam 0, lParam 0).
constexpr UINT WM_CALIBRATION_CHANGED = 0x468;

// To the main frame: a camera saved a snapshot (wParam the address of the
// saved file's path, a std::wstring owned by the sender; lParam 0).
constexpr UINT WM_SNAPSHOT_SAVED = 0x465;
