// A simulated GigE camera behind the driver stand-in, never shipped: it
// answers READREG, WRITEREG and WRITEMEM packets from its registers and
// memory, logs every packet, and fails the next commands on demand (no
// acknowledgement, an error status, another acknowledgement code, or an
// acknowledgement held back until the following command arrives). It streams
// 8- and 16-bit frames as GVSP to the host port and with the packet size its
// stream channel registers hold, losing the packets asked for, each frame
// no sooner than a sensor of its rows and exposure would have it read.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

#include "datagram_link.h"
#include "frame_pace.h"
#include "gvsp_packet.h"

namespace kqge::standin {

enum class CameraFault { none, noAck, errorStatus, otherCode, lateAck };

class SimulatedCamera {
public:
    static constexpr std::uint16_t kErrorStatus = 0x8006;  // access denied
    // Stream channel 0: host port (low 16 bits), packet size (low 16 bits).
    static constexpr std::uint32_t kStreamPort = 0x0D00;
    static constexpr std::uint32_t kStreamPacketSize = 0x0D04;
    static constexpr std::uint32_t kControlPrivilege = 0x0A00;
    static constexpr std::uint32_t kAcquisition = 0xF0F00614;
    // A 480-row frame at about 60 a second, a 1944-row one at about 16.
    static constexpr std::chrono::microseconds kDefaultRowTime{32};

    struct StreamFrame {
        std::uint32_t width = 0;
        std::uint32_t height = 0;
        std::uint32_t pixelFormat = kMono8;
        bool triggered = false;
        std::uint32_t exposureLines = 0;  // rows' read times the sensor exposes
    };

    // The endpoint outlives the camera; the camera closes it when destroyed.
    explicit SimulatedCamera(DatagramEndpoint& driver);
    ~SimulatedCamera();
    SimulatedCamera(const SimulatedCamera&) = delete;
    SimulatedCamera& operator=(const SimulatedCamera&) = delete;

    void SetRegister(std::uint32_t address, std::uint32_t value);
    std::uint32_t Register(std::uint32_t address) const;
    std::vector<std::uint8_t> Memory(std::uint32_t address, std::size_t length) const;
    // Faults for the next commands, one each, in order.
    void FailNext(CameraFault fault);
    // Another host holds control: the control privilege register reads as
    // control access and refuses every write with access denied.
    void HoldControlElsewhere(bool held);
    std::vector<std::vector<std::uint8_t>> PacketLog() const;
    // Called on the serving thread with each value written to the
    // acquisition register, before the write is acknowledged, so that a
    // stream started from it is running when the host's write returns. Set
    // before any command arrives.
    void OnAcquisition(std::function<void(bool on)> hook) { acquisitionHook_ = std::move(hook); }
    // Called on the serving thread when the soft trigger register is written
    // with a value other than 0, before the write is acknowledged. Set before
    // any command arrives.
    void OnSoftTrigger(std::function<void()> hook) { softTriggerHook_ = std::move(hook); }
    static constexpr std::uint32_t kSoftTrigger = 0xF0005300;

    // The time to read one sensor row; 0 sends each frame at once.
    void SetRowTime(std::chrono::nanoseconds rowTime);

    // Stream packets go to `destination`, which outlives the camera.
    void StreamTo(StreamDestination& destination) { stream_ = &destination; }
    // Sends one frame (leader, payload packets 1..n, trailer n + 1) but the
    // packets whose ids are listed, once the sensor has it read: the longer
    // of its rows and its exposure lines after the frame before. The pixels
    // it sent; nothing when `stop` returned true while it waited.
    std::vector<std::uint8_t> SendFrame(const StreamFrame& frame, std::span<const std::uint32_t> lost = {},
                                        const std::function<bool()>& stop = {});
    // The pixels of the `block`th frame: each little-endian pixel a value
    // of its position and the block.
    static std::vector<std::uint8_t> Pattern(const StreamFrame& frame, std::uint16_t block);

private:
    void Serve();
    std::vector<std::uint8_t> Answer(std::span<const std::uint8_t> packet, CameraFault fault);

    DatagramEndpoint& driver_;
    mutable std::mutex lock_;
    std::map<std::uint32_t, std::uint32_t> registers_;
    std::map<std::uint32_t, std::uint8_t> memory_;
    std::deque<CameraFault> faults_;
    bool heldElsewhere_ = false;
    std::vector<std::vector<std::uint8_t>> log_;
    StreamDestination* stream_ = nullptr;
    std::uint16_t blockId_ = 0;
    std::chrono::nanoseconds rowTime_ = kDefaultRowTime;
    std::mutex paceLock_;  // one frame waits its turn at a time
    kqff::sim::FramePacer pacer_;
    std::function<void(bool)> acquisitionHook_;
    std::optional<bool> acquisitionWritten_;  // by the command being answered
    std::function<void()> softTriggerHook_;
    bool softTriggered_ = false;  // by the command being answered
    std::thread server_;
};

}  // namespace kqge::standin
