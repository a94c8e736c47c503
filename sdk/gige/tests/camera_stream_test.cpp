// The camera base against a simulated camera through the loopback driver
// stand-in: control access, the live start and stop sequences, frames
// through the ring and the display thread to the callback, wrong-size
// frames dropped, the region of interest, triggered frames on the snapshot
// workers, recording, and the registers every model shares.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <mutex>
#include <vector>

#include "camera_fixture.h"
#include "conversion.h"
#include "delivered_frame.h"
#include "faulty_stream.h"
#include "orientation.h"
#include "tone_correction.h"

#if !defined(_WIN32)
#include <sys/resource.h>
#endif

namespace kqge {
namespace {

using fixture::Command;
using fixture::FrameLog;
using fixture::OneCamera;
using fixture::Rd;
using fixture::Wr;
using standin::SimulatedCamera;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kPort = 55005;
constexpr std::uint32_t kAdapterIp = 0xC0A8010A;  // 192.168.1.10
constexpr const char* kDefaultModel = "Gige-Unlisted";
// Shares the default camera's control access, with smaller buffers.
constexpr const char* kSmallModel = "Gige-Parsun";

// An opened 752 x 480 CMOS camera (the default camera's register family,
// with buffers a fraction of its size) at 64 x 48 giving the raw frame, its
// commands so far consumed.
struct Opened : OneCamera {
    Opened() : OneCamera("Gige-CMOSAlvino") {
        EXPECT_EQ(Camera().InitCamera(nullptr), 0);
        EXPECT_EQ(Camera().SetResolution(64, 48), 0);
        EXPECT_EQ(Camera().SetColorMode(3), 0);
        (void)NewCommands();
    }
    SimulatedCamera::StreamFrame Frame(std::uint32_t w = 64, std::uint32_t h = 48) { return {w, h, standin::kMono8}; }
};

TEST(CameraControlTest, TakesControlWhenFreeAndStopsAcquisition) {
    OneCamera c(kDefaultModel);
    EXPECT_EQ(c.Camera().InitCamera(nullptr), 0);
    EXPECT_TRUE(c.Camera().ControlHeld());
    EXPECT_EQ(c.NewCommands(), (std::vector<Command>{Rd(0x0A00), Wr(0x0A00, 3), Wr(0xF0F00614, 0)}));
    EXPECT_EQ(c.camera.Register(0x0A00), 3u);

    EXPECT_EQ(c.Camera().UnInitCamera(), 0);
    EXPECT_EQ(c.NewCommands(), (std::vector<Command>{Wr(0x0A00, 0)}));
    EXPECT_FALSE(c.Camera().ControlHeld());
}

TEST(CameraControlTest, AnotherHostHoldingControlGives51AndLeavesTheCameraUnopened) {
    OneCamera c(kSmallModel);
    c.camera.HoldControlElsewhere(true);
    EXPECT_EQ(c.Camera().InitCamera(nullptr), 51);
    EXPECT_EQ(c.NewCommands(), (std::vector<Command>{Rd(0x0A00), Wr(0x0A00, 0), Rd(0x0A00), Rd(0x0A00)}));
    EXPECT_FALSE(c.Camera().ControlHeld());

    // Register operations answer 48 and send nothing.
    EXPECT_EQ(c.Camera().SetExposure(100), 48);
    EXPECT_EQ(c.Camera().SoftTrigger(), 48);
    EXPECT_EQ(c.Camera().LiveStart(), 48);
    EXPECT_TRUE(c.NewCommands().empty());

    // Once the other host lets go, opening again takes control.
    c.camera.HoldControlElsewhere(false);
    EXPECT_EQ(c.Camera().UnInitCamera(), 0);
    EXPECT_EQ(c.Camera().InitCamera(nullptr), 0);
    EXPECT_TRUE(c.Camera().ControlHeld());
}

TEST(CameraControlTest, AHolderThatLetsGoIsReplaced) {
    OneCamera c(kSmallModel);
    c.camera.SetRegister(0x0A00, 2);
    EXPECT_EQ(c.Camera().InitCamera(nullptr), 0);
    EXPECT_EQ(c.NewCommands(),
              (std::vector<Command>{Rd(0x0A00), Wr(0x0A00, 0), Rd(0x0A00), Wr(0x0A00, 3), Wr(0xF0F00614, 0)}));
}

TEST(CameraStreamTest, LiveStartAndStopSendTheirSequences) {
    Opened c;
    ASSERT_EQ(c.Camera().LiveStart(), 0);
    EXPECT_EQ(c.NewCommands(),
              (std::vector<Command>{Wr(0xF0000200, 0x3D5),
                                    Wr({{0x0D04, 0x40000000u | 1500}, {0x0D18, kAdapterIp}, {0x0D00, kPort}}),
                                    Wr(0xF0F00614, 1)}));
    ASSERT_EQ(c.driver.Streams().size(), 1u);
    EXPECT_EQ(c.driver.Streams()[0], (StreamRecord{64, 48, kPort, 1464}));
    EXPECT_TRUE(c.nic.Receiving());
    EXPECT_EQ(c.Camera().LiveStart(), 0);  // already streaming: nothing sent
    EXPECT_TRUE(c.NewCommands().empty());

    EXPECT_EQ(c.Camera().LiveStop(), 0);
    EXPECT_EQ(c.NewCommands(), (std::vector<Command>{Wr(0xF0F00614, 0)}));
    // The removal names the raw frame.
    ASSERT_EQ(c.driver.Streams().size(), 2u);
    EXPECT_EQ(c.driver.Streams()[1], (StreamRecord{64, 48, kPort, 1464}));
    EXPECT_FALSE(c.nic.Receiving());
}

TEST(CameraStreamTest, FramesReachTheCallbackWithTheirInfoAndPixels) {
    FrameLog log;  // outlives the camera's display thread
    Opened c;
    c.Camera().SetFrameCallBack(&FrameLog::Take, &log);
    ASSERT_EQ(c.Camera().LiveStart(), 0);
    const Bytes sent = c.camera.SendFrame(c.Frame());
    ASSERT_TRUE(log.WaitFor(1));
    // Output kind 3 is the raw frame as it came.
    EXPECT_EQ(log.frames[0].info.width, 64);
    EXPECT_EQ(log.frames[0].info.height, 48);
    EXPECT_EQ(log.frames[0].info.bitsPerPixel, 8);
    EXPECT_EQ(log.frames[0].pixels, sent);
    Bytes latest(64 * 48);
    EXPECT_EQ(c.Camera().GetFrame(latest.data()), 0);
    EXPECT_EQ(latest, sent);
    EXPECT_EQ(c.Camera().GetFrame(nullptr), 2);
}

TEST(CameraStreamTest, FramesComeNoSoonerThanTheSensorReadsThem) {
    using std::chrono::microseconds;
    struct Case {
        microseconds rowTime;
        std::uint32_t exposureLines;
        microseconds frameTime;  // the longer of 48 rows and the exposure
    };
    const Case cases[] = {
        {microseconds(500), 0, microseconds(24000)},
        {microseconds(500), 120, microseconds(60000)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.exposureLines);
        FrameLog log;  // outlives the camera's display thread
        Opened c;
        c.Camera().SetFrameCallBack(&FrameLog::Take, &log);
        ASSERT_EQ(c.Camera().LiveStart(), 0);
        c.camera.SetRowTime(k.rowTime);
        SimulatedCamera::StreamFrame frame = c.Frame();
        frame.exposureLines = k.exposureLines;
        const auto start = std::chrono::steady_clock::now();
        std::vector<Bytes> sent;
        for (int i = 0; i < 3; ++i) sent.push_back(c.camera.SendFrame(frame));
        ASSERT_TRUE(log.WaitFor(3));
        // The first frame goes at once, each later one a frame time after it.
        EXPECT_GE(std::chrono::steady_clock::now() - start, 2 * k.frameTime);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(log.frames[i].pixels, sent[i]);
    }
}

TEST(CameraStreamTest, AFrameStoppedWhileItWaitsForTheSensorIsNeverSent) {
    FrameLog log;  // outlives the camera's display thread
    Opened c;
    c.Camera().SetFrameCallBack(&FrameLog::Take, &log);
    ASSERT_EQ(c.Camera().LiveStart(), 0);
    c.camera.SetRowTime(std::chrono::seconds(1));
    const Bytes first = c.camera.SendFrame(c.Frame());
    EXPECT_TRUE(c.camera.SendFrame(c.Frame(), {}, [] { return true; }).empty());
    c.camera.SetRowTime(std::chrono::nanoseconds::zero());
    const Bytes next = c.camera.SendFrame(c.Frame());
    ASSERT_TRUE(log.WaitFor(2));
    EXPECT_EQ(log.frames[0].pixels, first);
    EXPECT_EQ(log.frames[1].pixels, next);
    EXPECT_NE(next, first);
}

TEST(CameraStreamTest, AFrameOfAnotherSizeIsDroppedAndCounted) {
    FrameLog log;  // outlives the camera's display thread
    Opened c;
    c.Camera().SetFrameCallBack(&FrameLog::Take, &log);
    ASSERT_EQ(c.Camera().LiveStart(), 0);
    (void)c.camera.SendFrame(c.Frame(32, 32));
    (void)c.camera.SendFrame(c.Frame(64, 50));
    const Bytes good = c.camera.SendFrame(c.Frame());
    ASSERT_TRUE(log.WaitFor(1));
    EXPECT_EQ(c.Camera().DroppedFrames(), 2u);
    ASSERT_EQ(log.frames.size(), 1u);
    EXPECT_EQ(log.frames[0].pixels, good);
}

TEST(CameraStreamTest, ARegionIsCroppedForTheCallbackAndWrittenBack) {
    FrameLog log;  // outlives the camera's display thread
    Opened c;
    log.change = [](std::uint8_t* pixels, const FrameInfo& info) {
        std::fill_n(pixels, info.width * info.height, std::uint8_t{0xAB});
    };
    c.Camera().SetFrameCallBack(&FrameLog::Take, &log);
    EXPECT_EQ(c.Camera().MCResolutionShow(true), 0);
    EXPECT_EQ(c.Camera().SetMCResolution(8, 4, 16, 10), 0);
    ASSERT_EQ(c.Camera().LiveStart(), 0);
    const Bytes sent = c.camera.SendFrame(c.Frame());
    ASSERT_TRUE(log.WaitFor(1));
    EXPECT_EQ(log.frames[0].info.width, 16);
    EXPECT_EQ(log.frames[0].info.height, 10);
    Bytes expectedRegion;
    for (int y = 4; y < 14; ++y) {
        expectedRegion.insert(expectedRegion.end(), sent.begin() + y * 64 + 8, sent.begin() + y * 64 + 24);
    }
    EXPECT_EQ(log.frames[0].pixels, expectedRegion);

    // The whole picture now carries the changed region and nothing else.
    ASSERT_EQ(c.Camera().LiveStop(), 0);
    EXPECT_EQ(c.Camera().MCResolutionShow(false), 0);
    Bytes whole(64 * 48);
    ASSERT_EQ(c.Camera().GetFrame(whole.data()), 0);
    Bytes expected = sent;
    for (int y = 4; y < 14; ++y) std::fill_n(expected.begin() + y * 64 + 8, 16, std::uint8_t{0xAB});
    EXPECT_EQ(whole, expected);
}

TEST(CameraStreamTest, ARegionOutsideThePictureIsRefusedAndResetToTheWholePicture) {
    Opened c;
    EXPECT_EQ(c.Camera().SetMCResolution(2, 2, 10, 10), 0);
    EXPECT_EQ(c.Camera().SetMCResolution(0, 0, 65, 10), 20);
    std::int32_t x = -1, y = -1, w = -1, h = -1;
    EXPECT_EQ(c.Camera().GetMCResolution(x, y, w, h), 0);
    EXPECT_EQ(std::vector<std::int32_t>({x, y, w, h}), (std::vector<std::int32_t>{0, 0, 64, 48}));
    for (const auto& [rx, ry, rw, rh] : {std::array{-1, 0, 4, 4}, std::array{0, -1, 4, 4}, std::array{0, 0, 0, 4},
                                         std::array{0, 0, 4, 0}, std::array{60, 0, 5, 4}, std::array{0, 40, 4, 9}}) {
        EXPECT_EQ(c.Camera().SetMCResolution(rx, ry, rw, rh), 20) << rx << "," << ry << "," << rw << "," << rh;
    }
}

// A region is given in the output as the sensor delivers it, checked
// against that size before any quarter turn, and the callback receives the
// same piece of the scene flipped or turned with the picture.
TEST(CameraStreamTest, ARegionFollowsTheSceneThroughFlipsAndTurns) {
    // Wider than a turned 64 x 48 picture is, inside the unturned output.
    const PictureRegion given{40, 4, 20, 10};
    for (int flip = 0; flip <= 5; ++flip) {
        SCOPED_TRACE(flip);
        OneCamera c("Gige-Ostrel");  // flips and turns in the library
        ASSERT_EQ(c.Camera().InitCamera(nullptr), 0);
        ASSERT_EQ(c.Camera().SetResolution(64, 48), 0);
        ASSERT_EQ(c.Camera().SetColorMode(3), 0);
        ASSERT_EQ(c.Camera().SetFlipMode(flip), 0);
        FrameLog log;
        c.Camera().SetFrameCallBack(&FrameLog::Take, &log);
        ASSERT_EQ(c.Camera().MCResolutionShow(true), 0);
        ASSERT_EQ(c.Camera().SetMCResolution(given.x, given.y, given.width, given.height), 0);
        ASSERT_EQ(c.Camera().LiveStart(), 0);
        const Bytes sent = c.camera.SendFrame({64, 48, standin::kMono8});
        ASSERT_TRUE(log.WaitFor(1));
        ASSERT_EQ(c.Camera().LiveStop(), 0);

        Bytes scene;
        for (int y = given.y; y < given.y + given.height; ++y) {
            scene.insert(scene.end(), sent.begin() + y * 64 + given.x, sent.begin() + y * 64 + given.x + given.width);
        }
        Bytes expected(scene.size());
        const FrameSize sceneSize{given.width, given.height};
        if (IsQuarterTurn(flip)) {
            ASSERT_TRUE(TurnFrame(flip, sceneSize, 1, scene, expected));
        } else {
            ASSERT_TRUE(FlipFrame(flip, sceneSize, 1, scene, expected));
        }
        const bool turned = IsQuarterTurn(flip);
        EXPECT_EQ(log.frames[0].info.width, turned ? given.height : given.width);
        EXPECT_EQ(log.frames[0].info.height, turned ? given.width : given.height);
        EXPECT_EQ(log.frames[0].pixels, expected);
        // GetFrame hands out the same piece.
        Bytes got(expected.size());
        ASSERT_EQ(c.Camera().GetFrame(got.data()), 0);
        EXPECT_EQ(got, expected);
    }
}

// Fast capture: the CMOS family leaves its frames to GetFrame, the other
// families go on showing them; either way each GetFrame hands out the
// picture its own soft trigger produced, never an older one or the fill.
TEST(CameraFastCaptureTest, GetFrameHandsOutTheFrameItsTriggerProduced) {
    const struct Case {
        const char* model;
        bool shown;  // frames reach the frame callback
    } cases[] = {{"Gige-CMOSNavelo", false}, {"Gige-Ostrel", true}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.model);
        OneCamera c(k.model);
        std::mutex lock;
        Bytes triggered;
        c.camera.OnSoftTrigger([&] {
            Bytes sent = c.camera.SendFrame({64, 48, standin::kMono8});
            std::lock_guard guard(lock);
            triggered = std::move(sent);
        });
        ASSERT_EQ(c.Camera().InitCamera(nullptr), 0);
        ASSERT_EQ(c.Camera().SetResolution(64, 48), 0);
        ASSERT_EQ(c.Camera().SetColorMode(3), 0);
        FrameLog log;
        c.Camera().SetFrameCallBack(&FrameLog::Take, &log);
        ASSERT_EQ(c.Camera().CapFastMode(true), 0);
        Bytes previous;
        for (int i = 0; i < 2; ++i) {
            Bytes got(64 * 48);
            ASSERT_EQ(c.Camera().GetFrame(got.data()), 0);
            std::lock_guard guard(lock);
            EXPECT_EQ(got, triggered) << "GetFrame " << i;
            EXPECT_NE(got, previous);
            previous = got;
        }
        if (k.shown) {
            EXPECT_TRUE(log.WaitFor(2));
        } else {
            std::lock_guard guard(log.lock);
            EXPECT_TRUE(log.frames.empty());
        }
        EXPECT_EQ(c.Camera().LiveStop(), 0);
        EXPECT_EQ(c.Camera().CapFastMode(false), 0);
    }
}

// Trigger callbacks that hold their worker until released.
struct HeldWorkers {
    static void KQ_STDCALL Take(std::uint8_t*, FrameInfo*, void* user) {
        auto& self = *static_cast<HeldWorkers*>(user);
        std::unique_lock guard(self.lock);
        ++self.entered;
        self.changed.notify_all();
        self.changed.wait(guard, [&] { return self.released; });
    }
    bool WaitEntered(int count) {
        std::unique_lock guard(lock);
        return changed.wait_for(guard, std::chrono::seconds(10), [&] { return entered >= count; });
    }
    void Release() {
        std::lock_guard guard(lock);
        released = true;
        changed.notify_all();
    }
    std::mutex lock;
    std::condition_variable changed;
    int entered = 0;
    bool released = false;
};

TEST(CameraSnapshotTest, TwelveTriggeredFramesRunElevenWorkers) {
    Opened c;
    HeldWorkers held;
    c.Camera().SetTriggerState(true, &HeldWorkers::Take, &held);
    Bytes frame(1464 + 64 * 48, 7);
    const DeliveredFrame delivered{frame, kPort, true};
    for (int i = 0; i < 11; ++i) c.Camera().StartSnapshot(delivered);
    ASSERT_TRUE(held.WaitEntered(11));
    EXPECT_EQ(c.Camera().RunningSnapshotWorkers(), 11);
    c.Camera().StartSnapshot(delivered);
    EXPECT_EQ(c.Camera().RunningSnapshotWorkers(), 11);
    held.Release();
    // Closing waits for every worker before the snapshot buffer goes.
    EXPECT_EQ(c.Camera().UnInitCamera(), 0);
    EXPECT_EQ(c.Camera().RunningSnapshotWorkers(), 0);
    EXPECT_EQ(held.entered, 11);
}

TEST(CameraSnapshotTest, ATriggeredFrameOfAnotherSizeStartsNoWorker) {
    Opened c;
    HeldWorkers held;
    held.Release();
    c.Camera().SetTriggerState(true, &HeldWorkers::Take, &held);
    Bytes frame(1464 + 64 * 47);
    c.Camera().StartSnapshot({frame, kPort, true});
    EXPECT_EQ(c.Camera().UnInitCamera(), 0);
    EXPECT_EQ(held.entered, 0);
    EXPECT_EQ(c.Camera().DroppedFrames(), 1u);
}

TEST(CameraStreamTest, ClosingWhileStreamingEndsEveryThread) {
    FrameLog log;  // outlives the camera's display thread
    Opened c;
    c.Camera().SetFrameCallBack(&FrameLog::Take, &log);
    ASSERT_EQ(c.Camera().LiveStart(), 0);
    for (int i = 0; i < 3; ++i) (void)c.camera.SendFrame(c.Frame());
    ASSERT_TRUE(log.WaitFor(1));
    EXPECT_EQ(c.Camera().UnInitCamera(), 0);
    EXPECT_FALSE(c.Camera().Streaming());
    EXPECT_FALSE(c.nic.Receiving());
    const auto tail = c.NewCommands();
    ASSERT_GE(tail.size(), 2u);
    EXPECT_EQ(tail.back(), Wr(0x0A00, 0));
}

// Packets lost, repeated and swapped on the link at set rates: every frame
// sent is delivered whole, or dropped and counted, or never started (its
// leader lost); no frame reaches the callback torn, and the stream goes on.
TEST(CameraStreamTest, AFaultyLinkDropsAndCountsIncompleteFramesAndNeverDeliversATornOne) {
    struct Case {
        const char* what;
        standin::FaultyStream::Rates rates;
    };
    const Case cases[] = {
        {"lost", {0.03, 0, 0}},
        {"repeated", {0, 0.03, 0}},
        {"swapped", {0, 0, 0.03}},
        {"all three", {0.02, 0.02, 0.02}},
    };
    constexpr int kFaultyFrames = 300;
    constexpr int kCleanFrames = 3;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        FrameLog log;  // outlives the camera's display thread
        Opened c;
        c.Camera().SetFrameCallBack(&FrameLog::Take, &log);
        ASSERT_EQ(c.Camera().LiveStart(), 0);
        standin::FaultyStream link(c.driver, test.rates, 50);
        c.camera.StreamTo(link);
        std::vector<Bytes> sent;
        for (int i = 0; i < kFaultyFrames; ++i) sent.push_back(c.camera.SendFrame(c.Frame()));
        link.Flush();
        const auto faults = link.Faults();
        EXPECT_GT(faults.lost + faults.repeated + faults.swapped, 0u);

        // Clean frames after the faults: each reaches the callback.
        c.camera.StreamTo(c.driver);
        for (int i = 0; i < kCleanFrames; ++i) {
            sent.push_back(c.camera.SendFrame(c.Frame()));
            std::unique_lock guard(log.lock);
            EXPECT_TRUE(log.arrived.wait_for(guard, std::chrono::seconds(10), [&] {
                return !log.frames.empty() && log.frames.back().pixels == sent.back();
            })) << "the stream stopped after the faults";
        }

        const auto streamed = c.driver.Streamed().frames;
        EXPECT_EQ(streamed.delivered + streamed.incomplete + faults.lostLeaders,
                  static_cast<std::uint64_t>(kFaultyFrames + kCleanFrames));
        EXPECT_GT(streamed.delivered, static_cast<std::uint64_t>(kCleanFrames));
        // The display thread is stopped before the log is read: it takes
        // the log's lock for every frame it calls back.
        EXPECT_EQ(c.Camera().LiveStop(), 0);
        // Each frame called back is a sent frame, whole, in the order sent.
        std::lock_guard guard(log.lock);
        auto next = sent.begin();
        for (const auto& frame : log.frames) {
            next = std::find(next, sent.end(), frame.pixels);
            ASSERT_NE(next, sent.end()) << "a torn or out-of-order frame";
            ++next;
        }
    }
}

