// The continuous-exposure timer under Wine: it ticks on the thread that
// started it, and a too-short exposure reported from another thread ends
// it there, kills it and tells the settings dialog by a posted message.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <utility>
#include <vector>

#include "ctwain.h"
#include "dialog_recorder.h"
#include "exposure_timer.h"
#include "pump_until.h"
#include "recording_ports.h"
#include "twain_device.h"
#include "window_host.h"

namespace twain::win32 {
namespace {

using testing_support::PumpUntil;
using twain::test::DialogRecorder;

// The two windows the data source would give the device object; its eight
// operations are not used here.
class WindowsOnly final : public CTWAIN {
public:
    void StartPreview(int, int, int, int) override {}
    void StopPreview() override {}
    int GetParam(unsigned int, int*) override { return 0; }
    void SetParam(unsigned int, int) override {}
    int GetPalette(RGBQUAD*) override { return 0; }
    void GetFrame(TwainImageRecord*) override {}
    int OnScroll(HWND, UINT, WPARAM, int, int, int) override { return 0; }
    int GetResolutions(const ResolutionEntry**, int*) override { return 0; }
};

TEST(ExposureTimer, TicksOnTheThreadThatStartedIt) {
    std::vector<DWORD> tickThreads;
    ExposureTimer timer([&] { tickThreads.push_back(GetCurrentThreadId()); });
    timer.Start(10);
    ASSERT_TRUE(timer.Running());
    ASSERT_TRUE(PumpUntil([&] { return tickThreads.size() >= 2; }));
    for (const DWORD thread : tickThreads) EXPECT_EQ(thread, GetCurrentThreadId());
    const UINT_PTR id = timer.Id();
    EXPECT_TRUE(timer.Stop());
    EXPECT_FALSE(timer.Running());
    EXPECT_FALSE(KillTimer(nullptr, id));  // already gone
}

TEST(ExposureTimer, DestroyingItKillsTheTimer) {
    UINT_PTR id = 0;
    {
        ExposureTimer timer([] {});
        timer.Start(1000);
        id = timer.Id();
        ASSERT_NE(id, 0u);
    }
    EXPECT_FALSE(KillTimer(nullptr, id));
}

TEST(ExposureTimer, ATinyExposureFromTheCaptureThreadEndsItOnItsOwnThread) {
    WindowsOnly windows;
    DialogRecorder dialog;
    windows.m_settingsDialog = dialog.window;
    test::Calls calls;
    test::RecordingCamera camera(calls);
    TwainDevice* device = nullptr;
    WindowHost host(windows, nullptr, [&] { device->OnExposureTick(); });
    TwainDevice logic(camera, host, ProfileForReportedType(10), TwainSettings{});
    device = &logic;
    logic.Open();
    logic.SetParam(23, 1);
    ASSERT_TRUE(host.Timer().Running());
    const UINT_PTR id = host.Timer().Id();
    ASSERT_TRUE(PumpUntil([&] { return std::count(calls.lines.begin(), calls.lines.end(), "ae once") >= 1; }));

    std::thread capture([&] { logic.OnExposureResult(2); });
    capture.join();
    ASSERT_TRUE(PumpUntil([&] { return dialog.reports.size() >= 2; }));
    EXPECT_EQ(dialog.reports[0], (std::pair<WPARAM, LPARAM>{0, 2 | 5000 << 16}));
    EXPECT_EQ(dialog.reports[1], (std::pair<WPARAM, LPARAM>{23, 0}));
    EXPECT_FALSE(host.Timer().Running());
    EXPECT_FALSE(KillTimer(nullptr, id));  // killed by its own thread
    EXPECT_EQ(calls.lines.back(), "ae off");
    std::int32_t conAe = -1;
    EXPECT_TRUE(logic.GetParam(23, conAe));
    EXPECT_EQ(conAe, 0);
}

}  // namespace
}  // namespace twain::win32
