#include "mikra_process.h"

#include <dlgs.h>

#include <functional>

std::wstring ProgramFolder() {
    std::vector<wchar_t> path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring folder(path.data(), length);
    return folder.substr(0, folder.rfind(L'\\') + 1);
}

std::filesystem::path CopyProgramToFreshFolder(const std::wstring& name) {
    namespace fs = std::filesystem;
    const fs::path bin = ProgramFolder();
    const fs::path folder = fs::temp_directory_path() / (name + L"_" + std::to_wstring(GetCurrentProcessId()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const wchar_t* file : {L"Mikra.exe", L"Lan_0.dll", L"Lan_1.dll", L"Xuprop.dll"}) {
        fs::copy_file(bin / file, folder / file);
    }
    return folder;
}

namespace {

bool Poll(DWORD timeoutMs, const std::function<bool()>& done) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    do {
        if (done()) {
            return true;
        }
        Sleep(50);
    } while (GetTickCount64() < end);
    return done();
}

DWORD ProcessOf(HWND hwnd) {
    DWORD id = 0;
    GetWindowThreadProcessId(hwnd, &id);
    return id;
}

struct Search {
    DWORD processId;
    std::function<bool(HWND)> match;
    HWND found = nullptr;
};

BOOL CALLBACK MatchTopLevel(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (ProcessOf(hwnd) == search->processId && search->match(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindTopLevel(DWORD processId, std::function<bool(HWND)> match) {
    Search search{processId, std::move(match)};
    EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

MikraProcess::~MikraProcess() { Kill(); }

bool MikraProcess::Start(const std::wstring& arguments) { return Create(arguments, 0); }

bool MikraProcess::StartSuspended(const std::wstring& arguments) { return Create(arguments, CREATE_SUSPENDED); }

void MikraProcess::Resume() {
    if (m_suspendedThread) {
        ResumeThread(m_suspendedThread.Get());
        m_suspendedThread.Reset();
    }
}

bool MikraProcess::Create(const std::wstring& arguments, DWORD flags) {
    const std::wstring program = m_folder + L"Mikra.exe";
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr, m_folder.c_str(),
                        &startup, &info)) {
        return false;
    }
    if (flags & CREATE_SUSPENDED) {
        m_suspendedThread.Reset(info.hThread);
    } else {
        CloseHandle(info.hThread);
    }
    m_process.Reset(info.hProcess);
    m_id = info.dwProcessId;
    return true;
}

bool MikraProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
    if (!m_process || WaitForSingleObject(m_process.Get(), timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode) {
        GetExitCodeProcess(m_process.Get(), exitCode);
    }
    return true;
}

bool MikraProcess::IsRunning() const { return m_process && WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT; }

void MikraProcess::Kill() {
    if (IsRunning()) {
        TerminateProcess(m_process.Get(), 99);
        WaitForSingleObject(m_process.Get(), kExitTimeoutMs);
    }
}

HWND MikraProcess::WaitForMainFrame(DWORD timeoutMs) const {
    HWND frame = nullptr;
    Poll(timeoutMs, [&] {
        frame =
            FindTopLevel(m_id, [](HWND hwnd) { return WindowText(hwnd) == L"Vizcam Viewer" && IsWindowVisible(hwnd); });
        return frame != nullptr || !IsRunning();
    });
    return frame;
}

HWND MikraProcess::WaitForDialog(DWORD timeoutMs) const {
    HWND dialog = nullptr;
    Poll(timeoutMs, [&] {
        dialog = FindTopLevel(m_id, [](HWND hwnd) {
            wchar_t className[64] = {};
            GetClassNameW(hwnd, className, 64);
            // A question has buttons; the windows laid over the video are
            // dialogs too, but without any.
            return std::wstring(className) == L"#32770" && IsWindowVisible(hwnd) &&
                   (GetDlgItem(hwnd, IDOK) != nullptr || GetDlgItem(hwnd, IDCANCEL) != nullptr ||
                    GetDlgItem(hwnd, IDYES) != nullptr);
        });
        return dialog != nullptr || !IsRunning();
    });
    return dialog;
}

namespace {
struct ChildSearch {
    int id;
    HWND found = nullptr;
};
BOOL CALLBACK MatchChild(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (GetDlgCtrlID(hwnd) == search->id) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

HWND FindDescendant(HWND parent, int id) {
    ChildSearch search{id};
    EnumChildWindows(parent, &MatchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring LanguageText(const std::filesystem::path& folder, UINT id) {
    HMODULE library = LoadLibraryExW((folder / L"Lan_0.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!library) return L"(no language library)";
    wchar_t text[512] = {};
    LoadStringW(library, id, text, 512);
    FreeLibrary(library);
    return text;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t text[1024] = {};
    GetWindowTextW(hwnd, text, 1024);
    return text;
}

bool HasVisibleStyle(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

bool WaitUntilGone(HWND hwnd, DWORD timeoutMs) {
    return Poll(timeoutMs, [hwnd] { return !IsWindow(hwnd); });
}

// The file name box of the explorer-style dialogs: a combo box (cmb13) or
// an edit (edt1), by the system's template. WM_SETTEXT crosses processes.
void ChooseFile(HWND dialog, const std::filesystem::path& path) {
    const std::wstring text = path.wstring();
    for (int id : {cmb13, edt1}) {
        if (HWND box = GetDlgItem(dialog, id)) {
            SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}
