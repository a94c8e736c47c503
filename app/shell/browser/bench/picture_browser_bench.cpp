// The picture browser at a user's scale: 1000 pictures of 1600 x 1200, JPEG
// and BMP in turn, added to the browser inside its bar three ways: all at
// once appended one after the other, the way a folder reload fills it
// (newest first, each inserted at the top), and one by one at the top with
// the window's messages run in between, as snapshots arrive over a day.
// Reported per run: the longest time one call or one message held the
// window's thread, the time until every item is listed, until every item in
// view shows its thumbnail on screen and until the browser owes none, the
// window thread's and the process's CPU seconds, and the memory the process
// holds afterwards (private bytes and working set). Yardsticks from the
// same run: one thumbnail decode of each file and a plain libjpeg decode of
// the JPEG.
#include <benchmark/benchmark.h>

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "browser_bar.h"
#include "browser_test_support.h"
#include "picture.h"
#include "plain_jpeg_decode.h"
#include "thumbnail.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPictures = 1000;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Seconds(const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
}

double ThreadCpu() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

double ProcessCpu() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

struct Memory {
    double privateMb = 0;
    double workingSetMb = 0;
};

// Private bytes: the committed memory private to the process, summed over
// its address space (Wine leaves the counter's field empty).
double PrivateBytesMb() {
    std::uint64_t committed = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof(region)) == sizeof(region);
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            committed += region.RegionSize;
        }
    }
    return static_cast<double>(committed) / (1024.0 * 1024.0);
}

Memory ProcessMemory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return {PrivateBytesMb(), static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0)};
}

// A scene with detail, so that the JPEG is of a camera's size.
CPicture Scene() {
    std::vector<std::uint8_t> rows(std::size_t{1600} * 1200 * 3);
    for (std::size_t y = 0; y < 1200; ++y) {
        for (std::size_t x = 0; x < 1600; ++x) {
            std::uint8_t* p = &rows[(y * 1600 + x) * 3];
            p[0] = static_cast<std::uint8_t>(x * 7 + y);
            p[1] = static_cast<std::uint8_t>(x ^ y);
            p[2] = static_cast<std::uint8_t>(y * 3);
        }
    }
    CPicture picture;
    picture.CreateFromArray(rows, 1600, 1200, 24, 1600 * 3, true);
    return picture;
}