TEST(CameraRecordingTest, RecordingNeeds24BitsAndAStream) {
    FrameLog log;  // outlives the camera's display thread
    Opened c;
    const std::filesystem::path path = std::filesystem::path(::testing::TempDir()) / "gige_movie.avi";
    std::filesystem::remove(path);
    EXPECT_EQ(c.Camera().SetCapture(true, path, true), 17);  // kind 3 is 8 bits
    ASSERT_EQ(c.Camera().SetColorMode(1), 0);
    EXPECT_EQ(c.Camera().SetCapture(true, path, true), 33);
    EXPECT_EQ(c.Camera().SetCapture(false, {}, true), 33);

    c.Camera().SetFrameCallBack(&FrameLog::Take, &log);
    ASSERT_EQ(c.Camera().LiveStart(), 0);
    EXPECT_EQ(c.Camera().SetCapture(false, {}, true), 0);  // not recording: nothing to end
    ASSERT_EQ(c.Camera().SetCapture(true, path, true), 0);
    EXPECT_EQ(c.Camera().MCResolutionShow(true), 18);
    // A frame is recorded after its callback: once the fourth was called
    // back, the first three are in the file.
    for (int i = 0; i < 4; ++i) {
        (void)c.camera.SendFrame(c.Frame());
        ASSERT_TRUE(log.WaitFor(static_cast<std::size_t>(i + 1)));
    }
    EXPECT_EQ(c.Camera().SetCapture(false, {}, true), 0);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_GT(std::filesystem::file_size(path), 3u * 64 * 48 * 3);
    EXPECT_LT(std::filesystem::file_size(path), 5u * 64 * 48 * 3);
}

