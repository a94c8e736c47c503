#include "device_bridge.h"

#include <cstdio>
#include <utility>

namespace twain::ds {
namespace {

template <typename Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::wstring DeviceLibraryPath(HINSTANCE dataSource) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(dataSource, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return L"KQCMos_TW.DLL";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L'\\');
    path.erase(slash == std::wstring::npos ? 0 : slash + 1);
    return path + L"KQCMos_TW.DLL";
}

}  // namespace

std::unique_ptr<CDeviceBridge> CDeviceBridge::Create(HINSTANCE dataSource) {
    const std::wstring path = DeviceLibraryPath(dataSource);
    UniqueModule library(LoadLibraryW(path.c_str()));
    if (!library) {
        std::wstring text(path.size() + 64, L'\0');
        const int n = swprintf(text.data(), text.size(), L"%ls%ls", path.c_str(), L",Can't find or relative dll file");
        text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        MessageBoxW(nullptr, text.c_str(), L"Can't run", MB_OK);
        return nullptr;
    }
    const auto regster = Export<RegsterMVTwainFunction>(library.Get(), "RegsterMVTwain");
    const auto unregster = Export<UnRegsterMVTwainFunction>(library.Get(), "UnRegsterMVTwain");
    if (regster == nullptr || unregster == nullptr) return nullptr;
    CTWAIN* device = regster();
    const ResolutionEntry* table = nullptr;
    int count = 0;
    if (device != nullptr && device->GetResolutions(&table, &count) != 0 && table != nullptr && count > 0) {
        std::vector<Resolution> resolutions;
        for (int i = 0; i < count; ++i) {
            resolutions.push_back({table[i].name ? table[i].name : "", table[i].width, table[i].height});
        }
        return std::unique_ptr<CDeviceBridge>(new CDeviceBridge(std::move(library), device, std::move(resolutions)));
    }
    if (device != nullptr) unregster(device);
    MessageBoxW(nullptr, L"Can't Open Device!", L"Error", MB_OK);
    return nullptr;
}

CDeviceBridge::CDeviceBridge(UniqueModule library, CTWAIN* device, std::vector<Resolution> resolutions)
    : library_(std::move(library)), device_(device), resolutions_(std::move(resolutions)) {}

CDeviceBridge::~CDeviceBridge() {
    if (!library_) return;
    if (const auto unregster = Export<UnRegsterMVTwainFunction>(library_.Get(), "UnRegsterMVTwain")) {
        unregster(device_);  // saves the settings and closes the camera
    }
}

void CDeviceBridge::Abandon() { library_.Release(); }

}  // namespace twain::ds
