// kq::Library() of the product: the device table over the Windows driver.
// The simulated-camera build links simcam/simcam_library.cpp instead.

#include "kq_library.h"

#include "transport/win32_transport.h"
#include "win32/host_program_folder.h"
#include "win32/hot_plug_window.h"

namespace kq {

DeviceLibrary& Library() {
    static Win32Transport transport;
    static DeviceLibrary& library = []() -> DeviceLibrary& {
        static DeviceLibrary table(&transport);
        table.SetTableFolder(HostProgramFolder());
        return table;
    }();
    return library;
}

HDEVNOTIFY RegisterNotices(HWND window) { return RegisterCameraNotices(window); }

}  // namespace kq
