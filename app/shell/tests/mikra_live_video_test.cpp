// Mikra.exe from a folder of its own beside the simulated-camera build of
// KQCMOSu.dll, as scripts/run-mikra.sh lays it out: the USB CMOS camera is
// the view's camera, its live video shows in the view with the crosshair
// line of Config.ini where it is computed, a snapshot is saved and announced
// to the main frame, and a recording is written. The files are left in
// MIKRA_LIVE_VIDEO_FILES for the readers of the check that follows.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "mikra_process.h"
#include "resource.h"
#include "video_layout.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSensorWidth = 752;  // type 10
constexpr int kSensorHeight = 480;
constexpr COLORREF kLineColour = RGB(0, 255, 0);

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// The screen's pixels of a window's client area, rows top-down.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;

    COLORREF At(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

Screenshot Capture(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    Screenshot shot;
    shot.width = client.right;
    shot.height = client.bottom;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), shot.width, -shot.height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* quads = static_cast<const std::uint8_t*>(bits);
    for (int i = 0; i < shot.width * shot.height; ++i) {
        shot.pixels.push_back(RGB(quads[i * 4 + 2], quads[i * 4 + 1], quads[i * 4]));
    }
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return shot;
}

// Columns of the row in which at least `share` of the pixels from top to
// bottom of the video have the colour.
std::vector<int> LineColumns(const Screenshot& shot, const VideoPlacement& video, COLORREF colour) {
    std::vector<int> columns;
    for (int x = video.x; x < video.x + video.width; ++x) {
        int hits = 0;
        for (int y = video.y; y < video.y + video.height; ++y) hits += shot.At(x, y) == colour;
        if (hits * 10 >= video.height * 9) columns.push_back(x);
    }
    return columns;
}

// Items of every list view of the frame (the picture browser's among them).
int ListedPictures(HWND frame) {
    int items = 0;
    EnumChildWindows(
        frame,
        [](HWND hwnd, LPARAM lParam) {
            wchar_t name[64] = {};
            GetClassNameW(hwnd, name, 64);
            if (std::wstring(name) == L"SysListView32") {
                *reinterpret_cast<int*>(lParam) += int(SendMessageW(hwnd, LVM_GETITEMCOUNT, 0, 0));
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&items));
    return items;
}

std::vector<fs::path> FilesIn(const fs::path& folder, const std::wstring& extension) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() == extension) files.push_back(entry.path());
    }
    return files;
}

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
