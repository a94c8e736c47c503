#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "full_screen_dlg.h"
#include "language_library.h"
#include "modal_script.h"
#include "resource.h"

namespace {

using testing_support::ModalScript;

// The view as the dialog sees it: records every call in order.
class RecordingHost : public IFullScreenHost {
public:
    std::vector<std::string> calls;
    bool fullScreen = true;
    bool movable = true;
    FrameSize frame{640, 480};
    CrossPosition cross{100, 50};
    std::wstring helpCaption;  // what the key help showed, if it came up

    void TakeSnapshot() override { calls.push_back("TakeSnapshot"); }
    void ToggleCrossLine() override { calls.push_back("ToggleCrossLine"); }
    void LayoutVideoWindow(int hide) override { calls.push_back("LayoutVideoWindow(" + std::to_string(hide) + ")"); }
    void OnVideoParams() override { calls.push_back("OnVideoParams"); }
    void OnRulerSettings() override { calls.push_back("OnRulerSettings"); }
    void CloseVideo() override { calls.push_back("CloseVideo"); }
    void OpenVideo() override { calls.push_back("OpenVideo"); }
    bool IsFullScreenVideo() const override { return fullScreen; }
    void SetFullScreenVideo(bool on) override {
        fullScreen = on;
        calls.push_back(on ? "SetFullScreenVideo(1)" : "SetFullScreenVideo(0)");
    }
    bool IsCrossLineMovable() const override { return movable; }
    FrameSize GetFrameSize() const override { return frame; }
    CrossPosition GetCrossPosition() const override { return cross; }
    void SetCrossPosition(CrossPosition position) override {
        cross = position;
        calls.push_back("SetCrossPosition(" + std::to_string(position.x) + "," + std::to_string(position.y) + ")");
    }
    void RepaintRulerOverlay() override { calls.push_back("Repaint"); }
};

using Calls = std::vector<std::string>;

class FullScreenDlgTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(english_.Loaded());
        view_ = CreateWindowExW(0, L"STATIC", L"view", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                                nullptr);
        ASSERT_NE(view_, nullptr);
        ASSERT_TRUE(dialog_.Create(view_));
        ShowWindow(dialog_.GetSafeHwnd(), SW_SHOW);
        UpdateWindow(dialog_.GetSafeHwnd());
        host_.calls.clear();
    }
    void TearDown() override {
        dialog_.DestroyWindow();
        if (view_) {
            DestroyWindow(view_);
        }
    }
    // A key as the dialog's window receives it.
    void Press(unsigned key) { SendMessageW(dialog_.GetSafeHwnd(), WM_KEYDOWN, key, 0); }
    bool DialogVisible() const { return IsWindowVisible(dialog_.GetSafeHwnd()) != FALSE; }

    LanguageLibrary english_{0};
    RecordingHost host_;
    CFullScreenDlg dialog_{host_};
    HWND view_ = nullptr;
};

TEST_F(FullScreenDlgTest, SpaceCentresTheCrossLine) {
    Press(VK_SPACE);
    EXPECT_EQ(host_.calls, (Calls{"SetCrossPosition(320,239)", "Repaint"}));
}

TEST_F(FullScreenDlgTest, MoveKeysStepOneAndStopAtTheFrameEdges) {
    struct Case {
        unsigned key;
        CrossPosition from;
        const char* expected;
    };
    const Case cases[] = {
        {'A', {100, 50}, "SetCrossPosition(99,50)"},  {'D', {100, 50}, "SetCrossPosition(101,50)"},
        {'W', {100, 50}, "SetCrossPosition(100,49)"}, {'S', {100, 50}, "SetCrossPosition(100,51)"},
        {'A', {1, 50}, "SetCrossPosition(1,50)"},     {'D', {638, 50}, "SetCrossPosition(638,50)"},
        {'W', {100, 1}, "SetCrossPosition(100,1)"},   {'S', {100, 479}, "SetCrossPosition(100,479)"},
    };
    for (const Case& c : cases) {
        host_.calls.clear();
        host_.cross = c.from;
        Press(c.key);
        EXPECT_EQ(host_.calls, (Calls{c.expected, "Repaint"})) << static_cast<char>(c.key);
    }
}

TEST_F(FullScreenDlgTest, CrossStaysPutUnlessTheCameraPreviewsWithIt) {
    host_.movable = false;
    for (unsigned key : {unsigned{VK_SPACE}, unsigned{'A'}, unsigned{'D'}, unsigned{'W'}, unsigned{'S'}}) {
        Press(key);
    }
    EXPECT_TRUE(host_.calls.empty());
    // A frame too small to hold the cross is left alone as well.
    host_.movable = true;
    host_.frame = {2, 1};
    Press(VK_SPACE);
    EXPECT_TRUE(host_.calls.empty());
}

