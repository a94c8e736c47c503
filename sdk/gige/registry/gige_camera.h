// What the camera registry and the receive threads need of a GigE camera.
// The camera classes implement it; the registry owns them through it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "channel_host.h"

namespace kqge {

class IGigECamera : public FrameSink {
public:
    virtual ~IGigECamera() = default;

    // Taken from the library-wide camera counter at construction.
    virtual std::int32_t Index() const = 0;
    // The host UDP port the registry hands out; a streaming camera keeps the
    // port its stream was set up with.
    virtual void AssignPort(std::uint16_t port) = 0;
    // The receive buffer this camera needs: its largest packet and one raw
    // frame.
    virtual std::size_t ReceiveBytes() const = 0;
};

}  // namespace kqge
