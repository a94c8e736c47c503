// Soak run of Mikra.exe: live video with a recording running for a set
// time, Mikra's memory, kernel handles, GDI objects and windows sampled
// each minute from outside, and the frames it reports delivered.
//
//   mikra_soak.exe FOLDER SECONDS
//
// FOLDER holds Mikra.exe beside the camera library it is to use (with a
// trailing backslash). The recording is left in FOLDER's "Video Capture"
// for the file readers of scripts/soak-mikra.sh.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "mikra_process.h"
#include "process_sample.h"
#include "resource.h"
#include "status_pane.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRatePane = 2;
constexpr ULONGLONG kSampleEveryMs = 60000;
constexpr int kCheckBrushes = 32;

// The GDI count is read from a table whose layout the system does not
// document: it is trusted only when it sees brushes made here come and go.
bool GdiCountSeesObjects() {
    const DWORD self = GetCurrentProcessId();
    const std::optional<DWORD> before = CountGdiObjects(GetCurrentProcess(), self);
    HBRUSH brushes[kCheckBrushes] = {};
    for (int i = 0; i < kCheckBrushes; ++i) brushes[i] = CreateSolidBrush(RGB(i, 2 * i, 3 * i));
    const std::optional<DWORD> during = CountGdiObjects(GetCurrentProcess(), self);
    for (HBRUSH brush : brushes) DeleteObject(brush);
    const std::optional<DWORD> after = CountGdiObjects(GetCurrentProcess(), self);
    return before && during && after && *during == *before + kCheckBrushes && *after == *before;
}

std::wstring Optional(const std::optional<DWORD>& value) {
    return value ? std::to_wstring(*value) : L"-";
}

void PrintSample(const wchar_t* when, const ProcessSample& s, bool gdiTrusted, std::optional<double> rate) {
    wchar_t line[256] = {};
    constexpr double kMiB = 1024.0 * 1024.0;
    std::swprintf(line, 256, L"%-7ls %8.1f %8.1f %8.1f %8ls %8lu %8ls %8lu %8lu %8lu %5ls\n", when,
                  double(s.privateBytes) / kMiB, s.anonymousBytes ? double(*s.anonymousBytes) / kMiB : -1.0,
                  double(s.workingSetBytes) / kMiB, Optional(s.kernelHandles).c_str(),
                  static_cast<unsigned long>(s.handleCount), Optional(gdiTrusted ? s.gdiObjects : std::nullopt).c_str(),
                  static_cast<unsigned long>(s.guiGdi), static_cast<unsigned long>(s.windows),
                  static_cast<unsigned long>(s.guiUser), rate ? std::to_wstring(int(*rate)).c_str() : L"-");
    std::fputws(line, stdout);
    std::fflush(stdout);
}

// Memory in MiB: PrivateUsage, the Linux side's anonymous resident memory
// (-1: not under Wine), the working set. Handles: the system's handle list,
// GetProcessHandleCount. GDI: the handle table, GetGuiResources. USER: the
// windows, GetGuiResources.
void PrintColumns() {
    std::printf("%-7s %8s %8s %8s %8s %8s %8s %8s %8s %8s %5s\n", "minute", "private", "anon", "working", "handles",
                "hcount", "gdi", "gui_gdi", "windows", "gui_user", "F/s");
}

HWND FindStatusBar(HWND frame) {
    HWND found = nullptr;
    ForEachDescendantOfClass(frame, L"msctls_statusbar32", [&](HWND hwnd) {
        if (found == nullptr) found = hwnd;
    });
    return found;
}

bool HasRecording(const fs::path& videos) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(videos, error)) {
        if (entry.path().extension() == L".avi") return true;
    }
    return false;
}