// A movie that cannot be made refuses the start and leaves no file; the
// camera goes on streaming, not recording.
TEST(CameraRecordingTest, AMovieThatCannotBeMadeRefusesTheStart) {
    Opened c;
    ASSERT_EQ(c.Camera().SetColorMode(1), 0);
    FrameLog log;
    c.Camera().SetFrameCallBack(&FrameLog::Take, &log);
    ASSERT_EQ(c.Camera().LiveStart(), 0);
    const std::filesystem::path path = std::filesystem::path(::testing::TempDir()) / "no_such_folder" / "movie.avi";
    EXPECT_EQ(c.Camera().SetCapture(true, path, true), 17);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(c.Camera().MCResolutionShow(false), 0) << "still locked as if recording";
    EXPECT_EQ(c.Camera().SetCapture(false, {}, true), 0);
}

#if !defined(_WIN32)
// The file system refuses the movie's bytes past a limit, as a full disk
// does, until the test ends.
struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) {
        previousSignal = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limited = previous;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousSignal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    rlimit previous{};
    void (*previousSignal)(int) = nullptr;
};

// A write that fails ends the recording: the camera is no longer recording
// (its region unlocked), the stop call reports the failure once, and a new
// recording can start.
TEST(CameraRecordingTest, AFailedWriteEndsTheRecordingAndTheStopReportsIt) {
    Opened c;
    ASSERT_EQ(c.Camera().SetColorMode(1), 0);
    FrameLog log;
    c.Camera().SetFrameCallBack(&FrameLog::Take, &log);
    ASSERT_EQ(c.Camera().LiveStart(), 0);
    const std::filesystem::path path = std::filesystem::path(::testing::TempDir()) / "gige_full_disk.avi";
    std::filesystem::remove(path);
    {
        // Room for the headers and two frames.
        FileSizeLimit limit(16384 + 2 * (64 * 48 * 3 + 8));
        ASSERT_EQ(c.Camera().SetCapture(true, path, true), 0);
        for (int i = 0; i < 6; ++i) {
            (void)c.camera.SendFrame(c.Frame());
            ASSERT_TRUE(log.WaitFor(static_cast<std::size_t>(i + 1)));
        }
        // The frame after the sixth callback is recorded once the seventh is called back.
        (void)c.camera.SendFrame(c.Frame());
        ASSERT_TRUE(log.WaitFor(7));
        EXPECT_EQ(c.Camera().MCResolutionShow(false), 0) << "the recording still seems to run";
    }
    EXPECT_EQ(c.Camera().SetCapture(false, {}, true), 17);
    EXPECT_EQ(c.Camera().SetCapture(false, {}, true), 0);
    EXPECT_EQ(c.Camera().SetCapture(true, path, true), 0);
    EXPECT_EQ(c.Camera().SetCapture(false, {}, true), 0);
}
#endif

