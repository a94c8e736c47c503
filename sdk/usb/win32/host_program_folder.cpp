#include "host_program_folder.h"

#include <windows.h>

#include <string>

namespace kq {

std::filesystem::path HostProgramFolder() {
    std::wstring module(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
        if (n == 0) return {};
        if (n < module.size()) {
            module.resize(n);
            break;
        }
        module.resize(module.size() * 2);
    }
    return std::filesystem::path(module).parent_path();
}

}  // namespace kq
