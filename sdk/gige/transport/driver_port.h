// The one narrow port through which an adapter channel reaches its capture
// driver: control requests with their bytes, and the acknowledgement event.
// The Win32 port carries them as device control requests on the adapter's
// handle; the loopback stand-in over datagrams.
#pragma once

#include <chrono>
#include <cstddef>
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

protected:
    // The channel never owns its port.
    ~DriverPort() = default;
};

}  // namespace kqge
