#include "simulated_adapters.h"

#include <algorithm>
#include <span>

#include "adapter_reply.h"
#include "discovery_records.h"

namespace kqge::standin {
namespace {

std::vector<std::uint8_t> DiscoveryListOf(std::uint32_t ordinal) {
    const std::size_t first = std::min(kSimulatedModelNames.size(), ordinal * SimulatedAdapters::kCamerasPerAdapter);
    const std::size_t count = std::min(SimulatedAdapters::kCamerasPerAdapter, kSimulatedModelNames.size() - first);
    return DiscoveryListFor(std::span(kSimulatedModelNames).subspan(first, count));
}

}  // namespace

SimulatedAdapters::Adapter::Adapter(std::uint32_t ordinal, std::chrono::nanoseconds rowTime)
    : driver(link.DriverSide(), DiscoveryListOf(ordinal)) {
    camera.SetRowTime(rowTime);
    camera.StreamTo(driver);
    unpaced = rowTime <= std::chrono::nanoseconds::zero();
    camera.OnAcquisition([this](bool on) { Acquire(on); });
}

SimulatedAdapters::Adapter::~Adapter() {
    std::thread finished;
    {
        std::lock_guard guard(streamLock);
        closing = true;
        acquiring = false;
        finished = std::move(streamer);
    }
    streamChanged.notify_all();
    if (finished.joinable()) finished.join();
}

void SimulatedAdapters::Adapter::Acquire(bool on) {
    std::thread finished;
    {
        std::lock_guard guard(streamLock);
        if (closing) return;
        acquiring = on;
        if (!on) finished = std::move(streamer);
        if (on && !streamer.joinable()) streamer = std::thread([this] { Stream(); });
    }
    streamChanged.notify_all();
    if (finished.joinable()) finished.join();
}

void SimulatedAdapters::Adapter::Stream() {
    const auto stopped = [this] {
        std::lock_guard guard(streamLock);
        return !acquiring;
    };
    while (!stopped()) {
        const std::vector<StreamRecord> streams = driver.Streams();
        if (!streams.empty()) {
            // The camera holds each frame to its sensor's pace; unpaced, the
            // next goes once the host has taken this one.
            camera.SendFrame({streams.back().width, streams.back().height, kMono8}, {}, stopped);
            if (unpaced) driver.WaitUntilIdle(kStreamPoll);
            continue;
        }
        std::unique_lock guard(streamLock);
        streamChanged.wait_for(guard, kStreamPoll, [&] { return !acquiring; });
    }
}

DriverPort* SimulatedAdapters::PortForHandle(std::int64_t driverHandle) {
    if (driverHandle == WidenedDriverHandle(kPeerHandle)) {
        std::lock_guard guard(lock_);
        if (!peer_) peer_ = std::make_unique<PeerAdapter>();
        return peer_.get();
    }
    const std::int64_t ordinal = driverHandle - WidenedDriverHandle(kFirstHandle);
    if (ordinal < 0 || ordinal >= kMaxAdapters) return nullptr;
    std::lock_guard guard(lock_);
    auto& adapter = adapters_[static_cast<std::uint32_t>(ordinal)];
    if (!adapter) adapter = std::make_unique<Adapter>(static_cast<std::uint32_t>(ordinal), rowTime_);
    return &adapter->driver;
}

}  // namespace kqge::standin
