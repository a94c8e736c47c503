#pragma once
// The simulated-camera build's world: a simulated bus holding the cameras
// of a configuration, each answered by the driver's own core over a
// simulated USB camera streaming its moving scene, and the library's
// device table over that bus. The test exports of that build reach the
// bus only through here; cameras are numbered from 1, in configuration
// order. Thread-safe: every call may come from any client thread.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "core/device_library.h"
#include "sim/simulated_bus.h"
#include "sim_camera_config.h"

namespace kq::simcam {

enum class SimStatus { ok, badCamera, busy, timedOut };

class SimulatedCameras {
public:
    explicit SimulatedCameras(std::vector<SimulatedCamera> cameras);
    SimulatedCameras(const SimulatedCameras&) = delete;
    SimulatedCameras& operator=(const SimulatedCameras&) = delete;

    DeviceLibrary& Library();

    // Other cameras on a new bus under a fresh device table, as on another
    // machine: counts start again and handles from 1. Refused (busy) while
    // the library has any camera open; no other call may run meanwhile.
    SimStatus Replace(std::vector<SimulatedCamera> cameras);

    // The camera leaves the bus and the library hears of it as from the
    // system's removal notice (the removal sweep): its open handles report
    // gone (event 0). Replug brings a fresh device back at the same place
    // and the arrival sweep reopens it with its last format (event 1).
    SimStatus Unplug(int camera);
    SimStatus Replug(int camera);
    // Off: Unplug and Replug change the bus alone, and the library hears of
    // it only through a notice delivered to its window.
    void SetSweepOnPlug(bool on) { sweepOnPlug_ = on; }

    // Fault injection, as the bus offers it.
    SimStatus FailOpen(int camera, bool fail);
    void FailControl(std::uint32_t code, int times);
    // Frame pacing: with a budget each frame read uses one and waits while
    // none is left; a negative budget lets reads run freely.
    SimStatus SetReadBudget(int camera, int frames);
    SimStatus AllowFrames(int camera, int frames);
    SimStatus WaitForBlockedRead(int camera, std::chrono::milliseconds limit);

    // What the library sent: the input bytes of the latest request with that
    // control code, and the connections open now.
    std::optional<std::vector<std::uint8_t>> LastControlInput(std::uint32_t code) const;
    int OpenConnections() const;

private:
    struct Bus {
        sim::SimulatedBus bus;
        std::vector<SimulatedCamera> cameras;
    };
    static std::shared_ptr<Bus> MakeBus(std::vector<SimulatedCamera> cameras);
    std::shared_ptr<Bus> Current() const;
    // The bus and the camera's place on it, when the number names one.
    std::optional<std::pair<std::shared_ptr<Bus>, std::size_t>> Find(int camera) const;

    mutable std::mutex lock_;
    std::shared_ptr<Bus> bus_;
    std::unique_ptr<DeviceLibrary> library_;
    // Serializes Replace, Unplug and Replug: each pairs a bus change with
    // what the library is told.
    std::mutex changeLock_;
    std::atomic<bool> sweepOnPlug_{true};
};

}  // namespace kq::simcam
