// The library's start-up and shut-down over two adapters of loopback driver
// stand-ins with a simulated camera each: the service is asked once per
// start, a failed start leaves nothing and can be retried, a stop lets the
// next start rebuild, and cameras are torn down while their channels live.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string_view>
#include <vector>

#include "channel_fixture.h"
#include "discovery_records.h"
#include "gige_library.h"
#include "loopback_driver.h"
#include "result_codes.h"
#include "simulated_adapters.h"
#include "simulated_camera.h"
#include "unsupported_camera.h"

namespace kqge {
namespace {

constexpr std::uint32_t kControlPrivilege = 0x0A00;

// The adapter replies the service gives, one per request, in order; an
// exhausted script answers as a service that is not running.
class ScriptedService final : public AdapterService {
public:
    AdapterReply RequestAdapters() override {
        ++requests;
        if (replies.empty()) return {result::kNoAdapter, {}};
        AdapterReply next = replies.front();
        replies.pop_front();
        return next;
    }
    std::deque<AdapterReply> replies;
    int requests = 0;
};

// What the cameras' tear-down reached: the result of giving up control
// access through the channel, per camera index.
struct TearDownLog {
    std::vector<std::pair<std::int32_t, std::int32_t>> releases;
};

// A camera that, like a real one, gives up control access on its channel
// when it goes.
class ReleasingCamera final : public testing::UnsupportedCamera {
public:
    ReleasingCamera(std::int32_t index, CNIC& channel, const DiscoveryRecord& record, TearDownLog& log)
        : index_(index), channel_(channel), record_(record), log_(log) {}
    ~ReleasingCamera() override {
        log_.releases.emplace_back(index_, channel_.WriteReg(record_, kControlPrivilege, 0));
    }
    std::int32_t Index() const override { return index_; }
    void AssignPort(std::uint16_t port) override { port_ = port; }
    std::size_t ReceiveBytes() const override { return 8000 + 64; }
    std::uint16_t Port() const { return port_; }

private:
    std::int32_t index_;
    CNIC& channel_;
    DiscoveryRecord record_;
    TearDownLog& log_;
    std::uint16_t port_ = 0;
};

// Cameras numbered by one counter over every start, as the camera classes
// number themselves.
class ReleasingFactory final : public CameraFactory {
public:
    explicit ReleasingFactory(TearDownLog& log) : log_(log) {}
    std::unique_ptr<IGigECamera> Make(std::uint32_t modelCode, CNIC& channel, const DiscoveryRecord& record) override {
        made.push_back({modelCode, channel.AdapterNumber()});
        return std::make_unique<ReleasingCamera>(next++, channel, record, log_);
    }
    std::int32_t next = 0;
    std::vector<std::pair<std::uint32_t, std::int32_t>> made;  // model code, adapter number

private:
    TearDownLog& log_;
};

class TwoPorts final : public DriverPortSource {
public:
    TwoPorts(DriverPort& first, DriverPort& second) : first_(first), second_(second) {}
    DriverPort* PortForHandle(std::int64_t handle) override {
        return handle == 1 ? &first_ : handle == 2 ? &second_ : nullptr;
    }

private:
    DriverPort& first_;
    DriverPort& second_;
};

AdapterReply TwoAdapterReply() {
    AdapterReply reply;
    reply.adapters.assign(2, fixture::Adapter());
    reply.adapters[0].driverHandle = 1;
    reply.adapters[1].driverHandle = 2;
    return reply;
}

constexpr std::string_view kOnFirst[] = {"Gige-Parsun", "Gige-Sabrel", "Gige-Unlisted"};
constexpr std::string_view kOnSecond[] = {"Gige-CMOSJorvel", "Gige-Hobrin"};

struct LibraryFixture : ::testing::Test {
    LibraryFixture() {
        cameraA.SetRegister(kControlPrivilege, 3);
        cameraB.SetRegister(kControlPrivilege, 3);
    }
    std::vector<std::int32_t> Ports() {
        std::vector<std::int32_t> ports;
        for (std::int32_t i = 0; i < 5; ++i) {
            auto* camera = static_cast<ReleasingCamera*>(library.FindCamera(i));
            ports.push_back(camera ? camera->Port() : -1);
        }
        return ports;
    }

