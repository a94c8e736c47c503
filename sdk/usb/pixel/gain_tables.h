// Per-channel 256-entry gain tables applied to the raw Bayer frame. A gain
// value of 500 is unity.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "frame_size.h"
#include "frame_statistics.h"

namespace kqcmos {

using ByteTable = std::array<std::uint8_t, 256>;

inline constexpr int kUnityGain = 500;

ByteTable IdentityTable();

// table[i] = min(255, max(0, trunc(i x gain / 500 + 0.5))).
ByteTable GainTable(int gain);

// The gain a table stands for: from index 128, step down past saturated
// entries (by 1 below index 11, else halving), then take the first entry
// above that is neither 0 nor 255 and return trunc(entry / index x 500 + 0.5).
// Nothing when no such entry exists.
std::optional<int> ReadBackGain(const ByteTable& table);

struct GainTables {
    ByteTable red = IdentityTable();
    ByteTable green = IdentityTable();
    ByteTable blue = IdentityTable();
};

// Red samples (where `cell` puts red) through the red table, blue (opposite
// them in the cell) through the blue table, both greens through the green
// table.
void ApplyGainLut(FrameSize size, std::span<std::uint8_t> raw, const GainTables& tables, BayerCell cell = {});

// Each pixel of a 24-bit BGR frame through the table of its colour.
void ApplyGainLutBgr(std::span<std::uint8_t> bgr, const GainTables& tables);

// The table of `first` followed by `second`: second[first[v]].
ByteTable ComposeTables(const ByteTable& first, const ByteTable& second);

// Every byte through one table.
void ApplyTable(std::span<std::uint8_t> bytes, const ByteTable& table);

}  // namespace kqcmos
