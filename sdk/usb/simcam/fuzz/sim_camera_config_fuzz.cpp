// KQSimCam.ini bytes of any kind give cameras the library identifies as
// their type, never more than eight, with names it can keep and a Bayer
// phase the scene knows.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/device_identification.h"
#include "simcam/sim_camera_config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto cameras = kq::simcam::ParseSimulatedCameras(std::span(data, size));
    if (cameras.size() > kq::simcam::kMaxSimulatedCameras) std::abort();
    for (const auto& camera : cameras) {
        if (kq::IdentifyInstanceId(camera.instanceId).typeCode != camera.typeCode) std::abort();
        if (camera.friendlyName.empty() || camera.friendlyName.size() > 255) std::abort();
        if (camera.sensorWidth == 0 || camera.sensorHeight == 0) std::abort();
        const auto phase = static_cast<int>(camera.bayerPhase);
        if (phase < 1 || phase > 4) std::abort();
    }
    return 0;
}
