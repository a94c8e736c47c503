#include "simulated_cameras.h"

#include <utility>

#include "sim/driver_core_device.h"

namespace kq::simcam {

std::shared_ptr<SimulatedCameras::Bus> SimulatedCameras::MakeBus(std::vector<SimulatedCamera> cameras) {
    auto made = std::make_shared<Bus>();
    made->cameras = std::move(cameras);
    for (const SimulatedCamera& c : made->cameras) {
        made->bus.AddCamera(c.instanceId, c.friendlyName, [c] {
            auto device = std::make_unique<sim::DriverCoreDevice>(c.vendorId, c.productId);
            device->Camera().SetSensorSize(c.sensorWidth, c.sensorHeight);
            device->Camera().SetPicture(kqff::sim::Picture::Scene);
            device->Camera().SetBayerPhase(c.bayerPhase);
            device->Camera().SetMonochromeSensor(c.monochrome);
            device->Camera().SetRowTime(c.rowTime);
            device->StartVideo();
            return device;
        });
    }
    return made;
}

SimulatedCameras::SimulatedCameras(std::vector<SimulatedCamera> cameras)
    : bus_(MakeBus(std::move(cameras))), library_(std::make_unique<DeviceLibrary>(&bus_->bus)) {}

DeviceLibrary& SimulatedCameras::Library() {
    std::lock_guard<std::mutex> hold(lock_);
    return *library_;
}

std::shared_ptr<SimulatedCameras::Bus> SimulatedCameras::Current() const {
    std::lock_guard<std::mutex> hold(lock_);
    return bus_;
}

std::optional<std::pair<std::shared_ptr<SimulatedCameras::Bus>, std::size_t>> SimulatedCameras::Find(int camera) const {
    auto current = Current();
    if (camera < 1 || static_cast<std::size_t>(camera) > current->cameras.size()) return std::nullopt;
    return std::make_pair(std::move(current), static_cast<std::size_t>(camera - 1));
}

SimStatus SimulatedCameras::Replace(std::vector<SimulatedCamera> cameras) {
    std::lock_guard<std::mutex> change(changeLock_);
    if (Library().DeviceCount() != 0) return SimStatus::busy;
    auto nextBus = MakeBus(std::move(cameras));
    auto nextLibrary = std::make_unique<DeviceLibrary>(&nextBus->bus);
    nextLibrary->SetTableFolder(Library().TableFolder());
    std::shared_ptr<Bus> previousBus;
    std::unique_ptr<DeviceLibrary> previousLibrary;
    {
        std::lock_guard<std::mutex> hold(lock_);
        previousBus = std::exchange(bus_, std::move(nextBus));
        previousLibrary = std::exchange(library_, std::move(nextLibrary));
    }
    // The old table goes before its bus; the bus then with its last user.
    previousLibrary.reset();
    return SimStatus::ok;
}

SimStatus SimulatedCameras::Unplug(int camera) {
    std::lock_guard<std::mutex> change(changeLock_);
    const auto found = Find(camera);
    if (!found) return SimStatus::badCamera;
    const auto& [current, index] = *found;
    current->bus.Unplug(index);
    if (sweepOnPlug_) Library().OnDevicesRemoved();
    return SimStatus::ok;
}

SimStatus SimulatedCameras::Replug(int camera) {
    std::lock_guard<std::mutex> change(changeLock_);
    const auto found = Find(camera);
    if (!found) return SimStatus::badCamera;
    const auto& [current, index] = *found;
    current->bus.Replug(index);
    if (sweepOnPlug_) Library().OnDevicesArrived();
    return SimStatus::ok;
}

SimStatus SimulatedCameras::FailOpen(int camera, bool fail) {
    const auto found = Find(camera);
    if (!found) return SimStatus::badCamera;
    found->first->bus.FailOpen(found->second, fail);
    return SimStatus::ok;
}

void SimulatedCameras::FailControl(std::uint32_t code, int times) { Current()->bus.FailControl(code, times); }

SimStatus SimulatedCameras::SetReadBudget(int camera, int frames) {
    const auto found = Find(camera);
    if (!found) return SimStatus::badCamera;
    found->first->bus.SetReadBudget(found->second, frames < 0 ? std::nullopt : std::optional<int>(frames));
    return SimStatus::ok;
}

SimStatus SimulatedCameras::AllowFrames(int camera, int frames) {
    const auto found = Find(camera);
    if (!found || frames < 0) return SimStatus::badCamera;
    found->first->bus.AllowFrames(found->second, frames);
    return SimStatus::ok;
}

SimStatus SimulatedCameras::WaitForBlockedRead(int camera, std::chrono::milliseconds limit) {
    const auto found = Find(camera);
    if (!found) return SimStatus::badCamera;
    return found->first->bus.WaitForBlockedRead(found->second, limit) ? SimStatus::ok : SimStatus::timedOut;
}

std::optional<std::vector<std::uint8_t>> SimulatedCameras::LastControlInput(std::uint32_t code) const {
    const auto records = Current()->bus.LogOf(code);
    if (records.empty()) return std::nullopt;
    return records.back().input;
}

int SimulatedCameras::OpenConnections() const { return Current()->bus.OpenConnections(); }

}  // namespace kq::simcam
