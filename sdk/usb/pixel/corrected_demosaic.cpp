#include "corrected_demosaic.h"

#include "bayer_kernels.h"
#include "cell_kernels.h"
#include "fast_kernels.h"
#include "linear_gain.h"

namespace kqcmos {
namespace {

// Row y of `raw` through the corrections into `out`, the gain tables in the
// row's column order as ApplyGainLut picks them; `lines`, when given, are
// their fits in the same cell.
void CorrectRow(const RawCorrection& correction, const LinearGainFits* lines, bool flatFieldFits, int width, int y,
                const std::uint8_t* raw, std::uint8_t* out, const FastKernels& kernels) {
    const GainTables& gains = correction.gains;
    const bool redRow = y % 2 == correction.cell.redRow % 2;
    const ByteTable& colour = redRow ? gains.red : gains.blue;
    const bool colourFirst = (correction.cell.redColumn % 2 == 0) == redRow;
    const ByteTable& first = colourFirst ? colour : gains.green;
    const ByteTable& second = colourFirst ? gains.green : colour;
    const std::int16_t* flat = flatFieldFits ? correction.flatField->RowGains(correction.window, y) : nullptr;
    const std::uint8_t* after = correction.after ? correction.after->data() : nullptr;
    const LinearGainPair* linear = lines == nullptr ? nullptr : (redRow ? lines->RedRows() : lines->BlueRows());
    kernels.correctRawRow(width, raw, first.data(), second.data(), linear, flat, after, out);
}

// Raw rows corrected one at a time, each just before the conversion first
// needs it: even rows into the window's first row, odd rows into its second.
class CorrectedRows final : public ColourRowSource {
public:
    // `lines` fit the correction's tables in its cell; `oddFirst` hands out
    // the odd raw row first, as the green-diagonal cells' kernels take them.
    CorrectedRows(const RawCorrection& correction, const LinearGainFits& lines, bool flatFieldFits, FrameSize size,
                  std::span<const std::uint8_t> raw, std::span<std::uint8_t> window, const FastKernels& kernels,
                  bool oddFirst)
        : correction_(correction),
          lines_(lines),
          oddFirst_(oddFirst),
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
        return oddFirst_ ? RawRowPair{window_ + width_, window_} : RawRowPair{window_, window_ + width_};
    }

private:
    void Correct(int y) {
        const auto w = static_cast<std::size_t>(width_);
        CorrectRow(correction_, &lines_, flatFieldFits_, width_, y, raw_ + static_cast<std::size_t>(y) * w,
                   window_ + (y % 2 == 0 ? 0 : w), kernels_);
    }

    const RawCorrection& correction_;
    const LinearGainFits& lines_;
    bool oddFirst_;
    bool flatFieldFits_;
    int width_;
    const std::uint8_t* raw_;
    std::uint8_t* window_;
    const FastKernels& kernels_;
};

}  // namespace

// Every row of the frame through the corrections; `lines` as in CorrectRow.
bool CorrectRows(const RawCorrection& correction, const LinearGainFits* lines, FrameSize size,
                 std::span<std::uint8_t> out, std::span<const std::uint8_t> raw, SimdLevel level) {
    if (!HoldsFrame(raw, size) || !HoldsFrame(out, size)) {
        return false;
    }
    const bool flatFieldFits =
        correction.flatField != nullptr && correction.flatField->Fits(correction.window, FrameBytes(size));
    const FastKernels& kernels = KernelsFor(level);
    const auto w = static_cast<std::size_t>(size.width);
    for (int y = 0; y < size.height; ++y) {
        const std::size_t at = static_cast<std::size_t>(y) * w;
        CorrectRow(correction, lines, flatFieldFits, size.width, y, raw.data() + at, out.data() + at, kernels);
    }
    return true;
}

bool CorrectRawFrame(const RawCorrection& correction, FrameSize size, std::span<std::uint8_t> out,
                     std::span<const std::uint8_t> raw, SimdLevel level) {
    return CorrectRows(correction, nullptr, size, out, raw, level);
}

bool CorrectRawFrame(const RawCorrection& correction, FrameSize size, std::span<std::uint8_t> out,
                     std::span<const std::uint8_t> raw, DemosaicWork& work, SimdLevel level) {
    work.gainLines_.Update(correction.gains, correction.cell);
    return CorrectRows(correction, &work.gainLines_, size, out, raw, level);
}

bool CorrectsWhileDemosaicing(const DemosaicSettings& settings, FrameSize size, const DemosaicWork& work) {
    const bool colour = settings.colorMode == 0 || settings.colorMode == 1 || settings.colorMode == 5;
    const bool prefiltered = settings.colorAdjust == 1 || settings.colorAdjust == 2;
    // Any cell through the base's kernels, or a green-diagonal cell with its own.
    const bool cell = !settings.cellDemosaic.colour || GreenOnDiagonal(settings.cell);
    return colour && !prefiltered && cell && size.width > 0 &&
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
    const bool cellKernels = settings.cellDemosaic.colour;
    work.gainLines_.Update(correction.gains, correction.cell);
    CorrectedRows rows(correction, work.gainLines_, flatFieldFits, size, raw, work.correctedRows_, KernelsFor(level),
                       cellKernels);
    // The cell kernels are members 0..3; flip modes 4 and 5 take member 0.
    const int member = settings.flipMode >= 0 && settings.flipMode < 4 ? settings.flipMode : 0;
    const bool converted = cellKernels ? CellBayerConvertColourRows(member, settings.cell, size, out, rows, level)
                                       : BayerConvertColourRows(settings.flipMode, size, out, rows, level);
    if (!converted) {
        return false;
    }
    if (settings.colorMode == 1) {
        // Frames too small for the chain are delivered unsharpened.
        (void)work.sharpen_.Run(size, out);
    }
    return true;
}

}  // namespace kqcmos
