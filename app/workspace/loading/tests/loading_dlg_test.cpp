#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "language_library.h"
#include "loading_thread.h"
#include "resource.h"

namespace {

using namespace std::chrono_literals;

// Polls until the condition holds or the bound passes; a test never hangs.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

// The loading thread seen from the view's side: this test's thread owns no
// window; everything it does to the dialog crosses to the loading thread.
class LoadingThreadTest : public testing::Test {
protected:
    void Start(CUIThread& thread) {
        ASSERT_TRUE(thread.Start());
        // Generous: a process's first window waits for the display and fonts,
        // which takes seconds on a loaded machine.
        ASSERT_TRUE(WaitUntil([&] { return thread.HasDialog(); }, 60s)) << "the dialog never appeared";
        dialog_ = thread.GetDialog().GetWindowForOtherThreads();
        ASSERT_NE(dialog_, nullptr);
    }
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    // A click on a check box: its new state, then its notification.
    void Click(int id) const {
        SendMessageW(Item(id), BM_SETCHECK, Checked(id) ? BST_UNCHECKED : BST_CHECKED, 0);
        Command(id);
    }
    void Command(int id) const {
        SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    }
    bool Ends(CUIThread& thread) const { return thread.Wait(30000); }

    LanguageLibrary english_{0};
    HWND dialog_ = nullptr;
};

TEST_F(LoadingThreadTest, NothingToLoadLeavesOnlyCancel) {
    ASSERT_TRUE(english_.Loaded());
    CUIThread thread(false, false);
    ASSERT_NO_FATAL_FAILURE(Start(thread));
    EXPECT_TRUE(IsWindowVisible(dialog_));
    EXPECT_FALSE(Enabled(IDC_LOAD_PICTURES));
    EXPECT_FALSE(Enabled(IDC_LOAD_FILES));
    EXPECT_FALSE(Checked(IDC_LOAD_PICTURES));
    EXPECT_FALSE(Checked(IDC_LOAD_FILES));
    EXPECT_FALSE(Enabled(IDOK));

    // A click that reaches the dialog anyway changes nothing...
    Command(IDC_LOAD_PICTURES);
    EXPECT_FALSE(Enabled(IDOK));
    // ...nor does a Load command with nothing ticked.
    Command(IDOK);
    EXPECT_FALSE(thread.IsDialogReady());
    EXPECT_FALSE(thread.Wait(200)) << "Load with nothing to load ended the dialog";

    Command(IDCANCEL);
    EXPECT_TRUE(Ends(thread));
    EXPECT_TRUE(thread.IsDialogReady());
    EXPECT_TRUE(thread.IsCancelled());
}

TEST_F(LoadingThreadTest, OneFlagEnablesOnlyItsBox) {
    CUIThread thread(true, false);
    ASSERT_NO_FATAL_FAILURE(Start(thread));
    EXPECT_TRUE(Enabled(IDC_LOAD_PICTURES));
    EXPECT_TRUE(Checked(IDC_LOAD_PICTURES));
    EXPECT_FALSE(Enabled(IDC_LOAD_FILES));
    EXPECT_FALSE(Checked(IDC_LOAD_FILES));
    EXPECT_TRUE(Enabled(IDOK));
    EXPECT_FALSE(thread.IsDialogReady());
    Command(IDCANCEL);
    EXPECT_TRUE(Ends(thread));
}

TEST_F(LoadingThreadTest, LoadIsEnabledWhileAnyBoxIsTicked) {
    CUIThread thread(true, true);
    ASSERT_NO_FATAL_FAILURE(Start(thread));
    EXPECT_TRUE(Enabled(IDOK));
    Click(IDC_LOAD_PICTURES);
    EXPECT_TRUE(Enabled(IDOK));
    Click(IDC_LOAD_FILES);
    EXPECT_FALSE(Enabled(IDOK));
    Click(IDC_LOAD_FILES);
    EXPECT_TRUE(Enabled(IDOK));
    Command(IDCANCEL);
    EXPECT_TRUE(Ends(thread));
}

TEST_F(LoadingThreadTest, StepsToTheMaximumEndTheThread) {
    CUIThread thread(true, true);
    ASSERT_NO_FATAL_FAILURE(Start(thread));
    Click(IDC_LOAD_PICTURES);  // files only
    Command(IDOK);
    ASSERT_TRUE(thread.IsDialogReady());
    EXPECT_FALSE(thread.IsCancelled());
    EXPECT_FALSE(thread.GetDialog().LoadsPictures());
    EXPECT_TRUE(thread.GetDialog().LoadsFiles());

    ASSERT_TRUE(thread.SetProgress(0, 3));
    HWND progress = Item(IDC_LOADING_PROGRESS);
    EXPECT_EQ(SendMessageW(progress, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageW(progress, PBM_GETRANGE, FALSE, 0), 3);
    thread.StepProgress();
    thread.StepProgress();
    EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), 2);
    EXPECT_FALSE(thread.Wait(200)) << "ended before the maximum";
    thread.StepProgress();
    EXPECT_TRUE(Ends(thread));
    EXPECT_FALSE(thread.IsCancelled());

