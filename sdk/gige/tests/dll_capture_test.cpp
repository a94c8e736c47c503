// Recording and firmware upload through the stand-in build of KQGEu.dll with
// the real camera classes: the recording of a streaming colour camera read
// back by ffprobe and ffmpeg, the stop call's answers by output and
// streaming, and firmware images sent to the simulated camera through the
// export, each ending with the result a later stop call reports.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "KQGEu.h"
#include "adapter_service_fixture.h"
#include "live_frames.h"
#include "standin_dll.h"
#include "unix_command.h"

namespace kqge {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using fixture::Frames;
using fixture::ReturnsPromptly;

fixture::StandInExports& Dll() { return fixture::StandIn(); }

// The simulated "Gige-CMOSAlvino", a Bayer colour camera, on the second
// adapter.
constexpr std::int32_t kColourCamera = 9;
constexpr std::int32_t kWidth = 64;
constexpr std::int32_t kHeight = 48;

// Output kinds of KQGE_SetColorMode.
constexpr std::int32_t kColourOutput = 0;
constexpr std::int32_t kGrey24Output = 1;
constexpr std::int32_t kGrey8Output = 2;

struct StandInCamera : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(Dll().Bound());
        fixture::Service service = fixture::StartService(GetCurrentProcessId(), 2, 2);
        ASSERT_EQ(Dll().Initialize(), 0);
        ASSERT_EQ(Dll().InitCamera(kColourCamera, nullptr), 0);
        ASSERT_EQ(Dll().SetResolution(kColourCamera, kWidth, kHeight), 0);
        folder = fs::temp_directory_path() / (L"kqge_dll_capture_" + std::to_wstring(GetCurrentProcessId()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        // The compressor is one for the whole library.
        Dll().SetAviCompressor(kColourCamera, 0);
        Dll().UnInitialize();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    // Runs a shell command line whose output lands in `name`.txt; its text.
    std::string Read(const std::string& command, const std::wstring& name) {
        using unix_testing::Quoted;
        using unix_testing::UnixPath;
        const fs::path read = folder / (name + L".txt");
        const fs::path part = folder / L"read.part";
        if (!unix_testing::RunShell(command + " > " + Quoted(UnixPath(part)) + " 2>&1; mv " + Quoted(UnixPath(part)) +
                                        " " + Quoted(UnixPath(read)),
                                    read)) {
            ADD_FAILURE() << command << " did not finish";
            return {};
        }
        std::ostringstream text;
        text << std::ifstream(read, std::ios::binary).rdbuf();
        return text.str();
    }

    Frames frames;
    fs::path folder;
};

// Stopping a recording that is not running answers by the camera's state:
// 17 for a picture that is not 24-bit, 33 while not streaming, 0 (and the
// stream goes on) otherwise. Starting one answers the same way, but starts.
TEST_F(StandInCamera, CaptureStopAndStartAnswerByOutputAndStreaming) {
    ASSERT_EQ(Dll().SetFrameCallBack(kColourCamera, &Frames::Take, &frames), 0);
    const fs::path movie = folder / L"refused.avi";
    const struct Case {
        const char* name;
        std::int32_t output;
        bool streaming;
        std::int32_t stop;
        std::int32_t start;  // -1: not tried, it would record
    } cases[] = {
        {"24-bit, stopped", kColourOutput, false, 33, 33},
        {"24-bit, streaming", kColourOutput, true, 0, -1},
        {"8-bit, streaming", kGrey8Output, true, 17, 17},
        {"8-bit, stopped", kGrey8Output, false, 17, 17},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(Dll().SetColorMode(kColourCamera, c.output), 0);
        if (c.streaming) {
            const std::size_t before = frames.Count();
            ASSERT_EQ(Dll().LiveStart(kColourCamera), 0);
            ASSERT_TRUE(frames.WaitFor(before + 1));
        }
        EXPECT_EQ(Dll().CaptureStop(kColourCamera), c.stop);
        if (c.start >= 0) {
            EXPECT_EQ(Dll().CaptureStart(kColourCamera, movie.c_str()), c.start);
        }
        if (c.streaming) {
            const std::size_t after = frames.Count();
            EXPECT_TRUE(frames.WaitFor(after + 2)) << "the stream stopped";
            EXPECT_EQ(ReturnsPromptly([] { return Dll().LiveStop(kColourCamera); }), 0);
        }
        EXPECT_FALSE(fs::exists(movie));
    }
}

// The recording holds the frames delivered between start and stop, at the
// picture's size on a 40 fps grid; its first frame is one the callback had.
TEST_F(StandInCamera, ARecordingIsReadWithItsSizeRateAndFrames) {
    ASSERT_EQ(Dll().SetFrameCallBack(kColourCamera, &Frames::Take, &frames), 0);
    const fs::path movie = folder / L"movie.avi";
    ASSERT_EQ(Dll().LiveStart(kColourCamera), 0);
    ASSERT_TRUE(frames.WaitFor(2));
    const std::size_t starting = frames.Count();
    ASSERT_EQ(Dll().CaptureStart(kColourCamera, movie.c_str()), 0);
    const std::size_t started = frames.Count();
    ASSERT_TRUE(frames.WaitFor(started + 12));
    const std::size_t stopping = frames.Count();
    ASSERT_EQ(ReturnsPromptly([] { return Dll().CaptureStop(kColourCamera); }), 0);
    const std::size_t stopped = frames.Count();
    ASSERT_EQ(ReturnsPromptly([] { return Dll().LiveStop(kColourCamera); }), 0);

    using unix_testing::Quoted;
    using unix_testing::UnixPath;
    const std::string read = Read(
        "ffprobe -v error -select_streams v:0 -count_frames -show_entries "
        "stream=width,height,r_frame_rate,nb_read_frames -of csv=p=0 " +
            Quoted(UnixPath(movie)),
        L"probe");
    int width = 0, height = 0, rate = 0, per = 0, count = 0;
    ASSERT_EQ(std::sscanf(read.c_str(), "%d,%d,%d/%d,%d", &width, &height, &rate, &per, &count), 5) << read;
    EXPECT_EQ(width, kWidth);
    EXPECT_EQ(height, kHeight);
    EXPECT_EQ(rate, 40);
    EXPECT_EQ(per, 1);
    // One frame may be between its callback and the recorder at each end.
    EXPECT_GE(count, static_cast<int>(stopping - started) - 1);
    EXPECT_LE(count, static_cast<int>(stopped - starting) + 1);

    // The first recorded picture, top-down, among the delivered ones
    // (bottom-up rows).
    const fs::path first = folder / L"first.raw";
    Read("ffmpeg -v error -y -i " + Quoted(UnixPath(movie)) + " -frames:v 1 -f rawvideo -pix_fmt bgr24 " +
             Quoted(UnixPath(first)),
         L"first");
    std::ostringstream bytes;
    bytes << std::ifstream(first, std::ios::binary).rdbuf();
    const std::string picture = bytes.str();
    const std::size_t row = kWidth * 3;
    ASSERT_EQ(picture.size(), row * kHeight);
    const bool delivered = std::any_of(frames.frames.begin(), frames.frames.end(), [&](const Frames::Frame& frame) {
        for (std::size_t y = 0; y < kHeight; ++y) {
            if (!std::equal(frame.pixels.begin() + static_cast<std::ptrdiff_t>((kHeight - 1 - y) * row),
                            frame.pixels.begin() + static_cast<std::ptrdiff_t>((kHeight - y) * row),
                            picture.begin() + static_cast<std::ptrdiff_t>(y * row),
                            [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); })) {
                return false;
            }
        }
        return true;
    });
    EXPECT_TRUE(delivered) << "the recording's first picture was not delivered";
}

constexpr std::uint32_t kRunLength = mmioFOURCC('M', 'R', 'L', 'E');

// The chosen compressor writes the recording: a grey picture through the
// system's run-length coder, which takes its frames as 8-bit grey.
TEST_F(StandInCamera, ARecordingIsWrittenByTheChosenCompressor) {
    ASSERT_EQ(Dll().SetFrameCallBack(kColourCamera, &Frames::Take, &frames), 0);
    ASSERT_EQ(Dll().SetColorMode(kColourCamera, kGrey24Output), 0);
    ASSERT_EQ(Dll().SetAviCompressor(kColourCamera, kRunLength), 0);
    const fs::path movie = folder / L"run_length.avi";
    ASSERT_EQ(Dll().LiveStart(kColourCamera), 0);
    ASSERT_TRUE(frames.WaitFor(2));
    ASSERT_EQ(Dll().CaptureStart(kColourCamera, movie.c_str()), 0);
    const std::size_t started = frames.Count();
    ASSERT_TRUE(frames.WaitFor(started + 6));
    EXPECT_EQ(ReturnsPromptly([] { return Dll().CaptureStop(kColourCamera); }), 0);
    EXPECT_EQ(ReturnsPromptly([] { return Dll().LiveStop(kColourCamera); }), 0);

    using unix_testing::Quoted;
    using unix_testing::UnixPath;
    const std::string read = Read("ffprobe -v error -select_streams v:0 -count_frames -show_entries "
                                  "stream=codec_name,width,height,nb_read_frames -of csv=p=0 " +
                                      Quoted(UnixPath(movie)),
                                  L"run_length");
    char codec[32] = {};
    int width = 0, height = 0, count = 0;
    ASSERT_EQ(std::sscanf(read.c_str(), "%31[^,],%d,%d,%d", codec, &width, &height, &count), 4) << read;
    EXPECT_STREQ(codec, "msrle");
    EXPECT_EQ(width, kWidth);
    EXPECT_EQ(height, kHeight);
    EXPECT_GE(count, 5);
}

// A recording whose movie cannot be made is refused at its start and leaves
// no file; the stream goes on.
TEST_F(StandInCamera, ARecordingThatCannotBeMadeIsRefused) {
    ASSERT_EQ(Dll().SetFrameCallBack(kColourCamera, &Frames::Take, &frames), 0);
    const struct Case {
        const char* name;
        std::int32_t output;
        std::uint32_t compressor;
        fs::path movie;
    } cases[] = {
        {"missing folder", kColourOutput, 0, folder / L"missing" / L"movie.avi"},
        {"colour through a coder of 8-bit frames", kColourOutput, kRunLength, folder / L"colour_rle.avi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(Dll().SetColorMode(kColourCamera, c.output), 0);
        ASSERT_EQ(Dll().SetAviCompressor(kColourCamera, c.compressor), 0);
        ASSERT_EQ(Dll().LiveStart(kColourCamera), 0);
        ASSERT_TRUE(frames.WaitFor(frames.Count() + 1));
        EXPECT_NE(Dll().CaptureStart(kColourCamera, c.movie.c_str()), 0);
        EXPECT_FALSE(fs::exists(c.movie));
        EXPECT_TRUE(frames.WaitFor(frames.Count() + 2)) << "the stream stopped";
        EXPECT_EQ(ReturnsPromptly([] { return Dll().CaptureStop(kColourCamera); }), 0);
        EXPECT_EQ(ReturnsPromptly([] { return Dll().LiveStop(kColourCamera); }), 0);
    }
}

// The upload reports its progress through the frame callback: bytes sent in
// the pixel slot, the chunk's last result in the information slot.
struct Progress {
    struct Report {
        std::uint32_t bytesSent;
        std::int32_t result;
    };

    static void KQGEAPI Take(unsigned char* bytesSent, KQGE_FRAME_INFO* result, void* user) {
        auto& self = *static_cast<Progress*>(user);
        {
            std::lock_guard guard(self.lock);
            self.reports.push_back({static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(bytesSent)),
                                    static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(result))});
        }
        self.arrived.notify_all();
    }
    bool WaitUntil(const std::function<bool(const std::vector<Report>&)>& done) {
        std::unique_lock guard(lock);
        return arrived.wait_for(guard, std::chrono::seconds(60), [&] { return done(reports); });
    }