// One common register operation: registers set first, the call, its
// result and the commands the camera received.
struct RegisterCase {
    const char* name;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> preset;
    std::function<std::int32_t(GigECameraBase&)> call;
    std::int32_t result;
    std::vector<Command> commands;
};

TEST(CameraRegisterTest, CommonOperationsWriteTheirRegisters) {
    const std::vector<RegisterCase> cases = {
        {"trigger off",
         {{0xF0005100, 0x0F}},
         [](auto& c) { return c.SetTriggerMode(0); },
         0,
         {Rd(0xF0005100), Wr(0xF0005100, 0)}},
        {"trigger 1",
         {{0xF0005100, 0x0C}},
         [](auto& c) { return c.SetTriggerMode(1); },
         0,
         {Rd(0xF0005100), Wr(0xF0005100, 0x0F)}},
        {"trigger 2",
         {{0xF0005100, 0x0E}},
         [](auto& c) { return c.SetTriggerMode(2); },
         0,
         {Rd(0xF0005100), Wr(0xF0005100, 0x0D)}},
        {"trigger 3", {}, [](auto& c) { return c.SetTriggerMode(3); }, 20, {}},
        {"trigger read 2",
         {{0xF0005100, 0x06}},
         [](auto& c) {
             std::int32_t m = 9;
             return c.GetTriggerMode(m);
         },
         20,
         {Rd(0xF0005100)}},
        {"delay", {}, [](auto& c) { return c.SetPackageDelayTime(7); }, 0, {Wr(0x0D08, 7)}},
        {"negative delay", {}, [](auto& c) { return c.SetPackageDelayTime(-1); }, 20, {}},
        {"watchdog on",
         {{0x0954, 5}},
         [](auto& c) { return c.SetWatchdogState(true); },
         0,
         {Rd(0x0954), Wr(0x0954, 0x80000005)}},
        {"watchdog off",
         {{0x0954, 0x80000005}},
         [](auto& c) { return c.SetWatchdogState(false); },
         0,
         {Rd(0x0954), Wr(0x0954, 5)}},
        {"io line 2", {}, [](auto& c) { return c.SetIO(2, 1); }, 0, {Wr(0xF0005700, 4)}},
        {"io line 3", {}, [](auto& c) { return c.SetIO(3, 1); }, 20, {}},
        {"io level 2", {}, [](auto& c) { return c.SetIO(0, 2); }, 20, {}},
        {"io read line 2",
         {},
         [](auto& c) {
             std::uint32_t level = 0;
             return c.GetIO(2, level);
         },
         20,
         {}},
        {"trigger delay", {}, [](auto& c) { return c.SetTriggerDelayTime(9); }, 0, {Wr(0xF0005200, 9)}},
        {"soft trigger", {}, [](auto& c) { return c.SoftTrigger(); }, 0, {Wr(0xF0005300, 1)}},
        {"dhcp on", {}, [](auto& c) { return c.SetDhcpEnable(true); }, 0, {Wr(0x0014, 3)}},
        {"dhcp off", {}, [](auto& c) { return c.SetDhcpEnable(false); }, 0, {Wr(0x0014, 5)}},
        {"mac", {}, [](auto& c) { return c.SetMacAddr(0x1234); }, 0, {Wr(0xF0004100, 0x1234)}},
        {"write register", {}, [](auto& c) { return c.WriteRegister(0x0100, 0xA5); }, 0, {Wr(0x0100, 0xA5)}},
    };
    Opened c;
    for (const RegisterCase& rc : cases) {
        SCOPED_TRACE(rc.name);
        for (const auto& [address, value] : rc.preset) c.camera.SetRegister(address, value);
        EXPECT_EQ(rc.call(c.Camera()), rc.result);
        EXPECT_EQ(c.NewCommands(), rc.commands);
    }
}

