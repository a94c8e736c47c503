// Mikra.exe from a folder of its own beside the simulated-camera build of
// KQCMOSu.dll, as scripts/run-mikra.sh lays it out: the USB CMOS camera is
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
        // The picture and video folders of an installation.
        fs::create_directories(folder_ / L"Photos");
        fs::create_directories(folder_ / L"Video Capture");
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

    void Command(HWND frame, int id) { PostMessageW(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    fs::path folder_;
    MikraProcess mikra_;
};

TEST_F(MikraLiveVideoTest, LiveVideoWithItsCrosshairASnapshotAndARecording) {
    ASSERT_TRUE(mikra_.Start());
    HWND frame = mikra_.WaitForMainFrame();
    ASSERT_NE(frame, nullptr) << "no main frame";

    HWND view = FindView(frame);
    ASSERT_NE(view, nullptr);
    Command(frame, ID_VIDEO_OPEN);
    RECT client{};
    GetClientRect(view, &client);
    // The camera starts stretched: the video keeps its aspect in the view.
    const VideoPlacement video = StretchedLayout({kSensorWidth, kSensorHeight}, {client.right, client.bottom});
    ASSERT_GT(video.width, 0);
    const int centre = video.x + kSensorWidth / 2 * video.width / kSensorWidth;
    std::vector<int> columns;
    ASSERT_TRUE(WaitFor(
        [&] {
            columns = LineColumns(Capture(view), video, kLineColour);
            return !columns.empty();
        },
        20000))
        << "no crosshair line in the view";
    for (int x : columns) {
        EXPECT_LE(std::abs(x - centre), 2) << "line at " << x << ", computed " << centre;
    }
    // The rest of the video is the camera's picture, not the line colour.
    const Screenshot shot = Capture(view);
    EXPECT_NE(shot.At(video.x + video.width / 4, video.y + video.height / 4), kLineColour);

    const fs::path videos = folder_ / L"Video Capture";
    Command(frame, ID_VIDEO_RECORD);
    std::vector<fs::path> recordings;
    ASSERT_TRUE(WaitFor(
        [&] {
            recordings = FilesIn(videos, L".avi");
            std::error_code error;
            return recordings.size() == 1 && fs::file_size(recordings[0], error) > 4 * kSensorWidth * kSensorHeight;
        },
        30000))
        << "no recording";
    Command(frame, ID_VIDEO_RECORD_STOP);

    // The saved snapshot comes back to the main frame (0x465), which opens
    // it: the picture browser lists one picture more.
    const int listedBefore = ListedPictures(frame);
    const fs::path photos = folder_ / L"Photos";
    Command(frame, ID_VIDEO_SNAPSHOT);
    ASSERT_TRUE(WaitFor([&] { return !FilesIn(photos, L".bmp").empty(); }, 20000)) << "no snapshot";
    EXPECT_TRUE(WaitFor([&] { return ListedPictures(frame) == listedBefore + 1; }, 20000)) << "snapshot not opened";

    Command(frame, ID_VIDEO_CLOSE);

    PostMessageW(frame, WM_CLOSE, 0, 0);
    if (HWND question = mikra_.WaitForDialog()) {
        PostMessageW(GetDlgItem(question, IDOK), BM_CLICK, 0, 0);
    }
    ASSERT_TRUE(mikra_.WaitForExit(kExitTimeoutMs)) << "Mikra did not end";

    const fs::path kept = fs::path(MIKRA_LIVE_VIDEO_FILES).make_preferred();
    fs::create_directories(kept);
    fs::copy_file(recordings[0], kept / L"recording.avi", fs::copy_options::overwrite_existing);
    fs::copy_file(FilesIn(photos, L".bmp").front(), kept / L"snapshot.bmp", fs::copy_options::overwrite_existing);
    EXPECT_EQ(recordings[0].filename().wstring().rfind(L"Video_", 0), 0u);
    EXPECT_EQ(recordings[0].stem().wstring().size(), std::wstring(L"Video_20261210120000").size());
}

}  // namespace
