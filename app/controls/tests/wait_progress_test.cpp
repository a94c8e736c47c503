// The busy dialog over scripted and threaded engines, and the pointer's bar
// as a real window: its place beside the pointer, hiding elsewhere, and its
// pixels.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "control_testing.h"
#include "mouse_progress.h"
#include "wait_progress_dlg.h"

namespace {

using controls_testing::HostWindow;
using controls_testing::Pump;

// Answers the dialog's queries from a script and records, at every query,
// the percent the bar shows.
class ScriptedEngine : public IEngineProgress {
public:
    struct Answer {
        bool working;
        int current;  // counting: current number; fusion: the step
        int count;
    };
    ScriptedEngine(CWaitProgressDlg& dialog, std::vector<Answer> answers)
        : dialog_(dialog), answers_(std::move(answers)) {}

    int getResultStation() override { return Next() ? 1 : 0; }
    int getCurrentNum() override { return answers_[index_ - 1].current; }
    int getObjCounts() override { return answers_[index_ - 1].count; }
    int IsProgressing() override { return Next() ? 1 : 0; }
    int getProgressStep() override { return answers_[index_ - 1].current; }

    std::vector<int> seen;
    BYTE alpha = 0;
    DWORD layeredFlags = 0;
    RECT covered{};

private:
    bool Next() {
        const CMouseProgress* bar = dialog_.MouseProgress();
        seen.push_back(bar ? bar->Percent() : -1);
        if (seen.size() == 1) {
            HWND hwnd = bar ? bar->WatchedWindow() : nullptr;
            COLORREF key = 0;
            GetLayeredWindowAttributes(hwnd, &key, &alpha, &layeredFlags);
            GetWindowRect(hwnd, &covered);
        }
        return index_ < answers_.size() && answers_[index_++].working;
    }

