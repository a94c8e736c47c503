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
    RunRawPrefilter(settings.colorAdjust, size, raw);
    if ((settings.colorMode == 2 || settings.colorMode == 3) && settings.plainGreySensor) {
        if (FrameBytes(size) > work.oriented_.size()) {
            return false;
        }
        return OrientGrayFrame(settings.flipMode, size, work.oriented_, raw) &&
               Average2x2(size, bpp, out, work.oriented_);
    }
    switch (settings.colorMode) {
    case 2: return BayerConvert(BayerOutput::grayRgb, settings.flipMode, size, out, raw);
    case 3: return BayerConvert(BayerOutput::gray8, settings.flipMode, size, out, raw);
    case 1:
        if (!BayerConvert(BayerOutput::colorRgb, settings.flipMode, size, out, raw)) {
            return false;
        }
        // Frames too small for the chain are delivered unsharpened.
        (void)work.sharpen_.Run(size, out);
        return true;
    default: return BayerConvert(BayerOutput::colorRgb, settings.flipMode, size, out, raw);
    }
}

}  // namespace kqcmos
