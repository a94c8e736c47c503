// The AVI player of Mikra.exe worked from another process: recordings the
// suite's own movie writer made (uncompressed, and through the system's
// run-length coder) lie in the video folder; the Tools command opens the
// player, which lists them; a file is chosen, played to its end, stepped
// on the position bar, paused and its frame saved into the picture folder.
// ImageMagick then compares the saved frame with the frame written.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/avi_writer.h"
#include "live_video_checks.h"
#include "mikra_program_test.h"
#include "picture_session.h"
#include "resource.h"
#include "unix_command.h"

namespace {

namespace fs = std::filesystem;
using kq::files::AviWriter;

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr int kFrames = 40;
// The player's controls.
constexpr int kFileList = 1001;
constexpr int kPlay = 1002;
constexpr int kPause = 1003;
constexpr int kSaveFrame = 1004;
constexpr int kPosition = 1005;

constexpr std::uint32_t kRunLength = std::uint32_t('M') | std::uint32_t('R') << 8 | std::uint32_t('L') << 16 |
                                     std::uint32_t('E') << 24;

// Grey level of pixel (x, y) (y from the top) of frame `index`: bars that
// move a column per frame, so every frame differs.
std::uint8_t Level(int index, int x, int y) { return static_cast<std::uint8_t>(((x + index) / 8) * 30 + y); }

// Frame `index` as the writer takes it: bottom-up rows, `bits` 24 or 8.
std::vector<std::uint8_t> Frame(int index, int bits) {
    const int bytes = bits / 8;
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(kWidth) * kHeight * bytes);
    for (int row = 0; row < kHeight; ++row) {
        for (int x = 0; x < kWidth; ++x) {
            const std::uint8_t v = Level(index, x, kHeight - 1 - row);
            std::uint8_t* p = &frame[(static_cast<std::size_t>(row) * kWidth + x) * bytes];
            if (bytes == 1) {
                p[0] = v;
            } else {
                // Blue, green and red apart, so a swapped channel shows.
                p[0] = v;
                p[1] = static_cast<std::uint8_t>(255 - v);
                p[2] = static_cast<std::uint8_t>(v / 2);
            }
        }
    }
    return frame;
}

COLORREF Expected(int index, int bits, int x, int y) {
    const std::uint8_t v = Level(index, x, y);
    return bits == 8 ? RGB(v, v, v) : RGB(v / 2, 255 - v, v);
}

bool WriteMovie(const fs::path& path, int bits, std::uint32_t compressor) {
    std::string message;
    auto writer = AviWriter::Create(path, {kWidth, kHeight, 40, bits, compressor}, &message);
    EXPECT_NE(writer, nullptr) << message;
    if (!writer) return false;
    for (int i = 0; i < kFrames; ++i) {
        if (!writer->WriteFrame(static_cast<std::uint32_t>(i), Frame(i, bits))) return false;
    }
    return writer->Close();
}

void Key(HWND control, UINT key) {
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, 0xC0000001);
}

LRESULT Position(HWND player) { return SendMessageW(GetDlgItem(player, kPosition), TBM_GETPOS, 0, 0); }

class MikraAviPlayerTest : public MikraProgramTest {
protected:
    void SetUp() override {
        UseFreshProgram(L"vz_mikra_avi_player");
        videos_ = folder_ / L"Video Capture";
        fs::create_directories(videos_);
    }

    fs::path videos_;
};

struct PlayerCase {
    const wchar_t* file;
    int bits;
    std::uint32_t compressor;
};

