#include "kqge_library.h"

#include <windows.h>

#include <memory>

#include "camera_factory.h"
#include "pipe_adapter_service.h"
#include "profile_awb_settings.h"

namespace kqge {
namespace {

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

}  // namespace

GigELibrary& KeepForTheProcess(DriverPortSource& ports) {
    HMODULE pinned = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &pinned);
    auto& settings = *std::make_unique<ProfileAwbSettingsFile>(ProfileAwbSettingsFile::BesideThisModule()).release();
    auto& factory = *std::make_unique<GigECameraFactory>(settings).release();
    auto& service = *std::make_unique<PipeAdapterService>().release();
    return *std::make_unique<GigELibrary>(service, ports, factory).release();
}

}  // namespace kqge
