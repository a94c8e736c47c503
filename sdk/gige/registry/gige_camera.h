// What the camera registry needs of a GigE camera. The camera classes
// implement it; the registry owns them through it.
#pragma once

#include <cstdint>

namespace kqge {

class IGigECamera {
public:
    virtual ~IGigECamera() = default;

    // Taken from the library-wide camera counter at construction.
    virtual std::int32_t Index() const = 0;
    // The host UDP port the registry hands out; a streaming camera keeps the
    // port its stream was set up with.
    virtual void AssignPort(std::uint16_t port) = 0;
};

}  // namespace kqge
