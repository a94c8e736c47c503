#include "raw_contrast.h"

#include <algorithm>

#include "frame_layout.h"
#include "point_filters.h"

namespace kqge {

void ApplyContrast8(std::span<std::uint8_t> raw, int contrast) {
    if (contrast == kNeutralContrast) return;
    // Colour mode 0 is one the USB kernel always runs for.
    (void)kqcmos::AdjustColor(raw, contrast, 0);
}

void ApplyContrast16(std::span<std::uint8_t> raw, int contrast) {
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2) {
        const int v = LoadSample(raw.data() + i);
        StoreSample(raw.data() + i, std::clamp(contrast * v / 32 - 64 * contrast + 2048, 0, 4095));
    }
}

}  // namespace kqge
