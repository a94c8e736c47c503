// The gamma look-up table, built on a logarithmic grid for one of 33 fixed
// gamma values chosen by index.
#pragma once

#include <array>

#include "gain_tables.h"

namespace kqcmos {

inline constexpr int kGammaValueCount = 33;
inline constexpr int kDefaultGammaIndex = 16;

// G[i] = 1/3 + (2/3) x i / 16 for i = 1..16, 1 + 2 x (i - 16) / 16 for
// i = 17..32, and G[0] = G[1].
double GammaValue(int index);

class GammaTable {
public:
    // Selects G[index] and rebuilds the table when the value changes. False,
    // with nothing changed, for an index outside 0..32.
    [[nodiscard]] bool SetIndex(int index);

    int index() const { return index_; }
    double value() const { return value_; }
    const ByteTable& table() const { return table_; }
    // The table is applied only while the gamma value differs from 1.0.
    bool active() const { return value_ != 1.0; }

private:
    void Rebuild(double gamma);

    int index_ = kDefaultGammaIndex;
    double value_ = 1.0;
    ByteTable table_ = IdentityTable();
};

}  // namespace kqcmos
