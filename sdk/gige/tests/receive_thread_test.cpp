// The adapter's receive thread against the loopback driver stand-in: the
// channel opened with cameras the host makes, frames routed by host port with
// their own length, one thread however many cameras stream, a stop that
// cancels the pending read, and GVSP frames of the simulated camera
// reassembled into delivered frames.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "be_bytes.h"
#include "channel_fixture.h"
#include "cnic.h"
#include "gvsp_packet.h"
#include "loopback_driver.h"
#include "simulated_camera.h"

namespace kqge {
namespace {

using Bytes = std::vector<std::uint8_t>;
using fixture::Adapter;
using fixture::DiscoveryList;
using fixture::kTestAckTimeout;

constexpr std::chrono::seconds kWait{10};
constexpr std::uint16_t kFirstPort = 55005;
constexpr std::size_t kMaxPacket = 8000;

class TestCamera final : public FrameSink {
public:
    void StoreFrame(const DeliveredFrame& frame) override {
        std::lock_guard guard(lock_);
        stored_.emplace_back(frame.bytes.begin(), frame.bytes.end());
    }
    bool TriggerOn() const override { return triggerOn; }
    bool ContinuousCapture() const override { return continuous; }
    void StartSnapshot(const DeliveredFrame& frame) override {
        std::lock_guard guard(lock_);
        snapshots_.emplace_back(frame.bytes.begin(), frame.bytes.end());
    }
    std::vector<Bytes> Stored() const {
        std::lock_guard guard(lock_);
        return stored_;
    }
    std::vector<Bytes> Snapshots() const {
        std::lock_guard guard(lock_);
        return snapshots_;
    }

    bool triggerOn = false;
    bool continuous = false;

private:
    mutable std::mutex lock_;
    std::vector<Bytes> stored_;
    std::vector<Bytes> snapshots_;
};

// One camera per record, on ports from 55005, each needing the receive size
// listed for it.
class TestCameras final : public ChannelHost {
public:
    explicit TestCameras(std::vector<std::size_t> needed) : needed_(std::move(needed)) {}

    std::size_t CreateCameras(CNIC&, std::span<const DiscoveryRecord> records) override {
        std::size_t largest = 0;
        for (std::size_t i = 0; i < records.size(); ++i) {
            macs.push_back(records[i].Mac()[5]);
            cameras[static_cast<std::uint16_t>(kFirstPort + i)] = std::make_unique<TestCamera>();
            largest = std::max(largest, needed_.at(i));
        }
        return largest;
    }
    FrameSink* FindByPort(std::uint16_t port) override {
        const auto found = cameras.find(port);
        return found == cameras.end() ? nullptr : found->second.get();
    }
    TestCamera& At(std::uint16_t port) { return *cameras.at(port); }

    std::map<std::uint16_t, std::unique_ptr<TestCamera>> cameras;
    std::vector<std::uint8_t> macs;

private:
    std::vector<std::size_t> needed_;
};

// A delivered frame: `length` bytes, each its own offset plus `fill`, with
// the trigger mark and the host port in the leader.
Bytes Frame(std::size_t length, std::uint16_t port, std::uint16_t mark, std::uint8_t fill) {
    Bytes frame(length);
    for (std::size_t i = 0; i < length; ++i) frame[i] = static_cast<std::uint8_t>(i + fill);
    if (length >= 44) {
        frame[40] = static_cast<std::uint8_t>(mark >> 8);
        frame[41] = static_cast<std::uint8_t>(mark);
        frame[42] = static_cast<std::uint8_t>(port >> 8);
        frame[43] = static_cast<std::uint8_t>(port);
    }
    return frame;
}

struct Receiving {
    explicit Receiving(std::vector<std::size_t> needed)
        : driver(link.DriverSide(), DiscoveryList(needed.size())), cameras(std::move(needed)) {
        camera.SetRowTime(std::chrono::nanoseconds::zero());  // frames as fast as the tests send them
    }

