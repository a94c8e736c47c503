// The library's sweeps over the present cameras: what a device-change or a
// power notice does to the table of open cameras.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "fpga_fixture.h"
#include "kqff_protocol.h"
#include "models/zundra_device.h"

namespace kq::test {
namespace {

using Event = std::pair<std::int32_t, std::uint32_t>;

struct EventLog {
    std::vector<Event> events;
    // Closes the camera from inside its removal callback when set.
    DeviceLibrary* closeOnRemoval = nullptr;
};

void KQ_STDCALL RecordEvent(std::int32_t event, void* handle, void* context) {
    auto* log = static_cast<EventLog*>(context);
    const auto token = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
    log->events.emplace_back(event, token);
    if (event == 0 && log->closeOnRemoval != nullptr) log->closeOnRemoval->Uninitialize(token);
}

class Sweeps : public FpgaTest {
protected:
    // Adds a camera of the base class and opens it; the events go to `log`.
    std::uint32_t AddAndOpen(int serial, EventLog& events) {
        const std::size_t camera = bus.AddCamera(InstanceId(u"VID_F5A1&PID_0301", serial));
        return OpenWithEvents(static_cast<std::int32_t>(camera + 1), events);
    }
    std::uint32_t OpenWithEvents(std::int32_t position, EventLog& events, const CapInfo& record = SmallWindow()) {
        const std::uint32_t handle = Open(position, record);
        library.WithDevice(handle, [&](BaseDevice& d) { return d.SetDeviceEvent(RecordEvent, &events); });
        return handle;
    }
    bool Removed(std::uint32_t handle) {
        return library.WithDevice(handle, [](BaseDevice& d) { return d.IsRemoved() ? 1 : 0; }) == 1;
    }
    std::vector<std::size_t> CamerasSent(std::uint32_t code) const {
        std::vector<std::size_t> cameras;
        for (const auto& r : bus.LogOf(code)) cameras.push_back(r.camera);
        return cameras;
    }
};

TEST_F(Sweeps, UnplugOneOfTwoRemovesOnlyItAndReplugBringsItBackAfterTheOtherClosed) {
    EventLog first, second;
    const std::uint32_t a = AddAndOpen(1, first);
    const std::uint32_t b = AddAndOpen(2, second);

    bus.Unplug(1);
    EXPECT_EQ(library.OnDevicesRemoved(), status::kSuccess);
    EXPECT_TRUE(first.events.empty());
    EXPECT_EQ(second.events, (std::vector<Event>{{0, b}}));
    EXPECT_FALSE(Removed(a));
    EXPECT_TRUE(Removed(b));
    EXPECT_EQ(library.RemovedDeviceCount(), 1);
    // A second sweep finds it marked already: no second report.
    EXPECT_EQ(library.OnDevicesRemoved(), status::kSuccess);
    EXPECT_EQ(second.events.size(), 1u);

    // The other camera closes: the removed one moves to the first place.
    ASSERT_EQ(library.Uninitialize(a), status::kSuccess);
    bus.Replug(1);
    bus.ClearLog();
    EXPECT_EQ(library.OnDevicesArrived(), status::kSuccess);
    EXPECT_EQ(second.events, (std::vector<Event>{{0, b}, {1, b}}));
    EXPECT_FALSE(Removed(b));
    EXPECT_EQ(library.RemovedDeviceCount(), 0);
    EXPECT_EQ(CamerasSent(kqff::kIoctlSetFormat), (std::vector<std::size_t>{1}));
    EXPECT_TRUE(first.events.empty());
}

TEST_F(Sweeps, AnArrivalWithNothingRemovedListsNothing) {
    EventLog events;
    AddAndOpen(1, events);
    const int listed = bus.Listings();
    EXPECT_EQ(library.OnDevicesArrived(), status::kRefused);
    EXPECT_EQ(bus.Listings(), listed);
    EXPECT_TRUE(events.events.empty());
}

TEST_F(Sweeps, SweepsWithoutOpenCamerasDoNothing) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0301"));
    EXPECT_EQ(library.OnDevicesRemoved(), status::kRefused);
    EXPECT_EQ(library.OnDevicesArrived(), status::kRefused);
    EXPECT_EQ(library.ResumeStreaming(), status::kSuccess);
    EXPECT_EQ(bus.Listings(), 0);
    EXPECT_TRUE(bus.Log().empty());
}

TEST_F(Sweeps, ResumeRestartsOnlyTheStreamingCameras) {
    EventLog first, second;
    const std::uint32_t a = AddAndOpen(1, first);
    AddAndOpen(2, second);
    ASSERT_EQ(library.WithDevice(a, [](BaseDevice& d) { return d.StartView(nullptr, {}); }), status::kSuccess);
    bus.ClearLog();
    EXPECT_EQ(library.ResumeStreaming(), status::kSuccess);
    EXPECT_EQ(CamerasSent(kqff::kIoctlStopCapture), (std::vector<std::size_t>{0}));
    EXPECT_EQ(CamerasSent(kqff::kIoctlStartCapture), (std::vector<std::size_t>{0}));
    EXPECT_EQ(library.WithDevice(a, [](BaseDevice& d) { return d.Streaming() ? 1 : 0; }), 1);
    library.WithDevice(a, [](BaseDevice& d) { return d.StopView(); });
}

TEST_F(Sweeps, EveryPresentInterfaceIsListedWithItsWholeId) {
    struct Case {
        const char* name;
        int others;            // cameras listed before the open one
        std::size_t idLength;  // of the open camera's instance id
    };
    for (const Case& c : {Case{"ninth of nine", 8, 20}, Case{"id of 300 characters", 0, 300}}) {
        SCOPED_TRACE(c.name);
        sim::SimulatedBus cameras;
        DeviceLibrary table(&cameras);
        for (int i = 0; i < c.others; ++i) cameras.AddCamera(InstanceId(u"VID_F5A1&PID_0301", i));
        std::u16string id = InstanceId(u"VID_F5A1&PID_0301", 9);
        id += std::u16string(c.idLength > id.size() ? c.idLength - id.size() : 0, u'7');
        cameras.AddCamera(id);
        std::uint32_t handle = 0;
        std::int32_t index = c.others + 1;
        const CapInfo record = SmallWindow();
        ASSERT_EQ(table.Initialize(&index, &record, &handle), status::kSuccess);
        const auto listed = table.ListPresentCameras();
        ASSERT_TRUE(listed.has_value());
        ASSERT_EQ(listed->size(), static_cast<std::size_t>(c.others + 1));
        EXPECT_EQ(listed->back().instanceId, id);

        EXPECT_EQ(table.OnDevicesRemoved(), status::kSuccess);
        EXPECT_EQ(table.RemovedDeviceCount(), 0);
        EXPECT_EQ(table.WithDevice(handle, [](BaseDevice& d) { return d.SetIO(1); }), status::kSuccess);
        table.Uninitialize(handle);
    }
}

TEST_F(Sweeps, AFailedListingChangesNothing) {
    EventLog events;
    const std::uint32_t handle = AddAndOpen(1, events);
    bus.Unplug(0);
    bus.FailListing(true);
    EXPECT_EQ(library.OnDevicesRemoved(), status::kEnumerationFailed);
    EXPECT_FALSE(Removed(handle));
    EXPECT_TRUE(events.events.empty());

    bus.FailListing(false);
    ASSERT_EQ(library.OnDevicesRemoved(), status::kSuccess);
    bus.Replug(0);
    bus.FailListing(true);
    EXPECT_EQ(library.OnDevicesArrived(), status::kEnumerationFailed);
    EXPECT_TRUE(Removed(handle));
    EXPECT_EQ(events.events, (std::vector<Event>{{0, handle}}));
}

TEST_F(Sweeps, ARemovalCallbackMayCloseItsCamera) {
    EventLog first, second;
    first.closeOnRemoval = &library;
    second.closeOnRemoval = &library;
    const std::uint32_t a = AddAndOpen(1, first);
    const std::uint32_t b = AddAndOpen(2, second);
    EventLog third;
    const std::uint32_t c = AddAndOpen(3, third);
    bus.Unplug(0);
    bus.Unplug(1);
    EXPECT_EQ(library.OnDevicesRemoved(), status::kSuccess);
    EXPECT_EQ(first.events, (std::vector<Event>{{0, a}}));
    EXPECT_EQ(second.events, (std::vector<Event>{{0, b}}));
    EXPECT_TRUE(third.events.empty());
    EXPECT_EQ(library.DeviceCount(), 1);
    EXPECT_EQ(library.RemovedDeviceCount(), 0);
    EXPECT_EQ(library.WithDevice(a, [](BaseDevice&) { return 0; }), status::kBadHandle);
    EXPECT_EQ(library.WithDevice(c, [](BaseDevice& d) { return d.SetIO(1); }), status::kSuccess);
}

TEST_F(Sweeps, AFailedReArrivalLeavesTheCameraRemoved) {
    struct Case {
        const char* name;
        bool failOpen;
        std::uint32_t failingCode;  // 0: none
    };
    EventLog events;
    const std::uint32_t handle = AddAndOpen(1, events);
    bus.Unplug(0);
    ASSERT_EQ(library.OnDevicesRemoved(), status::kSuccess);
    bus.Replug(0);
    for (const Case& c : {Case{"reopen fails", true, 0}, Case{"format send fails", false, kqff::kIoctlSetFormat}}) {
        SCOPED_TRACE(c.name);
        bus.FailOpen(0, c.failOpen);
        if (c.failingCode != 0) bus.FailControl(c.failingCode, 1);
        EXPECT_EQ(library.DeviceArrived(handle, bus.InterfaceOf(0)), status::kNoDevice);
        EXPECT_TRUE(Removed(handle));
        EXPECT_EQ(library.RemovedDeviceCount(), 1);
        EXPECT_EQ(bus.OpenConnections(), 0);
        EXPECT_EQ(events.events.size(), 1u) << "no arrival reported";
        bus.FailOpen(0, false);
    }
    // The next arrival notice brings it back.
    EXPECT_EQ(library.OnDevicesArrived(), status::kSuccess);
    EXPECT_FALSE(Removed(handle));
    EXPECT_EQ(events.events.back(), (Event{1, handle}));
    EXPECT_EQ(library.DeviceArrived(handle, bus.InterfaceOf(0)), status::kRefused) << "never removed now";
}

// Each model class sends its own set-up when it comes back through a sweep.
TEST_F(Sweeps, EachClassComesBackWithItsOwnSetUp) {
    struct Case {
        const char* name;
        const char16_t* pattern;
        std::uint32_t width, height;
        bool stopsFirst;
        Writes firstList;  // the first register list; empty: none is sent
        int longestPause;  // ms
        AddressWidth addresses = AddressWidth::eightBit;
    };
    const Case cases[] = {
        {"base", u"VID_F5A1&PID_0301", 640, 480, false, {}, 0},
        {"navelo: reset pulse", u"VID_F5A1&PID_0B01", 2048, 1536, true, {{0x0D, 1}}, 500},
        {"naprel: lengths", u"VID_F5A1&PID_1001", 1280, 960, true, {{0x300C, 370 + 1280}, {0x300A, 989}}, 100,
         AddressWidth::sixteenBit},
        {"brisel: pulse without a stop", u"VID_F5A1&PID_0C01", 1280, 1024, false, {{0x0D, 1}}, 500},
        {"yuv: a pause before the record", u"VID_F5A1&PID_0F01", 64, 48, false, {}, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SimulatedBus cameras;
        DeviceLibrary table(&cameras);
        std::vector<int> paused;
        table.SetSleeper([&](std::chrono::milliseconds d) { paused.push_back(static_cast<int>(d.count())); });
        cameras.AddCamera(InstanceId(c.pattern));
        CapInfo record = FullWindow();
        record.width = c.width;
        record.height = c.height;
        std::uint32_t handle = 0;
        std::int32_t index = 1;
        ASSERT_EQ(table.Initialize(&index, &record, &handle), status::kSuccess);
        cameras.Unplug(0);
        ASSERT_EQ(table.OnDevicesRemoved(), status::kSuccess);
        cameras.Replug(0);
        cameras.ClearLog();
        paused.clear();
        ASSERT_EQ(table.OnDevicesArrived(), status::kSuccess);
        EXPECT_EQ(table.RemovedDeviceCount(), 0);
        const auto log = cameras.Log();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.front().code == kqff::kIoctlStopCapture, c.stopsFirst);
        std::optional<Writes> first;
        for (const auto& r : log) {
            if (r.code != kqff::kIoctlWriteCommand) continue;
            const auto list = fpga::DecodeRegisterListRequest(r.input, c.addresses);
            if (list) first = Writes(list->Counted().begin(), list->Counted().end());
            break;
        }
        if (c.firstList.empty()) {
            EXPECT_FALSE(first.has_value());
            EXPECT_EQ(cameras.LogOf(kqff::kIoctlSetFormat).size(), 1u) << "the capture record again";
        } else {
            ASSERT_TRUE(first.has_value());
            EXPECT_EQ(*first, c.firstList);
        }
        EXPECT_EQ(paused.empty() ? 0 : *std::max_element(paused.begin(), paused.end()), c.longestPause);
        EXPECT_EQ(cameras.LogOf(kqff::kIoctlStartCapture).size(), 0u) << "it was not streaming";
        table.Uninitialize(handle);
    }
}

// The large-format camera's way back: the record twice, and only a running
// preview restarts.
TEST(LargeFormatArrival, SendsTheRecordTwiceAndRestartsOnlyThePreview) {
    struct Case {
        const char* name;
        bool preview, fastMode;
        std::size_t starts;
    };
    for (const Case& c : {Case{"stopped", false, false, 0}, Case{"preview", true, false, 1},
                          Case{"fast capture", false, true, 0}}) {
        SCOPED_TRACE(c.name);
        sim::SimulatedBus bus;
        bus.AddCamera(InstanceId(u"VID_F5A1&PID_0301"));
        CKQZundra_Device device(DeviceIdentity{7, 0, 0});
        std::lock_guard<BaseDevice::Lock> hold(device.CallLock());
        ASSERT_EQ(device.OpenDevice(bus, bus.InterfaceOf(0), SmallWindow(), 1), status::kSuccess);
        if (c.preview) ASSERT_EQ(device.StartView(nullptr, {}), status::kSuccess);
        if (c.fastMode) ASSERT_EQ(device.CapFastMode(true), status::kSuccess);
        EXPECT_EQ(device.OnDeviceArrived(bus, bus.InterfaceOf(0)), status::kRefused) << "never removed";
        bus.Unplug(0);
        ASSERT_EQ(device.OnDeviceRemoved(), status::kSuccess);
        bus.Replug(0);
        bus.ClearLog();
        ASSERT_EQ(device.OnDeviceArrived(bus, bus.InterfaceOf(0)), status::kSuccess);
        const auto records = bus.LogOf(kqff::kIoctlSetFormat);
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[0].input, records[1].input);
        EXPECT_EQ(bus.LogOf(kqff::kIoctlStartCapture).size(), c.starts);
        EXPECT_FALSE(device.IsRemoved());
        if (c.preview) device.StopView();
        if (c.fastMode) device.CapFastMode(false);
        device.CloseDevice();
    }
}

}  // namespace
}  // namespace kq::test
