#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "sim_fixture.h"
#include "kqff_protocol.h"

namespace kq::test {
namespace {

struct EventLog {
    std::vector<std::pair<std::int32_t, void*>> events;
};

void KQ_STDCALL RecordEvent(std::int32_t event, void* handle, void* context) {
    static_cast<EventLog*>(context)->events.emplace_back(event, handle);
}

// Counts delivered frames; tests wait for a count with a bounded wait.
struct FrameCounter {
    std::mutex lock;
    std::condition_variable arrived;
    int frames = 0;

    static int KQ_STDCALL OnFrame(std::uint8_t*, std::int32_t, void* context) {
        auto* self = static_cast<FrameCounter*>(context);
        std::lock_guard<std::mutex> hold(self->lock);
        ++self->frames;
        self->arrived.notify_all();
        return 0;
    }
    int Count() {
        std::lock_guard<std::mutex> hold(lock);
        return frames;
    }
    bool WaitFor(int count) {
        std::unique_lock<std::mutex> hold(lock);
        return arrived.wait_for(hold, std::chrono::seconds(10), [&] { return frames >= count; });
    }
};

class HotPlug : public LibraryTest {
protected:
    void SetUp() override {
        camera = bus.AddCamera(InstanceId(u"VID_F5A1&PID_0301"));
        handle = Open(1);
        library.WithDevice(handle, [&](BaseDevice& d) { return d.SetDeviceEvent(RecordEvent, &log); });
    }
    template <class Op>
    int On(Op&& op) {
        return library.WithDevice(handle, [&](BaseDevice& d) { return op(d); });
    }
    void* HandleValue() const { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(handle)); }

    std::size_t camera = 0;
    std::uint32_t handle = 0;
    EventLog log;
};

TEST_F(HotPlug, RemovalReportsOnceAndCameraOperationsSayNoDevice) {
    bus.Unplug(camera);
    EXPECT_EQ(library.DeviceRemoved(handle), status::kSuccess);
    EXPECT_EQ(library.DeviceRemoved(handle), 1);  // already marked
    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_EQ(log.events[0], std::make_pair(0, HandleValue()));
    EXPECT_EQ(library.RemovedDeviceCount(), 1);
    EXPECT_EQ(bus.OpenConnections(), 0);

    const CapInfo r = SmallWindow();
    EXPECT_EQ(library.WithDevice(handle, [&](BaseDevice& d) { return d.SetCapInfo(r); }), status::kNoDevice);
    EXPECT_EQ(library.WithDevice(handle, [](BaseDevice& d) { return d.SetHBlank(30); }), status::kNoDevice);
    EXPECT_EQ(library.WithDevice(handle, [](BaseDevice& d) { return d.SetIO(1); }), status::kNoDevice);
    EXPECT_EQ(library.WithDevice(handle, [](BaseDevice& d) { return d.SoftTrigger(); }), status::kNoDevice);
    // The handle stays the caller's: it still finds the device and closes it.
    std::uint16_t id = 0;
    EXPECT_EQ(library.GetDeviceID(handle, &id), status::kSuccess);
    EXPECT_EQ(library.Uninitialize(handle), status::kSuccess);
    EXPECT_EQ(library.RemovedDeviceCount(), 0);
}

TEST_F(HotPlug, ReArrivalReopensAndResendsTheFormat) {
    CapInfo r = SmallWindow();
    r.columnStart = 64;
    library.WithDevice(handle, [&](BaseDevice& d) { return d.SetCapInfo(r); });
    const auto before = bus.LogOf(kqff::kIoctlSetFormat).back().input;
    bus.Unplug(camera);
    ASSERT_EQ(library.DeviceRemoved(handle), status::kSuccess);

    CameraInterface other = bus.InterfaceOf(camera);
    other.instanceId = u"USB\\VID_F5A1&PID_0302\\X";
    EXPECT_EQ(library.DeviceArrived(handle, other), status::kRefused);

    bus.Replug(camera);
    bus.ClearLog();
    CameraInterface back = bus.InterfaceOf(camera);
    for (auto& c : back.instanceId) c = (c >= u'A' && c <= u'Z') ? c - u'A' + u'a' : c;  // case differs
    ASSERT_EQ(library.DeviceArrived(handle, back), status::kSuccess);
    ASSERT_EQ(bus.LogOf(kqff::kIoctlSetFormat).size(), 1u);
    EXPECT_EQ(bus.LogOf(kqff::kIoctlSetFormat)[0].input, before);
    ASSERT_EQ(log.events.size(), 2u);
    EXPECT_EQ(log.events[1], std::make_pair(1, HandleValue()));
    EXPECT_EQ(library.RemovedDeviceCount(), 0);
    EXPECT_EQ(library.WithDevice(handle, [](BaseDevice& d) { return d.SetIO(1); }), status::kSuccess);
    EXPECT_EQ(library.DeviceArrived(handle, back), status::kRefused);  // not removed now
}

TEST_F(HotPlug, ReArrivalStartsCaptureAgainWhenItWasRunning) {
    enum class Running { no, streaming, fastMode };
    struct Case {
        const char* name;
        Running running;
        std::size_t startsAfterArrival;
    };
    FrameCounter counter;
    On([&](BaseDevice& d) { return d.SetFrameCallBack(FrameCounter::OnFrame, &counter); });
    for (const Case& c : {Case{"stopped", Running::no, 0}, Case{"streaming", Running::streaming, 1},
                          Case{"fast mode", Running::fastMode, 1}}) {
        SCOPED_TRACE(c.name);
        if (c.running == Running::streaming) {
            ASSERT_EQ(On([](BaseDevice& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
            ASSERT_TRUE(counter.WaitFor(counter.Count() + 1));
        } else if (c.running == Running::fastMode) {
            ASSERT_EQ(On([](BaseDevice& d) { return d.CapFastMode(true); }), status::kSuccess);
        }
        bus.Unplug(camera);
        ASSERT_EQ(library.DeviceRemoved(handle), status::kSuccess);
        EXPECT_EQ(On([](BaseDevice& d) { return d.Streaming() ? 1 : 0; }), c.running == Running::streaming ? 1 : 0)
            << "removal keeps the streaming flag";

        bus.Replug(camera);
        bus.ClearLog();
        ASSERT_EQ(library.DeviceArrived(handle, bus.InterfaceOf(camera)), status::kSuccess);
        EXPECT_EQ(bus.LogOf(kqff::kIoctlStartCapture).size(), c.startsAfterArrival);
        if (c.running == Running::streaming) {
            EXPECT_TRUE(counter.WaitFor(counter.Count() + 2)) << "frames flow again";
            EXPECT_EQ(On([](BaseDevice& d) { return d.StopView(); }), status::kSuccess);
        } else if (c.running == Running::fastMode) {
            EXPECT_EQ(On([](BaseDevice& d) { return d.CapFastMode(false); }), status::kSuccess);
        }
    }
}

}  // namespace
}  // namespace kq::test
