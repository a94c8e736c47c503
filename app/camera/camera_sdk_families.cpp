#include "camera_sdk_families.h"

#include <iterator>

namespace {
HMODULE g_kqccdModule = nullptr;
HMODULE g_kqcmosModule = nullptr;
HMODULE g_kqgeModule = nullptr;
HMODULE g_kquvcModule = nullptr;

KQCCDEntryPoints g_kqccd;
KQCMOSEntryPoints g_kqcmos;
KQGEEntryPoints g_kqge;
KQUVCEntryPoints g_kquvc;

template <typename EntryPoint>
void StoreAddress(EntryPoint& entry, FARPROC address) {
    entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(address));
}

#define VZ_SDK_ROW(record, shape, name)                                                 \
    CameraSdkExport{#name, [](FARPROC address) { StoreAddress(record.name, address); }, \
                    [] { return record.name != nullptr; }},
#define VZ_KQCCD_ROW(shape, name) VZ_SDK_ROW(g_kqccd, shape, name)
#define VZ_KQCMOS_ROW(shape, name) VZ_SDK_ROW(g_kqcmos, shape, name)
#define VZ_KQGE_ROW(shape, name) VZ_SDK_ROW(g_kqge, shape, name)
#define VZ_KQUVC_ROW(shape, name) VZ_SDK_ROW(g_kquvc, shape, name)

const CameraSdkExport kKQCCDExports[] = {VZ_KQCCD_EXPORTS(VZ_KQCCD_ROW)};
const CameraSdkExport kKQCMOSExports[] = {VZ_KQCMOS_EXPORTS(VZ_KQCMOS_ROW)};
const CameraSdkExport kKQGEExports[] = {VZ_KQGE_EXPORTS(VZ_KQGE_ROW)};
const CameraSdkExport kKQUVCExports[] = {VZ_KQUVC_EXPORTS(VZ_KQUVC_ROW)};
static_assert(std::size(kKQCCDExports) == 64);
static_assert(std::size(kKQCMOSExports) == 73);
static_assert(std::size(kKQGEExports) == 73);
static_assert(std::size(kKQUVCExports) == 22);
}  // namespace

const KQCCDEntryPoints& KQCCD() { return g_kqccd; }
const KQCMOSEntryPoints& KQCMOS() { return g_kqcmos; }
const KQGEEntryPoints& KQGE() { return g_kqge; }
const KQUVCEntryPoints& KQUVC() { return g_kquvc; }

CCCDSdkBinding::CCCDSdkBinding(const std::wstring& path) : CCameraSdkBinding(g_kqccdModule, Exports(), path) {}
std::span<const CameraSdkExport> CCCDSdkBinding::Exports() { return kKQCCDExports; }

CCMOSSdkBinding::CCMOSSdkBinding(const std::wstring& path) : CCameraSdkBinding(g_kqcmosModule, Exports(), path) {}
std::span<const CameraSdkExport> CCMOSSdkBinding::Exports() { return kKQCMOSExports; }

CGigESdkBinding::CGigESdkBinding(const std::wstring& path) : CCameraSdkBinding(g_kqgeModule, Exports(), path) {}
std::span<const CameraSdkExport> CGigESdkBinding::Exports() { return kKQGEExports; }

CUVCSdkBinding::CUVCSdkBinding(const std::wstring& path) : CCameraSdkBinding(g_kquvcModule, Exports(), path) {}
std::span<const CameraSdkExport> CUVCSdkBinding::Exports() { return kKQUVCExports; }

int CCCDSdkBinding::IsFamilyLoaded() { return g_kqccdModule ? 1 : 0; }
int CCMOSSdkBinding::IsFamilyLoaded() { return g_kqcmosModule ? 1 : 0; }
int CGigESdkBinding::IsFamilyLoaded() { return g_kqgeModule ? 1 : 0; }
int CUVCSdkBinding::IsFamilyLoaded() { return g_kquvcModule ? 1 : 0; }
