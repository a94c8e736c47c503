#include "device_library.h"

#include <new>

#include "device_class.h"
#include "device_identification.h"
#include "models/device_factory.h"

namespace kq {

DeviceLibrary::DeviceLibrary(CameraTransport* transport) : transport_(transport) {}

void DeviceLibrary::SetTransport(CameraTransport* transport) {
    std::lock_guard<std::mutex> hold(tableLock_);
    transport_ = transport;
}

void DeviceLibrary::SetTableFolder(std::filesystem::path folder) {
    std::lock_guard<std::mutex> hold(tableLock_);
    tableFolder_ = std::move(folder);
}

std::filesystem::path DeviceLibrary::TableFolder() const {
    std::lock_guard<std::mutex> hold(tableLock_);
    return tableFolder_;
}

void DeviceLibrary::SetSleeper(BaseDevice::Sleeper sleeper) {
    std::lock_guard<std::mutex> hold(tableLock_);
    sleeper_ = std::move(sleeper);
}

void DeviceLibrary::SetDeviceOptions(const DeviceOptions& options) {
    std::lock_guard<std::mutex> hold(tableLock_);
    deviceOptions_ = options;
}

std::uint32_t DeviceLibrary::NextHandle() {
    // Handles are never reused while any could still be held: a stale handle
    // of a closed camera must not reach a newer one.
    do {
        ++lastHandle_;
    } while (lastHandle_ == 0 || FindIndex(lastHandle_) >= 0);
    return lastHandle_;
}

int DeviceLibrary::FindIndex(std::uint32_t handle) const {
    if (handle == 0) return -1;
    for (int i = 0; i < deviceCount_; ++i) {
        if (table_[i] != nullptr && table_[i]->CallerHandle() == handle) return i;
    }
    return -1;
}

std::shared_ptr<BaseDevice> DeviceLibrary::Find(std::uint32_t handle) const {
    std::lock_guard<std::mutex> hold(tableLock_);
    const int index = FindIndex(handle);
    return index < 0 ? nullptr : table_[index];
}

int DeviceLibrary::Initialize(std::int32_t* index, const CapInfo* capInfo, std::uint32_t* handle) {
    if (index == nullptr || capInfo == nullptr || handle == nullptr) return status::kNotSupported;
    std::lock_guard<std::mutex> hold(tableLock_);
    if (deviceCount_ >= kMaxDevices) return status::kNoResources;

    *handle = 0;
    if (transport_ == nullptr) return status::kNoDevice;
    // One listing serves identification and open, so the class chosen and
    // the camera opened are the same interface.
    const auto cameras = transport_->ListInterfaces();
    if (!cameras) return status::kNoDevice;
    const std::int32_t position = *index <= 1 ? 1 : *index;
    if (static_cast<std::size_t>(position) > cameras->size()) return status::kNoDevice;
    const CameraInterface& camera = (*cameras)[static_cast<std::size_t>(position - 1)];
    const DeviceIdentity identity = IdentifyInstanceId(camera.instanceId);
    if (identity.typeCode == 0) return status::kNoDevice;
    totalDeviceCount_ = static_cast<std::int32_t>(cameras->size());

    std::shared_ptr<BaseDevice> device;
    try {
        device = MakeDevice(identity, deviceOptions_);
    } catch (const std::bad_alloc&) {
        return status::kNoResources;
    }
    if (sleeper_) device->SetSleeper(sleeper_);
    const std::uint32_t newHandle = NextHandle();
    if (!tableFolder_.empty() && !device->LoadPixelTables(tableFolder_)) return status::kNoResources;
    const int rc = device->OpenDevice(*transport_, camera, *capInfo, newHandle);
    if (!device->IsOpen()) {
        device->CloseDevice();
        return rc;
    }
    table_[deviceCount_++] = std::move(device);
    *handle = newHandle;
    *index = position;
    return rc;
}

int DeviceLibrary::Uninitialize(std::uint32_t handle) {
    if (handle == 0) return status::kSuccess;
    std::shared_ptr<BaseDevice> device;
    {
        std::lock_guard<std::mutex> hold(tableLock_);
        const int index = FindIndex(handle);
        if (index < 0) return status::kBadHandle;
        device = std::move(table_[index]);
        // The last entry fills the gap, so positions after it move.
        if (index < deviceCount_ - 1) table_[index] = std::move(table_[deviceCount_ - 1]);
        table_[deviceCount_ - 1] = nullptr;
        --deviceCount_;
        if (device->IsRemoved()) --removedDeviceCount_;
    }
    std::lock_guard<BaseDevice::Lock> hold(device->CallLock());
    return device->CloseDevice();
}

int DeviceLibrary::GetTotalDeviceNum(std::int32_t* count) const {
    if (count == nullptr) return status::kNotSupported;
    std::lock_guard<std::mutex> hold(tableLock_);
    *count = totalDeviceCount_;
    return status::kSuccess;
}

int DeviceLibrary::GetDeviceID(std::uint32_t handle, std::uint16_t* id) const {
    std::lock_guard<std::mutex> hold(tableLock_);
    const int index = FindIndex(handle);
    if (index < 0) return status::kBadHandle;
    if (id == nullptr) return status::kNotSupported;
    *id = static_cast<std::uint16_t>(index + 1);
    return status::kSuccess;
}

int DeviceLibrary::DeviceCount() const {
    std::lock_guard<std::mutex> hold(tableLock_);
    return deviceCount_;
}

int DeviceLibrary::RemovedDeviceCount() const {
    std::lock_guard<std::mutex> hold(tableLock_);
    return removedDeviceCount_;
}

int DeviceLibrary::DeviceRemoved(std::uint32_t handle) {
    const int rc = WithDevice(handle, [](BaseDevice& d) { return d.OnDeviceRemoved(); });
    if (rc == status::kSuccess) {
        std::lock_guard<std::mutex> hold(tableLock_);
        if (FindIndex(handle) >= 0) ++removedDeviceCount_;
    }
    return rc;
}

int DeviceLibrary::DeviceArrived(std::uint32_t handle, const CameraInterface& camera) {
    CameraTransport* transport = nullptr;
    {
        std::lock_guard<std::mutex> hold(tableLock_);
        transport = transport_;
    }
    if (transport == nullptr) return status::kNoDevice;
    const int rc = WithDevice(handle, [&](BaseDevice& d) { return d.OnDeviceArrived(*transport, camera); });
    if (rc == status::kSuccess) {
        std::lock_guard<std::mutex> hold(tableLock_);
        if (FindIndex(handle) >= 0) --removedDeviceCount_;
    }
    return rc;
}

std::vector<std::uint32_t> DeviceLibrary::HandlesOn(std::u16string_view instanceId) const {
    std::lock_guard<std::mutex> hold(tableLock_);
    std::vector<std::uint32_t> handles;
    for (int i = 0; i < deviceCount_; ++i) {
        if (table_[i] != nullptr && table_[i]->InstanceId() == instanceId) handles.push_back(table_[i]->CallerHandle());
    }
    return handles;
}

}  // namespace kq
