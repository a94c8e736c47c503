#pragma once
// One counter style per pair of counter kind and colour: how many counters of
// it exist, the number the next one gets and the marker size.

#include <cstdint>
#include <span>
#include <vector>

#include "geometry.h"

struct CounterStyle {
    std::int32_t count = 0;
    std::int32_t nextNumber = 1;
    std::int32_t kind = 0;  // 14 round, 15 diamond, 16 rectangular
    ColourRef colour = 0;
    std::int32_t size = 15;
    friend bool operator==(const CounterStyle&, const CounterStyle&) = default;
};

using CounterStyleList = std::vector<CounterStyle>;

// Folds loaded styles into `into`: a style with the same kind and colour takes
// the loaded count, next number and size; any other is appended. So numbering
// continues where the document left off instead of starting again beside it.
void MergeCounterStyles(CounterStyleList& into, std::span<const CounterStyle> loaded);
