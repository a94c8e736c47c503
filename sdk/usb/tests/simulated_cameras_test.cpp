// The simulated-camera build's world, natively: cameras from a configuration
// open as their models through the library, stream the driver core's moving
// pattern, leave and come back as the system would report it, and give way
// to other cameras only while none is open.

#include <gtest/gtest.h>

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
    EXPECT_EQ(Call(handle, [&](BaseDevice& d) { return d.GetIO(io); }), status::kNoDevice);
    EXPECT_EQ(Call(other, [&](BaseDevice& d) { return d.GetIO(io); }), status::kSuccess) << "only camera 1 left";
    EXPECT_EQ(world.OpenConnections(), 1);

    ASSERT_EQ(world.Replug(1), SimStatus::ok);
    EXPECT_EQ((events.seen), (std::vector<int>{0, 1}));
    EXPECT_EQ(Call(handle, [&](BaseDevice& d) { return d.GetIO(io); }), status::kSuccess);
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
