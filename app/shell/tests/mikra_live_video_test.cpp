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
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "live_video_checks.h"
#include "live_video_session.h"
#include "mikra_program_test.h"
#include "resource.h"
#include "sim_camera_control.h"
#include "unix_command.h"
#include "video_layout.h"

namespace {

using namespace live_video;

constexpr int kSensorWidth = 752;  // type 10
constexpr int kSensorHeight = 480;
constexpr COLORREF kLineColour = RGB(0, 255, 0);
constexpr std::uintmax_t kFrameBytes = 3ULL * kSensorWidth * kSensorHeight;  // one recorded frame

class MikraLiveVideoTest : public MikraProgramTest {
protected:
    void SetUp() override {
        const fs::path bin = ProgramFolder();
        UseFreshProgram(L"vz_mikra_live");
        fs::copy_file(bin / L"simcam" / L"KQCMOSu.dll", folder_ / L"KQCMOSu.dll");
        // A fresh installation: no "Photos" or "Video Capture" beside the
        // program until the first snapshot and recording make them.
        WriteText(folder_ / L"KQSimCam.ini", "[Cameras]\r\nCount=1\r\n[Camera1]\r\nType=10\r\nName=Bench scope\r\n");
        // A centred green crosshair pair; snapshots as BMP.
        WriteText(folder_ / L"Config.ini",
                  "[CMOS]\r\nImgType=1\r\n[CROSSLINE]\r\nTotal=1\r\n[CROSSLINEINFO_0]\r\nIndex=1\r\nIsDraw=1\r\n"
                  "IsCenter=1\r\nR=0\r\nG=255\r\nB=0\r\n");
    }

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

// ffprobe's reading of a recording: the frames its header counts (what the
// recorder wrote on finishing it), the packets of its index and the frames it
// decodes, as "header,packets,decoded"; empty when it cannot read the file.
std::string ProbeFrames(const fs::path& recording, const fs::path& scratch) {
    using unix_testing::Quoted;
    using unix_testing::UnixPath;
    const fs::path out = scratch / L"probe.txt";
    const fs::path done = scratch / L"probe.done";
    const bool ran = unix_testing::RunShell(
        "ffprobe -v error -select_streams v:0 -count_frames -count_packets "
        "-show_entries stream=nb_frames,nb_read_packets,nb_read_frames -of csv=p=0 " +
            Quoted(UnixPath(recording)) + " > " + Quoted(UnixPath(out)) + " 2>&1; mv " + Quoted(UnixPath(out)) + " " +
            Quoted(UnixPath(done)),
        done, std::chrono::seconds(60));
    EXPECT_TRUE(ran) << "ffprobe did not run";
    std::ifstream in(done);
    std::stringstream text;
    text << in.rdbuf();
    std::string line = text.str();
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return line;
}

// Unplugged while recording: the recording ends with a file that ffprobe
// reads whole, the status bar says the camera is gone, and once it is
// plugged back in the live video runs again in the same program.
TEST_F(MikraLiveVideoTest, UnpluggedWhileRecordingTheFileIsFinishedAndTheCameraComesBack) {
    SimCameraControl camera;
    ASSERT_TRUE(mikra_.Start());
    HWND frame = mikra_.WaitForMainFrame();
    ASSERT_NE(frame, nullptr) << "no main frame";
    ASSERT_TRUE(OpenVideoWithItsLine(frame, {kSensorWidth, kSensorHeight, kLineColour}));
    HWND view = FindView(frame);

    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(ID_VIDEO_RECORD, 0), 0);
    const fs::path recording = WaitForOneRecording(folder_ / L"Video Capture", 3 * kFrameBytes);
    ASSERT_FALSE(recording.empty()) << "no recording";

    EXPECT_EQ(camera.Unplug(2), KQSIM_BAD_ARGUMENT) << "the program has one camera";
    ASSERT_EQ(camera.Unplug(1), KQSIM_OK);
    const std::wstring gone = L"The camera is disconnected.";
    std::wstring told;
    EXPECT_TRUE(WaitFor(
        [&] {
            told = StatusPaneText(frame, 1);
            return told == gone;
        },
        20000))
        << "status pane 1 holds " << told.size() << " characters";

    // Every frame the recorder counted in the file's header is in its index
    // and decodes.
    const std::string probed = ProbeFrames(recording, folder_);
    int header = 0, packets = 0, decoded = 0;
    char comma1 = 0, comma2 = 0;
    std::istringstream fields(probed);
    const bool parsed =
        bool(fields >> header >> comma1 >> packets >> comma2 >> decoded) && comma1 == ',' && comma2 == ',';
    EXPECT_TRUE(parsed) << "ffprobe read '" << probed << "'";
    EXPECT_GT(header, 0) << probed;
    EXPECT_EQ(packets, header) << probed;
    EXPECT_EQ(decoded, header) << probed;
    const std::uintmax_t finishedBytes = fs::file_size(recording);

    const Screenshot stopped = Capture(view);
    ASSERT_EQ(camera.Replug(1), KQSIM_OK);
    EXPECT_TRUE(WaitFor([&] { return StatusPaneText(frame, 1).empty(); }, 20000)) << "still told gone";
    // The scene moves: new frames change the picture, again and again.
    Screenshot latest = stopped;
    for (int change = 0; change < 2; ++change) {
        const Screenshot before = latest;
        EXPECT_TRUE(WaitFor(
            [&] {
                latest = Capture(view);
                return latest.pixels != before.pixels;
            },
            20000))
            << "no new frame " << change;
    }
    // The camera came back streaming, not recording: the file stays as it
    // was finished.
    EXPECT_EQ(FilesIn(folder_ / L"Video Capture", L".avi").size(), 1u) << "no recording starts by itself";
    EXPECT_EQ(fs::file_size(recording), finishedBytes);
    EXPECT_EQ(ProbeFrames(recording, folder_), probed);

    // The program knows the recording ended: Record starts a new one.
    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(ID_VIDEO_RECORD, 0), 0);
    EXPECT_TRUE(WaitFor(
        [&] {
            for (const fs::path& file : FilesIn(folder_ / L"Video Capture", L".avi")) {
                std::error_code error;
                if (file != recording && fs::file_size(file, error) > kFrameBytes) return true;
            }
            return false;
        },
        30000))
        << "no second recording";
    EXPECT_TRUE(mikra_.IsRunning());
}

}  // namespace
