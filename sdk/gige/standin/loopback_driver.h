// A stand-in for the capture driver, never shipped: it takes the driver's
// control requests, sends each command to the camera as a GVCP packet over
// a datagram endpoint with a fresh request id, keeps one command in flight,
// and accepts only the acknowledgement whose id matches it (a late one for
// an earlier command is dropped and counted); it signals acknowledgements
// only once the event is registered. The discovery list is the one it was
// given. Stream packets to a port whose stream was added are reassembled;
// whole frames queue for the reads in arrival order, and a read takes one.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "datagram_link.h"
#include "driver_port.h"
#include "gvsp_assembler.h"

namespace kqge::standin {

class LoopbackDriver final : public DriverPort, public StreamDestination {
public:
    // The endpoint outlives the driver; the driver closes it when destroyed.
    LoopbackDriver(DatagramEndpoint& camera, std::vector<std::uint8_t> deviceList);
    ~LoopbackDriver();
    LoopbackDriver(const LoopbackDriver&) = delete;
    LoopbackDriver& operator=(const LoopbackDriver&) = delete;

    std::optional<std::size_t> Control(DriverControl code, std::span<const std::uint8_t> input,
                                       std::span<std::uint8_t> output) override;
    bool WaitAck(std::chrono::milliseconds timeout) override;
    void ResetAck() override;
    std::array<std::uint8_t, 4> AckEventHandle() const override { return kAckEventHandle; }
    std::optional<std::size_t> ReadFrame(std::span<std::uint8_t> buffer) override;
    void CancelRead() override;

    // On the sender's thread: reassembles the packet into its stream's frame.
    void SendTo(std::uint16_t hostPort, std::span<const std::uint8_t> datagram) override;
    struct StreamCounts {
        GvspAssembler::Counts frames;  // summed over every stream
        std::uint64_t unknownPort = 0;
    };
    StreamCounts Streamed() const;
    // Blocks until at least `frames` frames were dropped incomplete (or
    // `timeout` passes); true when they were.
    bool WaitForIncomplete(std::uint64_t frames, std::chrono::milliseconds timeout) const;

    // Queues one whole frame, leader included, for the next read.
    void DeliverFrame(std::vector<std::uint8_t> frame);
    // Blocks until a read is pending (or `timeout` passes); true when one is.
    bool WaitForPendingRead(std::chrono::milliseconds timeout) const;
    // Blocks until every delivered frame was read and a read is pending
    // again: the reader has finished with all of them.
    bool WaitUntilIdle(std::chrono::milliseconds timeout) const;
    struct ReadCounts {
        int pending = 0;
        int mostAtOnce = 0;  // the most reads pending at one time
        int threads = 0;     // distinct threads that ever read
        int cancelled = 0;
        int tooLong = 0;  // frames that did not fit the reader's buffer
    };
    ReadCounts Reads() const;

    // Every command buffer sent, as the library built it.
    std::vector<std::vector<std::uint8_t>> CommandLog() const;
    std::vector<StreamRecord> Streams() const;
    int DroppedAcks() const;
    void RefuseDeviceList() { refuseDeviceList_ = true; }
    void RefuseStreams() { refuseStreams_ = true; }
    bool AckEventRegistered() const;

    static constexpr std::array<std::uint8_t, 4> kAckEventHandle = {0x4C, 0x0B, 0x00, 0x00};
    static constexpr std::size_t kMaxFrameBytes = 64u << 20;
    static constexpr std::size_t kSpareFrames = 4;

private:
    void ReceiveAcks();
    StreamCounts StreamedLocked() const;

    DatagramEndpoint& camera_;
    std::vector<std::uint8_t> deviceList_;
    bool refuseDeviceList_ = false;
    bool refuseStreams_ = false;

    mutable std::mutex lock_;
    std::condition_variable ackArrived_;
    std::uint16_t lastRequestId_ = 0;
    std::uint16_t inFlight_ = 0;
    bool ackSignalled_ = false;
    bool ackEventRegistered_ = false;
    std::vector<std::uint8_t> lastAck_;
    int droppedAcks_ = 0;
    std::vector<std::vector<std::uint8_t>> commands_;
    std::vector<StreamRecord> streams_;

    mutable std::mutex streamLock_;
    mutable std::condition_variable streamedChanged_;
    std::map<std::uint16_t, GvspAssembler> assemblers_;
    std::vector<std::vector<std::uint8_t>> spareFrames_;  // read frames' storage
    StreamCounts streamed_;                               // of deleted streams and unknown ports

    mutable std::mutex readLock_;
    mutable std::condition_variable readChanged_;
    std::deque<std::vector<std::uint8_t>> frames_;
    std::uint64_t cancelGeneration_ = 0;
    ReadCounts reads_;
    std::set<std::thread::id> readers_;

    std::thread receiver_;
};

}  // namespace kqge::standin
