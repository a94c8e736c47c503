// The raw corrections ahead of the colour demosaic (gain tables, flat field,
// a table for every byte) and the demosaic itself in one walk over the raw
// rows: each raw row is corrected once into a two-row window that stays in
// the first level cache and converted from there, so the frame is read once
// and never written back.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "demosaic.h"
#include "flat_field.h"
#include "frame_statistics.h"
#include "frame_size.h"
#include "gain_tables.h"
#include "sensor_window.h"
#include "simd_level.h"

namespace kqcmos {

// The steps, in their order on the raw frame.
struct RawCorrection {
    // As ApplyGainLut.
    GainTables gains;
    // Then as FlatFieldTable::Apply over `window`, when set; a table that
    // does not fit the window leaves the frame as Apply does.
    const FlatFieldTable* flatField = nullptr;
    SensorWindow window;
    // Then every byte, as ApplyTable, when set.
    std::optional<ByteTable> after;
    // The sensor's Bayer cell the gain tables follow, as ApplyGainLut's.
    BayerCell cell{};
};

// The corrections alone: `out` gets byte for byte what ApplyGainLut (in
// `correction.cell`), FlatFieldTable::Apply and ApplyTable leave of `raw`,
// in one pass, with `raw` left as it is. False (nothing written) when
// either buffer is short of the frame.
[[nodiscard]] bool CorrectRawFrame(const RawCorrection& correction, FrameSize size, std::span<std::uint8_t> out,
                                   std::span<const std::uint8_t> raw, SimdLevel level = BestSimdLevel());
// The same with the gain tables that are lines computed in vector lanes,
// their fits kept in `work` (redone only when the tables change).
[[nodiscard]] bool CorrectRawFrame(const RawCorrection& correction, FrameSize size, std::span<std::uint8_t> out,
                                   std::span<const std::uint8_t> raw, DemosaicWork& work,
                                   SimdLevel level = BestSimdLevel());

// True when Demosaic under `settings` is the colour demosaic alone (colour
// modes 0, 1 and 5 without a raw pre-filter) and `work` has rows for frames
// `size.width` wide: then CorrectAndDemosaic can stand for the corrections
// followed by Demosaic.
bool CorrectsWhileDemosaicing(const DemosaicSettings& settings, FrameSize size, const DemosaicWork& work);

// Byte for byte the picture that `correction` applied to `raw` and then
// Demosaic(settings, ...) deliver, with `raw` left as it is. False (nothing
// delivered) where Demosaic delivers nothing, and when
// CorrectsWhileDemosaicing does not hold. Runs the kernels of `level`, which
// the CPU must support.
[[nodiscard]] bool CorrectAndDemosaic(const DemosaicSettings& settings, const RawCorrection& correction, FrameSize size,
                                      std::span<std::uint8_t> out, std::span<const std::uint8_t> raw,
                                      DemosaicWork& work, SimdLevel level = BestSimdLevel());

}  // namespace kqcmos