    CWaitProgressDlg& dialog_;
    std::vector<Answer> answers_;
    std::size_t index_ = 0;
};

std::vector<int> Ramp(int from) {
    std::vector<int> r;
    for (int p = from; p <= 101; ++p) r.push_back(p);
    return r;
}

class WaitProgressTest : public ::testing::Test {
protected:
    void SetUp() override { controls_testing::UseEnglishResources(); }
    HostWindow owner_{60, 80, 420, 300};
};

TEST_F(WaitProgressTest, ScriptedRunsShowTheirPercentsThenRampAndEndCancelled) {
    const struct {
        const char* name;
        CWaitProgressDlg::Kind kind;
        std::vector<ScriptedEngine::Answer> answers;
        std::vector<int> shown;  // after the first query
    } cases[] = {
        {"fusion 10, 50, 100",
         CWaitProgressDlg::kFusion,
         {{true, 10, 0}, {true, 50, 0}, {true, 100, 0}},
         {10, 50, 100, 100, 101}},
        {"stitching past 100", CWaitProgressDlg::kStitching, {{true, 140, 0}}, {100, 100, 101}},
        {"counting 3 of 4", CWaitProgressDlg::kCounting, {{true, 3, 4}}, {75, 75, 76}},
        {"counting 0 of 0", CWaitProgressDlg::kCounting, {{true, 0, 0}, {true, 0, 0}}, {0, 0, 0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CWaitProgressDlg dialog(owner_.hwnd);
        ScriptedEngine engine(dialog, c.answers);
        dialog.SetEngine(&engine, c.kind);
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        // The first query sees the bar before any tick drew it.
        ASSERT_GE(engine.seen.size(), c.shown.size() + 1);
        EXPECT_EQ(engine.seen.front(), 0);
        const std::vector<int> head(engine.seen.begin() + 1, engine.seen.begin() + 1 + c.shown.size());
        EXPECT_EQ(head, c.shown);
        // It closes on the tick after 101 has been shown, and only then.
        std::vector<int> tail(engine.seen.begin() + 1 + c.answers.size(), engine.seen.end());
        EXPECT_EQ(tail, Ramp(tail.front()));
        // All but transparent, laid over the whole owner.
        EXPECT_EQ(engine.alpha, 1);
        EXPECT_EQ(engine.layeredFlags & LWA_ALPHA, static_cast<DWORD>(LWA_ALPHA));
        RECT owner{};
        GetWindowRect(owner_.hwnd, &owner);
        EXPECT_TRUE(EqualRect(&engine.covered, &owner));
        EXPECT_EQ(dialog.MouseProgress(), nullptr);
    }
}

// A fusion engine on a worker thread: each step waits until the dialog has
// read the previous one, so the run is long and its order fixed.
class ThreadedEngine : public IEngineProgress {
public:
    ThreadedEngine()
        : worker_([this] {
              for (int step = 10; step <= 100; step += 10) {
                  std::unique_lock lock(mutex_);
                  read_.wait(lock, [&] { return readStep_ == step_; });
                  step_ = step;
              }
              std::unique_lock lock(mutex_);
              read_.wait(lock, [&] { return readStep_ == step_; });
              working_ = false;
          }) {}
    ~ThreadedEngine() { worker_.join(); }

    int getResultStation() override { return 0; }
    int getCurrentNum() override { return 0; }
    int getObjCounts() override { return 0; }
    int IsProgressing() override {
        std::lock_guard lock(mutex_);
        return working_ ? 1 : 0;
    }
    int getProgressStep() override {
        int step = 0;
        {
            std::lock_guard lock(mutex_);
            step = readStep_ = step_;
        }
        read_.notify_one();
        steps.push_back(step);
        return step;
    }
    std::vector<int> steps;

private:
    std::mutex mutex_;
    std::condition_variable read_;
    int step_ = 0;
    int readStep_ = -1;
    bool working_ = true;
    std::thread worker_;
};

TEST_F(WaitProgressTest, AThreadedRunEndsCancelledAndTheCallerGoesOn) {
    ThreadedEngine engine;
    CWaitProgressDlg dialog(owner_.hwnd);
    dialog.SetEngine(&engine, CWaitProgressDlg::kFusion);
    const INT_PTR result = dialog.DoModal();
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(engine.IsProgressing());
    // Every step of the run was read, in order.
    std::vector<int> distinct;
    for (int s : engine.steps) {
        if (distinct.empty() || distinct.back() != s) distinct.push_back(s);
    }
    EXPECT_EQ(distinct, (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
}

TEST_F(WaitProgressTest, NoModuleIsLoadedFromTheTemporaryFolder) {
    CWaitProgressDlg dialog(owner_.hwnd);
    ScriptedEngine engine(dialog, {{true, 50, 0}});
    dialog.SetEngine(&engine, CWaitProgressDlg::kFusion);
    ASSERT_EQ(dialog.DoModal(), IDCANCEL);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    wchar_t longTemp[MAX_PATH] = {};
    GetLongPathNameW(temp, longTemp, MAX_PATH);
    HMODULE modules[512];
    DWORD needed = 0;
    ASSERT_TRUE(EnumProcessModules(GetCurrentProcess(), modules, sizeof(modules), &needed));
    for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; ++i) {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(modules[i], path, MAX_PATH);
        const std::wstring p = path;
        EXPECT_NE(p.rfind(longTemp, 0), 0u) << std::string(p.begin(), p.end());
        EXPECT_NE(p.rfind(temp, 0), 0u);
    }
}

// Waits for the posted show or hide message to reach the bar.
bool PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 200 && !done(); ++i) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    return done();
}

void MovePointer(int x, int y) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

RECT Rect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

TEST(MouseProgress, OrientationSizesTheBar) {
    HostWindow watched(100, 100, 300, 200);
    CMouseProgress progress(GetModuleHandleW(nullptr), watched.hwnd);
    ASSERT_NE(progress.BarWindow(), nullptr);
    for (auto o : {busy_progress::kVerticalLeft, busy_progress::kHorizontalAbove, busy_progress::kVerticalRight,
                   busy_progress::kHorizontalBelow}) {
        progress.SetOrientation(o);
        const RECT r = Rect(progress.BarWindow());
        const busy_progress::Box size = busy_progress::BarSize(o);
        EXPECT_EQ(r.right - r.left, size.right) << o;
        EXPECT_EQ(r.bottom - r.top, size.bottom) << o;
        EXPECT_TRUE(IsWindowVisible(progress.BarWindow()));
    }
}

TEST(MouseProgress, FollowsThePointerOverTheWatchedWindowAndHidesElsewhere) {
    HostWindow watched(100, 100, 300, 200);
    HostWindow other(500, 100, 200, 200);
    CMouseProgress progress(GetModuleHandleW(nullptr), watched.hwnd);
    HWND bar = progress.BarWindow();
    progress.SetOrientation(busy_progress::kHorizontalBelow);
    ShowWindow(bar, SW_HIDE);
    const int cx = GetSystemMetrics(SM_CXCURSOR);
    const int cy = GetSystemMetrics(SM_CYCURSOR);

    for (const POINT at : {POINT{200, 180}, POINT{330, 250}}) {
        MovePointer(at.x, at.y);
        POINT pointer{};
        const auto placed = [&] {
            GetCursorPos(&pointer);
            const busy_progress::Box want =
                busy_progress::PlaceBeside(busy_progress::kHorizontalBelow, pointer.x, pointer.y, cx, cy);
            const RECT r = Rect(bar);
            return IsWindowVisible(bar) && r.left == want.left && r.top == want.top && r.right == want.right &&
                   r.bottom == want.bottom;
        };
        EXPECT_TRUE(PumpUntil(placed)) << at.x << "," << at.y;
        EXPECT_EQ(pointer.x, at.x);
        EXPECT_EQ(pointer.y, at.y);
    }

    // Over another window of the program: the hook hides it.
    MovePointer(600, 200);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(bar); }));

    // Back, then over a window of another process (the desktop): the look
    // at the pointer hides it.
    MovePointer(200, 180);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(bar) != FALSE; }));
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 3, GetSystemMetrics(SM_CYSCREEN) - 3);
    POINT corner{};
    GetCursorPos(&corner);
    DWORD process = 0;
    GetWindowThreadProcessId(WindowFromPoint(corner), &process);
    ASSERT_NE(process, GetCurrentProcessId());
    progress.FollowPointer();
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(bar); }));
}

