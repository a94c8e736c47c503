#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "core/device_class.h"
#include "sim_fixture.h"

namespace kq::test {
namespace {

using LibraryOpen = LibraryTest;

TEST_F(LibraryOpen, NoCameraGivesNoDeviceAndANullHandle) {
    std::uint32_t handle = 0xABCD;
    std::int32_t index = 1;
    const CapInfo record = SmallWindow();
    EXPECT_EQ(library.Initialize(&index, &record, &handle), status::kNoDevice);
    EXPECT_EQ(handle, 0u);
    std::int32_t total = -1;
    EXPECT_EQ(library.GetTotalDeviceNum(&total), status::kSuccess);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(library.DeviceCount(), 0);
}

TEST_F(LibraryOpen, PositionsZeroAndOneBothMeanTheFirstCamera) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0301", 1));
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0501", 2));
    const std::uint32_t a = Open(0);
    const std::uint32_t b = Open(1);
    const std::uint32_t c = Open(2);
    EXPECT_EQ(InstanceOf(a), InstanceOf(b));
    EXPECT_EQ(InstanceOf(c), InstanceId(u"VID_F5A1&PID_0501", 2));
    std::int32_t total = 0;
    library.GetTotalDeviceNum(&total);
    EXPECT_EQ(total, 2);

    std::int32_t index = 0;
    std::uint32_t handle = 0;
    const CapInfo record = SmallWindow();
    ASSERT_EQ(library.Initialize(&index, &record, &handle), status::kSuccess);
    EXPECT_EQ(index, 1);  // the position actually opened

    index = 3;  // past the last interface
    handle = 0xABCD;
    EXPECT_EQ(library.Initialize(&index, &record, &handle), status::kNoDevice);
    EXPECT_EQ(handle, 0u);
}

TEST_F(LibraryOpen, NinthOpenIsRefusedAndLeavesTheHandleAlone) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0C01"));
    for (int i = 0; i < DeviceLibrary::kMaxDevices; ++i) Open(1);
    std::uint32_t handle = 0x5555;
    std::int32_t index = 1;
    const CapInfo record = SmallWindow();
    EXPECT_EQ(library.Initialize(&index, &record, &handle), status::kNoResources);
    EXPECT_EQ(handle, 0x5555u);
    EXPECT_EQ(library.DeviceCount(), DeviceLibrary::kMaxDevices);
}

TEST_F(LibraryOpen, FailedOpensLeaveNothingBehind) {
    const auto unknown = bus.AddCamera(u"USB\\VID_1234&PID_5678\\1");
    const auto known = bus.AddCamera(InstanceId(u"VID_F5A1&PID_0301"));
    const CapInfo record = SmallWindow();
    std::uint32_t handle = 0;
    std::int32_t index = static_cast<std::int32_t>(unknown) + 1;
    EXPECT_EQ(library.Initialize(&index, &record, &handle), status::kNoDevice);

    bus.FailOpen(known, true);
    index = static_cast<std::int32_t>(known) + 1;
    EXPECT_EQ(library.Initialize(&index, &record, &handle), status::kNoDevice);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(library.DeviceCount(), 0);
    EXPECT_EQ(bus.OpenConnections(), 0);

    bus.FailOpen(known, false);
    bus.FailListing(true);
    EXPECT_EQ(library.Initialize(&index, &record, &handle), status::kNoDevice);
    EXPECT_EQ(library.Initialize(nullptr, &record, &handle), status::kNotSupported);
}

TEST_F(LibraryOpen, RefusedRecordStillLeavesTheCameraOpen) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0301"));
    CapInfo empty = SmallWindow();
    empty.width = 0;
    std::uint32_t handle = 0;
    std::int32_t index = 1;
    EXPECT_EQ(library.Initialize(&index, &empty, &handle), status::kNotSupported);
    EXPECT_NE(handle, 0u);
    EXPECT_EQ(library.DeviceCount(), 1);
    EXPECT_EQ(library.Uninitialize(handle), status::kSuccess);
}

TEST_F(LibraryOpen, TypeTenGetsItsClassByColourAndTypesFold) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0A02"));  // monochrome
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0A01"));  // colour
    bus.AddCamera(InstanceId(u"VID_F5A2&PID_1901"));  // type 25
    const std::uint32_t mono = Open(1), colour = Open(2), newer = Open(3);
    auto classOf = [&](std::uint32_t h) {
        DeviceClass c = DeviceClass::none;
        library.WithDevice(h, [&](BaseDevice& d) {
            c = d.Class();
            return 0;
        });
        return c;
    };
    EXPECT_EQ(classOf(mono), DeviceClass::CKQDoriskDevice);
    EXPECT_EQ(classOf(colour), DeviceClass::CKQAlvinoDevice);
    int reported = 0, colorType = -1;
    library.WithDevice(newer, [&](BaseDevice& d) {
        reported = ReportedDeviceType(d.TypeCode());
        colorType = d.ColorType();
        return 0;
    });
    EXPECT_EQ(reported, 8);
    EXPECT_EQ(colorType, 1);
}

