// The adapter channel against the loopback driver stand-in and a simulated
// camera over an in-process datagram link: the command bytes the driver
// receives, the acknowledgement checks, one command in flight per adapter,
// the discovery list and the stream requests.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <thread>
#include <vector>

#include "channel_fixture.h"
#include "cnic.h"
#include "loopback_driver.h"
#include "nic_manager.h"
#include "simulated_camera.h"

namespace kqge {
namespace {

using Bytes = std::vector<std::uint8_t>;
using fixture::Adapter;
using fixture::DiscoveryList;
using fixture::kTestAckTimeout;
using standin::CameraFault;

struct Channel {
    explicit Channel(std::size_t cameras = 1) : driver(link.DriverSide(), DiscoveryList(cameras)) {}

    const DiscoveryRecord& Camera() {
        if (nic.DiscoveredCameras().empty()) {
            EXPECT_EQ(nic.Open(), 0);
        }
        return nic.DiscoveredCameras()[0];
    }

    standin::InProcessLink link;
    standin::SimulatedCamera camera{link.CameraSide()};
    standin::LoopbackDriver driver;
    AdapterRecord adapter = Adapter();
    CNIC nic{&driver, &adapter, nullptr, kTestAckTimeout};
};

const Bytes kAddressing = {0x02, 0, 0, 0, 0, 0, 192, 168, 1, 10, 255, 255, 255, 0, 192, 168, 1, 100};

TEST(AdapterChannelTest, CommandsReachTheDriverAsTheirBytesAndTheCameraAsGvcp) {
    Channel c;
    const DiscoveryRecord& camera = c.Camera();
    c.camera.SetRegister(0x0938, 0xCAFEF00D);

    ASSERT_EQ(c.nic.WriteReg(camera, 0x0A00, 0x00000002), 0);
    const std::uint32_t addresses[] = {0x0D04, 0x0D18, 0x0D00};
    const std::uint32_t values[] = {0x400005DC, 0xC0A8010A, 55005};
    ASSERT_EQ(c.nic.WriteRegs(camera, addresses, values), 0);
    std::uint32_t value = 0;
    ASSERT_EQ(c.nic.ReadReg(camera, 0x0938, value), 0);
    EXPECT_EQ(value, 0xCAFEF00Du);
    const Bytes chunk = {0x80, 0xF0, 0x01, 0x02, 0x03};
    ASSERT_EQ(c.nic.WriteMem(camera, chunk, 0x200), 0);

    const auto log = c.driver.CommandLog();
    ASSERT_EQ(log.size(), 4u);
    auto expected = [](Bytes code, Bytes body) {
        Bytes out = code;
        out.insert(out.end(), kAddressing.begin(), kAddressing.end());
        out.insert(out.end(), body.begin(), body.end());
        return out;
    };
    EXPECT_EQ(log[0], expected({0x00, 0x82}, {0, 0, 0x0A, 0x00, 0, 0, 0, 2}));
    EXPECT_EQ(log[1], expected({0x00, 0x82}, {0,    0,    0x0D, 0x04, 0x40, 0x00, 0x05, 0xDC, 0,    0,    0x0D, 0x18,
                                              0xC0, 0xA8, 0x01, 0x0A, 0,    0,    0x0D, 0x00, 0x00, 0x00, 0xD6, 0xDD}));
    EXPECT_EQ(log[2], expected({0x00, 0x80}, {0, 0, 0x09, 0x38}));
    EXPECT_EQ(log[3], expected({0x00, 0x86}, {0, 0, 0x02, 0x00, 0x80, 0xF0, 0x01, 0x02, 0x03}));
    EXPECT_EQ(log[0].size(), 28u);
    EXPECT_EQ(log[1].size(), 20u + 8 * 3);
    EXPECT_EQ(log[2].size(), 24u);
    EXPECT_EQ(log[3].size(), 24u + chunk.size());

    // The camera got each body behind a GVCP header with its own request id.
    const auto packets = c.camera.PacketLog();
    ASSERT_EQ(packets.size(), 4u);
    for (std::size_t i = 0; i < packets.size(); ++i) {
        EXPECT_EQ(packets[i][0], 0x42) << i;
        EXPECT_EQ(Bytes(packets[i].begin() + 8, packets[i].end()), Bytes(log[i].begin() + 20, log[i].end())) << i;
        EXPECT_EQ(packets[i][6] << 8 | packets[i][7], static_cast<int>(i + 1)) << i;
    }
    EXPECT_EQ(c.camera.Register(0x0A00), 2u);
    EXPECT_EQ(c.camera.Register(0x0D00), 55005u);
    EXPECT_EQ(c.camera.Register(0x0D18), 0xC0A8010Au);
    EXPECT_EQ(c.camera.Memory(0x200, chunk.size()), chunk);
}

TEST(AdapterChannelTest, OnlyAConfirmingAcknowledgementCountsAndFailuresLeaveTheOutput) {
    const struct Case {
        const char* name;
        CameraFault fault;
        std::int32_t result;
    } cases[] = {
        {"acknowledged", CameraFault::none, 0},
        {"no acknowledgement", CameraFault::noAck, -1},
        {"error status", CameraFault::errorStatus, -1},
        {"another acknowledgement code", CameraFault::otherCode, -1},
        {"acknowledgement too late", CameraFault::lateAck, -1},
    };
    for (const Case& k : cases) {
        Channel c;
        const DiscoveryRecord& camera = c.Camera();
        c.camera.SetRegister(0x0100, 0x11111111);

        c.camera.FailNext(k.fault);
        std::uint32_t value = 0xDEADBEEF;
        EXPECT_EQ(c.nic.ReadReg(camera, 0x0100, value), k.result) << k.name;
        EXPECT_EQ(value, k.result == 0 ? 0x11111111u : 0xDEADBEEFu) << k.name;

        c.camera.FailNext(k.fault);
        EXPECT_EQ(c.nic.WriteReg(camera, 0x0104, 7), k.result) << k.name;

        c.camera.FailNext(k.fault);
        const Bytes data = {1, 2, 3, 4};
        EXPECT_EQ(c.nic.WriteMem(camera, data, 0), k.result) << k.name;

        // A held-back acknowledgement arrives before the next command's own
        // and never answers it.
        c.camera.SetRegister(0x0200, 0x22222222);
        value = 0;
        EXPECT_EQ(c.nic.ReadReg(camera, 0x0200, value), 0) << k.name;
        EXPECT_EQ(value, 0x22222222u) << k.name;
        EXPECT_EQ(c.driver.DroppedAcks(), k.fault == CameraFault::lateAck ? 3 : 0) << k.name;
    }
}

TEST(AdapterChannelTest, ArgumentsOutOfRangeSendNothing) {
    Channel c;
    const DiscoveryRecord& camera = c.Camera();
    const std::uint32_t two[] = {1, 2};
    const std::uint32_t one[] = {1};
    EXPECT_EQ(c.nic.WriteRegs(camera, {}, {}), 20);
    EXPECT_EQ(c.nic.WriteRegs(camera, two, one), 20);
    EXPECT_EQ(c.nic.WriteMem(camera, {}, 0), 20);
    EXPECT_TRUE(c.driver.CommandLog().empty());
}

TEST(AdapterChannelTest, TwoThreadsOnOneAdapterEachGetTheirOwnAnswer) {
    Channel c;
    const DiscoveryRecord& camera = c.Camera();
    constexpr int kRounds = 300;
    c.camera.SetRegister(0xA000, 0xAAAA0000);
    c.camera.SetRegister(0xB000, 0xBBBB0000);
    auto reader = [&](std::uint32_t address, std::uint32_t expected, int& wrong) {
        for (int i = 0; i < kRounds; ++i) {
            std::uint32_t value = 0;
            if (c.nic.ReadReg(camera, address, value) != 0 || value != expected) ++wrong;
        }
    };
    int wrongA = 0, wrongB = 0;
    std::thread a(reader, 0xA000, 0xAAAA0000, std::ref(wrongA));
    std::thread b(reader, 0xB000, 0xBBBB0000, std::ref(wrongB));
    a.join();
    b.join();
    EXPECT_EQ(wrongA, 0);
    EXPECT_EQ(wrongB, 0);
    EXPECT_EQ(c.driver.CommandLog().size(), 2u * kRounds);
}

TEST(AdapterChannelTest, DeviceListKeepsTenAndARefusalLeavesNoCameras) {
    const struct Case {
        const char* name;
        std::size_t listed;
        bool refuse;
        std::int32_t result;
        std::size_t kept;
    } cases[] = {
        {"none", 0, false, 0, 0},     {"one", 1, false, 0, 1},     {"ten", 10, false, 0, 10},
        {"eleven", 11, false, 0, 10}, {"refused", 3, true, 36, 0},
    };
    for (const Case& k : cases) {
        Channel c(k.listed);
        if (k.refuse) c.driver.RefuseDeviceList();
        EXPECT_EQ(c.nic.GetDeviceList(), k.result) << k.name;
        const auto cameras = c.nic.DiscoveredCameras();
        ASSERT_EQ(cameras.size(), k.kept) << k.name;
        for (std::size_t i = 0; i < cameras.size(); ++i) {
            EXPECT_EQ(cameras[i].Mac()[5], i) << k.name;
            EXPECT_EQ(cameras[i].CurrentIp()[3], 100 + i) << k.name;
        }
    }
}

TEST(AdapterChannelTest, StreamRequestsCarryTheirRecordAndNeedADriver) {
    Channel c;
    const StreamRecord start{2592, 1944, 55005, 1464};
    const StreamRecord stop{2592, 1944, 55005, 1464};
    EXPECT_EQ(c.nic.AddStream(start), 0);
    EXPECT_EQ(c.nic.DeleteStream(stop), 0);
    EXPECT_EQ(c.driver.Streams(), (std::vector<StreamRecord>{start, stop}));
    c.driver.RefuseStreams();
    EXPECT_EQ(c.nic.AddStream(start), -1);
    EXPECT_EQ(c.nic.DeleteStream(stop), -1);

    AdapterRecord adapter = Adapter();
    CNIC without(nullptr, &adapter, nullptr, kTestAckTimeout);
    EXPECT_EQ(without.AddStream(start), 37);
    EXPECT_EQ(without.DeleteStream(stop), 37);
    EXPECT_EQ(without.GetDeviceList(), 37);
    EXPECT_EQ(without.Open(), 37);
    EXPECT_EQ(without.StartReceive(), 37);
    CNIC blank(&c.driver, nullptr, nullptr);
    EXPECT_EQ(blank.AdapterIp(), (std::array<std::uint8_t, 4>{}));
    EXPECT_EQ(blank.AdapterNumber(), without.AdapterNumber() + 1);
}

// Driver ports by widened handle, as the Win32 side finds them.
class PortTable final : public DriverPortSource {
public:
    std::map<std::int64_t, DriverPort*> ports;
    std::vector<std::int64_t> asked;
    DriverPort* PortForHandle(std::int64_t handle) override {
        asked.push_back(handle);
        const auto found = ports.find(handle);
        return found == ports.end() ? nullptr : found->second;
    }
};

TEST(AdapterManagerTest, OneNodeAndOneChannelPerRecordInOrder) {
    standin::InProcessLink firstLink, refusingLink;
    standin::LoopbackDriver first(firstLink.DriverSide(), DiscoveryList(3));
    standin::LoopbackDriver refusing(refusingLink.DriverSide(), DiscoveryList(2));
    refusing.RefuseDeviceList();
    PortTable table;
    table.ports = {{0x1C4, &first}, {-2, &refusing}};

    std::vector<AdapterRecord> records(3, Adapter());
    records[0].driverHandle = 0x1C4;
    records[1].driverHandle = 0xFFFFFFFE;  // widened to -2
    records[2].driverHandle = 0x99;        // names no driver
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].name = u"eth" + std::u16string(1, static_cast<char16_t>(u'0' + i));
        records[i].ip[3] = static_cast<std::uint8_t>(10 + i);
    }

