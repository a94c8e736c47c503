// The adapter channel and the driver stand-in against a standard GigE Vision
// test camera on loopback, started by this test from the program named in
// KQGE_PEER_CAMERA: discovery, bootstrap registers, control privilege, and
// a stream set up by register writes and reassembled into delivered frames.
// That camera crashes on a read of a maker register (0xF000xxxx) and writes
// only the first pair of a multi-pair write: neither is sent here.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "be_bytes.h"
#include "cnic.h"
#include "gvsp_packet.h"
#include "loopback_driver.h"
#include "udp_link.h"

extern char** environ;

namespace kqge {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kControlPrivilege = 0x0A00;
constexpr std::uint32_t kStreamPort = 0x0D00;
constexpr std::uint32_t kStreamPacketSize = 0x0D04;
constexpr std::uint32_t kStreamDestination = 0x0D18;
constexpr std::uint32_t kAcquisition = 0x0124;
constexpr std::uint16_t kHostPort = 55105;
constexpr std::uint16_t kPacketSize = 1400;

class PeerCamera {
public:
    PeerCamera() {
        const char* program = std::getenv("KQGE_PEER_CAMERA");
        if (!program) return;
        std::string path = program;
        std::string flag = "-i";
        std::string address = "127.0.0.1";
        char* argv[] = {path.data(), flag.data(), address.data(), nullptr};
        started_ = posix_spawn(&pid_, path.c_str(), nullptr, nullptr, argv, environ) == 0;
    }
    ~PeerCamera() {
        if (!started_) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    bool Started() const { return started_; }

private:
    pid_t pid_ = 0;
    bool started_ = false;
};

// Frames as the receive thread routes them.
class Sink final : public ChannelHost, public FrameSink {
public:
    std::size_t CreateCameras(CNIC&, std::span<const DiscoveryRecord>) override { return kPacketSize + 512 * 512 * 2; }
    FrameSink* FindByPort(std::uint16_t port) override { return port == kHostPort ? this : nullptr; }
    void StoreFrame(const DeliveredFrame& frame) override {
        std::lock_guard guard(lock_);
        frames_.emplace_back(frame.bytes.begin(), frame.bytes.end());
        arrived_.notify_all();
    }
    bool TriggerOn() const override { return false; }
    bool ContinuousCapture() const override { return false; }
    void StartSnapshot(const DeliveredFrame&) override {}
    std::vector<Bytes> WaitFor(std::size_t count) {
        std::unique_lock guard(lock_);
        arrived_.wait_for(guard, std::chrono::seconds(10), [&] { return frames_.size() >= count; });
        return frames_;
    }

private:
    std::mutex lock_;
    std::condition_variable arrived_;
    std::vector<Bytes> frames_;
};

TEST(PeerCameraTest, DiscoveryPrivilegeRegistersAndAStream) {
    PeerCamera peer;
    ASSERT_TRUE(peer.Started()) << "set KQGE_PEER_CAMERA to the test camera program";
    standin::UdpEndpoint control;
    ASSERT_TRUE(control.Valid());
    // The camera answers once its socket is up: ask until then, bounded.
    std::optional<Bytes> record;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!record && std::chrono::steady_clock::now() < deadline) {
        record = standin::Discover(control, std::chrono::milliseconds(200));
    }
    ASSERT_TRUE(record.has_value()) << "no discovery answer";
    const DiscoveryRecord discovered{std::span<const std::uint8_t>(*record).first<kDiscoveryRecordBytes>()};
    EXPECT_EQ(discovered.ModelName(), "Fake");
    EXPECT_EQ(std::string(record->begin() + 216, record->begin() + 220), "GV01");
    EXPECT_EQ(discovered.CurrentIp(), (std::array<std::uint8_t, 4>{127, 0, 0, 1}));

    standin::LoopbackDriver driver(control, *record);
    Sink sink;
    AdapterRecord adapter;
    adapter.ip = {127, 0, 0, 1};
    adapter.mask = {255, 0, 0, 0};
    CNIC nic(&driver, &adapter, &sink, std::chrono::milliseconds(500));
    ASSERT_EQ(nic.Open(), 0);
    ASSERT_EQ(nic.DiscoveredCameras().size(), 1u);
    const DiscoveryRecord& camera = nic.DiscoveredCameras()[0];

    ASSERT_EQ(nic.WriteReg(camera, kControlPrivilege, 2), 0);
    std::uint32_t value = 0;
    ASSERT_EQ(nic.ReadReg(camera, kControlPrivilege, value), 0);
    EXPECT_EQ(value & 0x3, 2u);
    {
        // Another host port than the controller's gets no answer to a write.
        standin::UdpEndpoint otherControl;
        standin::LoopbackDriver otherDriver(otherControl, *record);
        CNIC other(&otherDriver, &adapter, nullptr, std::chrono::milliseconds(500));
        ASSERT_EQ(other.Open(), 0);
        EXPECT_EQ(other.WriteReg(camera, kStreamPacketSize, 576), -1);
    }
    ASSERT_EQ(nic.ReadReg(camera, kStreamPacketSize, value), 0);
    EXPECT_NE(value & 0xFFFF, 576u);

    // Bootstrap registers, one write each.
    ASSERT_EQ(nic.WriteReg(camera, kStreamPort, kHostPort), 0);
    ASSERT_EQ(nic.WriteReg(camera, kStreamDestination, 0x7F000001), 0);
    ASSERT_EQ(nic.WriteReg(camera, kStreamPacketSize, kPacketSize), 0);
    ASSERT_EQ(nic.ReadReg(camera, kStreamPacketSize, value), 0);
    EXPECT_EQ(value & 0xFFFF, kPacketSize);
    ASSERT_EQ(nic.ReadReg(camera, kStreamDestination, value), 0);
    EXPECT_EQ(value, 0x7F000001u);

    const std::uint16_t payload = kPacketSize - standin::kStreamOverheadBytes;
    ASSERT_EQ(nic.AddStream({512, 512, kHostPort, payload}), 0);
    standin::UdpStreamPort stream(kHostPort, driver);
    ASSERT_TRUE(stream.Valid());
    ASSERT_EQ(nic.StartReceive(), 0);
    ASSERT_EQ(nic.WriteReg(camera, kAcquisition, 1), 0);
    const auto frames = sink.WaitFor(2);
    EXPECT_EQ(nic.WriteReg(camera, kAcquisition, 0), 0);
    EXPECT_EQ(nic.StopReceive(), 0);

    const auto streamed = driver.Streamed();
    ASSERT_GE(frames.size(), 2u) << "frames " << streamed.frames.delivered << ", incomplete "
                                 << streamed.frames.incomplete << ", packets ignored " << streamed.frames.ignored
                                 << ", to unknown ports " << streamed.unknownPort;
    for (const Bytes& frame : frames) {
        ASSERT_EQ(frame.size(), payload + 512u * 512u);
        EXPECT_EQ(vz::GetBE16(frame, 42), kHostPort);
        EXPECT_EQ(vz::GetBE32(frame, 20), standin::kMono8);  // the leader's pixel format
        EXPECT_EQ(vz::GetBE32(frame, 24), 512u);
    }
    EXPECT_NE(frames[0], frames[1]);  // the camera's picture moves
}

}  // namespace
}  // namespace kqge
