#pragma once
// The library-wide table of open cameras behind the C interface: at most
// eight device objects, each known to the caller by an opaque 32-bit handle
// that stays valid for the object's life, even while its camera is unplugged.
//
// The table is guarded by a lock and hands out shared ownership, so a call
// running inside a device keeps it alive even when another thread closes it.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "base_device.h"
#include "capinfo_record.h"
#include "models/device_factory.h"
#include "status_codes.h"
#include "../transport/camera_transport.h"

namespace kq {

class DeviceLibrary {
public:
    static constexpr int kMaxDevices = 8;

    explicit DeviceLibrary(CameraTransport* transport);

    // Replaces the transport future opens and re-arrivals use.
    void SetTransport(CameraTransport* transport);

    // The folder of the bad-pixel and flat-field files that opening loads
    // (the DLL's is the host program's folder); empty: none are read.
    void SetTableFolder(std::filesystem::path folder);
    std::filesystem::path TableFolder() const;

    // The sleeper every device opened from now on pauses through.
    void SetSleeper(BaseDevice::Sleeper sleeper);
    // How devices opened from now on are made.
    void SetDeviceOptions(const DeviceOptions& options);

    // Opens the camera at the 1-based position *index (0 also means the
    // first). On success writes the handle and the position opened.
    int Initialize(std::int32_t* index, const CapInfo* capInfo, std::uint32_t* handle);
    int Uninitialize(std::uint32_t handle);
    int GetTotalDeviceNum(std::int32_t* count) const;
    int GetDeviceID(std::uint32_t handle, std::uint16_t* id) const;
    int DeviceCount() const;
    int RemovedDeviceCount() const;

    // Runs op on the device with that handle under its call lock and returns
    // op's status; 1 when no open camera has the handle.
    template <class Op>
    int WithDevice(std::uint32_t handle, Op&& op) {
        std::shared_ptr<BaseDevice> device = Find(handle);
        if (device == nullptr) return status::kBadHandle;
        std::lock_guard<BaseDevice::Lock> hold(device->CallLock());
        return op(*device);
    }

    // Hot-plug entry points: mark a device's camera gone, or bring it back
    // on the given interface.
    int DeviceRemoved(std::uint32_t handle);
    int DeviceArrived(std::uint32_t handle, const CameraInterface& camera);

    // The present camera interfaces, every one with its whole instance id
    // and path; nothing when the list cannot be made.
    std::optional<std::vector<CameraInterface>> ListPresentCameras();
    // The sweeps a device-change or power notice starts. Each device is
    // called under its own lock with no table lock held, so a device-event
    // callback may close its camera or any other.
    // Removal: every open device whose instance id is not listed is marked
    // removed. -1 with no open device, 4 when the list cannot be made
    // (nothing changes), else 0.
    int OnDevicesRemoved();
    // Arrival: every listed camera is offered to every open device; only a
    // removed one with that instance id comes back. -1 (nothing listed)
    // while no open device is removed, 4 when the list cannot be made.
    int OnDevicesArrived();
    // Resume from suspend: every streaming device starts its capture again.
    int ResumeStreaming();

private:
    std::shared_ptr<BaseDevice> Find(std::uint32_t handle) const;
    int FindIndex(std::uint32_t handle) const;  // table lock held
    std::uint32_t NextHandle();                 // table lock held
    std::vector<std::shared_ptr<BaseDevice>> OpenDevices() const;
    bool InTable(const BaseDevice& device) const;
    CameraTransport* Transport() const;

    mutable std::mutex tableLock_;
    CameraTransport* transport_;
    std::filesystem::path tableFolder_;
    BaseDevice::Sleeper sleeper_;
    DeviceOptions deviceOptions_;
    std::array<std::shared_ptr<BaseDevice>, kMaxDevices> table_{};
    int deviceCount_ = 0;
    std::int32_t totalDeviceCount_ = 0;
    std::uint32_t lastHandle_ = 0;
};

}  // namespace kq
