// Mikra.exe from a folder of its own, with the test capture source as the
// one video input device of the test prefix and no camera library beside
// the program: the view's camera is the DirectShow camera, the source's
// picture shows in the view where the stretched layout puts it, a
// recording is written through the file-writer stand-in, and a snapshot is
// saved and opened as a picture; Record through the platform's own file
// writer is refused without ending the program. The files are left in
// MIKRA_DSHOW_VIDEO_FILES for the readers of the check that follows.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dshow_fixtures/fixture_registration.h"
#include "live_video_checks.h"
#include "live_video_session.h"
#include "mikra_program_test.h"
#include "resource.h"
#include "video_layout.h"

namespace {

using namespace live_video;

constexpr int kSourceWidth = 640;  // the source's first format
constexpr int kSourceHeight = 480;

// The test source's picture at (x, y), rows from the top: red counts the
// column, green the row from the bottom, blue the frame (not compared).
bool ShowsSourcePixel(COLORREF shown, int x, int y) {
    const int red = x & 0xFF;
    const int green = (kSourceHeight - 1 - y) & 0xFF;
    // One pixel of the view covers up to two of the source.
    return std::abs(GetRValue(shown) - red) <= 3 && std::abs(GetGValue(shown) - green) <= 3;
}

class MikraDShowVideoTest : public MikraProgramTest {
protected:
    void SetUp() override {
        UseFreshProgram(L"vz_mikra_dshow");
        fs::create_directories(folder_ / L"Photos");
        fs::create_directories(folder_ / L"Video Capture");
        // Snapshots as BMP; recordings at 10 frames per second.
        WriteText(folder_ / L"Config.ini", "[Video]\r\nImgType=1\r\n[TPF]\r\ncap640=10\r\n");
    }

    // Whether the view shows the source's picture at points away from where
    // red and green wrap around, placed where the stretched layout of the
    // view's client area puts them; `seen` gets what was read.
    static bool ShowsSourcePicture(HWND view, std::string& seen) {
        const POINT points[] = {{100, 100}, {300, 200}, {500, 400}, {40, 450}};
        RECT client{};
        GetClientRect(view, &client);
        const VideoPlacement video = StretchedLayout({kSourceWidth, kSourceHeight}, {client.right, client.bottom});
        if (video.width <= 0 || video.height <= 0) return false;
        const Screenshot shot = Capture(view);
        seen.clear();
        bool all = true;
        for (const POINT& p : points) {
            const int x = video.x + (2 * p.x + 1) * video.width / (2 * kSourceWidth);
            const int y = video.y + (2 * p.y + 1) * video.height / (2 * kSourceHeight);
            const COLORREF shown = shot.At(x, y);
            seen += " (" + std::to_string(x) + "," + std::to_string(y) + ")=" + std::to_string(GetRValue(shown)) + "/" +
                    std::to_string(GetGValue(shown));
            all = all && ShowsSourcePixel(shown, p.x, p.y);
        }
        return all;
    }

    // Starts Mikra, opens video and waits for the source's picture in the
    // view. Tests running beside this one show windows on the same display:
    // the frame stays above them while the screen's pixels are read.
    void StartWithVideo() {
        ASSERT_TRUE(mikra_.Start());
        frame_ = mikra_.WaitForMainFrame();
        ASSERT_NE(frame_, nullptr) << "no main frame";
        view_ = FindView(frame_);
        ASSERT_NE(view_, nullptr);
        SetWindowPos(frame_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        PostMessageW(frame_, WM_COMMAND, MAKEWPARAM(ID_VIDEO_OPEN, 0), 0);
        std::string seen;
        ASSERT_TRUE(WaitFor([&] { return ShowsSourcePicture(view_, seen); }, 20000))
            << "the source's picture is not in the view:" << seen;
    }

    HWND frame_ = nullptr;
    HWND view_ = nullptr;
};

TEST_F(MikraDShowVideoTest, SourcesPictureInTheViewARecordingAndASnapshotOpened) {
    dshow_fixtures::FileWriterStandIn writer;
    ASSERT_TRUE(writer.Registered());
    dshow_fixtures::TestSources sources({L"Bench source"});
    ASSERT_TRUE(sources.Registered());
    ASSERT_NO_FATAL_FAILURE(StartWithVideo());
    HWND frame = frame_;
    auto command = [frame](int id) { PostMessageW(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0); };
    std::string seen;
    auto pictureShown = [&] { return ShowsSourcePicture(view_, seen); };

    command(ID_VIDEO_RECORD);
    const fs::path recording = WaitForOneRecording(folder_ / L"Video Capture", 6ULL * kSourceWidth * kSourceHeight * 3);
    ASSERT_FALSE(recording.empty()) << "no recording";
    EXPECT_EQ(recording.filename().wstring().rfind(L"Video_", 0), 0u);
    command(ID_VIDEO_RECORD_STOP);
    // The preview the recording interrupted comes back.
    EXPECT_TRUE(WaitFor(pictureShown, 20000)) << "no picture after the recording:" << seen;

    EXPECT_TRUE(SnapCloseAndKeep(mikra_, frame, folder_, recording, fs::path(MIKRA_DSHOW_VIDEO_FILES).make_preferred()));
}

// With the platform's own file writer, which takes no byte stream from the
// mux, Record would end the program in the platform's capture library on
// the first frames: it is refused with the message, no recording file is
// left, and the preview goes on.
TEST_F(MikraDShowVideoTest, RecordThroughThePlatformsFileWriterIsRefusedAndTheProgramGoesOn) {
    dshow_fixtures::PlatformFileWriter writer;
    ASSERT_TRUE(writer.Registered());
    dshow_fixtures::TestSources sources({L"Bench source"});
    ASSERT_TRUE(sources.Registered());
    ASSERT_NO_FATAL_FAILURE(StartWithVideo());
    HWND frame = frame_;
    auto command = [frame](int id) { PostMessageW(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0); };
    std::string seen;
    auto pictureShown = [&] { return ShowsSourcePicture(view_, seen); };

    command(ID_VIDEO_RECORD);
    HWND message = mikra_.WaitForDialog();
    ASSERT_NE(message, nullptr) << "no message";
    EXPECT_EQ(WindowText(GetDlgItem(message, IDC_PROMPT_TEXT)),
              L"The file writer cannot take the multiplexed stream: the video cannot be recorded!");
    PostMessageW(GetDlgItem(message, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntilGone(message, 10000));
    EXPECT_TRUE(WaitFor(pictureShown, 20000)) << "no picture after the refusal:" << seen;
    EXPECT_TRUE(mikra_.IsRunning());
    for (const auto& entry : fs::directory_iterator(folder_ / L"Video Capture")) {
        ADD_FAILURE() << "left behind: " << entry.path();
    }
}

}  // namespace
