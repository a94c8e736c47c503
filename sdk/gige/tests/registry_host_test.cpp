// Start-up from adapter records to registered cameras: each channel over the
// loopback driver stand-in has its discovered cameras made by model code,
// registered with ports from 55005 in index order, and its receive buffer
// sized for the largest; received frames reach the camera of their port.
#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "camera_manager.h"
#include "discovery_records.h"
#include "channel_fixture.h"
#include "loopback_driver.h"
#include "nic_manager.h"
#include "registry_host.h"
#include "unsupported_camera.h"

namespace kqge {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Made {
    std::int32_t index;
    std::uint32_t modelCode;
    std::int32_t adapter;
    std::uint8_t macLast;
};

class TestCamera final : public testing::UnsupportedCamera {
public:
    TestCamera(std::int32_t index, std::size_t receiveBytes) : index_(index), receiveBytes_(receiveBytes) {}
    std::int32_t Index() const override { return index_; }
    void AssignPort(std::uint16_t port) override { port_ = port; }
    std::size_t ReceiveBytes() const override { return receiveBytes_; }
    void StoreFrame(const DeliveredFrame& frame) override {
        std::lock_guard guard(lock_);
        frames_.emplace_back(frame.bytes.begin(), frame.bytes.end());
    }
    bool TriggerOn() const override { return false; }
    bool ContinuousCapture() const override { return false; }
    void StartSnapshot(const DeliveredFrame&) override { ADD_FAILURE() << "no trigger is on"; }

    std::uint16_t Port() const { return port_; }
    std::vector<Bytes> Frames() const {
        std::lock_guard guard(lock_);
        return frames_;
    }

private:
    std::int32_t index_;
    std::size_t receiveBytes_;
    std::uint16_t port_ = 0;
    mutable std::mutex lock_;
    std::vector<Bytes> frames_;
};

// Cameras by model code, each needing a receive size from its code; the
// model code 0x400B0 cannot be made.
class TestFactory final : public CameraFactory {
public:
    std::unique_ptr<IGigECamera> Make(std::uint32_t modelCode, CNIC& channel, const DiscoveryRecord& record) override {
        if (modelCode == 0x400B0) return nullptr;
        made.push_back({nextIndex, modelCode, channel.AdapterNumber(), record.Mac()[5]});
        return std::make_unique<TestCamera>(nextIndex++, 1000 + (modelCode & 0xFFFF));
    }
    std::vector<Made> made;
    std::int32_t nextIndex = 0;
};

class OnePortPerHandle final : public DriverPortSource {
public:
    std::map<std::int64_t, DriverPort*> ports;
    DriverPort* PortForHandle(std::int64_t handle) override { return ports.at(handle); }
};

// Two adapters whose drivers list the given cameras, started up through
// the adapter manager into one registry.
struct TwoAdapters {
    TwoAdapters(std::span<const std::string_view> first, std::span<const std::string_view> second)
        : driverA(linkA.DriverSide(), standin::DiscoveryListFor(first)),
          driverB(linkB.DriverSide(), standin::DiscoveryListFor(second)) {
        ports.ports = {{1, &driverA}, {2, &driverB}};
    }
    std::int32_t Init() {
        std::vector<AdapterRecord> records(2, fixture::Adapter());
        records[0].driverHandle = 1;
        records[1].driverHandle = 2;
        return manager.Init(records);
    }

    standin::InProcessLink linkA, linkB;
    standin::LoopbackDriver driverA, driverB;
    OnePortPerHandle ports;
    CCameraManager registry;
    TestFactory factory;
    RegistryHost host{registry, factory};
    CNICManager manager{CNICManager::kDriverDeviceName, ports, &host, fixture::kTestAckTimeout};
};

TEST(RegistryHostTest, AdaptersInOrderGiveCamerasPortsAndBuffers) {
    const std::string_view onA[] = {"KQ Gige-Parsun 5M", "Gige-Dwinel", "Camera X"};
    const std::string_view onB[] = {"GIGE-CMOSDORISK2"};
    TwoAdapters t(onA, onB);
    ASSERT_EQ(t.Init(), 0);
    auto& manager = t.manager;
    auto& factory = t.factory;
    auto& registry = t.registry;

    // The camera that cannot be made is skipped; the others keep their order.
    const std::int32_t a = manager.Channels()[0]->AdapterNumber();
    const std::int32_t b = manager.Channels()[1]->AdapterNumber();
    ASSERT_EQ(factory.made.size(), 3u);
    const Made expected[] = {{0, 0x14000, a, 0}, {1, 0, a, 2}, {2, 0x10003601, b, 0}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(factory.made[i].index, expected[i].index) << i;
        EXPECT_EQ(factory.made[i].modelCode, expected[i].modelCode) << i;
        EXPECT_EQ(factory.made[i].adapter, expected[i].adapter) << i;
        EXPECT_EQ(factory.made[i].macLast, expected[i].macLast) << i;
        auto* camera = static_cast<TestCamera*>(registry.FindByIndex(expected[i].index));
        ASSERT_NE(camera, nullptr) << i;
        EXPECT_EQ(camera->Port(), 55005 + i) << i;
    }
    EXPECT_EQ(registry.GetCount(), 3);
    EXPECT_EQ(manager.Channels()[0]->ReceiveBufferBytes(), 1000u + 0x4000);
    EXPECT_EQ(manager.Channels()[1]->ReceiveBufferBytes(), 1000u + 0x3601);

    // A frame on the second adapter reaches the camera of its port.
    CNIC& second = *manager.Channels()[1];
    ASSERT_EQ(second.StartReceive(), 0);
    Bytes frame(200, 0x33);
    frame[42] = 55007 >> 8;
    frame[43] = 55007 & 0xFF;
    t.driverB.DeliverFrame(frame);
    ASSERT_TRUE(t.driverB.WaitUntilIdle(std::chrono::seconds(10)));
    ASSERT_EQ(second.StopReceive(), 0);
    EXPECT_EQ(static_cast<TestCamera*>(registry.FindByIndex(2))->Frames(), std::vector<Bytes>{frame});
    EXPECT_TRUE(static_cast<TestCamera*>(registry.FindByIndex(0))->Frames().empty());
}

TEST(RegistryHostTest, EveryModelNameOfTheSimulatedCamerasSelectsItsCode) {
    // The model codes of the names in order; the unknown name is the default
    // camera.
    const std::uint32_t codes[] = {0x10003601, 0x10030000, 0x20000,   0x14000,    0x100B1,    0x400B0,
                                   0x140B1,    0x140B0,    0x14001,   0x10003600, 0x10050000, 0x10050001,
                                   0x10013001, 0x50000,    0x20100B1, 0};
    static_assert(std::size(codes) == standin::kSimulatedModelNames.size());
    // Ten cameras per adapter at most: the names over two adapters.
    const auto names = std::span(standin::kSimulatedModelNames);
    TwoAdapters t(names.first(10), names.subspan(10));
    ASSERT_EQ(t.Init(), 0);

    // 0x400B0 cannot be made by the test factory and is skipped.
    std::vector<std::uint32_t> expected;
    for (std::uint32_t code : codes) {
        if (code != 0x400B0) expected.push_back(code);
    }
    std::vector<std::uint32_t> made;
    for (const Made& m : t.factory.made) made.push_back(m.modelCode);
    EXPECT_EQ(made, expected);
    EXPECT_EQ(t.registry.GetCount(), static_cast<std::int32_t>(expected.size()));
}

}  // namespace
}  // namespace kqge
