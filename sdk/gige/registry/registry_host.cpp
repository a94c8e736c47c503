#include "registry_host.h"

#include <algorithm>

#include "model_codes.h"

namespace kqge {

std::size_t RegistryHost::CreateCameras(CNIC& channel, std::span<const DiscoveryRecord> records) {
    std::size_t largest = 0;
    for (const DiscoveryRecord& record : records) {
        auto camera = factory_.Make(ModelCodeFromName(record.ModelName()), channel, record);
        if (!camera) continue;
        const std::size_t needed = camera->ReceiveBytes();
        if (cameras_.AddCamera(std::move(camera)) != 0) continue;
        largest = std::max(largest, needed);
    }
    return largest;
}

}  // namespace kqge
