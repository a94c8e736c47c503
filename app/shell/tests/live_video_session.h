#pragma once
// One live-video session of a running Mikra.exe whose camera has a centred
// crosshair line: open the video, find the line where it is computed,
// record, take a snapshot the picture browser then lists, close the video
// and the program, and keep the recording and the snapshot for the file
// readers of the check that follows.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "live_video_checks.h"
#include "mikra_process.h"
#include "resource.h"
#include "video_layout.h"

namespace live_video {

struct SessionCamera {
    int sensorWidth = 0;
    int sensorHeight = 0;
    COLORREF lineColour = 0;
};

// The one recording in `videos` once it holds more than `bytes`; empty when
// none comes within 30 s.
inline fs::path WaitForOneRecording(const fs::path& videos, std::uintmax_t bytes) {
    std::vector<fs::path> recordings;
    const bool recorded = WaitFor(
        [&] {
            recordings = FilesIn(videos, L".avi");
            std::error_code error;
            return recordings.size() == 1 && fs::file_size(recordings[0], error) > bytes;
        },
        30000);
    return recorded ? recordings[0] : fs::path{};
}

// Takes a snapshot, which comes back to the main frame (0x465) and opens: the
// picture browser lists one picture more. Then closes the video and the
// program and copies `recording` and the snapshot into `kept`. False after a
// failed expectation.
inline bool SnapCloseAndKeep(MikraProcess& mikra, HWND frame, const fs::path& folder, const fs::path& recording,
                             const fs::path& kept) {
    auto command = [frame](int id) { PostMessageW(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0); };
    const int listedBefore = ListedPictures(frame);
    const fs::path photos = folder / L"Photos";
    command(ID_VIDEO_SNAPSHOT);
    const bool snapped = WaitFor([&] { return !FilesIn(photos, L".bmp").empty(); }, 20000);
    EXPECT_TRUE(snapped) << "no snapshot";
    if (!snapped) return false;
    EXPECT_TRUE(WaitFor([&] { return ListedPictures(frame) == listedBefore + 1; }, 20000)) << "snapshot not opened";

    command(ID_VIDEO_CLOSE);
    PostMessageW(frame, WM_CLOSE, 0, 0);
    if (HWND question = mikra.WaitForDialog()) {
        PostMessageW(GetDlgItem(question, IDOK), BM_CLICK, 0, 0);
    }
    const bool ended = mikra.WaitForExit(kExitTimeoutMs);
    EXPECT_TRUE(ended) << "Mikra did not end";
    if (!ended) return false;

    fs::create_directories(kept);
    fs::copy_file(recording, kept / L"recording.avi", fs::copy_options::overwrite_existing);
    fs::copy_file(FilesIn(photos, L".bmp").front(), kept / L"snapshot.bmp", fs::copy_options::overwrite_existing);
    return true;
}

// Opens the video and waits until its crosshair line shows where it is
// computed. False after a failed expectation.
inline bool OpenVideoWithItsLine(HWND frame, const SessionCamera& camera) {
    HWND view = FindView(frame);
    EXPECT_NE(view, nullptr);
    if (view == nullptr) return false;
    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(ID_VIDEO_OPEN, 0), 0);
    RECT client{};
    GetClientRect(view, &client);
    // The camera starts stretched: the video keeps its aspect in the view.
    const VideoPlacement video =
        StretchedLayout({camera.sensorWidth, camera.sensorHeight}, {client.right, client.bottom});
    EXPECT_GT(video.width, 0);
    if (video.width <= 0) return false;
    const int centre = video.x + camera.sensorWidth / 2 * video.width / camera.sensorWidth;
    std::vector<int> columns;
    const bool lineShown = WaitFor(
        [&] {
            columns = LineColumns(Capture(view), video, camera.lineColour);
            return !columns.empty();
        },
        20000);
    EXPECT_TRUE(lineShown) << "no crosshair line in the view";
    if (!lineShown) return false;
    for (int x : columns) {
        EXPECT_LE(std::abs(x - centre), 2) << "line at " << x << ", computed " << centre;
    }
    // The rest of the video is the camera's picture, not the line colour.
    const Screenshot shot = Capture(view);
    EXPECT_NE(shot.At(video.x + video.width / 4, video.y + video.height / 4), camera.lineColour);
    return true;
}

// `folder` is the program's folder with its "Photos" and "Video Capture";
// the files are copied into `kept`. Returns the recording's path, empty
// after a failed assertion.
inline fs::path RunLiveVideoSession(MikraProcess& mikra, HWND frame, const fs::path& folder,
                                    const SessionCamera& camera, const fs::path& kept) {
    auto command = [frame](int id) { PostMessageW(frame, WM_COMMAND, MAKEWPARAM(id, 0), 0); };
    if (!OpenVideoWithItsLine(frame, camera)) return {};

    command(ID_VIDEO_RECORD);
    const fs::path recording =
        WaitForOneRecording(folder / L"Video Capture", 4ULL * camera.sensorWidth * camera.sensorHeight);
    EXPECT_FALSE(recording.empty()) << "no recording";
    if (recording.empty()) return {};
    command(ID_VIDEO_RECORD_STOP);

    return SnapCloseAndKeep(mikra, frame, folder, recording, kept) ? recording : fs::path{};
}

}  // namespace live_video
