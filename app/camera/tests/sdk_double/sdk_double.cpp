// A stand-in for the program's camera libraries in tests: copied under any
// family's file name, it exports that family's names (the build without
// KQ_SetHDR exports all but that one). Each call answers 0 and appends the
// name to "sdk_calls.log" beside the library, as do its loading and its
// unloading ("free" when a FreeLibrary released it, "exit" when the process
// ended with it still loaded), each line led by the library's file name.
//
// The entries take no arguments: on x64 the caller owns its argument area,
// so one body serves every family's shape.
#include <windows.h>

#include <string>

#include "sdk_double_names.h"

namespace {
HMODULE g_self = nullptr;

std::wstring SelfPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(g_self, path, MAX_PATH);
    return path;
}

void Log(const char* event) {
    const std::wstring self = SelfPath();
    const size_t cut = self.find_last_of(L'\\') + 1;
    const std::wstring logPath = self.substr(0, cut) + L"sdk_calls.log";
    std::string line;
    for (wchar_t c : self.substr(cut)) {
        line += static_cast<char>(c);
    }
    line += ' ';
    line += event;
    line += "\r\n";
    HANDLE file = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}
}  // namespace

#define VZ_SDK_DOUBLE_ENTRY(name)  \
    extern "C" int WINAPI name() { \
        Log(#name);                \
        return 0;                  \
    }
VZ_SDK_DOUBLE_NAMES(VZ_SDK_DOUBLE_ENTRY)

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_self = instance;
        Log("load");
    } else if (reason == DLL_PROCESS_DETACH) {
        Log(reserved ? "exit" : "free");
    }
    return TRUE;
}
