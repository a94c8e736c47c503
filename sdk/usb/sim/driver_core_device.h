#pragma once
// A simulated camera answered by the driver's own core: the KQFF request and
// frame logic runs in-process (HostDevice) with a simulated USB camera behind
// its pipes (SimCamera), and on request a stream thread that sends frames as
// the camera does (SimStream). The library's requests thus cross the same
// control codes, command blocks and frame reads as on a real machine.
// A test fixture only; never linked into a deliverable.

#include <atomic>
#include <cstdint>
#include <memory>

#include "camera_backend.h"
#include "host_device.h"
#include "sim_camera.h"
#include "sim_stream.h"

namespace kq::sim {

class DriverCoreDevice final : public CameraBackend {
public:
    // The USB identity decides how the core sizes frames.
    DriverCoreDevice(std::uint16_t vendorId, std::uint16_t productId);
    ~DriverCoreDevice() override;
    DriverCoreDevice(const DriverCoreDevice&) = delete;
    DriverCoreDevice& operator=(const DriverCoreDevice&) = delete;

    // Live video from the camera while it streams; idempotent.
    void StartVideo(kqff::sim::StreamFaults faults = {});

    // The camera behind the pipes (its command log, its IO and serial, its
    // picture) and the core itself (its diagnostics).
    kqff::sim::SimCamera& Camera() { return camera_; }
    kqff::Device& Core() { return host_.device(); }
    // Frame reads the core has answered with a frame.
    std::uint32_t FramesRead() const { return framesRead_.load(); }

    // CameraBackend.
    void OnCreate() override;
    std::optional<std::size_t> Control(std::uint32_t code, std::span<const std::uint8_t> in,
                                       std::span<std::uint8_t> out) override;
    // Asks the camera for a frame (it sends one only when it sends frames on
    // request), then reads one from the core.
    std::optional<std::size_t> Read(std::span<std::uint8_t> buffer) override;
    void OnClose() override;
    void OnUnplug() override;

private:
    // Declared so that the stream ends first, then the core, then the camera.
    kqff::sim::SimCamera camera_;
    kqff::host::HostDevice host_;
    std::unique_ptr<kqff::sim::SimStream> stream_;
    std::atomic<std::uint32_t> framesRead_{0};
};

}  // namespace kq::sim
