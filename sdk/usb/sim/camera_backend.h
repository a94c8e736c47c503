#pragma once
// What answers a simulated camera's requests behind the bus: the driver's
// own core running in-process over a simulated USB camera (DriverCoreDevice).
// The bus keeps the present list, the request log and the bus-level faults;
// the backend decides every answer. Never part of a shipped binary.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kq::sim {

class CameraBackend {
public:
    virtual ~CameraBackend() = default;

    // A handle was opened on the camera (the driver's create request).
    virtual void OnCreate() = 0;
    // The last bytes the driver reported for a control code, or nothing when
    // the driver failed the request.
    virtual std::optional<std::size_t> Control(std::uint32_t code, std::span<const std::uint8_t> in,
                                               std::span<std::uint8_t> out) = 0;
    // A frame read: bytes read, or nothing when the read failed. Runs
    // beside the other requests (outside the bus lock) and may wait.
    virtual std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) = 0;
    // A handle on the camera was closed (the driver's close request).
    virtual void OnClose() {}
    // The camera left the bus (surprise removal).
    virtual void OnUnplug() {}

protected:
    CameraBackend() = default;
    CameraBackend(const CameraBackend&) = default;
    CameraBackend& operator=(const CameraBackend&) = default;
};

}  // namespace kq::sim
