#pragma once
// The one device table of the loaded library, and how its message window
// registers for device broadcasts. Each build of the DLL defines both.

#include <windows.h>

#include "core/device_library.h"

namespace kq {
DeviceLibrary& Library();
// Null when the window gets no broadcasts.
HDEVNOTIFY RegisterNotices(HWND window);
}
