// The standard GigE Vision test camera through the stand-in build of
// KQGEu.dll: peer_camera_run.sh starts it on 127.0.0.1 for this program's
// run, and the adapter service lists one adapter, the stand-in's UDP link
// to it. It opens as the default camera; control is read back from its
// privilege register; another host's socket holding control refuses ours;
// its 512x512 frames are the wrong size for the default camera and never
// reach the callback. That camera applies only the first pair of a
// multi-pair write and streams on its own acquisition register, so the test
// points and starts its stream with single register writes.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "KQGEu.h"
#include "adapter_service_fixture.h"
#include "be_bytes.h"
#include "gvcp_packet.h"
#include "le_bytes.h"
#include "live_frames.h"
#include "simulated_adapters.h"
#include "standin_dll.h"
#include "udp_link.h"

namespace kqge {
namespace {

using Bytes = std::vector<std::uint8_t>;
using fixture::ReturnsPromptly;

fixture::StandInExports& Dll() { return fixture::StandIn(); }

constexpr std::int32_t kCamera = 0;
constexpr std::int32_t kModelUnknown = 19;
constexpr std::int32_t kControlTaken = 51;
constexpr std::uint32_t kControlPrivilege = 0x0A00;
constexpr std::uint32_t kExclusiveControl = 3;
constexpr std::uint32_t kControl = 2;
constexpr std::uint32_t kStreamPort = 0x0D00;
constexpr std::uint32_t kStreamDestination = 0x0D18;
constexpr std::uint32_t kPeerAcquisition = 0x0124;  // the test camera's own
constexpr std::uint32_t kLoopbackAddress = 0x7F000001;

// Another host's socket to the camera, register reads and writes one at a
// time with their acknowledgements. While it holds control it reads the
// privilege register every 200 ms, as a controlling host's heartbeat: the
// camera gives up a silent host's control after a few seconds.
class OtherHost {
public:
    ~OtherHost() { StopHeartbeat(); }

    std::optional<std::uint32_t> Read(std::uint32_t address) {
        Bytes body(4);
        vz::PutBE32(body, 0, address);
        const auto ack = Ask(0x0080, body);
        if (!ack || ack->size() < 12 || Status(*ack) != 0) return std::nullopt;
        return vz::GetBE32(*ack, 8);
    }
    bool Write(std::uint32_t address, std::uint32_t value) {
        Bytes body(8);
        vz::PutBE32(body, 0, address);
        vz::PutBE32(body, 4, value);
        const auto ack = Ask(0x0082, body);
        return ack && Status(*ack) == 0;
    }
    bool TakeControl() {
        if (!Write(kControlPrivilege, kControl)) return false;
        heartbeat_ = std::jthread([this](std::stop_token stop) {
            while (!stop.stop_requested()) {
                (void)Read(kControlPrivilege);
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
            }
        });
        return true;
    }
    bool ReleaseControl() {
        StopHeartbeat();
        return Write(kControlPrivilege, 0);
    }
    // The camera's discovery record as it sends it.
    std::optional<Bytes> Discover() {
        std::lock_guard guard(lock_);
        return standin::Discover(endpoint_, std::chrono::seconds(1));
    }

private:
    void StopHeartbeat() {
        if (!heartbeat_.joinable()) return;
        heartbeat_.request_stop();
        heartbeat_.join();
    }
    static std::uint16_t Status(const Bytes& ack) { return vz::GetBE16(ack, 0); }
    std::optional<Bytes> Ask(std::uint16_t command, const Bytes& body) {
        std::lock_guard guard(lock_);
        const std::uint16_t id = ++requestId_;
        endpoint_.Send(standin::EncodeCommandPacket(command, id, body));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (std::chrono::steady_clock::now() < deadline) {
            auto ack = endpoint_.ReceiveFor(std::chrono::milliseconds(200));
            if (ack && ack->size() >= 8 && vz::GetBE16(*ack, 6) == id) return ack;
        }
        return std::nullopt;
    }

    std::mutex lock_;
    standin::UdpEndpoint endpoint_;
    std::uint16_t requestId_ = 0;
    std::jthread heartbeat_;
};

struct PeerCamera : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(Dll().Bound());
        fixture::Service service = fixture::StartService(GetCurrentProcessId(), 1, 1,
                                                         standin::SimulatedAdapters::kPeerHandle);
        ASSERT_EQ(Dll().Initialize(), 0);
        std::int32_t count = 0;
        ASSERT_EQ(Dll().GetCameraCount(&count), 0);
        ASSERT_EQ(count, 1) << "the test camera did not answer on 127.0.0.1:3956";
    }
    void TearDown() override { EXPECT_EQ(ReturnsPromptly([] { return Dll().UnInitialize(); }), 0); }

