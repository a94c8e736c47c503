// The GigE library's state behind its C interface: the camera registry and,
// while started, the adapter manager with its channels and their cameras.
// Start-up asks the adapter service for the adapters once per start; a start
// that fails leaves nothing built and can be tried again, and a stop lets the
// next start rebuild everything. At a stop the cameras go first, while the
// channels their stop sequences use still exist.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>

#include "adapter_reply.h"
#include "camera_manager.h"
#include "cnic.h"
#include "nic_manager.h"
#include "registry_host.h"

namespace kqge {

// The adapter list of this process from the adapter service.
class AdapterService {
public:
    // 0 with the adapters, or 22 or 23 with none.
    virtual AdapterReply RequestAdapters() = 0;

protected:
    ~AdapterService() = default;
};

class GigELibrary {
public:
    // All three outlive the library.
    GigELibrary(AdapterService& service, DriverPortSource& ports, CameraFactory& factory,
                std::chrono::milliseconds ackTimeout = CNIC::kAckTimeout);
    GigELibrary(const GigELibrary&) = delete;
    GigELibrary& operator=(const GigELibrary&) = delete;
    ~GigELibrary();

    // 0 at once when started. Otherwise the service's 22 or 23 (nothing
    // built), or 0 with one channel per adapter and their cameras registered.
    std::int32_t Initialize();
    // Deletes every camera, then every channel; 0. Harmless when stopped.
    std::int32_t UnInitialize();
    bool Initialized() const;
    // 25 when not started (count untouched), 2 for a null count; else 0.
    std::int32_t GetCameraCount(std::int32_t* count) const;

    // The camera a caller names by `index`, 0 .. count - 1 in the order the
    // adapters listed them, or null; valid until the next stop. Cameras take
    // their own numbers from a counter that a restart does not reset, so the
    // caller's index counts from the first camera of this start.
    IGigECamera* FindCamera(std::int32_t index) const;
    CCameraManager& Registry() { return registry_; }

private:
    AdapterService& service_;
    DriverPortSource& ports_;
    std::chrono::milliseconds ackTimeout_;
    mutable std::mutex lock_;  // start, stop and the count
    CCameraManager registry_;
    RegistryHost host_;
    // Present exactly while started.
    std::unique_ptr<CNICManager> adapters_;
    std::atomic<std::int32_t> firstIndex_{0};  // of this start's first camera
};

}  // namespace kqge
