#pragma once
// Runs the real Mikra.exe beside the test program and finds its windows.
// Every wait is bounded; a process still running when its object goes away
// is ended.
#include <windows.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "unique_handle.h"

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 15000;

std::wstring ProgramFolder();
// A fresh folder under the temporary directory (named by `name` and this
// process) holding Mikra.exe, its language libraries and Xuprop.dll (linked
// by import), to run it from.
std::filesystem::path CopyProgramToFreshFolder(const std::wstring& name);

// Polls a condition with a bounded wait; the program runs in another process.
template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() > end) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return true;
}

// Calls visit(hwnd) for every descendant window of the class.
template <typename Visit>
void ForEachDescendantOfClass(HWND parent, const std::wstring& className, Visit visit) {
    struct Walk {
        const std::wstring* className;
        Visit* visit;
    } walk{&className, &visit};
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM lParam) {
            auto* w = reinterpret_cast<Walk*>(lParam);
            wchar_t name[64] = {};
            GetClassNameW(hwnd, name, 64);
            if (*w->className == name) (*w->visit)(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&walk));
}

// The largest visible view window of the frame: the video's host.
inline HWND FindView(HWND frame) {
    HWND found = nullptr;
    LONG area = 0;
    ForEachDescendantOfClass(frame, L"VizcamView", [&](HWND hwnd) {
        RECT client{};
        GetClientRect(hwnd, &client);
        if (IsWindowVisible(hwnd) && client.right * client.bottom > area) {
            found = hwnd;
            area = client.right * client.bottom;
        }
    });
    return found;
}

class MikraProcess {
public:
    MikraProcess() = default;
    MikraProcess(const MikraProcess&) = delete;
    MikraProcess& operator=(const MikraProcess&) = delete;
    ~MikraProcess();

    // arguments: the text after the program name.
    bool Start(const std::wstring& arguments = L"");
    // The same with the process held before its first instruction, so that
    // what it looks for at start (a service serving its process id) can be
    // set up first; Resume lets it run.
    bool StartSuspended(const std::wstring& arguments = L"");
    void Resume();
    // Runs the Mikra.exe of another folder (with a trailing backslash),
    // which is also its current folder.
    void SetProgramFolder(std::wstring folder) { m_folder = std::move(folder); }
    // True when the process ended within the time; exitCode gets its code.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    bool IsRunning() const;
    void Kill();
    DWORD GetId() const { return m_id; }

    // The main frame ("Vizcam Viewer") of this process, waited for.
    HWND WaitForMainFrame(DWORD timeoutMs = kStartTimeoutMs) const;
    // A visible dialog box of this process with buttons (a message box or a
    // question), waited for.
    HWND WaitForDialog(DWORD timeoutMs = 10000) const;

private:
    bool Create(const std::wstring& arguments, DWORD flags);

    UniqueKernelHandle m_process;
    UniqueKernelHandle m_suspendedThread;
    DWORD m_id = 0;
    std::wstring m_folder = ProgramFolder();
};

// Types `path` into a file dialog of the program and presses its OK button.
void ChooseFile(HWND dialog, const std::filesystem::path& path);

// The text of string `id` of the English language library in `folder`.
std::wstring LanguageText(const std::filesystem::path& folder, UINT id);

// A descendant window with the given control id, or null.
HWND FindDescendant(HWND parent, int id);
std::wstring WindowText(HWND hwnd);
bool HasVisibleStyle(HWND hwnd);
// Waits until the window is gone; false on timeout.
bool WaitUntilGone(HWND hwnd, DWORD timeoutMs);