    CNICManager manager(CNICManager::kDriverDeviceName, table, nullptr, kTestAckTimeout);
    EXPECT_EQ(manager.Init({}), 41);
    EXPECT_TRUE(manager.Nodes().empty());
    ASSERT_EQ(manager.Init(records), 0);
    EXPECT_EQ(table.asked, (std::vector<std::int64_t>{0x1C4, -2, 0x99}));

    ASSERT_EQ(manager.Nodes().size(), 3u);
    ASSERT_EQ(manager.Channels().size(), 3u);
    const std::size_t cameras[] = {3, 0, 0};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(manager.Nodes()[i].ordinal, static_cast<std::int32_t>(i));
        EXPECT_EQ(manager.Nodes()[i].record.name, records[i].name);
        EXPECT_EQ(manager.Channels()[i]->AdapterIp(), records[i].ip) << i;
        EXPECT_EQ(manager.Channels()[i]->DiscoveredCameras().size(), cameras[i]) << i;
        if (i > 0) {
            EXPECT_EQ(manager.Channels()[i]->AdapterNumber(), manager.Channels()[i - 1]->AdapterNumber() + 1);
        }
    }
    // The channel of the listed driver talks to its cameras.
    const DiscoveryRecord& camera = manager.Channels()[0]->DiscoveredCameras()[2];
    standin::SimulatedCamera simulated(firstLink.CameraSide());
    EXPECT_EQ(manager.Channels()[0]->WriteReg(camera, 0x0A00, 2), 0);
    ASSERT_EQ(first.CommandLog().size(), 1u);
    EXPECT_EQ(first.CommandLog()[0][7], 2);     // camera MAC, last byte
    EXPECT_EQ(first.CommandLog()[0][11], 10);   // adapter IP, last byte
    EXPECT_EQ(first.CommandLog()[0][19], 102);  // camera IP, last byte
    EXPECT_EQ(simulated.Register(0x0A00), 2u);
}

}  // namespace
}  // namespace kqge