TEST(CameraRegisterTest, ReadsGiveTheirFields) {
    Opened c;
    c.camera.SetRegister(0xF0005100, 0x03);
    c.camera.SetRegister(0x0954, 0x80000000);
    c.camera.SetRegister(0xF0005800, 0x02);
    std::int32_t mode = -1, on = -1;
    std::uint32_t line0 = 9, line1 = 9;
    EXPECT_EQ(c.Camera().GetTriggerMode(mode), 0);
    EXPECT_EQ(mode, 1);
    c.camera.SetRegister(0xF0005100, 0x01);
    EXPECT_EQ(c.Camera().GetTriggerMode(mode), 0);
    EXPECT_EQ(mode, 2);
    EXPECT_EQ(c.Camera().GetWatchdogState(on), 0);
    EXPECT_EQ(on, 1);
    EXPECT_EQ(c.Camera().GetIO(0, line0), 0);
    EXPECT_EQ(c.Camera().GetIO(1, line1), 0);
    EXPECT_EQ(std::pair(line0, line1), std::pair(0u, 1u));
}

TEST(CameraRegisterTest, RegisterOperationsOfAnUnopenedCameraAnswer48AndSendNothing) {
    OneCamera c(kDefaultModel);
    std::int32_t value = 0;
    std::uint32_t level = 0;
    GigECameraBase& cam = c.Camera();
    for (const std::int32_t result :
         {cam.SetTriggerMode(1), cam.GetTriggerMode(value), cam.SetPackageDelayTime(1), cam.GetPackageDelayTime(value),
          cam.SetWatchdogState(true), cam.GetWatchdogState(value), cam.SetIO(0, 1), cam.GetIO(0, level),
          cam.SetTriggerDelayTime(1), cam.SoftTrigger(), cam.SetExposure(10), cam.SetGain_A(4), cam.SetFlipMode(1)}) {
        EXPECT_EQ(result, 48);
    }
    EXPECT_TRUE(c.NewCommands().empty());
}

