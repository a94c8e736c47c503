#include "mikra_process.h"

#include <cstdio>
#include <functional>
#include <sstream>

std::wstring ProgramFolder() {
    std::vector<wchar_t> path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring folder(path.data(), length);
    return folder.substr(0, folder.rfind(L'\\') + 1);
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

bool MikraProcess::Start(const std::wstring& arguments) {
    const std::wstring program = ProgramFolder() + L"Mikra.exe";
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        ProgramFolder().c_str(), &startup, &info)) {
        return false;
    }
    CloseHandle(info.hThread);
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

std::string MikraProcess::ThreadStacks() const {
    if (!IsRunning()) {
        return "(the process has ended)";
    }
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE commandsRead = nullptr, commandsWrite = nullptr, outputRead = nullptr, outputWrite = nullptr;
    if (!CreatePipe(&commandsRead, &commandsWrite, &inherit, 0)) {
        return "(no pipe for the debugger)";
    }
    UniqueKernelHandle commandsIn(commandsRead), commands(commandsWrite);
    if (!CreatePipe(&outputRead, &outputWrite, &inherit, 0)) {
        return "(no pipe for the debugger)";
    }
    UniqueKernelHandle output(outputRead), outputOut(outputWrite);
    SetHandleInformation(commands.Get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(output.Get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = commandsIn.Get();
    startup.hStdOutput = outputOut.Get();
    startup.hStdError = outputOut.Get();
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"winedbg";
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
        return "(winedbg did not start)";
    }
    UniqueKernelHandle debugger(info.hProcess), debuggerThread(info.hThread);
    commandsIn.Reset();
    outputOut.Reset();
    char text[96];
    const int length = std::snprintf(text, sizeof(text), "attach 0x%lx\nbt all\ndetach\nquit\n", m_id);
    DWORD written = 0;
    WriteFile(commands.Get(), text, static_cast<DWORD>(length), &written, nullptr);
    commands.Reset();

    std::string all;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(output.Get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) {
        all.append(buffer, got);
    }
    WaitForSingleObject(debugger.Get(), 10000);

    // bt all walks every process of the session; keep this one's threads.
    char own[32];
    std::snprintf(own, sizeof(own), " in process %04lx ", m_id);
    std::istringstream lines(all);
    std::string line, kept;
    bool keep = false;
    while (std::getline(lines, line)) {
        if (line.rfind("Backtracing for thread", 0) == 0) {
            keep = line.find(own) != std::string::npos;
        }
        if (keep) {
            kept += line + "\n";
        }
    }
    return kept.empty() ? all : kept;
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
            return std::wstring(className) == L"#32770" && IsWindowVisible(hwnd);
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

std::wstring WindowText(HWND hwnd) {
    wchar_t text[1024] = {};
    GetWindowTextW(hwnd, text, 1024);
    return text;
}

bool HasVisibleStyle(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

bool WaitUntilGone(HWND hwnd, DWORD timeoutMs) {
    return Poll(timeoutMs, [hwnd] { return !IsWindow(hwnd); });
}