const fs::path& Folder() {
    static const fs::path folder = [] {
        const fs::path dir = fs::temp_directory_path() / L"browser_bench";
        fs::remove_all(dir);
        fs::create_directories(dir);
        CPicture scene = Scene();
        scene.SetJpegQuality(90);
        std::vector<std::uint8_t> bytes;
        scene.Encode(bytes, kPictureJpeg);
        std::ofstream(dir / L"source.jpg", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        bytes.clear();
        scene.Encode(bytes, kPictureBmp);
        std::ofstream(dir / L"source.bmp", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        // Links rather than copies: a thousand BMPs of 5.8 MB would be
        // written to disk for nothing; every read goes through the file.
        for (int i = 0; i < kPictures; ++i) {
            wchar_t name[32];
            const bool jpeg = i % 2 == 0;
            swprintf(name, 32, L"p%04d.%ls", i, jpeg ? L"jpg" : L"bmp");
            const fs::path source = dir / (jpeg ? L"source.jpg" : L"source.bmp");
            CreateHardLinkW((dir / name).c_str(), source.c_str(), nullptr);
            // Older files first, so that newest first is p0999 .. p0000.
            HANDLE file = CreateFileW((dir / name).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
            const ULONGLONG time = 133000000000000000ULL + static_cast<ULONGLONG>(i) * 10000000;
            FILETIME written{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
            SetFileTime(file, nullptr, nullptr, &written);
            CloseHandle(file);
        }
        fs::remove(dir / L"source.jpg");
        fs::remove(dir / L"source.bmp");
        return dir;
    }();
    return folder;
}

std::vector<std::wstring> PicturePaths() {
    std::vector<std::wstring> paths;
    for (int i = 0; i < kPictures; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"p%04d.%ls", i, i % 2 == 0 ? L"jpg" : L"bmp");
        paths.push_back((Folder() / name).wstring());
    }
    return paths;
}

struct Window {
    Window() {
        parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 480, 640, nullptr, nullptr, nullptr,
                                 nullptr);
        bar.Create(L"Composite", parent, 2454);
        MoveWindow(bar.GetSafeHwnd(), 0, 0, 480, 640, TRUE);
        ShowWindow(bar.GetSafeHwnd(), SW_SHOW);
    }
    ~Window() {
        bar.DestroyWindow();
        DestroyWindow(parent);
    }
    HWND parent = nullptr;
    CBrowserBar bar{Folder().wstring() + L"\\", (fs::temp_directory_path() / L"browser_bench_files").wstring() + L"\\",
                    [] { return std::wstring(L"11.0"); }};
};

// Runs every waiting message, timing each, until done() holds.
void PumpUntil(const std::function<bool()>& done, Clock::duration& longest, UINT& longestMessage) {
    const auto start = Clock::now();
    MSG msg;
    while (!done() && Clock::now() - start < std::chrono::minutes(5)) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            const auto begin = Clock::now();
            DispatchMessageW(&msg);
            if (Clock::now() - begin > longest) {
                longest = Clock::now() - begin;
                longestMessage = msg.message;
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// True when every cell in view shows more than its blank white: the
// scene is nowhere white at a thumbnail's centre.
bool VisibleThumbnailsShown(HWND list, const std::vector<std::pair<int, POINT>>& inView) {
    HDC dc = GetDC(list);
    bool shown = true;
    for (const auto& [item, centre] : inView) {
        if ((GetPixel(dc, centre.x, centre.y) & 0xFFFFFF) == 0xFFFFFF) {
            shown = false;
            break;
        }
    }
    ReleaseDC(list, dc);
    return shown;
}

enum class FillMode { atOnce, reload, oneByOne };

void Fill(benchmark::State& state, FillMode mode) {
    const std::vector<std::wstring> all = PicturePaths();
    for (auto _ : state) {
        const Memory memoryBefore = ProcessMemory();
        const double processBefore = ProcessCpu();
        Window window;
        CPictureBrowser& browser = window.bar.GetPictureBrowser();
        HWND list = browser.GetSafeHwnd();
        const double threadBefore = ThreadCpu();
        const auto start = Clock::now();
        std::vector<std::wstring> paths = all;
        if (mode == FillMode::reload) {
            browser.Reload();
            paths = browser.GetPaths();
            browser.ClearPaths();
            std::reverse(paths.begin(), paths.end());
        }
        Clock::duration longest{}, longestMessage{};
        UINT longestMessageId = 0;
        int longestIndex = -1;
        std::vector<Clock::duration> calls;
        for (int i = 0; i < kPictures; ++i) {
            const auto begin = Clock::now();
            browser.AddPicture(paths[static_cast<std::size_t>(i)], mode == FillMode::atOnce ? i : 0);
            calls.push_back(Clock::now() - begin);
            if (calls.back() > longest) {
                longest = calls.back();
                longestIndex = i;
            }
            if (mode == FillMode::oneByOne) {
                PumpUntil([&] { return browser.GetPendingThumbnails() == 0; }, longestMessage, longestMessageId);
            }
        }
        const Clock::duration listed = Clock::now() - start;
        const double threadListed = ThreadCpu() - threadBefore;
        // In view: what the list shows once its run of insertions is drawn.
        PumpUntil([&] { return GetUpdateRect(list, nullptr, FALSE) == FALSE; }, longestMessage, longestMessageId);
        const auto inView = ItemsInView(list);
        PumpUntil([&] { return VisibleThumbnailsShown(list, inView); }, longestMessage, longestMessageId);
        const Clock::duration visible = Clock::now() - start;
        PumpUntil([&] { return browser.GetPendingThumbnails() == 0; }, longestMessage, longestMessageId);
        const Clock::duration drawn = Clock::now() - start;
        const double thread = ThreadCpu() - threadBefore;
        const Memory memory = ProcessMemory();
        const double process = ProcessCpu() - processBefore;
        std::sort(calls.begin(), calls.end());
        state.counters["items"] = browser.GetItemCount();
        state.counters["items_in_view"] = static_cast<double>(inView.size());
        state.counters["add_median_ms"] = Ms(calls[calls.size() / 2]);
        state.counters["add_longest_ms"] = Ms(longest);
        state.counters["add_longest_at"] = longestIndex;
        state.counters["add_p99_ms"] = Ms(calls[calls.size() * 99 / 100]);
        state.counters["message_longest_ms"] = Ms(longestMessage);
        state.counters["message_longest_id"] = longestMessageId;
        state.counters["listed_ms"] = Ms(listed);
        state.counters["in_view_drawn_ms"] = Ms(visible);
        state.counters["drawn_ms"] = Ms(drawn);
        state.counters["ui_cpu_listing_s"] = threadListed;
        state.counters["ui_cpu_s"] = thread;
        state.counters["process_cpu_s"] = process;
        state.counters["private_MB"] = memory.privateMb - memoryBefore.privateMb;
        state.counters["working_set_MB"] = memory.workingSetMb - memoryBefore.workingSetMb;
    }
}

void BM_BrowserAppend1000(benchmark::State& state) { Fill(state, FillMode::atOnce); }
void BM_BrowserReload1000(benchmark::State& state) { Fill(state, FillMode::reload); }
void BM_BrowserOneByOne1000(benchmark::State& state) { Fill(state, FillMode::oneByOne); }

// Yardsticks: the decode each item needs, on one core.
void BM_ThumbnailDecode(benchmark::State& state) {
    const std::wstring path = PicturePaths()[static_cast<std::size_t>(state.range(0))];
    const int type = state.range(0) == 0 ? kPictureJpeg : kPictureBmp;
    for (auto _ : state) {
        auto thumbnail = vz::picture::LoadThumbnail(fs::path(path), type, &vz::picture::BrowserThumbnailSize);
        benchmark::DoNotOptimize(thumbnail.picture.IsValid());
    }
}

void BM_LibjpegPlainDecode(benchmark::State& state) {
    const fs::path path = PicturePaths()[0];
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::uint8_t> pixels(std::size_t{1600} * 1200 * 3);
    for (auto _ : state) {
        PlainJpegDecode(file, pixels);
        benchmark::DoNotOptimize(pixels.data());
    }
}

BENCHMARK(BM_LibjpegPlainDecode)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_ThumbnailDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_BrowserAppend1000)->Iterations(1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_BrowserReload1000)->Iterations(1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_BrowserOneByOne1000)->Iterations(1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
