#include "corrected_demosaic.h"

#include "bayer_kernels.h"
#include "fast_kernels.h"
#include "linear_gain.h"

namespace kqcmos {
namespace {

// Raw rows corrected one at a time, each just before the conversion first
// needs it: even rows into the window's first row, odd rows into its second.
class CorrectedRows final : public ColourRowSource {
public:
    CorrectedRows(const RawCorrection& correction, const LinearGainFits& lines, bool flatFieldFits, FrameSize size,
                  std::span<const std::uint8_t> raw, std::span<std::uint8_t> window, const FastKernels& kernels)
        : correction_(correction),
          lines_(lines),
          flatFieldFits_(flatFieldFits),
          width_(size.width),
          raw_(raw.data()),
          window_(window.data()),
          kernels_(kernels) {}

    RawRowPair RowsFor(int y) override {
        if (y == 0) {
            Correct(0);
        }
        Correct(y + 1);
        return {window_, window_ + width_};
    }

private:
    void Correct(int y) {
        const GainTables& gains = correction_.gains;
        const bool even = y % 2 == 0;
        const std::int16_t* flat = flatFieldFits_ ? correction_.flatField->RowGains(correction_.window, y) : nullptr;
        const std::uint8_t* after = correction_.after ? correction_.after->data() : nullptr;
        const auto w = static_cast<std::size_t>(width_);
        kernels_.correctRawRow(width_, raw_ + static_cast<std::size_t>(y) * w,
                               even ? gains.red.data() : gains.green.data(),
                               even ? gains.green.data() : gains.blue.data(),
                               even ? lines_.RedRows() : lines_.BlueRows(), flat, after, window_ + (even ? 0 : w));
    }

    const RawCorrection& correction_;
    const LinearGainFits& lines_;
    bool flatFieldFits_;
    int width_;
    const std::uint8_t* raw_;
    std::uint8_t* window_;
    const FastKernels& kernels_;
};

}  // namespace

bool CorrectsWhileDemosaicing(const DemosaicSettings& settings, FrameSize size, const DemosaicWork& work) {
    const bool colour = settings.colorMode == 0 || settings.colorMode == 1 || settings.colorMode == 5;
    const bool prefiltered = settings.colorAdjust == 1 || settings.colorAdjust == 2;
    return colour && !prefiltered && size.width > 0 &&
           2 * static_cast<std::size_t>(size.width) <= work.correctedRows_.size();
}

bool CorrectAndDemosaic(const DemosaicSettings& settings, const RawCorrection& correction, FrameSize size,
                        std::span<std::uint8_t> out, std::span<const std::uint8_t> raw, DemosaicWork& work,
                        SimdLevel level) {
    if (!CorrectsWhileDemosaicing(settings, size, work) || !HoldsFrame(raw, size)) {
        return false;
    }
    const bool flatFieldFits =
        correction.flatField != nullptr && correction.flatField->Fits(correction.window, FrameBytes(size));
    work.gainLines_.Update(correction.gains);
    CorrectedRows rows(correction, work.gainLines_, flatFieldFits, size, raw, work.correctedRows_, KernelsFor(level));
    if (!BayerConvertColourRows(settings.flipMode, size, out, rows, level)) {
        return false;
    }
    if (settings.colorMode == 1) {
        // Frames too small for the chain are delivered unsharpened.
        (void)work.sharpen_.Run(size, out);
    }
    return true;
}

}  // namespace kqcmos