    standin::InProcessLink link;
    standin::SimulatedCamera camera{link.CameraSide()};
    standin::LoopbackDriver driver;
    TestCameras cameras;
    AdapterRecord adapter = Adapter();
    CNIC nic{&driver, &adapter, &cameras, kTestAckTimeout};
};

TEST(ReceiveThreadTest, OpenRegistersTheEventHasTheCamerasMadeAndSizesTheBuffer) {
    Receiving r({5000, 9000, 7000});
    const Bytes list = DiscoveryList(1);
    const DiscoveryRecord record{std::span<const std::uint8_t>(list).first<kDiscoveryRecordBytes>()};
    std::uint32_t value = 0x5A5A5A5A;
    // Until the event is registered no acknowledgement is signalled.
    EXPECT_EQ(r.nic.ReadReg(record, 0x0100, value), -1);
    EXPECT_EQ(value, 0x5A5A5A5Au);

    ASSERT_EQ(r.nic.Open(), 0);
    EXPECT_TRUE(r.driver.AckEventRegistered());
    EXPECT_EQ(r.cameras.macs, (std::vector<std::uint8_t>{0, 1, 2}));
    EXPECT_EQ(r.nic.ReceiveBufferBytes(), 9000u);
    r.camera.SetRegister(0x0100, 0x01020304);
    EXPECT_EQ(r.nic.ReadReg(record, 0x0100, value), 0);
    EXPECT_EQ(value, 0x01020304u);
}

TEST(ReceiveThreadTest, FramesGoToTheCameraOfTheirPortWithTheirOwnLength) {
    Receiving r({4096, 4096});
    ASSERT_EQ(r.nic.Open(), 0);
    TestCamera& a = r.cameras.At(kFirstPort);
    TestCamera& b = r.cameras.At(kFirstPort + 1);
    a.triggerOn = true;  // snapshots of triggered frames only
    b.triggerOn = true;
    b.continuous = true;  // every frame a snapshot

    const struct Case {
        const char* name;
        Bytes frame;
        TestCamera* to;  // null: dropped
        bool snapshot;
    } cases[] = {
        {"long frame to a", Frame(3000, kFirstPort, 0, 1), &a, false},
        {"shorter frame to a after a longer one", Frame(200, kFirstPort, 0, 2), &a, false},
        {"triggered frame to a", Frame(300, kFirstPort, 0xFF01, 3), &a, true},
        {"frame to b", Frame(100, kFirstPort + 1, 0, 4), &b, true},
        {"another mark is no trigger", Frame(120, kFirstPort, 0xFF02, 5), &a, false},
        {"unknown port", Frame(400, kFirstPort + 2, 0xFF01, 6), nullptr, false},
        {"too short for the port", Frame(43, kFirstPort, 0, 7), nullptr, false},
        {"leader fields only", Frame(44, kFirstPort + 1, 0, 8), &b, true},
        {"longer than the buffer", Frame(4097, kFirstPort, 0, 9), nullptr, false},
        {"after the drops", Frame(64, kFirstPort, 0xFF01, 10), &a, true},
    };
    ASSERT_EQ(r.nic.StartReceive(), 0);
    for (const Case& k : cases) r.driver.DeliverFrame(k.frame);
    ASSERT_TRUE(r.driver.WaitUntilIdle(kWait));

    std::map<TestCamera*, std::vector<Bytes>> stored, snapshots;
    for (const Case& k : cases) {
        if (!k.to) continue;
        stored[k.to].push_back(k.frame);
        if (k.snapshot) snapshots[k.to].push_back(k.frame);
    }
    EXPECT_EQ(a.Stored(), stored[&a]);
    EXPECT_EQ(b.Stored(), stored[&b]);
    EXPECT_EQ(a.Snapshots(), snapshots[&a]);
    EXPECT_EQ(b.Snapshots(), snapshots[&b]);
    const auto counts = r.nic.RoutingCounts();
    EXPECT_EQ(counts.routed, 7u);
    EXPECT_EQ(counts.unknownPort, 1u);
    EXPECT_EQ(counts.tooShort, 1u);
    EXPECT_EQ(r.driver.Reads().tooLong, 1);
    EXPECT_EQ(r.nic.StopReceive(), 0);
}

TEST(ReceiveThreadTest, OneThreadPerAdapterAsTwoCamerasStartAndStop) {
    Receiving r({1024, 1024});
    ASSERT_EQ(r.nic.Open(), 0);
    EXPECT_EQ(r.nic.StopReceive(), 40);

    ASSERT_EQ(r.nic.StartReceive(), 0);
    ASSERT_EQ(r.nic.StartReceive(), 0);
    r.driver.DeliverFrame(Frame(100, kFirstPort, 0, 1));
    r.driver.DeliverFrame(Frame(100, kFirstPort + 1, 0, 2));
    ASSERT_TRUE(r.driver.WaitUntilIdle(kWait));
    EXPECT_EQ(r.driver.Reads().threads, 1);

    // The first camera stops; the second still receives on the same thread.
    ASSERT_EQ(r.nic.StopReceive(), 0);
    EXPECT_TRUE(r.nic.Receiving());
    r.driver.DeliverFrame(Frame(100, kFirstPort + 1, 0, 3));
    ASSERT_TRUE(r.driver.WaitUntilIdle(kWait));
    EXPECT_EQ(r.cameras.At(kFirstPort + 1).Stored().size(), 2u);
    EXPECT_EQ(r.driver.Reads().threads, 1);

    ASSERT_EQ(r.nic.StopReceive(), 0);
    EXPECT_FALSE(r.nic.Receiving());
    EXPECT_EQ(r.driver.Reads().pending, 0);
    EXPECT_EQ(r.nic.StopReceive(), 40);

    // Streaming again starts a thread again, still one at a time.
    ASSERT_EQ(r.nic.StartReceive(), 0);
    r.driver.DeliverFrame(Frame(100, kFirstPort, 0, 4));
    ASSERT_TRUE(r.driver.WaitUntilIdle(kWait));
    EXPECT_EQ(r.driver.Reads().mostAtOnce, 1);
    EXPECT_EQ(r.cameras.At(kFirstPort).Stored().size(), 2u);
}

TEST(ReceiveThreadTest, StopWithAReadPendingCancelsItAndJoins) {
    Receiving r({1024});
    ASSERT_EQ(r.nic.Open(), 0);
    ASSERT_EQ(r.nic.StartReceive(), 0);
    ASSERT_TRUE(r.driver.WaitForPendingRead(kWait));

    const auto before = std::chrono::steady_clock::now();
    ASSERT_EQ(r.nic.StopReceive(), 0);
    const auto took = std::chrono::steady_clock::now() - before;
    // A stop that waited for the thread instead of cancelling its read would
    // hang here for good; a waited-out timeout would take its 2 s.
    EXPECT_LT(took, std::chrono::milliseconds(1500));
    EXPECT_GE(r.driver.Reads().cancelled, 1);
    EXPECT_EQ(r.driver.Reads().pending, 0);
    EXPECT_FALSE(r.nic.Receiving());
}

TEST(ReceiveThreadTest, DestroyingAReceivingChannelCancelsItsRead) {
    Receiving r({1024});
    ASSERT_EQ(r.nic.Open(), 0);
    {
        CNIC second(&r.driver, &r.adapter, &r.cameras, kTestAckTimeout);
        ASSERT_EQ(second.StartReceive(), 0);
        ASSERT_TRUE(r.driver.WaitForPendingRead(kWait));
    }
    EXPECT_EQ(r.driver.Reads().pending, 0);
    EXPECT_GE(r.driver.Reads().cancelled, 1);
}

TEST(ReceiveThreadTest, GvspFramesArriveWholeOrNotAtAll) {
    using Spec = standin::SimulatedCamera::StreamFrame;
    const struct Case {
        const char* name;
        Spec frame;
        std::uint16_t packetSize;
        std::vector<std::uint32_t> lost;
        bool delivered;
        std::uint64_t incomplete;
        std::uint64_t ignored = 0;  // packets outside any open frame
    } cases[] = {
        {"8-bit in 1500-byte packets", {64, 48, standin::kMono8, false}, 1500, {}, true, 0},
        {"16-bit in 8000-byte packets", {100, 70, standin::kMono16, false}, 8000, {}, true, 0},
        {"triggered", {32, 8, standin::kMono8, true}, 1500, {}, true, 0},
        {"short last packet", {33, 7, standin::kMono16, false}, 100, {}, true, 0},
        {"a payload packet lost", {64, 48, standin::kMono8, false}, 1500, {2}, false, 1},
        {"the last payload packet lost", {64, 48, standin::kMono16, false}, 1500, {5}, false, 1},
        {"the trailer lost: whole without it", {64, 48, standin::kMono8, false}, 1500, {4}, true, 0},
        {"the trailer and a packet lost: cut off by the next leader",
         {64, 48, standin::kMono8, false},
         1500,
         {1, 4},
         false,
         1},
        {"the leader lost", {64, 48, standin::kMono8, false}, 1500, {0}, false, 0, 4},
    };
    for (const Case& k : cases) {
        Receiving r({kMaxPacket + 100 * 70 * 2});
        ASSERT_EQ(r.nic.Open(), 0) << k.name;
        const DiscoveryRecord& record = r.nic.DiscoveredCameras()[0];
        const std::uint32_t addresses[] = {standin::SimulatedCamera::kStreamPort,
                                           standin::SimulatedCamera::kStreamPacketSize};
        const std::uint32_t values[] = {kFirstPort, 0x40000000u | k.packetSize};
        ASSERT_EQ(r.nic.WriteRegs(record, addresses, values), 0) << k.name;
        const std::uint16_t payload = static_cast<std::uint16_t>(k.packetSize - standin::kStreamOverheadBytes);
        ASSERT_EQ(r.nic.AddStream({static_cast<std::uint16_t>(k.frame.width),
                                   static_cast<std::uint16_t>(k.frame.height), kFirstPort, payload}),
                  0);
        ASSERT_EQ(r.nic.StartReceive(), 0);
        r.camera.StreamTo(r.driver);

        const Bytes pixels = r.camera.SendFrame(k.frame, k.lost);
        // A whole frame after each case: the one before it never leaks in.
        const Spec next{4, 4, standin::kMono8, false};
        const Bytes nextPixels = r.camera.SendFrame(next);
        ASSERT_TRUE(r.driver.WaitUntilIdle(kWait)) << k.name;

        std::vector<Bytes> expected;
        auto delivered = [&](const Spec& frame, std::uint16_t block, const Bytes& sent) {
            Bytes bytes = standin::EncodeGvspLeader(block, {frame.pixelFormat, frame.width, frame.height,
                                                            static_cast<std::uint16_t>(frame.triggered ? 0xFF01 : 0)});
            bytes.resize(payload, 0);
            vz::PutBE16(bytes, 42, kFirstPort);
            bytes.insert(bytes.end(), sent.begin(), sent.end());
            return bytes;
        };
        if (k.delivered) expected.push_back(delivered(k.frame, 1, pixels));
        expected.push_back(delivered(next, 2, nextPixels));
        const auto stored = r.cameras.At(kFirstPort).Stored();
        EXPECT_EQ(stored, expected) << k.name;
        if (k.delivered) {
            ASSERT_FALSE(stored.empty()) << k.name;
            EXPECT_EQ(stored[0].size(),
                      payload + k.frame.width * k.frame.height * standin::GvspBytesPerPixel(k.frame.pixelFormat))
                << k.name;
            EXPECT_EQ(vz::GetBE16(stored[0], 40), k.frame.triggered ? 0xFF01 : 0) << k.name;
        }
        EXPECT_EQ(r.driver.Streamed().frames.incomplete, k.incomplete) << k.name;
        EXPECT_EQ(r.driver.Streamed().frames.ignored, k.ignored) << k.name;
        EXPECT_EQ(r.nic.StopReceive(), 0) << k.name;
    }
}

TEST(ReceiveThreadTest, StreamPacketsGoOnlyToAddedStreams) {
    Receiving r({kMaxPacket + 4096});
    ASSERT_EQ(r.nic.Open(), 0);
    r.camera.SetRegister(standin::SimulatedCamera::kStreamPort, kFirstPort);
    r.camera.SetRegister(standin::SimulatedCamera::kStreamPacketSize, 1500);
    r.camera.StreamTo(r.driver);
    const standin::SimulatedCamera::StreamFrame frame{16, 16, standin::kMono8, false};
    const StreamRecord stream{16, 16, kFirstPort, 1464};

    r.camera.SendFrame(frame);  // no stream yet: leader, one payload, trailer
    ASSERT_EQ(r.nic.AddStream(stream), 0);
    r.camera.SendFrame(frame);
    ASSERT_EQ(r.nic.DeleteStream(stream), 0);
    r.camera.SendFrame(frame);

    const auto counts = r.driver.Streamed();
    EXPECT_EQ(counts.unknownPort, 6u);
    EXPECT_EQ(counts.frames.delivered, 1u);
    EXPECT_EQ(counts.frames.incomplete, 0u);
}

}  // namespace
}  // namespace kqge
