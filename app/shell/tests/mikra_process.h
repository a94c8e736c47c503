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
// process) holding Mikra.exe and its language libraries, to run it from.
std::filesystem::path CopyProgramToFreshFolder(const std::wstring& name);

class MikraProcess {
public:
    MikraProcess() = default;
    MikraProcess(const MikraProcess&) = delete;
    MikraProcess& operator=(const MikraProcess&) = delete;
    ~MikraProcess();

    // arguments: the text after the program name.
    bool Start(const std::wstring& arguments = L"");
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
    UniqueKernelHandle m_process;
    DWORD m_id = 0;
    std::wstring m_folder = ProgramFolder();
};

// A descendant window with the given control id, or null.
HWND FindDescendant(HWND parent, int id);
std::wstring WindowText(HWND hwnd);
bool HasVisibleStyle(HWND hwnd);
// Waits until the window is gone; false on timeout.
bool WaitUntilGone(HWND hwnd, DWORD timeoutMs);
