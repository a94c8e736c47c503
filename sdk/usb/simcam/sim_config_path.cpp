#include "sim_config_path.h"

#include <string>

namespace kq::simcam {

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

std::filesystem::path StartupConfigPath() {
    std::wstring value(MAX_PATH, L'\0');
    DWORD n = GetEnvironmentVariableW(L"KQSIM_CONFIG", value.data(), static_cast<DWORD>(value.size()));
    if (n >= value.size()) {
        value.resize(n);
        n = GetEnvironmentVariableW(L"KQSIM_CONFIG", value.data(), static_cast<DWORD>(value.size()));
    }
    if (n > 0 && n < value.size()) return value.substr(0, n);

    std::wstring module(MAX_PATH, L'\0');
    for (;;) {
        n = GetModuleFileNameW(ThisModule(), module.data(), static_cast<DWORD>(module.size()));
        if (n < module.size()) break;
        module.resize(module.size() * 2);
    }
    module.resize(n);
    return std::filesystem::path(module).parent_path() / L"KQSimCam.ini";
}

}  // namespace kq::simcam