int Fail(const char* what) {
    std::fprintf(stdout, "soak: %s\n", what);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: mikra_soak.exe FOLDER\\ SECONDS\n", stderr);
        return 2;
    }
    const std::wstring folder = argv[1];
    const ULONGLONG runMs = ULONGLONG(std::wcstoul(argv[2], nullptr, 10)) * 1000;
    const fs::path videos = fs::path(folder) / L"Video Capture";

    const bool gdiTrusted = GdiCountSeesObjects();
    std::printf("gdi-table-count %s\n", gdiTrusted ? "checked" : "unusable");

    MikraProcess mikra;
    mikra.SetProgramFolder(folder);
    if (!mikra.Start()) return Fail("Mikra did not start");
    const HWND frame = mikra.WaitForMainFrame();
    if (frame == nullptr) return Fail("no main frame");
    UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_VM_OPERATION |
                                               PROCESS_VM_WRITE,
                                           FALSE, mikra.GetId()));
    if (!process) return Fail("cannot open Mikra's process");
    const HWND statusBar = FindStatusBar(frame);
    if (statusBar == nullptr) return Fail("no status bar");
    const auto rate = [&]() -> std::optional<double> {
        const std::optional<std::wstring> text = ReadStatusPane(process.Get(), statusBar, kRatePane);
        return text ? ParseFrameRate(*text) : std::nullopt;
    };
    const std::wstring linuxStatus = FindLinuxStatusFile(folder + L"Mikra.exe");
    const auto sample = [&] { return SampleProcess(process.Get(), mikra.GetId(), linuxStatus); };
    const auto command = [frame](int id) { PostMessageW(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0); };

    PrintColumns();
    PrintSample(L"start", sample(), gdiTrusted, std::nullopt);
    command(ID_VIDEO_OPEN);
    if (!WaitFor([&] { return rate().value_or(0.0) > 0.0; }, 30000)) return Fail("no live video");
    command(ID_VIDEO_RECORD);
    if (!WaitFor([&] { return HasRecording(videos); }, 30000)) return Fail("no recording");

    // The recording's file exists from Record on.
    const ULONGLONG start = GetTickCount64();
    double delivered = 0.0;
    std::optional<double> lastRate;
    int rateSamples = 0;
    PrintSample(L"0", sample(), gdiTrusted, rate());
    for (ULONGLONG second = 1; second * 1000 <= runMs; ++second) {
        while (GetTickCount64() < start + second * 1000) Sleep(20);
        if (!mikra.IsRunning()) return Fail("Mikra ended during the run");
        if (HWND box = mikra.WaitForDialog(0)) {
            std::wprintf(L"soak: Mikra shows a message: %ls\n", WindowText(box).c_str());
            return 1;
        }
        lastRate = rate();
        if (lastRate) {
            delivered += *lastRate;
            ++rateSamples;
        }
        if (second * 1000 % kSampleEveryMs == 0) {
            PrintSample(std::to_wstring(second * 1000 / kSampleEveryMs).c_str(), sample(), gdiTrusted, lastRate);
        }
    }
    command(ID_VIDEO_RECORD_STOP);
    // A command is answered once a message sent after it is.
    SendMessageW(frame, WM_NULL, 0, 0);
    const double recordedSeconds = double(GetTickCount64() - start) / 1000.0;
    command(ID_VIDEO_CLOSE);
    SendMessageW(frame, WM_NULL, 0, 0);
    PrintSample(L"closed", sample(), gdiTrusted, std::nullopt);
    std::printf("delivered %.0f frames in %d s (the status bar's rate, read each second)\n", delivered, rateSamples);
    std::printf("recorded for %.1f s: %.0f positions of the recorder's 25 ms grid\n", recordedSeconds,
                recordedSeconds * 40.0);

    PostMessageW(frame, WM_CLOSE, 0, 0);
    if (HWND question = mikra.WaitForDialog(5000)) PostMessageW(GetDlgItem(question, IDOK), BM_CLICK, 0, 0);
    if (!mikra.WaitForExit(kExitTimeoutMs)) return Fail("Mikra did not end");
    std::printf("soak: done\n");
    return 0;
}
