// The registry's side of every adapter channel: each discovery record gets
// the camera class its model name selects, made by the camera factory and
// registered with its host port; frames find their camera by that port.
#pragma once

#include <cstdint>
#include <memory>

#include "camera_manager.h"
#include "channel_host.h"
#include "cnic.h"

namespace kqge {

class CameraFactory {
public:
    // The camera of `modelCode` (0: the default camera) on `channel`; null
    // when it cannot be made, and the record is skipped.
    virtual std::unique_ptr<IGigECamera> Make(std::uint32_t modelCode, CNIC& channel,
                                              const DiscoveryRecord& record) = 0;

protected:
    ~CameraFactory() = default;
};

class RegistryHost final : public ChannelHost {
public:
    // Both outlive the host.
    RegistryHost(CCameraManager& cameras, CameraFactory& factory) : cameras_(cameras), factory_(factory) {}

    std::size_t CreateCameras(CNIC& channel, std::span<const DiscoveryRecord> records) override;
    FrameSink* FindByPort(std::uint16_t hostPort) override { return cameras_.FindByPort(hostPort); }
    std::shared_mutex* RoutingLock() override { return &cameras_.RoutingLock(); }

private:
    CCameraManager& cameras_;
    CameraFactory& factory_;
};

}  // namespace kqge