    std::mutex lock;
    std::condition_variable arrived;
    std::vector<Report> reports;
};

constexpr std::size_t kHeaderBytes = 149;
constexpr std::uint32_t kWholeImage = 0x180000;

// A firmware image: the skipped header, then `payload` bytes.
void WriteImage(const fs::path& path, std::size_t payload) {
    Bytes bytes(kHeaderBytes + payload);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

TEST_F(StandInCamera, FirmwareUploadsEndWithTheResultALaterStopReports) {
    const struct Case {
        const char* name;
        std::int64_t payload;  // -1: no file
        std::int32_t result;
        std::vector<Progress::Report> tail;  // the last reports
        std::size_t reports;
    } cases[] = {
        {"whole image", kWholeImage, 0, {{kWholeImage - 512, 0}, {kWholeImage, 0}}, kWholeImage / 512},
        // Its last chunk is sent, then the empty one after it refused.
        {"short image", 1000, 37, {{1000, 0}, {1000, 20}}, 3},
        // Refused before anything is sent: it would not fit the camera.
        {"oversized image", kWholeImage + 1, 20, {}, 0},
        {"missing file", -1, 3, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A file of its own: the previous upload's thread may still be
        // closing its file.
        const fs::path image = folder / (std::wstring(c.name, c.name + std::strlen(c.name)) + L".jic");
        if (c.payload >= 0) WriteImage(image, static_cast<std::size_t>(c.payload));
        Progress progress;
        ASSERT_EQ(Dll().SetFrameCallBack(kColourCamera, &Progress::Take, &progress), 0);
        ASSERT_EQ(Dll().UpdateDeviceProgram(kColourCamera, 1, image.c_str()), 0);
        if (!c.tail.empty()) {
            // Once the last chunk is reported the upload's result is settled;
            // a stop call before that would end it early.
            ASSERT_TRUE(progress.WaitUntil(
                [&](const std::vector<Progress::Report>& r) { return r.size() >= c.reports; }));
        }
        std::int32_t result = -1;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while ((result = Dll().UpdateDeviceProgram(kColourCamera, 0, nullptr)) != c.result &&
               std::chrono::steady_clock::now() < end) {
            Sleep(20);
        }
        EXPECT_EQ(result, c.result);
        std::lock_guard guard(progress.lock);
        EXPECT_EQ(progress.reports.size(), c.reports);
        ASSERT_GE(progress.reports.size(), c.tail.size());
        for (std::size_t i = 0; i < c.tail.size(); ++i) {
            const Progress::Report& got = progress.reports[progress.reports.size() - c.tail.size() + i];
            EXPECT_EQ(got.bytesSent, c.tail[i].bytesSent) << "report " << i;
            EXPECT_EQ(got.result, c.tail[i].result) << "report " << i;
        }
    }
    // While streaming no upload starts.
    ASSERT_EQ(Dll().SetFrameCallBack(kColourCamera, &Frames::Take, &frames), 0);
    ASSERT_EQ(Dll().LiveStart(kColourCamera), 0);
    EXPECT_EQ(Dll().UpdateDeviceProgram(kColourCamera, 1, nullptr), 34);
    EXPECT_EQ(ReturnsPromptly([] { return Dll().LiveStop(kColourCamera); }), 0);
}

}  // namespace
}  // namespace kqge
