// Gain tables that are a clamped straight line, found exactly so the raw
// corrections can compute them in vector lanes instead of looking each
// sample up.
#pragma once

#include <cstdint>
#include <optional>

#include "frame_statistics.h"
#include "gain_tables.h"

namespace kqcmos {

// table[v] = clamp((v x multiplier + offset) >> shift, 0, 255) for every v,
// with the shift arithmetic (rounding down).
struct LinearGain {
    std::int32_t multiplier = 0;  // 0 .. kMaxLinearMultiplier
    std::int32_t offset = 0;      // within +-kMaxLinearOffset
};

// The two tables of a raw row (even and odd columns), sharing one shift.
struct LinearGainPair {
    LinearGain even;
    LinearGain odd;
    int shift = 0;
};

// The bounds the vector form computes within 32 bits: the multiplier is
// split into a high part below 2^15 and a low part of 7 bits.
inline constexpr std::int32_t kMaxLinearMultiplier = (1 << 22) - 1;
inline constexpr std::int32_t kMaxLinearOffset = 1 << 29;

int EvaluateLinearGain(const LinearGain& gain, int shift, int v);

// A line with `shift` that reproduces `table` at all 256 inputs, when one
// exists within the bounds.
std::optional<LinearGain> FitLinearGain(const ByteTable& table, int shift);

// A shared shift and a line for each table, when both tables are lines.
std::optional<LinearGainPair> FitLinearGains(const ByteTable& even, const ByteTable& odd);

// The fits of the two kinds of raw row of a set of gain tables in the
// sensor's Bayer cell (red rows: red and green, blue rows: green and blue,
// each pair in column order), redone only when the tables or cell change.
class LinearGainFits {
public:
    void Update(const GainTables& tables, BayerCell cell = {});
    const LinearGainPair* RedRows() const { return redRows_ ? &*redRows_ : nullptr; }
    const LinearGainPair* BlueRows() const { return blueRows_ ? &*blueRows_ : nullptr; }

private:
    std::optional<GainTables> fitted_;
    BayerCell cell_;
    std::optional<LinearGainPair> redRows_;
    std::optional<LinearGainPair> blueRows_;
};

}  // namespace kqcmos
