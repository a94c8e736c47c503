// The simulated-camera build's world, natively: cameras from a configuration
// open as their models through the library, stream the moving scene in the
// colours their Bayer phase gives it, leave and come back as the system
// would report it, and give way to other cameras only while none is open.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <iterator>
#include <string>
#include <vector>

#include "core/base_device.h"
#include "core/status_codes.h"
#include "simcam/simulated_cameras.h"
#include "kqff_protocol.h"

namespace kq::simcam {
namespace {

std::vector<SimulatedCamera> Cameras(std::string_view ini) {
    return ParseSimulatedCameras(std::vector<std::uint8_t>(ini.begin(), ini.end()));
}

CapInfo Window(std::uint32_t width, std::uint32_t height) {
    CapInfo r;
    r.width = width;
    r.height = height;
    r.exposure = 100;
    r.gain = {32, 32, 32};
    return r;
}

struct Events {
    std::vector<int> seen;
    static void KQ_STDCALL Record(std::int32_t event, void*, void* context) {
        static_cast<Events*>(context)->seen.push_back(event);
    }
};

class SimulatedCamerasTest : public ::testing::Test {
protected:
    std::uint32_t Open(int position, const CapInfo& window) {
        std::uint32_t handle = 0;
        std::int32_t index = position;
        EXPECT_EQ(world.Library().Initialize(&index, &window, &handle), status::kSuccess);
        return handle;
    }
    template <class Op>
    int Call(std::uint32_t handle, Op&& op) {
        return world.Library().WithDevice(handle, std::forward<Op>(op));
    }
    // One raw frame of the open window, grabbed as a snapshot is.
    int Grab(std::uint32_t handle, std::vector<std::uint8_t>& raw) {
        return Call(handle, [&](BaseDevice& d) {
            raw.assign(d.FrameBytes(), 0);
            return d.GrabFrame(raw.data(), false, [](const DeliveredFrame&) { return status::kSuccess; });
        });
    }

