// The adapter channel and the driver stand-in against a standard GigE Vision
// test camera on loopback, started by this test from the program named in
// KQGE_PEER_CAMERA: discovery, bootstrap registers, control privilege, and
// a stream set up by register writes and reassembled into delivered frames;
// and the stand-in build's adapter of that camera under the library with the
// real camera classes.
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
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "be_bytes.h"
#include "camera_fixture.h"
#include "gige_library.h"
#include "cnic.h"
#include "gvsp_packet.h"
#include "loopback_driver.h"
#include "simulated_adapters.h"
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
    // `lostPerThousand` stream packets are lost on purpose.
    explicit PeerCamera(int lostPerThousand = 0) {
        const char* program = std::getenv("KQGE_PEER_CAMERA");
        if (!program) return;
        std::vector<std::string> args = {program, "-i", "127.0.0.1"};
        if (lostPerThousand > 0) args.insert(args.end(), {"-r", std::to_string(lostPerThousand)});
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        started_ = posix_spawn(&pid_, args[0].c_str(), nullptr, nullptr, argv.data(), environ) == 0;
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

// The camera started, discovered, and the channel opened over the driver
// stand-in with control taken.
class PeerSession {
public:
    explicit PeerSession(int lostPerThousand = 0) : peer(lostPerThousand) {}

    void Connect() {
        ASSERT_TRUE(peer.Started()) << "set KQGE_PEER_CAMERA to the test camera program";
        ASSERT_TRUE(control.Valid());
        // The camera answers once its socket is up: ask until then, bounded.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!record && std::chrono::steady_clock::now() < deadline) {
            record = standin::Discover(control, std::chrono::milliseconds(200));
        }
        ASSERT_TRUE(record.has_value()) << "no discovery answer";
        driver.emplace(control, *record);
        adapter.ip = {127, 0, 0, 1};
        adapter.mask = {255, 0, 0, 0};
        nic.emplace(&*driver, &adapter, &sink, std::chrono::milliseconds(500));
        ASSERT_EQ(nic->Open(), 0);
        ASSERT_EQ(nic->DiscoveredCameras().size(), 1u);
        ASSERT_EQ(nic->WriteReg(Camera(), kControlPrivilege, 2), 0);
    }
    const DiscoveryRecord& Camera() const { return nic->DiscoveredCameras()[0]; }

    // Bootstrap registers one write each, the stream added and received.
    void StartStream() {
        ASSERT_EQ(nic->WriteReg(Camera(), kStreamPort, kHostPort), 0);
        ASSERT_EQ(nic->WriteReg(Camera(), kStreamDestination, 0x7F000001), 0);
        ASSERT_EQ(nic->WriteReg(Camera(), kStreamPacketSize, kPacketSize), 0);
        ASSERT_EQ(nic->AddStream({512, 512, kHostPort, kPayload}), 0);
        stream.emplace(kHostPort, *driver);
        ASSERT_TRUE(stream->Valid());
        ASSERT_EQ(nic->StartReceive(), 0);
        ASSERT_EQ(nic->WriteReg(Camera(), kAcquisition, 1), 0);
    }
    void StopStream() {
        EXPECT_EQ(nic->WriteReg(Camera(), kAcquisition, 0), 0);
        EXPECT_EQ(nic->StopReceive(), 0);
    }

    static constexpr std::uint16_t kPayload = kPacketSize - standin::kStreamOverheadBytes;

    PeerCamera peer;
    standin::UdpEndpoint control;
    std::optional<Bytes> record;
    std::optional<standin::LoopbackDriver> driver;
    Sink sink;
    AdapterRecord adapter;
    std::optional<CNIC> nic;
    std::optional<standin::UdpStreamPort> stream;
};