TEST(MouseProgress, HookFunctionsKeepTheirResults) {
    HostWindow watched(100, 100, 300, 200);
    CMouseProgress progress(GetModuleHandleW(nullptr), watched.hwnd);
    EXPECT_EQ(clearMouseProgressHook(nullptr), 0);
    EXPECT_EQ(clearMouseProgressHook(watched.hwnd), 0);
    EXPECT_NE(clearMouseProgressHook(progress.BarWindow()), 0);
    EXPECT_EQ(clearMouseProgressHook(progress.BarWindow()), 0);
    EXPECT_EQ(setMouseProgressHook(progress.BarWindow(), watched.hwnd), 1);
}

TEST(MouseProgress, BarPaintsTheFillShadesOnTheGreyBackground) {
    HostWindow watched(100, 100, 300, 200);
    CMouseProgress progress(GetModuleHandleW(nullptr), watched.hwnd);
    progress.SetOrientation(busy_progress::kHorizontalBelow);
    progress.SetFillColor(RGB(255, 0, 0));
    progress.SetPercent(50);
    controls_testing::Snapshot shot(progress.BarWindow());
    const struct {
        int x;
        int y;
        COLORREF expected;
    } cases[] = {
        {80, 10, RGB(200, 200, 200)},  // the empty part: background grey
        {12, 10, RGB(255, 0, 0)},      // the face: the fill colour
        {12, 3, RGB(255, 153, 153)},   // lit edge: three shades lighter
        {12, 4, RGB(255, 102, 102)},  {12, 5, RGB(255, 51, 51)},
        {12, 14, RGB(204, 0, 0)},                              // shaded edge: one and two shades darker
        {12, 15, RGB(153, 0, 0)},     {12, 17, RGB(0, 0, 0)},  // the edge colour
        {49, 3, RGB(0, 0, 0)},  // the right end, above the centred text       {52, 10, RGB(200, 200, 200)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shot.At(c.x, c.y), c.expected) << c.x << "," << c.y;
    }
}

}  // namespace
