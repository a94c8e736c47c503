#include "device_library.h"

#include <algorithm>
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
    // Counted, not kept: a device closed from its own removal callback is
    // gone from the table before a kept count could have been raised.
    std::lock_guard<std::mutex> hold(tableLock_);
    int removed = 0;
    for (int i = 0; i < deviceCount_; ++i) {
        if (table_[i] != nullptr && table_[i]->IsRemoved()) ++removed;
    }
    return removed;
}

CameraTransport* DeviceLibrary::Transport() const {
    std::lock_guard<std::mutex> hold(tableLock_);
    return transport_;
}

int DeviceLibrary::DeviceRemoved(std::uint32_t handle) {
    return WithDevice(handle, [](BaseDevice& d) { return d.OnDeviceRemoved(); });
}

int DeviceLibrary::DeviceArrived(std::uint32_t handle, const CameraInterface& camera) {
    CameraTransport* transport = Transport();
    if (transport == nullptr) return status::kNoDevice;
    return WithDevice(handle, [&](BaseDevice& d) { return d.OnDeviceArrived(*transport, camera); });
}

std::vector<std::shared_ptr<BaseDevice>> DeviceLibrary::OpenDevices() const {
    std::lock_guard<std::mutex> hold(tableLock_);
    return {table_.begin(), table_.begin() + deviceCount_};
}

bool DeviceLibrary::InTable(const BaseDevice& device) const {
    std::lock_guard<std::mutex> hold(tableLock_);
    for (int i = 0; i < deviceCount_; ++i) {
        if (table_[i].get() == &device) return true;
    }
    return false;
}

std::optional<std::vector<CameraInterface>> DeviceLibrary::ListPresentCameras() {
    CameraTransport* transport = Transport();
    if (transport == nullptr) return std::nullopt;
    return transport->ListInterfaces();
}

namespace {

bool SameIdIgnoringCase(std::u16string_view a, std::u16string_view b) {
    const auto upper = [](char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper(a[i]) != upper(b[i])) return false;
    }
    return true;
}

}  // namespace

int DeviceLibrary::OnDevicesRemoved() {
    const auto devices = OpenDevices();
    if (devices.empty()) return status::kRefused;
    const auto present = ListPresentCameras();
    if (!present) return status::kEnumerationFailed;
    for (const auto& device : devices) {
        std::lock_guard<BaseDevice::Lock> hold(device->CallLock());
        // A callback earlier in the sweep may have closed it.
        if (!InTable(*device)) continue;
        const bool listed = std::any_of(present->begin(), present->end(), [&](const CameraInterface& camera) {
            return SameIdIgnoringCase(camera.instanceId, device->InstanceId());
        });
        if (!listed) device->OnDeviceRemoved();
    }
    return status::kSuccess;
}

int DeviceLibrary::OnDevicesArrived() {
    if (RemovedDeviceCount() <= 0) return status::kRefused;
    CameraTransport* transport = Transport();
    const auto present = ListPresentCameras();
    if (!present || transport == nullptr) return status::kEnumerationFailed;
    for (const auto& device : OpenDevices()) {
        std::lock_guard<BaseDevice::Lock> hold(device->CallLock());
        for (const CameraInterface& camera : *present) {
            if (!InTable(*device) || !device->IsRemoved()) break;
            device->OnDeviceArrived(*transport, camera);
        }
    }
    return status::kSuccess;
}

int DeviceLibrary::ResumeStreaming() {
    for (const auto& device : OpenDevices()) {
        std::lock_guard<BaseDevice::Lock> hold(device->CallLock());
        if (InTable(*device)) device->ResumeStreaming();
    }
    return status::kSuccess;
}

}  // namespace kq
