#pragma once
// What each USB CMOS camera model offers, by the device type its library
// reports: the resolution table (largest first, the first entry is the
// default), the exposure range in time units, and the rules that depend on
// the model. Platform-free.
#include <array>
#include <optional>
#include <span>

// A resolution record: the label the resolution combo shows and its size.
struct ResolutionRecord {
    const wchar_t* label;
    int width;
    int height;
};

struct CmosModel {
    std::span<const ResolutionRecord> resolutions;
    // Lowest and highest exposure in time units; none: the model offers no
    // time unit.
    std::optional<std::array<int, 2>> exposureRange;
    // The models of the four-entry table (types 1, 3, 9, 15 and every type
    // not listed); handed to the video-parameter dialog.
    bool fourEntryModel = false;
    // The sensor needs this long after open before it takes its settings.
    int settleMs = 0;
};

CmosModel CmosModelOf(int deviceType);

// Device type 8 probe: a sensor of type 8 that cannot deliver the table's
// first width (the library reads back another width for it) offers only
// these three sizes.
inline constexpr int kProbedDeviceType = 8;
std::span<const ResolutionRecord> NarrowType8Resolutions();
bool NeedsNarrowType8Table(int deviceType, int requestedWidth, int widthReadBack);