using LibraryTable = LibraryTest;

TEST_F(LibraryTable, ClosingMovesTheLastCameraIntoTheGap) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0301"));
    const std::uint32_t a = Open(1), b = Open(1), c = Open(1);
    std::uint16_t id = 0;
    ASSERT_EQ(library.GetDeviceID(c, &id), status::kSuccess);
    EXPECT_EQ(id, 3);
    EXPECT_EQ(library.Uninitialize(a), status::kSuccess);
    ASSERT_EQ(library.GetDeviceID(c, &id), status::kSuccess);
    EXPECT_EQ(id, 1);
    ASSERT_EQ(library.GetDeviceID(b, &id), status::kSuccess);
    EXPECT_EQ(id, 2);
}

TEST_F(LibraryTable, UnknownStaleAndNullHandles) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0301"));
    const std::uint32_t first = Open(1);
    EXPECT_EQ(library.Uninitialize(0), status::kSuccess);
    EXPECT_EQ(library.Uninitialize(first), status::kSuccess);
    EXPECT_EQ(library.Uninitialize(first), status::kBadHandle);
    EXPECT_EQ(bus.OpenConnections(), 0);

    // A new camera never inherits the handle of a closed one.
    const std::uint32_t second = Open(1);
    EXPECT_NE(second, first);
    EXPECT_EQ(library.WithDevice(first, [](BaseDevice&) { return 0; }), status::kBadHandle);
    std::uint16_t id = 0;
    EXPECT_EQ(library.GetDeviceID(first, &id), status::kBadHandle);
    EXPECT_EQ(library.WithDevice(0, [](BaseDevice&) { return 0; }), status::kBadHandle);
}

TEST_F(LibraryTable, ACallInProgressKeepsItsDeviceAlive) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0301"));
    const std::uint32_t handle = Open(1);
    const int rc = library.WithDevice(handle, [&](BaseDevice& d) {
        // Closing from inside a call (as a device-event callback may) must not
        // free the object under the running call.
        EXPECT_EQ(library.Uninitialize(handle), status::kSuccess);
        return d.SetContrastValue(5) + d.GetContrastValue();
    });
    EXPECT_EQ(rc, 5);
    EXPECT_EQ(library.DeviceCount(), 0);
}

TEST_F(LibraryTable, ClosingEveryCameraReleasesEveryConnection) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0301"));
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0A01"));
    std::vector<std::uint32_t> handles;
    for (int i = 0; i < 6; ++i) handles.push_back(Open(1 + i % 2));
    EXPECT_EQ(bus.OpenConnections(), 6);
    for (auto h : handles) EXPECT_EQ(library.Uninitialize(h), status::kSuccess);
    EXPECT_EQ(bus.OpenConnections(), 0);
    EXPECT_EQ(library.DeviceCount(), 0);
}

TEST_F(LibraryTable, OpenCloseAndCallsFromSeveralThreadsKeepTheTableWhole) {
    bus.AddCamera(InstanceId(u"VID_F5A1&PID_0301"));
    std::atomic<bool> stop{false};
    std::atomic<std::uint32_t> latest{0};
    std::thread caller([&] {
        // Stands in for the hot-plug and callback threads: calls into
        // whatever handle was handed out last, open or already closed.
        while (!stop) {
            const int rc = library.WithDevice(latest, [](BaseDevice& d) { return d.SetSaturation(4); });
            EXPECT_TRUE(rc == status::kSuccess || rc == status::kBadHandle) << rc;
        }
    });
    const CapInfo record = SmallWindow();
    for (int i = 0; i < 300; ++i) {
        std::uint32_t handle = 0;
        std::int32_t index = 1;
        ASSERT_EQ(library.Initialize(&index, &record, &handle), status::kSuccess);
        latest = handle;
        ASSERT_EQ(library.Uninitialize(handle), status::kSuccess);
    }
    stop = true;
    caller.join();
    EXPECT_EQ(library.DeviceCount(), 0);
    EXPECT_EQ(bus.OpenConnections(), 0);
}

}  // namespace
}  // namespace kq::test
