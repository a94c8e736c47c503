#pragma once
// Unix programs run from a test under Wine. Wine starts them without a
// process handle to wait on, so each command names a file it creates (by
// renaming) only when it has finished; the test waits for that file on the
// folder's change notifications. Tests only.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

namespace unix_testing {

namespace fs = std::filesystem;

// The Unix path of a Windows path; empty outside Wine.
inline std::string UnixPath(const fs::path& path) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix =
        reinterpret_cast<ToUnix>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
    if (toUnix == nullptr) {
        return {};
    }
    char* unix = toUnix(path.wstring().c_str());
    if (unix == nullptr) {
        return {};
    }
    std::string result(unix);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return result;
}

// A text in single quotes for the shell.
inline std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs `script` with /bin/sh; true once `done` (in an existing folder) exists,
// false when the program cannot be started or `done` does not appear within
// the timeout. Messages of this thread are dispatched while it waits.
inline bool RunShell(const std::string& script, const fs::path& done,
                     std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    using ToDos = wchar_t*(CDECL*)(const char*);
    const auto toDos =
        reinterpret_cast<ToDos>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name"));
    if (toDos == nullptr) {
        return false;
    }
    wchar_t* shell = toDos("/bin/sh");
    if (shell == nullptr) {
        return false;
    }
    const std::wstring shellPath(shell);
    ::HeapFree(::GetProcessHeap(), 0, shell);

    struct NotificationCloser {
        void operator()(HANDLE h) const { ::FindCloseChangeNotification(h); }
    };
    std::unique_ptr<void, NotificationCloser> changes(
        ::FindFirstChangeNotificationW(done.parent_path().wstring().c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME));
    if (changes.get() == INVALID_HANDLE_VALUE) {
        changes.release();
        return false;
    }
    // The script is one argument in double quotes; it uses single quotes only.
    std::wstring commandLine = L"/bin/sh -c \"";
    commandLine += std::wstring(script.begin(), script.end());
    commandLine += L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(shellPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process)) {
        return false;
    }
    if (process.hProcess != nullptr) {
        ::CloseHandle(process.hProcess);
    }
    if (process.hThread != nullptr) {
        ::CloseHandle(process.hThread);
    }
    // Messages keep flowing meanwhile: the program may ask this thread's
    // windows (the clipboard's owner) for data.
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    HANDLE handle = changes.get();
    while (!fs::exists(done)) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        const DWORD woken =
            ::MsgWaitForMultipleObjects(1, &handle, FALSE, static_cast<DWORD>(left.count()), QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0) {
            ::FindNextChangeNotification(handle);
        } else if (woken == WAIT_OBJECT_0 + 1) {
            MSG message;
            while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
        } else {
            return fs::exists(done);
        }
    }
    return true;
}

}  // namespace unix_testing
