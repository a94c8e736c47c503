// The one narrow port through which an adapter channel reaches its capture
// driver: control requests with their bytes, the acknowledgement event, and
// reads of whole frames. The Win32 port carries them as device control
// requests and reads on the adapter's handle; the loopback stand-in over
// datagrams.
#pragma once

#include <chrono>
#include <cstddef>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "driver_contract.h"

namespace kqge {

class DriverPort {
public:
    // Runs one request; the bytes written to `output`, or empty when the
    // driver refused. May block briefly; safe from any thread.
    virtual std::optional<std::size_t> Control(DriverControl code, std::span<const std::uint8_t> input,
                                               std::span<std::uint8_t> output) = 0;
    // Waits up to `timeout` for the acknowledgement event; true when it came.
    virtual bool WaitAck(std::chrono::milliseconds timeout) = 0;
    virtual void ResetAck() = 0;
    // The four bytes that name the acknowledgement event to the driver: the
    // input of the event registration request.
    virtual std::array<std::uint8_t, 4> AckEventHandle() const = 0;

    // One read: one whole delivered frame into `buffer`, returning its
    // length; empty when the read was cancelled or failed. Blocks until a
    // frame comes. A frame longer than the buffer is never cut to fit.
    virtual std::optional<std::size_t> ReadFrame(std::span<std::uint8_t> buffer) = 0;
    // Cancels the reads pending on other threads at this moment; a read that
    // starts afterwards is not affected, so a stopping reader cancels until
    // its thread has returned.
    virtual void CancelRead() = 0;

protected:
    // The channel never owns its port.
    ~DriverPort() = default;
};

}  // namespace kqge
