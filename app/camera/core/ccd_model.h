#pragma once
// What a CCD camera offers by the device type its library reports: the
// resolution table (the first entry is the default and the largest) and the
// exposure range in time units. A model without a range has no exposure
// unit: its exposure is given in lines only.
#include <optional>
#include <span>

#include "labelled_size.h"

struct CcdModel {
    std::span<const LabelledSize> resolutions;
    std::optional<ExposureRange> exposureRange;
};

CcdModel CcdModelOfType(int deviceType);
