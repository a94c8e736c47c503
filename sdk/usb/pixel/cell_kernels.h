// Bayer kernels and raw pre-filters of the sensors whose cell has green on
// its diagonal (G R / B G, or G B / R G): the colour sites are the top-right
// and bottom-left samples of each 2 x 2 cell, and `BayerCell` says which of
// the two is red.
//
// Output pixel (y, x) takes the colour of the even raw row beside it (E, the
// site at the odd column), the colour of the odd raw row (O, the site at the
// even column) and the mean of the two greens between them, from raw rows y
// and y + 1. Members orient their output as the base kernels do: 0 bottom-up,
// 1 bottom-up mirrored, 2 top-down, 3 top-down mirrored. The rows below the
// last full cell row repeat the last computed row; at the end of each row
// (in raw column order) the last four colour pixels, or three grey pixels,
// repeat the pixel before them, so the kernels read only inside the frame.
#pragma once

#include <cstdint>
#include <span>

#include "bayer_kernels.h"
#include "frame_size.h"
#include "frame_statistics.h"
#include "simd_level.h"

namespace kqcmos {

inline constexpr int kMinCellColourWidth = 5;
inline constexpr int kMinCellGreyWidth = 4;
inline constexpr int kMinCellHeight = 4;

// Which pair of each cell the raw boost raises against the other pair.
enum class BoostedPair : std::uint8_t {
    greens,   // the diagonal: both greens against red and blue
    colours,  // red and blue against the two greens
};

// Which steps of the demosaic read the model's own cell instead of the base's.
struct CellDemosaic {
    bool colour = false;  // the colour kernels and the raw pre-filters
    bool grey = false;    // the grey kernels (8-bit and 24-bit) too
    BoostedPair boost = BoostedPair::greens;
    friend bool operator==(const CellDemosaic&, const CellDemosaic&) = default;
};

// True for the cells these kernels take: red and blue off the diagonal.
constexpr bool GreenOnDiagonal(BayerCell cell) { return (cell.redColumn + cell.redRow) % 2 == 1; }

// Member 0..3 of the family `kind`. False (nothing written) for a cell with
// red on the diagonal, a member outside 0..3, frames narrower or lower than
// the minimum above, or buffers that are too small.
// The colour members run the base's fast colour rows of `level` (which the
// CPU must support) over the cell's two rows in exchanged order, writing
// red and blue in each other's bytes when red is on the even rows, then
// mend the row ends; `CellBayerConvertReference` is the plain kernel they
// are checked against. The grey members are the plain ones.
[[nodiscard]] bool CellBayerConvert(BayerOutput kind, int member, BayerCell cell, FrameSize size,
                                    std::span<std::uint8_t> out, std::span<const std::uint8_t> raw,
                                    SimdLevel level = BestSimdLevel());
// CellBayerConvert's colour members over rows handed out by `rows`, whose
// pairs give the odd raw row first (as `red`) and the even one second. False
// (nothing asked, nothing written) where CellBayerConvert refuses.
[[nodiscard]] bool CellBayerConvertColourRows(int member, BayerCell cell, FrameSize size, std::span<std::uint8_t> out,
                                              ColourRowSource& rows, SimdLevel level = BestSimdLevel());
[[nodiscard]] bool CellBayerConvertReference(BayerOutput kind, int member, BayerCell cell, FrameSize size,
                                             std::span<std::uint8_t> out, std::span<const std::uint8_t> raw);

// Colour enhancement per cell, from row 2 and column 2 inward (frames lower
// or narrower than 5 are left alone): of the two colour samples and the
// greens' mean, the highest rises by high x (high - middle) x 5 / 1024 and
// the middle follows in proportion to its distance from the lowest; both
// greens take the new mean. Grey cells stay as they are.
void EnhanceCellColours(FrameSize size, std::span<std::uint8_t> raw);

// In every whole 2 x 2 cell each sample of the boosted pair becomes
// s + (2 s - a - b) / 2, limited to 0..255, with a and b the other pair.
void BoostCells(BoostedPair pair, FrameSize size, std::span<std::uint8_t> raw);

// The pre-filter for the colour-adjust value: 1 the boost, 2 the enhancement.
void RunCellPrefilter(int kind, BoostedPair pair, FrameSize size, std::span<std::uint8_t> raw);

}  // namespace kqcmos