TEST(CameraSettingsTest, PacketSizeIsLoweredToAMultipleOfFourWithinItsRange) {
    struct Case {
        std::int32_t size, result;
        std::uint16_t stored, payload;
    };
    // One after the other: a refused size leaves the one before.
    OneCamera c(kDefaultModel);
    for (const Case& k : {Case{1499, 20, 1500, 1464}, Case{8001, 20, 1500, 1464}, Case{1503, 0, 1500, 1464},
                          Case{1506, 0, 1504, 1468}, Case{8000, 0, 8000, 7964}, Case{1499, 20, 8000, 7964}}) {
        EXPECT_EQ(c.Camera().SetPackageSize(k.size), k.result) << k.size;
        EXPECT_EQ(c.Camera().GetPackageSize(), k.stored) << k.size;
        EXPECT_EQ(c.Camera().PayloadBytes(), k.payload) << k.size;
    }
}

TEST(CameraSettingsTest, SoftwareSettingsAreClampedOrKept) {
    OneCamera c(kDefaultModel);
    std::int32_t v = 0;
    c.Camera().SetSaturation(0);
    c.Camera().GetSaturation(v);
    EXPECT_EQ(v, 1);
    c.Camera().SetSaturation(40);
    c.Camera().GetSaturation(v);
    EXPECT_EQ(v, 16);
    c.Camera().SetSharpness(12);
    c.Camera().GetSharpness(v);
    EXPECT_EQ(v, 8);
    EXPECT_EQ(c.Camera().SetContrast(20), 0);
    EXPECT_EQ(c.Camera().SetContrast(64), 0);
    EXPECT_EQ(c.Camera().Contrast(), 20);
}

