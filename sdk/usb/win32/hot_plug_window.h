#pragma once
// The library's hidden message window: it hears the system's device-change
// and power broadcasts and hands them to the device table's sweeps.
//
// The window and its thread run while a camera is open: the first open
// starts them, the last close stops them on the closing thread (the window
// is destroyed on its own thread, then the thread is joined). Nothing is
// left for unloading to wait for. The thread holds a reference to the
// library's module and ends through FreeLibraryAndExitThread, so a client
// that unloads the library with cameras still open never leaves it running
// in an unmapped image.

#include <windows.h>
#include <dbt.h>

#include "core/device_library.h"

namespace kq {

inline constexpr wchar_t kHotPlugWindowClass[] = L"My Msg Win";

struct HotPlugHost {
    // The device table the notices sweep.
    DeviceLibrary& (*library)();
    // Registers the window for the camera interface's arrivals and
    // removals; null when it cannot, and the window goes on without them.
    HDEVNOTIFY (*registerNotices)(HWND window);
};

// Starts the thread unless it runs; returns once its window exists (or
// could not be made).
void StartHotPlugWindow(const HotPlugHost& host);
// Stops it. Called on the window's own thread (a device-event callback that
// closes the last camera), the window goes at once and the thread ends when
// the callback returns.
void StopHotPlugWindow();

// RegisterDeviceNotificationW for the camera interface class.
HDEVNOTIFY RegisterCameraNotices(HWND window);

}  // namespace kq