    static std::uint32_t Privilege() {
        std::uint32_t value = 0xFFFFFFFF;
        EXPECT_EQ(Dll().ReadRegister(kCamera, kControlPrivilege, &value), 0);
        return value;
    }
};

TEST_F(PeerCamera, OpensAsTheDefaultCameraWithItsRecordInHostOrder) {
    std::int32_t modelCode = -1;
    EXPECT_EQ(Dll().GetCameraType(kCamera, &modelCode), kModelUnknown);
    EXPECT_EQ(modelCode, 0);

    std::array<std::uint8_t, 248> record{};
    ASSERT_EQ(Dll().GetCameraInfo(kCamera, record.data()), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.data() + 104)), "Fake");
    EXPECT_EQ(vz::GetLE32(record, 36), kLoopbackAddress);  // current IP

    // Byte for byte the camera's own answer, the three address fields (IP,
    // mask, gateway) turned to host order.
    OtherHost other;
    const auto wire = other.Discover();
    ASSERT_TRUE(wire.has_value());
    Bytes expected = *wire;
    for (const std::size_t at : {36, 52, 68}) std::reverse(expected.begin() + at, expected.begin() + at + 4);
    EXPECT_EQ(Bytes(record.begin(), record.end()), expected);
}

TEST_F(PeerCamera, ControlTakenReleasedAndRefusedWhileAnotherHostHoldsIt) {
    EXPECT_EQ(Privilege(), 0u);
    ASSERT_EQ(Dll().InitCamera(kCamera, nullptr), 0);
    EXPECT_EQ(Privilege(), kExclusiveControl);
    ASSERT_EQ(Dll().UnInitCamera(kCamera), 0);
    EXPECT_EQ(Privilege(), 0u);

    OtherHost other;
    ASSERT_TRUE(other.TakeControl());
    EXPECT_EQ(Dll().InitCamera(kCamera, nullptr), kControlTaken);
    EXPECT_EQ(Privilege(), kControl);  // asking it free changed nothing
    ASSERT_TRUE(other.ReleaseControl());

    EXPECT_EQ(Dll().InitCamera(kCamera, nullptr), 0);
    EXPECT_EQ(Privilege(), kExclusiveControl);
    EXPECT_FALSE(other.Write(kControlPrivilege, kControl));  // ours now
    EXPECT_EQ(Dll().UnInitCamera(kCamera), 0);
    EXPECT_EQ(other.Read(kControlPrivilege), std::optional<std::uint32_t>(0));
}

TEST_F(PeerCamera, WrongSizeFramesAreDroppedWithoutHarm) {
    fixture::Frames frames;
    ASSERT_EQ(Dll().InitCamera(kCamera, nullptr), 0);
    ASSERT_EQ(Dll().SetFrameCallBack(kCamera, &fixture::Frames::Take, &frames), 0);
    EXPECT_EQ(Dll().LiveStart(kCamera), 0);
    std::uint16_t port = 0;
    ASSERT_EQ(Dll().GetCameraPort(kCamera, &port), 0);
    ASSERT_EQ(Dll().WriterRegister(kCamera, kStreamPort, port), 0);
    ASSERT_EQ(Dll().WriterRegister(kCamera, kStreamDestination, kLoopbackAddress), 0);
    ASSERT_EQ(Dll().WriterRegister(kCamera, kPeerAcquisition, 1), 0);

    // Frames reach the adapter's receive thread, measured there...
    float received = 0.0F;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (received <= 0.0F && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ASSERT_EQ(Dll().GetNICFrameRate(kCamera, &received), 0);
    }
    EXPECT_GT(received, 0.0F) << "no frame of the test camera arrived";
    // ...and none of them is shown or handed on.
    float shown = -1.0F;
    ASSERT_EQ(Dll().GetCameraFrameRate(kCamera, &shown), 0);
    EXPECT_EQ(shown, 0.0F);
    EXPECT_EQ(frames.Count(), 0u);

    EXPECT_EQ(Dll().WriterRegister(kCamera, kPeerAcquisition, 0), 0);
    EXPECT_EQ(ReturnsPromptly([] { return Dll().LiveStop(kCamera); }), 0);
    EXPECT_EQ(ReturnsPromptly([] { return Dll().UnInitCamera(kCamera); }), 0);
    EXPECT_EQ(Privilege(), 0u);
}

}  // namespace
}  // namespace kqge
