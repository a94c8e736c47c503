// Mikra.exe's CPU time per displayed frame of live video from the
// simulated-camera build of KQCMOSu.dll (a colour camera whose largest
// picture is the size given, frames as fast as they are read, one centred
// crosshair pair), from the process's own counters over a fixed run,
// divided by the frames the program reports showing in its status bar over
// the same run. Under Wine another process's times are not reported, so
// there the counters are the Linux process's (/proc through drive Z:).
// One iteration per size; the figures are counters.
#include <benchmark/benchmark.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

#include "tests/mikra_process.h"
#include "resource.h"

namespace {

namespace fs = std::filesystem;

constexpr DWORD kRunMs = 10000;
constexpr DWORD kSettleMs = 3000;

void WriteText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

double CpuSeconds(HANDLE process) {
    FILETIME created{}, ended{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &ended, &kernel, &user)) return 0.0;
    auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

// User and system seconds of the Linux process running the Windows program
// from `folder`, when this runs under Wine (clock ticks of 1/100 s).
std::optional<double> WineProcessSeconds(const fs::path& folder) {
    std::error_code error;
    const std::wstring marker = folder.filename().wstring();
    for (const auto& entry : fs::directory_iterator(L"Z:\\proc", error)) {
        const std::wstring name = entry.path().filename().wstring();
        if (name.empty() || !std::all_of(name.begin(), name.end(), iswdigit)) continue;
        std::ifstream cmdline(entry.path() / L"cmdline", std::ios::binary);
        const std::string command((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
        if (command.find(std::string(marker.begin(), marker.end())) == std::string::npos ||
            command.find("Mikra.exe") == std::string::npos)
            continue;
        std::ifstream statFile(entry.path() / L"stat", std::ios::binary);
        const std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
        // Fields after the parenthesised name: state is field 3, utime 14, stime 15.
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string field;
        double ticks = 0;
        for (int n = 3; n <= 15 && fields >> field; ++n) {
            if (n >= 14) ticks += std::stod(field);
        }
        return ticks / 100.0;
    }
    return std::nullopt;
}

// A pane of another process's status bar: the text is written into memory
// lent in that process, then read back.
std::wstring PaneText(HANDLE process, HWND bar, int pane) {
    constexpr SIZE_T kBytes = 1024;
    void* remote = VirtualAllocEx(process, nullptr, kBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remote == nullptr) return {};
    wchar_t text[kBytes / sizeof(wchar_t)] = {};
    const auto length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(pane), 0));
    if (length < kBytes / sizeof(wchar_t)) {
        SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, text, kBytes - sizeof(wchar_t), nullptr);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return text;
}

// The frame rate the status bar shows ("...NN F/s"); 0 while none shows.
double ShownRate(HANDLE process, HWND bar) {
    const std::wstring text = PaneText(process, bar, 2);
    const auto unit = text.find(L" F/s");
    if (unit == std::wstring::npos) return 0.0;
    auto start = unit;
    while (start > 0 && iswdigit(text[start - 1])) --start;
    return start == unit ? 0.0 : std::wcstod(text.c_str() + start, nullptr);
}

void BM_MikraLiveVideo(benchmark::State& state) {
    const auto width = state.range(0);
    const auto height = state.range(1);
    const auto type = state.range(2);
    const fs::path folder = CopyProgramToFreshFolder(L"vz_mikra_live_bench");
    fs::copy_file(fs::path(ProgramFolder()) / L"simcam" / L"KQCMOSu.dll", folder / L"KQCMOSu.dll");
    WriteText(folder / L"KQSimCam.ini", "[Cameras]\r\nCount=1\r\n[Camera1]\r\nType=" + std::to_string(type) +
                                            "\r\nWidth=" + std::to_string(width) + "\r\nHeight=" +
                                            std::to_string(height) + "\r\nRowTime=0\r\nName=Bench scope\r\n");
    WriteText(folder / L"Config.ini",
              "[CROSSLINE]\r\nTotal=1\r\n[CROSSLINEINFO_0]\r\nIndex=1\r\nIsDraw=1\r\n"
              "IsCenter=1\r\nR=0\r\nG=255\r\nB=0\r\n");
    MikraProcess mikra;
    mikra.SetProgramFolder(folder.wstring() + L"\\");
    HWND frame = mikra.Start() ? mikra.WaitForMainFrame() : nullptr;
    HANDLE process =
        frame == nullptr
            ? nullptr
            : OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE,
                          FALSE, mikra.GetId());
    HWND bar = frame == nullptr ? nullptr : FindWindowExW(frame, nullptr, STATUSCLASSNAMEW, nullptr);
    if (process == nullptr || bar == nullptr) {
        state.SkipWithError("Mikra did not start");
    } else {
        PostMessageW(frame, WM_COMMAND, MAKEWPARAM(ID_VIDEO_OPEN, 0), 0);
        if (!WaitFor([&] { return ShownRate(process, bar) > 0.0; }, 30000)) {
            state.SkipWithError("no live video within 30 s");
        } else {
            Sleep(kSettleMs);
            // The video size the status bar shows ("...: 2592*1944").
            const std::wstring size = PaneText(process, bar, 3);
            std::string label = "video ";
            for (std::size_t i = size.find_last_of(L"：: ") + 1; i < size.size(); ++i)
                label += static_cast<char>(size[i]);
            state.SetLabel(label);
            for (auto _ : state) {
                auto cpuNow = [&] { return WineProcessSeconds(folder).value_or(CpuSeconds(process)); };
                const double cpuBefore = cpuNow();
                const ULONGLONG start = GetTickCount64();
                double rates = 0.0;
                int samples = 0;
                while (GetTickCount64() - start < kRunMs) {
                    Sleep(500);
                    rates += ShownRate(process, bar);
                    ++samples;
                }
                const double seconds = static_cast<double>(GetTickCount64() - start) / 1000.0;
                const double cpu = cpuNow() - cpuBefore;
                const double rate = samples > 0 ? rates / samples : 0.0;
                state.SetIterationTime(seconds);
                state.counters["fps"] = rate;
                state.counters["cores"] = cpu / seconds;
                state.counters["cpu_ms_per_frame"] = rate > 0.0 ? cpu * 1000.0 / (rate * seconds) : 0.0;
            }
        }
        PostMessageW(frame, WM_COMMAND, MAKEWPARAM(ID_VIDEO_CLOSE, 0), 0);
        PostMessageW(frame, WM_CLOSE, 0, 0);
        if (HWND question = mikra.WaitForDialog(3000)) PostMessageW(GetDlgItem(question, IDOK), BM_CLICK, 0, 0);
        if (!mikra.WaitForExit(kExitTimeoutMs)) mikra.Kill();
    }
    if (process != nullptr) CloseHandle(process);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

// Width, height and the camera type whose largest picture that is (Mikra
// opens a camera at its largest picture).
BENCHMARK(BM_MikraLiveVideo)
    ->Args({752, 480, 10})
    ->Args({2048, 1536, 2})
    ->Args({2592, 1944, 6})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