    standin::InProcessLink linkA, linkB;
    standin::SimulatedCamera cameraA{linkA.CameraSide()}, cameraB{linkB.CameraSide()};
    standin::LoopbackDriver driverA{linkA.DriverSide(), standin::DiscoveryListFor(kOnFirst)};
    standin::LoopbackDriver driverB{linkB.DriverSide(), standin::DiscoveryListFor(kOnSecond)};
    TwoPorts ports{driverA, driverB};
    ScriptedService service;
    TearDownLog log;
    ReleasingFactory factory{log};
    GigELibrary library{service, ports, factory, fixture::kTestAckTimeout};
};

TEST_F(LibraryFixture, CountBeforeStartUpIsRefusedAndLeavesTheOutput) {
    std::int32_t count = 77;
    EXPECT_EQ(library.GetCameraCount(&count), 25);
    EXPECT_EQ(count, 77);
    EXPECT_EQ(library.GetCameraCount(nullptr), 25);
    EXPECT_EQ(service.requests, 0);
}

TEST_F(LibraryFixture, FailedStartsLeaveNothingAndARetrySucceeds) {
    service.replies = {{result::kNoAdapter, {}}, {result::kAdapterListUnread, {}}, TwoAdapterReply()};
    std::int32_t count = 77;
    EXPECT_EQ(library.Initialize(), 23);
    EXPECT_FALSE(library.Initialized());
    EXPECT_EQ(library.GetCameraCount(&count), 25);
    EXPECT_EQ(library.Initialize(), 22);
    EXPECT_EQ(library.GetCameraCount(&count), 25);
    EXPECT_EQ(count, 77);
    EXPECT_EQ(library.FindCamera(0), nullptr);
    EXPECT_EQ(driverA.CommandLog().size(), 0u) << "a failed start reaches no adapter";

    ASSERT_EQ(library.Initialize(), 0);
    EXPECT_EQ(service.requests, 3);
    ASSERT_EQ(library.GetCameraCount(&count), 0);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(library.GetCameraCount(nullptr), 2);
    // Indices and ports in adapter order, then record order.
    EXPECT_EQ(Ports(), (std::vector<std::int32_t>{55005, 55006, 55007, 55008, 55009}));
    EXPECT_EQ(library.FindCamera(5), nullptr);
    EXPECT_EQ(library.FindCamera(-1), nullptr);
}

TEST_F(LibraryFixture, ASecondStartDoesNotAskTheServiceAgain) {
    service.replies = {TwoAdapterReply(), TwoAdapterReply()};
    ASSERT_EQ(library.Initialize(), 0);
    IGigECamera* first = library.FindCamera(0);
    EXPECT_EQ(library.Initialize(), 0);
    EXPECT_EQ(service.requests, 1);
    EXPECT_EQ(library.FindCamera(0), first) << "nothing was rebuilt";
    std::int32_t count = 0;
    ASSERT_EQ(library.GetCameraCount(&count), 0);
    EXPECT_EQ(count, 5);
}

TEST_F(LibraryFixture, StopDeletesCamerasWhileTheirChannelsStillCarryCommands) {
    service.replies = {TwoAdapterReply(), TwoAdapterReply()};
    ASSERT_EQ(library.Initialize(), 0);
    ASSERT_EQ(library.UnInitialize(), 0);
    // Every camera's release reached its simulated camera and was confirmed.
    ASSERT_EQ(log.releases.size(), 5u);
    for (const auto& [index, released] : log.releases) EXPECT_EQ(released, 0) << "camera " << index;
    EXPECT_EQ(cameraA.Register(kControlPrivilege), 0u);
    EXPECT_EQ(cameraB.Register(kControlPrivilege), 0u);

    std::int32_t count = 77;
    EXPECT_EQ(library.GetCameraCount(&count), 25);
    EXPECT_EQ(count, 77);
    EXPECT_EQ(library.FindCamera(0), nullptr);
    EXPECT_EQ(library.UnInitialize(), 0) << "a second stop is harmless";
    EXPECT_EQ(log.releases.size(), 5u);

    // The next start asks the service again and rebuilds every camera. The
    // cameras number on from the last start; the caller still names them
    // 0 .. count - 1.
    ASSERT_EQ(library.Initialize(), 0);
    EXPECT_EQ(service.requests, 2);
    ASSERT_EQ(library.GetCameraCount(&count), 0);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(Ports(), (std::vector<std::int32_t>{55005, 55006, 55007, 55008, 55009}));
    ASSERT_NE(library.FindCamera(0), nullptr);
    EXPECT_EQ(library.FindCamera(0)->Index(), 5);
    EXPECT_EQ(library.FindCamera(5), nullptr);
}

// The stand-in build's world: the service stand-in's handles name two
// simulated adapters that together list every model name, in order.
TEST(StandInAdaptersTest, TheServiceHandlesReachEveryModelNameOnTwoAdapters) {
    standin::SimulatedAdapters adapters;
    ScriptedService service;
    AdapterReply reply = TwoAdapterReply();
    reply.adapters[0].driverHandle = standin::SimulatedAdapters::kFirstHandle;
    reply.adapters[1].driverHandle = standin::SimulatedAdapters::kFirstHandle + 1;
    service.replies = {reply};
    TearDownLog log;
    ReleasingFactory factory(log);
    GigELibrary library(service, adapters, factory, fixture::kTestAckTimeout);
    ASSERT_EQ(library.Initialize(), 0);

    const std::uint32_t codes[] = {0x10003601, 0x10030000, 0x20000,   0x14000,    0x100B1,    0x400B0,
                                   0x140B1,    0x140B0,    0x14001,   0x10003600, 0x10050000, 0x10050001,
                                   0x10013001, 0x50000,    0x20100B1, 0};
    ASSERT_EQ(factory.made.size(), std::size(codes));
    const std::int32_t firstAdapter = factory.made[0].second;
    for (std::size_t i = 0; i < std::size(codes); ++i) {
        EXPECT_EQ(factory.made[i].first, codes[i]) << i;
        EXPECT_EQ(factory.made[i].second, firstAdapter + (i < 8 ? 0 : 1)) << i;
    }
    std::int32_t count = 0;
    ASSERT_EQ(library.GetCameraCount(&count), 0);
    EXPECT_EQ(count, 16);
    EXPECT_EQ(adapters.PortForHandle(WidenedDriverHandle(standin::SimulatedAdapters::kFirstHandle + 7)), nullptr);
    EXPECT_EQ(adapters.PortForHandle(WidenedDriverHandle(standin::SimulatedAdapters::kFirstHandle - 1)), nullptr);
    // A camera's stop sequence reaches the simulated camera behind its adapter.
    ASSERT_EQ(library.UnInitialize(), 0);
    ASSERT_EQ(log.releases.size(), 16u);
    for (const auto& [index, released] : log.releases) EXPECT_EQ(released, 0) << "camera " << index;
}

}  // namespace
}  // namespace kqge
