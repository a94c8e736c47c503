#pragma once
// The capture sizes, limits and settings key of each reported device type:
// the TWAIN device library chooses all of them once, when it opens the
// camera, from the type the USB library reports.

#include <cstdint>
#include <span>

namespace twain {

// One capture size as the data source lists it. Handed out by address: the
// data source copies the table, so the layout is fixed (name, width, height).
struct ResolutionEntry {
    const char* name;  // "640 * 480"
    std::int32_t width;
    std::int32_t height;
};

struct ModelLimits {
    std::int32_t maxWidth = 0;
    std::int32_t maxHeight = 0;
    std::int32_t maxExposure = 0;
    std::int32_t maxGain = 0;
};

struct ModelProfile {
    ModelLimits limits;
    std::span<const ResolutionEntry> resolutions;  // ascending; the last is the largest
    const char* registryKey;                       // under the current user
};

// The range of the three white-balance gains, for every model.
inline constexpr std::int32_t kWhiteBalanceRange = 6000;

// Type 8 cameras come in two sensor widths: the library asks for this
// capture and keeps the full table only when the width is read back.
inline constexpr std::int32_t kType8ProbeWidth = 2592;
inline constexpr std::int32_t kType8ProbeHeight = 1944;

ModelProfile ProfileForReportedType(std::int32_t reportedType);
// The type 8 profile after the probe: the full one when readBackWidth is the
// probe width, else the narrower sensor's.
ModelProfile Type8Profile(std::int32_t readBackWidth);

}  // namespace twain
