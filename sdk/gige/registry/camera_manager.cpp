#include "camera_manager.h"

#include <algorithm>
#include <mutex>

namespace kqge {

std::int32_t CCameraManager::AddCamera(std::unique_ptr<IGigECamera> camera) {
    if (!camera) return kNullCamera;
    std::unique_lock guard(lock_);
    const std::int32_t index = camera->Index();
    if (byIndex_.contains(index)) return kNullCamera;
    const std::uint16_t port = NextFreePortLocked();
    if (port == 0) return kNullCamera;
    camera->AssignPort(port);
    byPort_[port] = camera.get();
    ports_.push_back(port);
    byIndex_.emplace(index, std::move(camera));
    return 0;
}

std::uint16_t CCameraManager::NextFreePort() const {
    std::shared_lock guard(lock_);
    return NextFreePortLocked();
}

std::uint16_t CCameraManager::NextFreePortLocked() const {
    if (ports_.empty()) return kFirstPort;
    const std::uint16_t largest = std::max(kFirstPort, *std::ranges::max_element(ports_));
    if (largest < 0xFFFF) return static_cast<std::uint16_t>(largest + 1);
    for (std::uint32_t port = kFirstPort; port <= 0xFFFF; ++port) {
        if (std::ranges::find(ports_, port) == ports_.end()) return static_cast<std::uint16_t>(port);
    }
    return 0;
}

std::int32_t CCameraManager::ChangePort(std::uint16_t oldPort, std::uint16_t newPort) {
    if (oldPort == newPort) return 0;
    std::unique_lock guard(lock_);
    if (ports_.empty()) return kNoPorts;
    if (std::ranges::find(ports_, newPort) != ports_.end()) return kPortTaken;
    const auto entry = byPort_.find(oldPort);
    if (entry == byPort_.end()) return kPortUnknown;
    IGigECamera* camera = entry->second;
    byPort_.erase(entry);
    byPort_[newPort] = camera;
    std::erase(ports_, oldPort);
    ports_.push_back(newPort);
    return 0;
}

IGigECamera* CCameraManager::FindByIndex(std::int32_t index) const {
    std::shared_lock guard(lock_);
    const auto found = byIndex_.find(index);
    return found == byIndex_.end() ? nullptr : found->second.get();
}

IGigECamera* CCameraManager::FindByPort(std::uint16_t port) const {
    std::shared_lock guard(lock_);
    const auto found = byPort_.find(port);
    return found == byPort_.end() ? nullptr : found->second;
}

std::int32_t CCameraManager::GetCount() const {
    std::shared_lock guard(lock_);
    return static_cast<std::int32_t>(byIndex_.size());
}

std::int32_t CCameraManager::FirstIndex() const {
    std::shared_lock guard(lock_);
    return byIndex_.empty() ? 0 : byIndex_.begin()->first;
}

void CCameraManager::Clear() {
    std::map<std::int32_t, std::unique_ptr<IGigECamera>> cameras;
    {
        std::unique_lock routing(routing_);
        std::unique_lock guard(lock_);
        byPort_.clear();
        ports_.clear();
        cameras.swap(byIndex_);
    }
}

}  // namespace kqge
