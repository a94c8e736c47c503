// The view's start-up loop at a user's scale: the last session's folder of
// 1000 pictures of 1600 x 1200 (JPEG and BMP in turn) opened through the
// view's initial update behind the loading dialog, its OK pressed by a
// thread of the benchmark. Reported: the longest and median time of one
// step of the loop (from one picture handed to the browser to the next)
// and the whole loop. The browser's own share of a step is its AddPicture,
// measured by picture_browser_bench.
#include <benchmark/benchmark.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "fake_camera.h"
#include "language_library.h"
#include "loading_dialog_user.h"
#include "mikra_view.h"
#include "picture_files.h"
#include "recording_view_frame.h"
#include "resource.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPictures = 1000;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The frame's browser as a clock: when each picture reached it.
class TimingFrame : public RecordingViewFrame {
public:
    bool AddBrowserPicture(const std::wstring& path, const std::wstring& caption) override {
        handedOver.push_back(Clock::now());
        return RecordingViewFrame::AddBrowserPicture(path, caption);
    }
    std::vector<Clock::time_point> handedOver;
};

std::vector<std::wstring> Pictures(const PictureFiles& files) {
    const std::wstring bmp = files.Bmp(L"source.bmp", 1600, 1200, 0x406080);
    CPicture picture;
    picture.Load(std::filesystem::path(bmp), kPictureBmp);
    const std::filesystem::path jpeg = std::filesystem::path(bmp).parent_path() / L"source.jpg";
    picture.Save(jpeg, kPictureJpeg);
    std::vector<std::wstring> paths;
    for (int i = 0; i < kPictures; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"p%04d.%ls", i, i % 2 == 0 ? L"jpg" : L"bmp");
        const std::filesystem::path path = jpeg.parent_path() / name;
        CreateHardLinkW(path.c_str(), i % 2 == 0 ? jpeg.c_str() : bmp.c_str(), nullptr);
        paths.push_back(path.wstring());
    }
    return paths;
}

void BM_StartupLoop1000(benchmark::State& state) {
    LanguageLibrary english{0};
    CWindow::RegisterWindowClass(L"VizcamStartupBenchParent", 0, nullptr);
    PictureFiles files{L"vizcam_startup_bench"};
    const std::vector<std::wstring> paths = Pictures(files);
    for (auto _ : state) {
        CWindow parent;
        parent.CreateEx(0, L"VizcamStartupBenchParent", L"", WS_POPUP | WS_VISIBLE, RECT{0, 0, 400, 300}, nullptr, 0);
        TimingFrame frame;
        frame.browserPictures = paths;
        auto view = std::make_unique<CMikraView>(
            [](CameraFamily kind, int, HWND) -> std::unique_ptr<CCameraDevice> {
                auto camera = std::make_unique<FakeCamera>();
                camera->kind = kind;
                return camera;
            },
            [](CameraFamily) { return false; });
        view->SetViewFrame(&frame);
        view->Create(parent.GetSafeHwnd(), 1, nullptr);
        LoadingDialogUser user(IDOK);
        view->OnInitialUpdate();
        std::vector<Clock::duration> steps;
        for (std::size_t k = 1; k < frame.handedOver.size(); ++k) {
            steps.push_back(frame.handedOver[k] - frame.handedOver[k - 1]);
        }
        if (steps.empty()) {
            state.SkipWithError("no picture was opened");
            break;
        }
        const Clock::duration loop = frame.handedOver.back() - frame.handedOver.front();
        std::sort(steps.begin(), steps.end());
        state.counters["opened"] = static_cast<double>(frame.handedOver.size());
        state.counters["step_median_ms"] = Ms(steps[steps.size() / 2]);
        state.counters["step_p99_ms"] = Ms(steps[steps.size() * 99 / 100]);
        state.counters["step_longest_ms"] = Ms(steps.back());
        state.counters["loop_ms"] = Ms(loop);
        view.reset();
        parent.DestroyWindow();
    }
}

BENCHMARK(BM_StartupLoop1000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
