// Mikra.exe from a folder of its own beside the simulated-camera build of
// KQCMOSu.dll, as scripts/run-mikra.sh lays it out (no picture or video
// folder yet): the USB CMOS camera is
// the view's camera, its live video shows in the view with the crosshair
// line of Config.ini where it is computed, a snapshot is saved and announced
// to the main frame, and a recording is written. The files are left in
// MIKRA_LIVE_VIDEO_FILES for the readers of the check that follows.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "live_video_checks.h"
#include "live_video_session.h"
#include "mikra_process.h"
#include "resource.h"
#include "video_layout.h"

namespace {

using namespace live_video;

constexpr int kSensorWidth = 752;  // type 10
constexpr int kSensorHeight = 480;
constexpr COLORREF kLineColour = RGB(0, 255, 0);

class MikraLiveVideoTest : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path bin = ProgramFolder();
        folder_ = CopyProgramToFreshFolder(L"vz_mikra_live");
        fs::copy_file(bin / L"simcam" / L"KQCMOSu.dll", folder_ / L"KQCMOSu.dll");
        // A fresh installation: no "Photos" or "Video Capture" beside the
        // program until the first snapshot and recording make them.
        WriteText(folder_ / L"KQSimCam.ini", "[Cameras]\r\nCount=1\r\n[Camera1]\r\nType=10\r\nName=Bench scope\r\n");
        // A centred green crosshair pair; snapshots as BMP.
        WriteText(folder_ / L"Config.ini",
                  "[CMOS]\r\nImgType=1\r\n[CROSSLINE]\r\nTotal=1\r\n[CROSSLINEINFO_0]\r\nIndex=1\r\nIsDraw=1\r\n"
                  "IsCenter=1\r\nR=0\r\nG=255\r\nB=0\r\n");
        mikra_.SetProgramFolder(folder_.wstring() + L"\\");
    }
    void TearDown() override {
        mikra_.Kill();
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    fs::path folder_;
    MikraProcess mikra_;
};

// The program's message box, waited for; its text, after it was answered.
std::wstring AnswerMessage(const MikraProcess& mikra) {
    HWND box = mikra.WaitForDialog();
    EXPECT_NE(box, nullptr) << "nothing was told";
    if (box == nullptr) return {};
    const std::wstring text = WindowText(GetDlgItem(box, IDC_PROMPT_TEXT));
    HWND button = GetDlgItem(box, IDC_PROMPT_SINGLE);
    PostMessageW(button ? button : GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntilGone(box, 10000));
    return text;
}

// A file where a capture folder belongs: the folder cannot be made, and the
// snapshot or recording says so instead of doing nothing.
TEST_F(MikraLiveVideoTest, AFolderThatCannotBeMadeIsTold) {
    WriteText(folder_ / L"Photos", "not a folder");
    WriteText(folder_ / L"Video Capture", "not a folder");
    ASSERT_TRUE(mikra_.Start());
    HWND frame = mikra_.WaitForMainFrame();
    ASSERT_NE(frame, nullptr) << "no main frame";
    auto command = [frame](int id) { PostMessageW(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0); };
    command(ID_VIDEO_OPEN);

    const struct {
        int command;
        const wchar_t* folder;
    } cases[] = {{ID_VIDEO_SNAPSHOT, L"Photos"}, {ID_VIDEO_RECORD, L"Video Capture"}};
    for (const auto& c : cases) {
        command(c.command);
        EXPECT_EQ(AnswerMessage(mikra_), L"The folder could not be created:\n" + (folder_ / c.folder).wstring() + L"\\")
            << c.command;
        EXPECT_TRUE(fs::is_regular_file(folder_ / c.folder));
    }
    EXPECT_EQ(ListedPictures(frame), 0);
    EXPECT_TRUE(mikra_.IsRunning());
}

TEST_F(MikraLiveVideoTest, LiveVideoWithItsCrosshairASnapshotAndARecording) {
    ASSERT_TRUE(mikra_.Start());
    HWND frame = mikra_.WaitForMainFrame();
    ASSERT_NE(frame, nullptr) << "no main frame";

    const fs::path recording = RunLiveVideoSession(mikra_, frame, folder_, {kSensorWidth, kSensorHeight, kLineColour},
                                                   fs::path(MIKRA_LIVE_VIDEO_FILES).make_preferred());
    ASSERT_FALSE(recording.empty());
    EXPECT_EQ(recording.filename().wstring().rfind(L"Video_", 0), 0u);
    EXPECT_EQ(recording.stem().wstring().size(), std::wstring(L"Video_20261210120000").size());
}

}  // namespace
