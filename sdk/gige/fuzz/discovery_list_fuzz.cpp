// Any bytes a device-list request returns: at most 10 whole records, model
// names bounded by their field.
#include <cstddef>
#include <cstdint>
#include <span>

#include "discovery_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto records = kqge::ParseDiscoveryList(std::span(data, size));
    if (records.size() > kqge::kMaxCamerasPerAdapter || records.size() * kqge::kDiscoveryRecordBytes > size) {
        __builtin_trap();
    }
    for (const kqge::DiscoveryRecord& r : records) {
        if (r.ModelName().size() > kqge::kModelNameBytes) __builtin_trap();
        (void)r.Mac();
        (void)r.CurrentIp();
    }
    return 0;
}