    // Once the dialog is gone the view's calls do nothing.
    EXPECT_FALSE(thread.SetProgress(0, 5));
    thread.StepProgress();
    thread.GetDialog().SetPhaseText();
}

TEST_F(LoadingThreadTest, StopAfterLoadCancels) {
    CUIThread thread(true, false);
    ASSERT_NO_FATAL_FAILURE(Start(thread));
    Command(IDOK);
    ASSERT_TRUE(thread.IsDialogReady());
    ASSERT_FALSE(thread.IsCancelled());
    Command(IDCANCEL);
    EXPECT_TRUE(Ends(thread));
    EXPECT_TRUE(thread.IsCancelled());
}

TEST_F(LoadingThreadTest, EscapeOnTheDialogCancels) {
    CUIThread thread(true, true);
    ASSERT_NO_FATAL_FAILURE(Start(thread));
    // Keys come through the thread's queue, as a user's would.
    SetForegroundWindow(dialog_);
    PostMessageW(dialog_, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(Ends(thread));
    EXPECT_TRUE(thread.IsCancelled());
}

TEST_F(LoadingThreadTest, TheDialogAndTheChoiceAreAwaitedOnEvents) {
    CUIThread thread(true, false);
    ASSERT_TRUE(thread.Start());
    ASSERT_TRUE(thread.WaitForDialog(60000)) << "the dialog never appeared";
    dialog_ = thread.GetDialog().GetWindowForOtherThreads();
    ASSERT_NE(dialog_, nullptr);
    Command(IDOK);
    EXPECT_TRUE(thread.WaitForChoice());
    EXPECT_FALSE(thread.IsCancelled());
    EXPECT_TRUE(thread.GetDialog().LoadsPictures());
    EXPECT_FALSE(thread.GetDialog().LoadsFiles());
    Command(IDCANCEL);
    EXPECT_TRUE(Ends(thread));
}

TEST(LoadingThreadWithoutDialog, WaitsEndWhenTheThreadEndsWithoutADialog) {
    // No language library: the template is missing and the thread ends at once.
    CUIThread thread(true, true);
    ASSERT_TRUE(thread.Start());
    EXPECT_FALSE(thread.WaitForDialog(60000));
    EXPECT_FALSE(thread.WaitForChoice());
    EXPECT_TRUE(thread.Wait(30000));
}

TEST(LoadingThreadWithoutDialog, ReportsNothing) {
    EXPECT_FALSE(CUIThread(true, true).WaitForDialog(0));
    CUIThread thread(true, true);
    EXPECT_FALSE(thread.HasDialog());
    EXPECT_FALSE(thread.IsDialogReady());
    EXPECT_FALSE(thread.IsCancelled());
    EXPECT_FALSE(thread.SetProgress(0, 10));
    thread.StepProgress();
}

struct LanguageTexts {
    int language;
    const wchar_t* stop;
    const wchar_t* loadingPictures;
    const wchar_t* loadingFiles;
};

class LoadingTexts : public LoadingThreadTest, public testing::WithParamInterface<LanguageTexts> {};

TEST_P(LoadingTexts, LoadTurnsCancelIntoStopAndTellsThePhase) {
    const LanguageTexts& texts = GetParam();
    LanguageLibrary library(texts.language);
    ASSERT_TRUE(library.Loaded());
    CUIThread thread(true, true);
    ASSERT_NO_FATAL_FAILURE(Start(thread));
    Command(IDOK);
    EXPECT_EQ(WindowText(Item(IDCANCEL)), texts.stop);
    EXPECT_EQ(WindowText(Item(IDC_LOADING_LABEL)), texts.loadingPictures);
    EXPECT_FALSE(Enabled(IDOK));
    EXPECT_FALSE(Enabled(IDC_LOAD_PICTURES));
    EXPECT_FALSE(Enabled(IDC_LOAD_FILES));
    EXPECT_TRUE(thread.IsDialogReady());
    EXPECT_FALSE(thread.IsCancelled());
    EXPECT_TRUE(IsWindowVisible(dialog_)) << "the dialog stays open while loading";

    thread.GetDialog().SetPhaseText();
    EXPECT_EQ(WindowText(Item(IDC_LOADING_LABEL)), texts.loadingFiles);
    Command(IDCANCEL);
    EXPECT_TRUE(Ends(thread));
}

INSTANTIATE_TEST_SUITE_P(
    Languages, LoadingTexts,
    testing::Values(LanguageTexts{0, L"Stop", L"Loading pictures, please wait...", L"Loading files, please wait..."},
                    LanguageTexts{1, L"\u505c\u6b62",
                                  L"\u6b63\u5728\u8f7d\u5165\u56fe\u7247\uff0c\u8bf7\u7a0d\u540e...",
                                  L"\u6b63\u5728\u8f7d\u5165\u6587\u4ef6\uff0c\u8bf7\u7a0d\u540e..."}));

}  // namespace
