// The receive path at line rate: a paced sender hands a 2592x1944 8-bit
// frame's GVSP packets to the loopback driver stand-in at 1 Gb/s (or as fast
// as it can), the driver reassembles them, the adapter's receive thread reads
// each frame and routes it to a sink that copies it into its ring, as a
// camera does. Reported: frames dropped, MB/s, heap allocations per packet,
// and beside it a memcpy of the same frame bytes as the yardstick.
#include <benchmark/benchmark.h>

#include "counting_allocator.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <vector>

#include "cnic.h"
#include "datagram_link.h"
#include "gvsp_packet.h"
#include "loopback_driver.h"

namespace kqge {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kWidth = 2592;
constexpr std::uint32_t kHeight = 1944;
constexpr std::size_t kFrameBytes = std::size_t{kWidth} * kHeight;
constexpr std::uint16_t kPort = 55005;
constexpr double kLineBitsPerSecond = 1e9;

// One camera: copies every frame into a two-slot ring.
class RingSink final : public ChannelHost, public FrameSink {
public:
    explicit RingSink(std::size_t receiveBytes) : receiveBytes_(receiveBytes) {
        for (Bytes& slot : ring_) slot.resize(receiveBytes);
    }
    std::size_t CreateCameras(CNIC&, std::span<const DiscoveryRecord>) override { return receiveBytes_; }
    FrameSink* FindByPort(std::uint16_t port) override { return port == kPort ? this : nullptr; }
    void StoreFrame(const DeliveredFrame& frame) override {
        Bytes& slot = ring_[next_ ^= 1];
        std::memcpy(slot.data(), frame.bytes.data(), std::min(frame.bytes.size(), slot.size()));
        std::lock_guard guard(lock_);
        ++stored_;
        stored.notify_all();
    }
    bool TriggerOn() const override { return false; }
    bool ContinuousCapture() const override { return false; }
    void StartSnapshot(const DeliveredFrame&) override {}

    // Waits until `frames` were stored or nothing came for a second.
    std::uint64_t WaitFor(std::uint64_t frames) {
        std::unique_lock guard(lock_);
        stored.wait_for(guard, std::chrono::seconds(1), [&] { return stored_ >= frames; });
        return stored_;
    }

private:
    std::size_t receiveBytes_;
    Bytes ring_[2];
    unsigned next_ = 0;
    std::mutex lock_;
    std::condition_variable stored;
    std::uint64_t stored_ = 0;
};

// The packets of one frame, made once: the sender only hands them over.
std::vector<Bytes> FramePackets(std::size_t payload) {
    Bytes pixels(kFrameBytes);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 7);
    std::vector<Bytes> packets;
    packets.push_back(standin::EncodeGvspLeader(1, {standin::kMono8, kWidth, kHeight, 0}));
    std::uint32_t id = 1;
    for (std::size_t at = 0; at < pixels.size(); at += payload, ++id) {
        packets.push_back(
            standin::EncodeGvspPayload(1, id, std::span(pixels).subspan(at, std::min(payload, pixels.size() - at))));
    }
    packets.push_back(standin::EncodeGvspTrailer(1, id, kHeight));
    return packets;
}

void SetBlock(std::vector<Bytes>& packets, std::uint16_t block) {
    for (Bytes& packet : packets) {
        packet[2] = static_cast<std::uint8_t>(block >> 8);
        packet[3] = static_cast<std::uint8_t>(block);
    }
}

// range(0): packet size; range(1): 1 paces the sender to 1 Gb/s.
void BM_ReceivePath(benchmark::State& state) {
    const auto packetSize = static_cast<std::size_t>(state.range(0));
    const bool paced = state.range(1) != 0;
    const std::size_t payload = packetSize - standin::kStreamOverheadBytes;
    std::vector<Bytes> packets = FramePackets(payload);

    standin::InProcessLink link;
    standin::LoopbackDriver driver(link.DriverSide(), Bytes(kDiscoveryRecordBytes, 0));
    RingSink sink(packetSize + kFrameBytes);
    CNIC nic(&driver, nullptr, &sink);
    nic.Open();
    nic.AddStream({kWidth, kHeight, kPort, static_cast<std::uint16_t>(payload)});
    nic.StartReceive();

    const auto secondsPerByte = 8.0 / kLineBitsPerSecond;
    std::uint16_t block = 0;
    std::uint64_t sent = 0;
    const long before = testing_support::AllocationCount();
    auto due = Clock::now();
    for (auto _ : state) {
        block = static_cast<std::uint16_t>(block == 0xFFFF ? 1 : block + 1);
        state.PauseTiming();
        SetBlock(packets, block);
        state.ResumeTiming();
        for (const Bytes& packet : packets) {
            if (paced) {
                due += std::chrono::duration_cast<Clock::duration>(
                    std::chrono::duration<double>(static_cast<double>(packet.size() + 36) * secondsPerByte));
                while (Clock::now() < due) {}
            }
            driver.SendTo(kPort, packet);
        }
        ++sent;
    }
    const std::uint64_t received = sink.WaitFor(sent);
    const long allocations = testing_support::AllocationCount() - before;
    nic.StopReceive();

    state.counters["dropped"] = static_cast<double>(sent - received);
    state.counters["incomplete"] = static_cast<double>(driver.Streamed().frames.incomplete);
    state.counters["allocs/packet"] = static_cast<double>(allocations) / static_cast<double>(sent * packets.size());
    state.counters["fps"] = benchmark::Counter(static_cast<double>(sent), benchmark::Counter::kIsRate);
    state.SetBytesProcessed(static_cast<std::int64_t>(sent * kFrameBytes));
}

void BM_MemcpyFrame(benchmark::State& state) {
    const Bytes in(kFrameBytes, 1);
    Bytes out(in.size());
    testing_support::MeasureFrames(state, out.size(), [&] { std::memcpy(out.data(), in.data(), out.size()); });
}

BENCHMARK(BM_ReceivePath)
    ->ArgsProduct({{1500, 8000}, {1, 0}})
    ->ArgNames({"packet", "paced"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kqge
