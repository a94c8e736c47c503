#pragma once
// A simulated camera bus for tests: present cameras with instance ids, each
// answered by the driver's own core over a simulated USB camera
// (DriverCoreDevice), a log of each request with its bytes, removal and
// re-arrival, and the bus-level faults (listing, open, control failures,
// empty reads, read pacing). Faults of the camera and its USB stream are the
// simulated camera's (Device(n).Camera()). Never part of a shipped binary.

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "../transport/camera_transport.h"
#include "camera_backend.h"
#include "driver_core_device.h"

namespace kq::sim {

struct ControlRecord {
    std::size_t camera = 0;
    std::uint32_t code = 0;
    std::vector<std::uint8_t> input;
    std::vector<std::uint8_t> output;  // the bytes reported back
    bool succeeded = false;
};

class SimulatedBus : public CameraTransport {
public:
    // Adds a present camera; returns its number (0-based, in list order).
    // The driver core answers it with the USB identity of the id's VID_ and
    // PID_ (0 where missing); its camera sends the Bayer test picture, one
    // frame for each frame read.
    std::size_t AddCamera(std::u16string instanceId, std::u16string friendlyName = u"Test camera");
    // Adds a present camera answered by a backend of its own (empty: as
    // above); every plug-in (the first and each Replug) makes a fresh one, as
    // a new device would.
    using BackendFactory = std::function<std::unique_ptr<CameraBackend>()>;
    std::size_t AddCamera(std::u16string instanceId, std::u16string friendlyName, BackendFactory makeBackend);
    // Unplugs a camera: it leaves the list and its open connections fail.
    void Unplug(std::size_t camera);
    // Plugs it back in at its old place in the list.
    void Replug(std::size_t camera);
    CameraInterface InterfaceOf(std::size_t camera) const;

    // Fault injection.
    void FailListing(bool fail);
    void FailOpen(std::size_t camera, bool fail);
    void FailControl(std::uint32_t code, int times);
    // The next `reads` frame reads of the camera come back with 0 bytes.
    void ShortReads(std::size_t camera, int reads);
    // Frame pacing: with a budget, each frame read uses one and a read
    // blocks while none is left, until more are allowed or it is cancelled.
    // Nothing lifts the budget (the default: reads never block).
    void SetReadBudget(std::size_t camera, std::optional<int> frames);
    void AllowFrames(std::size_t camera, int frames);
    // Waits (at most `limit`) until a read of the camera is blocked with no
    // frame left to take, so every frame allowed before has been read.
    bool WaitForBlockedRead(std::size_t camera, std::chrono::milliseconds limit);
    int CancelledReads(std::size_t camera) const;

    // What happened.
    std::vector<ControlRecord> Log() const;
    std::vector<ControlRecord> LogOf(std::uint32_t code) const;
    void ClearLog();
    int OpenConnections() const;
    // How often the interfaces were listed, failed listings included.
    int Listings() const;
    // The device answering the camera now (a new one after each Replug).
    // The camera must be answered by a DriverCoreDevice.
    DriverCoreDevice& Device(std::size_t camera);

    // CameraTransport.
    std::optional<std::vector<CameraInterface>> ListInterfaces() override;
    std::unique_ptr<CameraConnection> Open(const CameraInterface& camera) override;

private:
    class Connection;
    struct Camera {
        CameraInterface iface;
        BackendFactory makeBackend;
        // Shared with the reads in flight, which run outside the bus lock.
        std::shared_ptr<CameraBackend> backend;
        bool present = true;
        bool failOpen = false;
        int shortReads = 0;
        int plugGeneration = 0;
    };

    std::optional<std::size_t> Control(std::size_t camera, int generation, std::uint32_t code,
                                       std::span<const std::uint8_t> in, std::span<std::uint8_t> out);
    std::optional<std::size_t> Read(std::size_t camera, int generation, std::span<std::uint8_t> buffer);
    void Closed(std::size_t camera, int generation);
    // False when the read was cancelled while it waited for the budget.
    bool WaitForReadBudget(std::size_t camera);
    void CancelRead(std::size_t camera);

    struct ReadGate {
        std::optional<int> budget;
        int blocked = 0;
        int cancelTicket = 0;
        int cancelled = 0;
    };
    mutable std::mutex gateLock_;
    std::condition_variable gateChanged_;
    std::map<std::size_t, ReadGate> gates_;

    mutable std::recursive_mutex lock_;
    std::vector<Camera> cameras_;
    std::vector<ControlRecord> log_;
    std::map<std::uint32_t, int> failingCodes_;
    bool failListing_ = false;
    int listings_ = 0;
    int openConnections_ = 0;
};

}  // namespace kq::sim
