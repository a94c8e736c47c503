// kq::Library() of the simulated-camera build: the device table over the
// simulated bus. The product's dll/kq_library.cpp puts it over the driver;
// each DLL links one of the two.

#include "simcam_library.h"

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "dll/kq_library.h"
#include "sim_config_path.h"
#include "win32/host_program_folder.h"
#include "win32/hot_plug_window.h"

namespace kq::simcam {
namespace {

std::atomic<bool> failNoticeRegistration{false};

}  // namespace

std::vector<SimulatedCamera> StartupCameras() {
    return ReadSimulatedCameraFile(StartupConfigPath()).value_or(DefaultSimulatedCameras());
}

SimulatedCameras& Cameras() {
    // Kept for the life of the process, and the DLL pinned: each camera's
    // stream thread runs as long as the camera, and a thread cannot be
    // joined while the loader lock is held, as it is when a DLL unloads.
    static SimulatedCameras& cameras = []() -> SimulatedCameras& {
        HMODULE pinned = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCWSTR>(&ThisModule), &pinned);
        auto& made = *std::make_unique<SimulatedCameras>(StartupCameras()).release();
        made.Library().SetTableFolder(HostProgramFolder());
        return made;
    }();
    return cameras;
}

void FailNoticeRegistration(bool fail) { failNoticeRegistration = fail; }

}  // namespace kq::simcam

namespace kq {

DeviceLibrary& Library() { return simcam::Cameras().Library(); }

HDEVNOTIFY RegisterNotices(HWND window) {
    if (simcam::failNoticeRegistration) {
        SetLastError(ERROR_SERVICE_NOT_ACTIVE);
        return nullptr;
    }
    return RegisterCameraNotices(window);
}

}  // namespace kq