    SimulatedCameras world{
        Cameras("[Cameras]\nCount=2\n"
                "[Camera1]\nType=25\nName=Mono\n"
                "[Camera2]\nType=3\nWidth=320\nHeight=240\nName=Small sensor\n")};
};

TEST_F(SimulatedCamerasTest, CamerasOpenAsTheirModelsInConfigurationOrder) {
    const std::uint32_t first = Open(1, Window(640, 480));
    const std::uint32_t second = Open(2, Window(320, 240));
    std::int32_t total = 0;
    world.Library().GetTotalDeviceNum(&total);
    EXPECT_EQ(total, 2);
    Call(first, [](BaseDevice& d) {
        EXPECT_EQ(d.TypeCode(), 25);
        EXPECT_EQ(d.ColorType(), 1);
        return 0;
    });
    Call(second, [](BaseDevice& d) {
        EXPECT_EQ(d.TypeCode(), 3);
        std::array<char16_t, BaseDevice::kFriendlyNameChars> name{};
        d.GetFriendlyName(name);
        EXPECT_EQ(std::u16string(name.data()), u"Small sensor");
        return 0;
    });
    EXPECT_EQ(world.OpenConnections(), 2);
    EXPECT_EQ(world.Library().Uninitialize(first), status::kSuccess);
    EXPECT_EQ(world.Library().Uninitialize(second), status::kSuccess);
    EXPECT_EQ(world.OpenConnections(), 0);
}

TEST_F(SimulatedCamerasTest, FramesAreLiveAndAWindowPastTheSensorGetsNone) {
    const std::uint32_t handle = Open(2, Window(320, 240));
    std::vector<std::uint8_t> one, two;
    ASSERT_EQ(Grab(handle, one), status::kSuccess);
    ASSERT_EQ(Grab(handle, two), status::kSuccess);
    ASSERT_EQ(one.size(), 320u * 240u);
    EXPECT_NE(one, two) << "the pattern moves from frame to frame";

    ASSERT_EQ(Call(handle, [](BaseDevice& d) { return d.SetCapInfo(Window(640, 480)); }), status::kSuccess);
    std::vector<std::uint8_t> past;
    EXPECT_EQ(Grab(handle, past), status::kNoFrame) << "a 320 x 240 sensor sends short frames";
    EXPECT_EQ(world.Library().Uninitialize(handle), status::kSuccess);
}

// The hues of the eight bars, white to black: bit 2 red, bit 1 green, bit 0 blue.
constexpr int kBarHues[8] = {7, 6, 3, 2, 5, 4, 1, 0};

// The hues met along the bar rows of a delivered 24-bit picture, left to
// right, starting at white: runs of one clear hue at least kMinRun pixels
// long. The library's chroma clamp dims a blue that outshines red (to
// about 107 of 224), so a channel counts as on from 100.
std::vector<int> HueRuns(const DeliveredFrame& picture) {
    constexpr int kMinRun = 8;
    const int width = picture.size.width;
    const int row = picture.size.height / 2;  // bottom-up rows; the bars fill the upper three quarters
    const std::uint8_t* p = picture.pixels.data() + 3 * static_cast<std::size_t>(row) * width;
    std::vector<int> runs;
    int hue = -1, length = 0;
    for (int x = 0; x <= width; ++x, p += 3) {
        int here = -1;
        if (x < width) {
            here = 0;
            for (int channel = 0; channel < 3 && here >= 0; ++channel) {
                const int v = p[channel];  // blue, green, red
                if (v > 60 && v < 100)
                    here = -1;
                else if (v >= 100)
                    here |= 1 << channel;
            }
        }
        if (here == hue) {
            ++length;
            continue;
        }
        if (hue >= 0 && length >= kMinRun && (runs.empty() || runs.back() != hue)) runs.push_back(hue);
        hue = here;
        length = 1;
    }
    if (runs.size() > 1 && runs.front() == runs.back()) runs.pop_back();  // one bar across the wrap
    const auto white = std::find(runs.begin(), runs.end(), 7);
    if (white != runs.end()) std::rotate(runs.begin(), white, runs.end());
    return runs;
}

// Red and blue exchanged: what the kernels make of a sensor whose red and
// blue sites are each other's.
int RedForBlue(int hue) { return (hue & 2) | (hue & 4) >> 2 | (hue & 1) << 2; }

// Through the library's whole frame path with its default settings, over
// two frames (the bars have moved): a camera without a BayerPhase shows the
// bars in their colours; on a colour camera of type 10 (G B / R G) a GRBG
// sensor shows red and blue exchanged.
TEST(SimulatedScene, TheLibraryShowsTheBarsInTheirColoursWhenThePhaseIsItsOwn) {
    SimulatedCameras world{Cameras("[Cameras]\nCount=2\n[Camera1]\nType=10\n[Camera2]\nType=10\nBayerPhase=2\n")};
    const std::vector<int> bars(std::begin(kBarHues), std::end(kBarHues));
    std::vector<int> swapped;
    std::transform(bars.begin(), bars.end(), std::back_inserter(swapped), RedForBlue);
    for (const int camera : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "camera " << camera);
        std::uint32_t handle = 0;
        std::int32_t index = camera;
        const CapInfo window = Window(640, 480);
        ASSERT_EQ(world.Library().Initialize(&index, &window, &handle), status::kSuccess);
        for (int frame = 0; frame < 2; ++frame) {
            std::vector<int> runs;
            const int grabbed = world.Library().WithDevice(handle, [&](BaseDevice& d) {
                std::vector<std::uint8_t> raw(d.FrameBytes());
                return d.GrabFrame(raw.data(), true, [&](const DeliveredFrame& picture) {
                    EXPECT_EQ(picture.bitsPerPixel, 24);
                    runs = HueRuns(picture);
                    return status::kSuccess;
                });
            });
            EXPECT_EQ(grabbed, status::kSuccess);
            EXPECT_EQ(runs, camera == 1 ? bars : swapped) << "frame " << frame;
        }
        EXPECT_EQ(world.Library().Uninitialize(handle), status::kSuccess);
    }
}

// A frame takes the longer of its rows and its exposure lines at the file's
// row time, so grabbed frames come no sooner than that (a lower bound: the
// stream may only be slower).
TEST(SimulatedPace, FramesComeNoSoonerThanTheSensorReadsThem) {
    struct Case {
        const char* what;
        std::uint32_t exposureLines;
        std::chrono::milliseconds frameTime;
    };
    const Case cases[] = {
        {"the rows govern", 100, std::chrono::milliseconds(48)},        // 240 rows x 200 us
        {"the exposure governs", 600, std::chrono::milliseconds(120)},  // 600 lines x 200 us
    };
    SimulatedCameras world{Cameras("[Camera1]\nType=10\nWidth=320\nHeight=240\nRowTime=200\n")};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CapInfo window = Window(320, 240);
        window.exposure = c.exposureLines;
        std::uint32_t handle = 0;
        std::int32_t index = 1;
        ASSERT_EQ(world.Library().Initialize(&index, &window, &handle), status::kSuccess);
        constexpr int kFrames = 6;  // at most two may have been on their way before the clock starts
        const auto start = std::chrono::steady_clock::now();
        for (int frame = 0; frame < kFrames; ++frame) {
            const int grabbed = world.Library().WithDevice(handle, [](BaseDevice& d) {
                std::vector<std::uint8_t> raw(d.FrameBytes());
                return d.GrabFrame(raw.data(), false, [](const DeliveredFrame&) { return status::kSuccess; });
            });
            ASSERT_EQ(grabbed, status::kSuccess) << frame;
        }
        EXPECT_GE(std::chrono::steady_clock::now() - start, (kFrames - 3) * c.frameTime);
        EXPECT_EQ(world.Library().Uninitialize(handle), status::kSuccess);
    }
}

