// A simulated GigE camera behind the driver stand-in, never shipped: it
// answers READREG, WRITEREG and WRITEMEM packets from its registers and
// memory, logs every packet, and fails the next commands on demand (no
// acknowledgement, an error status, another acknowledgement code, or an
// acknowledgement held back until the following command arrives).
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "datagram_link.h"

namespace kqge::standin {

enum class CameraFault { none, noAck, errorStatus, otherCode, lateAck };

class SimulatedCamera {
public:
    static constexpr std::uint16_t kErrorStatus = 0x8006;  // access denied

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
    std::vector<std::vector<std::uint8_t>> PacketLog() const;

private:
    void Serve();
    std::vector<std::uint8_t> Answer(std::span<const std::uint8_t> packet, CameraFault fault);

    DatagramEndpoint& driver_;
    mutable std::mutex lock_;
    std::map<std::uint32_t, std::uint32_t> registers_;
    std::map<std::uint32_t, std::uint8_t> memory_;
    std::deque<CameraFault> faults_;
    std::vector<std::vector<std::uint8_t>> log_;
    std::thread server_;
};

}  // namespace kqge::standin