TEST(CameraSettingsTest, InfoTurnsTheAddressesToHostOrder) {
    OneCamera c(kDefaultModel);
    std::array<std::uint8_t, kDiscoveryRecordBytes> info{};
    ASSERT_EQ(c.Camera().GetCameraInfo(info), 0);
    // Camera 0 is 192.168.1.100 on the wire.
    EXPECT_EQ(std::vector<std::uint8_t>(info.begin() + 36, info.begin() + 40),
              (std::vector<std::uint8_t>{100, 1, 168, 192}));
    std::int32_t code = -1;
    EXPECT_EQ(c.Camera().GetCameraType(code), 19);
    EXPECT_EQ(code, 0);
    std::uint16_t port = 0;
    EXPECT_EQ(c.Camera().GetCameraPort(port), 0);
    EXPECT_EQ(port, kPort);
}

TEST(CameraSettingsTest, APortChangeGoesThroughTheRegistry) {
    OneCamera c(kDefaultModel);
    EXPECT_EQ(c.Camera().ResetCameraPort(0, c.registry), 20);
    EXPECT_EQ(c.Camera().ResetCameraPort(60000, c.registry), 0);
    std::uint16_t port = 0;
    c.Camera().GetCameraPort(port);
    EXPECT_EQ(port, 60000);
    EXPECT_EQ(c.registry.FindByPort(60000), &c.Camera());
    EXPECT_EQ(c.Camera().ResetCameraPort(60000, c.registry), 0);

    // A port the registry refuses gives its code, and the camera keeps its
    // port: here the registry no longer lists the camera's port (16).
    ASSERT_EQ(c.registry.ChangePort(60000, 60001), 0);
    EXPECT_EQ(c.Camera().ResetCameraPort(60002, c.registry), 16);
    c.Camera().GetCameraPort(port);
    EXPECT_EQ(port, 60000);
    EXPECT_EQ(c.registry.FindByPort(60002), nullptr);
}

}  // namespace
}  // namespace kqge