TEST_F(MikraAviPlayerTest, ARecordingIsPlayedSteppedPausedAndItsFrameSaved) {
    const PlayerCase cases[] = {{L"a_uncompressed.avi", 24, 0}, {L"b_run_length.avi", 8, kRunLength}};
    for (const PlayerCase& c : cases) {
        ASSERT_TRUE(WriteMovie(videos_ / c.file, c.bits, c.compressor));
    }
    // Something that is not a movie is not listed; a broken movie is.
    live_video::WriteText(videos_ / L"notes.txt", "not a movie");
    live_video::WriteText(videos_ / L"c_broken.avi", "RIFF0000AVI not really");

    ASSERT_TRUE(mikra_.Start());
    HWND frame = mikra_.WaitForMainFrame();
    ASSERT_NE(frame, nullptr);
    PostMessageW(frame, WM_COMMAND, MAKEWPARAM(ID_TOOLS_MOVIE_PLAYER, 0), 0);
    HWND player = picture_session::WaitForTopWindow(mikra_.GetId(), L"VizcamAviPlayer", 20000);
    ASSERT_NE(player, nullptr) << "no player window";
    HWND list = GetDlgItem(player, kFileList);
    ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LB_GETCOUNT, 0, 0) == 3; }, 10000));

    const fs::path photos = folder_ / L"Photos";
    for (int index = 0; index < 2; ++index) {
        const PlayerCase& c = cases[index];
        SCOPED_TRACE(fs::path(c.file).string());
        // Chosen by the arrow key in the list (sorted by name).
        Key(list, VK_DOWN);
        ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) == index; }, 10000));
        ASSERT_TRUE(WaitFor([&] { return SendMessageW(GetDlgItem(player, kPosition), TBM_GETRANGEMAX, 0, 0) ==
                                         kFrames - 1; },
                            10000))
            << "the movie was not opened";

        // Played, it runs to its last frame.
        PostMessageW(GetDlgItem(player, kPlay), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return Position(player) == kFrames - 1; }, 20000)) << "not played to the end";

        // The position bar steps by the keyboard.
        HWND bar = GetDlgItem(player, kPosition);
        Key(bar, VK_HOME);
        Key(bar, VK_RIGHT);
        Key(bar, VK_RIGHT);
        ASSERT_TRUE(WaitFor([&] { return Position(player) == 2; }, 10000));

        // Played again from there and paused: the frame shown is saved.
        PostMessageW(GetDlgItem(player, kPlay), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return Position(player) > 2; }, 10000)) << "not playing";
        SendMessageW(GetDlgItem(player, kPause), BM_CLICK, 0, 0);
        const int paused = static_cast<int>(Position(player));
        PostMessageW(GetDlgItem(player, kSaveFrame), BM_CLICK, 0, 0);
        wchar_t name[64] = {};
        swprintf(name, 64, L"%ls_%06d.bmp", fs::path(c.file).stem().wstring().c_str(), paused + 1);
        const fs::path saved = photos / name;
        ASSERT_TRUE(WaitFor([&] { return fs::exists(saved); }, 10000)) << "no frame saved as " << saved;
        EXPECT_EQ(Position(player), paused) << "the player went on after the pause";

        // ImageMagick reads the saved frame: the pixels of the frame written.
        const fs::path expected = folder_ / (std::wstring(L"expected_") + name);
        picture_session::WriteBmp(expected, kWidth, kHeight,
                                  [&](int x, int y) { return Expected(paused, c.bits, x, y); });
        const fs::path done = folder_ / L"compared.txt";
        const fs::path part = folder_ / L"compared.part";
        fs::remove(done);
        using unix_testing::Quoted;
        using unix_testing::UnixPath;
        ASSERT_TRUE(unix_testing::RunShell("compare -metric AE " + Quoted(UnixPath(saved)) + " " +
                                               Quoted(UnixPath(expected)) + " null: 2> " + Quoted(UnixPath(part)) +
                                               "; echo >> " + Quoted(UnixPath(part)) + "; identify -format '%w %h' " + Quoted(UnixPath(saved)) + " >> " +
                                               Quoted(UnixPath(part)) + "; mv " + Quoted(UnixPath(part)) + " " +
                                               Quoted(UnixPath(done)),
                                           done))
            << "ImageMagick did not run";
        std::string result;
        {
            std::ifstream in(done);
            std::getline(in, result, '\0');
        }
        EXPECT_EQ(result, "0\n64 48") << "differing pixels, then the size";
    }

    // The broken one is refused with a message; the player stays usable.
    Key(list, VK_DOWN);
    HWND refusal = mikra_.WaitForDialog();
    ASSERT_NE(refusal, nullptr) << "a broken movie was not refused";
    PostMessageW(GetDlgItem(refusal, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntilGone(refusal, 10000));
    EXPECT_EQ(SendMessageW(GetDlgItem(player, kPosition), TBM_GETRANGEMAX, 0, 0), 0) << "nothing is open";
    Key(list, VK_UP);
    EXPECT_TRUE(WaitFor([&] { return SendMessageW(GetDlgItem(player, kPosition), TBM_GETRANGEMAX, 0, 0) ==
                                     kFrames - 1; },
                        10000))
        << "the player did not open a movie after the refusal";
}

}  // namespace
