// `GigECameraFactory`: the camera class of each model code, numbered from
// the library-wide camera counter. An unknown code gets `CDefaultCamera`.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "awb_settings.h"
#include "registry_host.h"

namespace kqge {

class GigECameraFactory final : public CameraFactory {
public:
    // The settings file outlives every camera made.
    explicit GigECameraFactory(AwbSettingsFile& settings) : settings_(settings) {}

    std::unique_ptr<IGigECamera> Make(std::uint32_t modelCode, CNIC& channel, const DiscoveryRecord& record) override;

private:
    AwbSettingsFile& settings_;
    std::atomic<std::int32_t> nextIndex_{0};
};

}  // namespace kqge
