// The colour-mode dispatch from a corrected raw frame to the delivered
// picture: raw pre-filter, conversion kernel by flip mode and, in colour
// mode 1, the smoothing and edge-gated sharpening chain.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "cell_kernels.h"
#include "frame_size.h"
#include "linear_gain.h"
#include "sharpen_chain.h"
#include "simd_level.h"

namespace kqcmos {

struct DemosaicSettings {
    int colorMode = 0;    // 0, 5 colour; 1 colour + sharpening; 2 grey RGB; 3 8-bit grey; 4 raw
    int flipMode = 0;     // 0..5
    int colorAdjust = 0;  // raw pre-filter: 1 sharpen, 2 defect filter
    // The raw frame is plain grey, not a mosaic (the monochrome sensor of
    // type 3): grey modes 2 and 3 take the 2 x 2 average instead of the
    // 3:3:3:1 grey kernels, which every other sensor, monochrome or not, uses.
    bool plainGreySensor = false;
    // Sensors with green on the cell's diagonal run their own kernels and
    // pre-filters (cell_kernels.h); `flipMode` is then the member.
    BayerCell cell{};
    CellDemosaic cellDemosaic{};
};

// Bytes per output pixel of a colour mode; 0 for modes above 5.
int OutputBytesPerPixel(int colorMode);

struct RawCorrection;

// Work planes for frames up to the sensor size, allocated once.
class DemosaicWork {
public:
    explicit DemosaicWork(FrameSize maxSize);

private:
    friend bool Demosaic(const DemosaicSettings&, FrameSize, std::span<std::uint8_t>, std::span<std::uint8_t>,
                         DemosaicWork&);
    friend bool CorrectsWhileDemosaicing(const DemosaicSettings&, FrameSize, const DemosaicWork&);
    friend bool CorrectRawFrame(const RawCorrection&, FrameSize, std::span<std::uint8_t>,
                                std::span<const std::uint8_t>, DemosaicWork&, SimdLevel);
    friend bool CorrectAndDemosaic(const DemosaicSettings&, const RawCorrection&, FrameSize, std::span<std::uint8_t>,
                                   std::span<const std::uint8_t>, DemosaicWork&, SimdLevel);
    SharpenChain sharpen_;
    std::vector<std::uint8_t> oriented_;
    // Two corrected raw rows for CorrectAndDemosaic.
    std::vector<std::uint8_t> correctedRows_;
    // The gain tables CorrectAndDemosaic last met, as lines where they are.
    LinearGainFits gainLines_;
};

// `raw` is changed by the pre-filter. False (nothing delivered) for colour
// modes above 5, frames the kernels cannot take or buffers that are too small.
[[nodiscard]] bool Demosaic(const DemosaicSettings& settings, FrameSize size, std::span<std::uint8_t> out,
                            std::span<std::uint8_t> raw, DemosaicWork& work);

}  // namespace kqcmos
