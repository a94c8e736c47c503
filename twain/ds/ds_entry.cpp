// KQCMos_TW.ds: DllMain and DS_Entry. One data source object per process,
// made at attach; at detach nothing that waits or unloads is done, because
// the loader lock is held: the device is closed at MSG_CLOSEDS.

#include <windows.h>

#include <memory>
#include <string>

#include "ds_resource.h"
#include "global_memory.h"
#include "twain_source.h"
#include "win32_source_host.h"

namespace twain::ds {
namespace {

std::string LoadText(HINSTANCE instance, UINT id, const char* fallback) {
    char text[34] = {};
    const int n = LoadStringA(instance, id, text, static_cast<int>(sizeof text));
    return n > 0 ? std::string(text, static_cast<std::size_t>(n)) : std::string(fallback);
}

class DataSource : public SettingsDialogOwner {
public:
    explicit DataSource(HINSTANCE instance) : host_(instance, *this), source_(host_, memory_, Strings(instance)) {}

    TW_UINT16 Entry(TW_IDENTITY* origin, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
        return source_.Entry(origin, dg, dat, msg, data);
    }
    void OnCaptureButton() override { source_.OnCaptureButton(); }
    void OnExitButton() override { source_.OnExitButton(); }
    void Abandon() { host_.Abandon(); }

private:
    static SourceStrings Strings(HINSTANCE instance) {
        SourceStrings strings;
        strings.info = LoadText(instance, IDS_SOURCE_INFO, " ");
        strings.manufacturer = LoadText(instance, IDS_SOURCE_MANUFACTURER, " ");
        strings.productFamily = LoadText(instance, IDS_SOURCE_FAMILY, "Vizcam_TWAIN");
        strings.productName = LoadText(instance, IDS_SOURCE_PRODUCT, "Vizcam USB Camera");
        return strings;
    }

    GlobalMemory memory_;
    Win32SourceHost host_;
    CTwainSource source_;
};

std::unique_ptr<DataSource> g_source;

}  // namespace
}  // namespace twain::ds

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    using twain::ds::DataSource;
    using twain::ds::g_source;
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        if (instance == nullptr || g_source) return FALSE;
        DisableThreadLibraryCalls(instance);
        g_source = std::make_unique<DataSource>(instance);
        return TRUE;
    case DLL_PROCESS_DETACH:
        if (g_source) {
            g_source->Abandon();
            g_source.reset();
        }
        return TRUE;
    default: return TRUE;
    }
}

extern "C" twain::TW_UINT16 WINAPI DS_Entry(twain::TW_IDENTITY* origin, twain::TW_UINT32 dg, twain::TW_UINT16 dat,
                                            twain::TW_UINT16 msg, twain::TW_MEMREF data) {
    if (!twain::ds::g_source) return twain::TWRC_FAILURE;
    return twain::ds::g_source->Entry(origin, dg, dat, msg, data);
}
