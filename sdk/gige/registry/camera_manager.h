// `CCameraManager`: the registry of every camera of every adapter. It owns
// the cameras, answers which camera has an index (the exports) and which
// owns a host UDP port (the receive threads), and hands out the ports.
// Writes happen at start-up, port changes and tear-down; lookups may run on
// receive threads meanwhile, so the maps are guarded by a reader-writer lock.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <shared_mutex>
#include <vector>

#include "gige_camera.h"

namespace kqge {

class CCameraManager {
public:
    static constexpr std::uint16_t kFirstPort = 55005;
    static constexpr std::int32_t kNullCamera = 7;
    static constexpr std::int32_t kNoPorts = 8;
    static constexpr std::int32_t kPortTaken = 9;
    static constexpr std::int32_t kPortUnknown = 16;

    CCameraManager() = default;
    CCameraManager(const CCameraManager&) = delete;
    CCameraManager& operator=(const CCameraManager&) = delete;
    virtual ~CCameraManager() = default;

    // 7 for a null camera or one whose index is already registered (the
    // camera is then destroyed), and when no port is left; else 0.
    std::int32_t AddCamera(std::unique_ptr<IGigECamera> camera);
    // One more than the largest of 55005 and every listed port, so a freed
    // port is not handed out again. When 65535 is listed, the lowest unlisted
    // port from 55005 up; 0 when none is left.
    std::uint16_t NextFreePort() const;
    // 0 when equal (nothing changes), 8 without ports, 9 when the new port is
    // listed, 16 when no camera has the old one; failures change nothing.
    std::int32_t ChangePort(std::uint16_t oldPort, std::uint16_t newPort);

    IGigECamera* FindByIndex(std::int32_t index) const;
    IGigECamera* FindByPort(std::uint16_t port) const;
    std::int32_t GetCount() const;
    // The lowest registered index; 0 without cameras.
    std::int32_t FirstIndex() const;
    // Destroys every camera once and empties the maps and the port list,
    // after any frame being routed to one of them was handed over.
    void Clear();
    std::shared_mutex& RoutingLock() { return routing_; }

private:
    std::uint16_t NextFreePortLocked() const;

    mutable std::shared_mutex lock_;
    std::shared_mutex routing_;
    std::map<std::int32_t, std::unique_ptr<IGigECamera>> byIndex_;
    std::map<std::uint16_t, IGigECamera*> byPort_;
    std::vector<std::uint16_t> ports_;  // in assignment order
};

}  // namespace kqge
