#include "host_program_folder.h"

#include <windows.h>

#include <string>

namespace kq {
namespace {

std::filesystem::path ModuleFolder(HMODULE module) {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(module, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0) return {};
        if (n < name.size()) {
            name.resize(n);
            break;
        }
        name.resize(name.size() * 2);
    }
    return std::filesystem::path(name).parent_path();
}

}  // namespace

std::filesystem::path HostProgramFolder() { return ModuleFolder(nullptr); }

std::filesystem::path FolderOfModuleContaining(const void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(address), &module)) {
        return {};
    }
    return ModuleFolder(module);
}

}  // namespace kq