TEST(PeerCameraTest, DiscoveryPrivilegeRegistersAndAStream) {
    PeerSession s;
    ASSERT_NO_FATAL_FAILURE(s.Connect());
    const DiscoveryRecord& camera = s.Camera();
    EXPECT_EQ(camera.ModelName(), "Fake");
    EXPECT_EQ(std::string(s.record->begin() + 216, s.record->begin() + 220), "GV01");
    EXPECT_EQ(camera.CurrentIp(), (std::array<std::uint8_t, 4>{127, 0, 0, 1}));

    std::uint32_t value = 0;
    ASSERT_EQ(s.nic->ReadReg(camera, kControlPrivilege, value), 0);
    EXPECT_EQ(value & 0x3, 2u);
    {
        // Another host port than the controller's gets no answer to a write.
        standin::UdpEndpoint otherControl;
        standin::LoopbackDriver otherDriver(otherControl, *s.record);
        CNIC other(&otherDriver, &s.adapter, nullptr, std::chrono::milliseconds(500));
        ASSERT_EQ(other.Open(), 0);
        EXPECT_EQ(other.WriteReg(camera, kStreamPacketSize, 576), -1);
    }
    ASSERT_EQ(s.nic->ReadReg(camera, kStreamPacketSize, value), 0);
    EXPECT_NE(value & 0xFFFF, 576u);

    ASSERT_NO_FATAL_FAILURE(s.StartStream());
    const auto frames = s.sink.WaitFor(2);
    s.StopStream();
    ASSERT_EQ(s.nic->ReadReg(camera, kStreamPacketSize, value), 0);
    EXPECT_EQ(value & 0xFFFF, kPacketSize);
    ASSERT_EQ(s.nic->ReadReg(camera, kStreamDestination, value), 0);
    EXPECT_EQ(value, 0x7F000001u);

    const auto streamed = s.driver->Streamed();
    ASSERT_GE(frames.size(), 2u) << "frames " << streamed.frames.delivered << ", incomplete "
                                 << streamed.frames.incomplete << ", packets ignored " << streamed.frames.ignored;
    for (const Bytes& frame : frames) {
        ASSERT_EQ(frame.size(), PeerSession::kPayload + 512u * 512u);
        EXPECT_EQ(vz::GetBE16(frame, 42), kHostPort);
        EXPECT_EQ(vz::GetBE32(frame, 20), standin::kMono8);  // the leader's pixel format
        EXPECT_EQ(vz::GetBE32(frame, 24), 512u);
    }
    EXPECT_NE(frames[0], frames[1]);  // the camera's picture moves
}

TEST(PeerCameraTest, FramesThatLostPacketsAreDroppedAndCounted) {
    // One packet in ten lost: a 193-packet frame is all but never whole.
    PeerSession s(100);
    ASSERT_NO_FATAL_FAILURE(s.Connect());
    ASSERT_NO_FATAL_FAILURE(s.StartStream());
    EXPECT_TRUE(s.driver->WaitForIncomplete(3, std::chrono::seconds(10)));
    s.StopStream();
    // Whatever did reach the camera is whole.
    for (const Bytes& frame : s.sink.WaitFor(0)) EXPECT_EQ(frame.size(), PeerSession::kPayload + 512u * 512u);
}

// The adapter service's one record names the stand-in's adapter of the test
// camera.
class PeerService final : public AdapterService {
public:
    AdapterReply RequestAdapters() override {
        AdapterReply reply;
        reply.adapters.assign(1, fixture::Adapter());
        reply.adapters[0].driverHandle = WidenedDriverHandle(standin::SimulatedAdapters::kPeerHandle);
        return reply;
    }
};

TEST(PeerCameraTest, TheStandInAdapterStreamsToTheDefaultCameraWhichDropsItsFrames) {
    PeerCamera peer;
    ASSERT_TRUE(peer.Started()) << "set KQGE_PEER_CAMERA to the test camera program";
    standin::SimulatedAdapters adapters;
    PeerService service;
    fixture::NoSettingsFile settings;
    GigECameraFactory factory(settings);
    GigELibrary library(service, adapters, factory, fixture::kTestAckTimeout);
    ASSERT_EQ(library.Initialize(), 0);
    IGigECamera* camera = library.FindCamera(0);
    ASSERT_NE(camera, nullptr) << "no discovery answer";
    std::int32_t modelCode = -1;
    EXPECT_EQ(camera->GetCameraType(modelCode), 19);

    ASSERT_EQ(camera->InitCamera(nullptr), 0);
    EXPECT_EQ(camera->LiveStart(), 0);
    std::uint16_t port = 0;
    ASSERT_EQ(camera->GetCameraPort(port), 0);
    // The camera applies only the first pair of the start's multi-pair
    // write and streams on its own register.
    ASSERT_EQ(camera->WriteRegister(kStreamPort, port), 0);
    ASSERT_EQ(camera->WriteRegister(kStreamDestination, 0x7F000001), 0);
    ASSERT_EQ(camera->WriteRegister(kAcquisition, 1), 0);
    auto& base = dynamic_cast<GigECameraBase&>(*camera);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (base.DroppedFrames() < 3 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_GE(base.DroppedFrames(), 3u) << "512x512 frames are the wrong size for the default camera";
    // Stopped while the camera still streams.
    EXPECT_EQ(camera->LiveStop(), 0);
    EXPECT_EQ(camera->UnInitCamera(), 0);
    EXPECT_EQ(library.UnInitialize(), 0);
}

}  // namespace
}  // namespace kqge