TEST_F(SimulatedCamerasTest, UnplugAndReplugReachTheOpenHandleAsSystemNotices) {
    const std::uint32_t handle = Open(1, Window(640, 480));
    const auto sentBefore = world.LastControlInput(kqff::kIoctlSetFormat);
    ASSERT_TRUE(sentBefore.has_value());
    const std::uint32_t other = Open(2, Window(320, 240));
    Events events;
    Call(handle, [&](BaseDevice& d) { return d.SetDeviceEvent(&Events::Record, &events); });

    ASSERT_EQ(world.Unplug(1), SimStatus::ok);
    EXPECT_EQ(events.seen, std::vector<int>{0});
    std::uint8_t io = 0;
    // Camera 1 (type 25) answers through its FPGA request blocks: the serial.
    std::array<std::uint8_t, 16> serial{};
    EXPECT_EQ(Call(handle, [&](BaseDevice& d) { return d.GetSerialNumber(serial); }), status::kNoDevice);
    EXPECT_EQ(Call(other, [&](BaseDevice& d) { return d.GetIO(io); }), status::kSuccess) << "only camera 1 left";
    EXPECT_EQ(world.OpenConnections(), 1);

    ASSERT_EQ(world.Replug(1), SimStatus::ok);
    EXPECT_EQ((events.seen), (std::vector<int>{0, 1}));
    EXPECT_EQ(Call(handle, [&](BaseDevice& d) { return d.GetSerialNumber(serial); }), status::kSuccess);
    EXPECT_EQ(world.LastControlInput(kqff::kIoctlSetFormat), sentBefore) << "reopened with its last record";
    EXPECT_EQ(world.OpenConnections(), 2);

    for (const int bad : {0, 3, -1}) {
        EXPECT_EQ(world.Unplug(bad), SimStatus::badCamera) << bad;
        EXPECT_EQ(world.Replug(bad), SimStatus::badCamera) << bad;
        EXPECT_EQ(world.FailOpen(bad, true), SimStatus::badCamera) << bad;
        EXPECT_EQ(world.SetReadBudget(bad, 1), SimStatus::badCamera) << bad;
    }
    EXPECT_EQ(world.Library().Uninitialize(handle), status::kSuccess);
    EXPECT_EQ(world.Library().Uninitialize(other), status::kSuccess);
}

TEST_F(SimulatedCamerasTest, OtherCamerasOnlyWhileNoneIsOpen) {
    const std::uint32_t handle = Open(1, Window(640, 480));
    EXPECT_EQ(world.Replace(DefaultSimulatedCameras()), SimStatus::busy);
    EXPECT_EQ(world.OpenConnections(), 1);
    EXPECT_EQ(world.Library().Uninitialize(handle), status::kSuccess);

    ASSERT_EQ(world.Replace(Cameras("[Cameras]\nCount=0\n")), SimStatus::ok);
    std::int32_t total = -1;
    world.Library().GetTotalDeviceNum(&total);
    EXPECT_EQ(total, 0) << "a fresh device table counts again";
    std::uint32_t none = 0;
    std::int32_t index = 1;
    const CapInfo window = Window(640, 480);
    EXPECT_EQ(world.Library().Initialize(&index, &window, &none), status::kNoDevice);
    EXPECT_FALSE(world.LastControlInput(kqff::kIoctlSetFormat).has_value()) << "a new bus has a new log";

    ASSERT_EQ(world.Replace(DefaultSimulatedCameras()), SimStatus::ok);
    const std::uint32_t fresh = Open(1, window);
    Call(fresh, [](BaseDevice& d) {
        EXPECT_EQ(d.TypeCode(), 10);
        return 0;
    });
    EXPECT_EQ(world.Library().Uninitialize(fresh), status::kSuccess);
}

TEST_F(SimulatedCamerasTest, FaultsReachTheLibrary) {
    ASSERT_EQ(world.FailOpen(2, true), SimStatus::ok);
    std::uint32_t handle = 0;
    std::int32_t index = 2;
    const CapInfo window = Window(320, 240);
    EXPECT_EQ(world.Library().Initialize(&index, &window, &handle), status::kNoDevice);
    ASSERT_EQ(world.FailOpen(2, false), SimStatus::ok);
    handle = Open(2, window);

    world.FailControl(kqff::kIoctlGetIo, 1);
    std::uint8_t io = 0;
    EXPECT_EQ(Call(handle, [&](BaseDevice& d) { return d.GetIO(io); }), status::kNoDevice);
    EXPECT_EQ(Call(handle, [&](BaseDevice& d) { return d.GetIO(io); }), status::kSuccess) << "once only";

    ASSERT_EQ(world.SetReadBudget(2, 0), SimStatus::ok);
    EXPECT_EQ(world.WaitForBlockedRead(2, std::chrono::milliseconds(0)), SimStatus::timedOut);
    ASSERT_EQ(Call(handle, [](BaseDevice& d) { return d.StartCapture(); }), status::kSuccess);
    EXPECT_EQ(world.WaitForBlockedRead(2, std::chrono::seconds(10)), SimStatus::ok);
    EXPECT_EQ(Call(handle, [](BaseDevice& d) { return d.StopCapture(); }), status::kSuccess);
    EXPECT_EQ(world.Library().Uninitialize(handle), status::kSuccess);
}

}  // namespace
}  // namespace kq::simcam
