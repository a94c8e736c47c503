#pragma once
// Private window messages between the program's windows, all in one place so
// that no two share a number. Each says who receives it and its parameters.
#include <windows.h>

#include <cstdint>
#include <string>

// To the image controller's owner window (the view): the undo history
// changed (wParam 0, lParam 0). The view refills the undo and redo lists.
constexpr UINT WM_HISTORY_CHANGED = 0x40E;

// To the view: the resolution combo's selection changed (wParam 0, lParam 0).
constexpr UINT WM_RESOLUTION_CHANGED = 0x40F;

// To the view: the image controller stored a calibration drawn on its picture
// (wParam 0, lParam 0).
constexpr UINT WM_CALIBRATION_CHANGED = 0x468;

// To the view: the picture browser's current picture changed (wParam 0,
// lParam 0). The view shows the browser's current path.
constexpr UINT WM_PICTURE_SELECTED = 0x40C;

// To the main frame: a camera saved a snapshot (wParam the address of the
// saved file's path, a std::wstring: lent when sent, handed over with
// HandOverText when posted; 0 when nothing was saved; lParam 0).
constexpr UINT WM_SNAPSHOT_SAVED = 0x465;

// The view's messages that carry an address: the receiver reads it only
// while the sender lends it (CLentPayload), as any process can send them.

// To the view: a snapshot taken for an export was saved (wParam the address
// of its path, a std::wstring; lParam 0 Word, 1 Excel). The file is deleted
// after the export.
constexpr UINT WM_SNAPSHOT_OPEN = 0x410;

// To the view: the parameter-file combo chose an entry (wParam 0, lParam its
// zero-based index).
constexpr UINT WM_PARAMFILE_SELECTED = 0x412;

// To the view: the calibration combo chose an entry (wParam 0, lParam the
// address of a CScaleEntry, which the receiver copies).
constexpr UINT WM_SCALE_SELECTED = 0x469;

// To the view: open a picture (wParam 0, lParam the address of a
// zero-terminated wide-character path).
constexpr UINT WM_OPEN_PICTURE_PATH = 0x7FC;

// Posted by the view to itself after WM_COPYDATA handed it a document
// (wParam 0, lParam 0): the documents handed over open once the sender,
// waiting in SendMessage, is released.
constexpr UINT WM_OPEN_HANDED_DOCUMENTS = 0x7FD;

// One entry of the calibration combo: its position in scale.ini, its texts
// and its pixels per unit (1.0 for the entry that stands for none).
struct CScaleEntry {
    std::int32_t index = 0;
    std::wstring name;
    std::wstring reso;
    std::wstring unit;
    float value = 1.0f;
};

// To the view: the device tree picked another device (wParam 0, lParam 0).
// While the message is sent the tree's selected category and device are the
// pick; the view answers nonzero when it switched to that device, and the
// tree otherwise returns to the device it showed before.
constexpr UINT WM_DEVICE_SELECTED = 0x40D;

// To the view: its camera was unplugged (wParam 0) or came back (wParam 1);
// lParam 0. Posted from the camera library's hot-plug thread.
constexpr UINT WM_CAMERA_PLUGGED = 0x7FE;
