#include "demosaic.h"

#include <algorithm>

#include "bayer_kernels.h"
#include "frame_orientation.h"
#include "raw_prefilters.h"

namespace kqcmos {

int OutputBytesPerPixel(int colorMode) {
    switch (colorMode) {
    case 0:
    case 1:
    case 2:
    case 5: return 3;
    case 3:
    case 4: return 1;
    default: return 0;
    }
}

DemosaicWork::DemosaicWork(FrameSize maxSize)
    : sharpen_(maxSize), oriented_(FrameBytes(maxSize)), correctedRows_(FrameBytes({maxSize.width, 2})) {}

bool Demosaic(const DemosaicSettings& settings, FrameSize size, std::span<std::uint8_t> out,
              std::span<std::uint8_t> raw, DemosaicWork& work) {
    const int bpp = OutputBytesPerPixel(settings.colorMode);
    if (bpp == 0 || !HoldsFrame(raw, size) || !HoldsFrame(out, size, bpp)) {
        return false;
    }
    if (settings.colorMode == 4) {
        std::copy_n(raw.begin(), FrameBytes(size), out.begin());
        return true;
    }
    const bool cellColour = settings.cellDemosaic.colour && GreenOnDiagonal(settings.cell);
    const bool cellGrey = cellColour && settings.cellDemosaic.grey;
    if (cellColour) {
        RunCellPrefilter(settings.colorAdjust, settings.cellDemosaic.boost, size, raw);
    } else {
        RunRawPrefilter(settings.colorAdjust, size, raw);
    }
    if ((settings.colorMode == 2 || settings.colorMode == 3) && settings.plainGreySensor) {
        if (FrameBytes(size) > work.oriented_.size()) {
            return false;
        }
        return OrientGrayFrame(settings.flipMode, size, work.oriented_, raw) &&
               Average2x2(size, bpp, out, work.oriented_);
    }
    // The cell kernels are members 0..3; flip modes 4 and 5 take member 0.
    const int member = settings.flipMode >= 0 && settings.flipMode < 4 ? settings.flipMode : 0;
    auto convert = [&](BayerOutput kind, bool ownCell) {
        return ownCell ? CellBayerConvert(kind, member, settings.cell, size, out, raw)
                       : BayerConvert(kind, settings.flipMode, size, out, raw);
    };
    switch (settings.colorMode) {
    case 2: return convert(BayerOutput::grayRgb, cellGrey);
    case 3: return convert(BayerOutput::gray8, cellGrey);
    case 1:
        if (!convert(BayerOutput::colorRgb, cellColour)) {
            return false;
        }
        // Frames too small for the chain are delivered unsharpened.
        (void)work.sharpen_.Run(size, out);
        return true;
    default: return convert(BayerOutput::colorRgb, cellColour);
    }
}

}  // namespace kqcmos