TEST_F(FullScreenDlgTest, CTogglesTheCrossLine) {
    Press('C');
    EXPECT_EQ(host_.calls, (Calls{"ToggleCrossLine", "Repaint"}));
}

TEST_F(FullScreenDlgTest, PanelsRunWithTheVideoWindowAside) {
    Press('F');
    EXPECT_EQ(host_.calls,
              (Calls{"LayoutVideoWindow(1)", "Repaint", "OnVideoParams", "LayoutVideoWindow(0)", "Repaint"}));
    host_.calls.clear();
    Press('R');
    EXPECT_EQ(host_.calls,
              (Calls{"LayoutVideoWindow(1)", "Repaint", "OnRulerSettings", "LayoutVideoWindow(0)", "Repaint"}));
}

TEST_F(FullScreenDlgTest, HShowsTheKeyHelpWithTheVideoWindowAside) {
    std::wstring caption;
    std::size_t callsWhileShown = 0;
    ModalScript script({[&](HWND help) {
        caption = ModalScript::Text(help);
        callsWhileShown = host_.calls.size();
        ModalScript::Press(help, IDOK);
    }});
    Press('H');
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(caption, L"Full-Screen Keys");
    EXPECT_EQ(callsWhileShown, 2u) << "the help came up before the video window was put aside";
    EXPECT_EQ(host_.calls, (Calls{"LayoutVideoWindow(1)", "Repaint", "LayoutVideoWindow(0)", "Repaint"}));
}

TEST_F(FullScreenDlgTest, EnterTakesASnapshotAndDrawsTheRedNotice) {
    EXPECT_EQ(dialog_.GetNoticeText(), L"Picture saved");
    HWND video = GetDlgItem(dialog_.GetSafeHwnd(), IDC_FULL_SCREEN_VIDEO);
    ASSERT_NE(video, nullptr);
    auto countRed = [&] {
        HDC dc = GetDC(video);
        int red = 0;
        for (int y = 8; y < 30; ++y) {
            for (int x = 8; x < 120; ++x) {
                if (GetPixel(dc, x, y) == RGB(255, 0, 0)) {
                    ++red;
                }
            }
        }
        ReleaseDC(video, dc);
        return red;
    };
    ASSERT_EQ(countRed(), 0);
    Press(VK_RETURN);
    EXPECT_EQ(host_.calls, (Calls{"TakeSnapshot", "Repaint"}));
    EXPECT_GT(countRed(), 10) << "no red notice at (10, 10)";
    EXPECT_TRUE(DialogVisible());
}

TEST_F(FullScreenDlgTest, EscapeLeavesFullScreenAndHides) {
    Press(VK_ESCAPE);
    EXPECT_EQ(host_.calls, (Calls{"CloseVideo", "SetFullScreenVideo(0)", "OpenVideo"}));
    EXPECT_FALSE(DialogVisible());
    EXPECT_NE(dialog_.GetSafeHwnd(), nullptr) << "hidden, not destroyed: the view shows it again";
}

TEST_F(FullScreenDlgTest, EscapeOutsideFullScreenDoesNotCloseTheVideo) {
    host_.fullScreen = false;
    Press(VK_ESCAPE);
    EXPECT_EQ(host_.calls, (Calls{"SetFullScreenVideo(0)", "OpenVideo"}));
    EXPECT_FALSE(DialogVisible());
}

TEST_F(FullScreenDlgTest, ClosingTheWindowLeavesFullScreenToo) {
    // The dialog manager turns WM_CLOSE into a posted Cancel: run the queue
    // for a bounded time.
    SendMessageW(dialog_.GetSafeHwnd(), WM_CLOSE, 0, 0);
    const DWORD deadline = GetTickCount() + 3000;
    MSG msg;
    while (DialogVisible() && GetTickCount() < deadline) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
    Calls withoutPaint;
    for (const std::string& call : host_.calls) {
        if (call != "Repaint") {
            withoutPaint.push_back(call);
        }
    }
    EXPECT_EQ(withoutPaint, (Calls{"CloseVideo", "SetFullScreenVideo(0)", "OpenVideo"}));
    EXPECT_FALSE(DialogVisible());
}

TEST_F(FullScreenDlgTest, PaintingRepaintsTheOverlay) {
    RedrawWindow(dialog_.GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_FALSE(host_.calls.empty());
    EXPECT_EQ(host_.calls.back(), "Repaint");
}

}  // namespace
