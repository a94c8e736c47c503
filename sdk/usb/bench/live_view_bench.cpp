// The Windows end of the live road: a delivered picture drawn into a window
// by the library's preview surface, and the whole road of the
// simulated-camera build of KQCMOSu.dll (loaded by full path) streaming into
// a window through KQ_StartView with a frame callback, timed by the
// process's CPU time per frame the callback sees. Part of
// kq_live_road_bench's Windows build, so the stages of the other file run
// beside these in the same process.
#include <benchmark/benchmark.h>
#include <windows.h>

// live_road_bench.cpp defines the counting operator new.
#define VIZCAM_COUNTING_ALLOCATOR_ELSEWHERE
#include "counting_allocator.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "KQCMOSu.h"
#include "win32/window_preview_surface.h"

namespace kq {
namespace {

// A visible top-level window of the frame's size, as a viewer shows it.
class ViewWindow {
public:
    ViewWindow(int width, int height) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KqLiveViewBench";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, wc.lpszClassName, L"live view", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~ViewWindow() {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    ViewWindow(const ViewWindow&) = delete;
    ViewWindow& operator=(const ViewWindow&) = delete;
    HWND Handle() const { return window_; }

    // Dispatches what came for the window, as a program with a window does.
    static void Pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }

private:
    HWND window_ = nullptr;
};

// Hand-off and drawing: the preview surface's Draw of a 24-bit picture, as
// the capture thread calls it for a shown frame; range(2) 0 at the
// picture's own size, 1 scaled into a 1024 x 768 view (a program's view
// on a 1280 x 1024 screen).
void BM_WindowDraw(benchmark::State& state) {
    const auto width = static_cast<std::int32_t>(state.range(0));
    const auto height = static_cast<std::int32_t>(state.range(1));
    const bool scaled = state.range(2) == 1;
    ViewWindow window(scaled ? 1024 : width, scaled ? 768 : height);
    win32::WindowPreviewSurface surface(window.Handle());
    if (window.Handle() == nullptr || !surface.Setup(width, height, 24)) {
        state.SkipWithError("no window to draw into");
        return;
    }
    std::vector<std::uint8_t> picture(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<std::uint8_t>(i * 7 / 3);
    const DrawPlacement placement{0, 0, scaled ? 1024 : width, scaled ? 768 : height};
    surface.Draw(picture, width, height, 24, placement);
    testing_support::MeasureFrames(state, picture.size(), [&] {
        surface.Draw(picture, width, height, 24, placement);
        GdiFlush();
    });
    ViewWindow::Pump();
}

using Initialize = int(KQAPI*)(const wchar_t*, int*, KQ_CAPINFO*, HANDLE*);
using Uninitialize = int(KQAPI*)(HANDLE);
using SetFrameCallBack = int(KQAPI*)(HANDLE, KQ_FRAME_CALLBACK, void*);
using StartView = int(KQAPI*)(HANDLE, const wchar_t*, unsigned int, int, int, int, int, HWND, void*);
using StopView = int(KQAPI*)(HANDLE);

struct FrameSignal {
    HANDLE arrived = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    ~FrameSignal() { CloseHandle(arrived); }

    static int KQAPI OnFrame(unsigned char* frame, int, void* context) {
        benchmark::DoNotOptimize(frame);
        SetEvent(static_cast<FrameSignal*>(context)->arrived);
        return 0;
    }
};

// The simulated-camera DLL with one 2592 x 1944 colour camera (type 6)
// sending frames as fast as they are read, configured by a file of its own.
HMODULE SimulatedCameraDll() {
    static const HMODULE module = [] {
        const std::filesystem::path ini = std::filesystem::temp_directory_path() / "kq_live_road_bench.ini";
        std::ofstream(ini) << "[Cameras]\nCount=1\n[Camera1]\nType=6\nMonochrome=0\nRowTime=0\n";
        SetEnvironmentVariableW(L"KQSIM_CONFIG", ini.wstring().c_str());
        std::wstring path = KQSIM_DLL_PATH;
        for (wchar_t& c : path) {
            if (c == L'/') c = L'\\';
        }
        return LoadLibraryW(path.c_str());
    }();
    return module;
}

template <typename F>
F Export(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The library's whole live road into a window: each iteration waits for
// the next frame the callback sees while the window's messages are
// dispatched. The library draws at most one frame per 10 ms. range(2) as
// for BM_WindowDraw: 0 a window of the frame's size, 1 a 1024 x 768 view.
void BM_StartViewRoad(benchmark::State& state) {
    const auto width = static_cast<int>(state.range(0));
    const auto height = static_cast<int>(state.range(1));
    const int viewWidth = state.range(2) == 1 ? 1024 : width;
    const int viewHeight = state.range(2) == 1 ? 768 : height;
    const HMODULE dll = SimulatedCameraDll();
    const auto initialize = Export<Initialize>(dll, "KQ_Initialize");
    const auto uninitialize = Export<Uninitialize>(dll, "KQ_Uninitialize");
    const auto setCallback = Export<SetFrameCallBack>(dll, "KQ_SetFrameCallBack");
    const auto startView = Export<StartView>(dll, "KQ_StartView");
    const auto stopView = Export<StopView>(dll, "KQ_StopView");
    if (dll == nullptr || !initialize || !uninitialize || !setCallback || !startView || !stopView) {
        state.SkipWithError("the simulated-camera KQCMOSu.dll did not load");
        return;
    }
    KQ_CAPINFO record{};
    record.width = static_cast<unsigned short>(width);
    record.height = static_cast<unsigned short>(height);
    record.exposure = 100;
    record.gain[0] = record.gain[1] = record.gain[2] = 32;
    int position = 1;
    HANDLE camera = nullptr;
    if (initialize(L"kq_live_road_bench", &position, &record, &camera) != 0) {
        state.SkipWithError("KQ_Initialize failed");
        return;
    }
    ViewWindow window(viewWidth, viewHeight);
    FrameSignal signal;
    setCallback(camera, &FrameSignal::OnFrame, &signal);
    if (startView(camera, L"kq_live_road_bench", 0, 0, 0, viewWidth, viewHeight, window.Handle(), nullptr) != 0) {
        state.SkipWithError("KQ_StartView failed");
        uninitialize(camera);
        return;
    }
    bool timedOut = false;
    auto next = [&] {
        for (;;) {
            const DWORD woke = MsgWaitForMultipleObjects(1, &signal.arrived, FALSE, 10000, QS_ALLINPUT);
            if (woke == WAIT_OBJECT_0) return;
            if (woke != WAIT_OBJECT_0 + 1) {
                timedOut = true;
                return;
            }
            ViewWindow::Pump();
        }
    };
    for (int warmUp = 0; warmUp < 3; ++warmUp) next();
    testing_support::MeasureFrames(state, static_cast<std::size_t>(width) * height * 3, next);
    if (timedOut) state.SkipWithError("no frame within 10 s");
    stopView(camera);
    uninitialize(camera);
}

BENCHMARK(BM_WindowDraw)
    ->ArgsProduct({{752}, {480}, {0, 1}})
    ->ArgsProduct({{2048}, {1536}, {0, 1}})
    ->ArgsProduct({{2592}, {1944}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartViewRoad)
    ->ArgsProduct({{752}, {480}, {0, 1}})
    ->ArgsProduct({{2048}, {1536}, {0, 1}})
    ->ArgsProduct({{2592}, {1944}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace
}  // namespace kq
