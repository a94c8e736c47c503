#pragma once
// Numbering of counter markers: one style per pair of counter kind and
// colour, holding how many markers it has, the number the next one gets and
// the size new markers take. Numbers of a style stay without gaps.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "cl_count.h"
#include "counter_style.h"

struct CounterNumbering {
    std::int32_t nextNumber = 1;
    std::int32_t size = CCL_Count::kDefaultSize;
    friend bool operator==(const CounterNumbering&, const CounterNumbering&) = default;
};

class CCounterStyles {
public:
    // Kinds of counter marker: circle, diamond, square.
    static bool IsCounterType(std::int32_t type) { return type >= 14 && type <= 16; }

    // Overwrites next number and size of the pair's style, or adds the style
    // with count 0.
    void Set(ColourRef colourKey, std::int32_t nextNumber, std::int32_t size, std::int32_t type);
    // Next number and size of the pair's style; 1 and 15 when it has none.
    CounterNumbering Get(std::int32_t type, ColourRef colourKey) const;
    // Adds the styles of the three kinds (circle, square, diamond) for a
    // colour, next number 1 and size 15, where the colour has none yet.
    void RegisterDefaults(ColourRef colourKey);
    // A new marker of the colour takes its style's next number and size and
    // the colour as its own; the style counts it.
    void Number(CCL_Count& counter, ColourRef colourKey);
    // A marker about to be deleted gives its number back: its style counts
    // one less and the style's markers numbered above it move down by one.
    void Unnumber(const CCL_Count& counter, std::span<const std::unique_ptr<CCLObject>> objects);

    const std::vector<CounterStyle>& Records() const { return records_; }
    std::vector<CounterStyle>& Records() { return records_; }

private:
    CounterStyle* Find(std::int32_t type, ColourRef colourKey);

    std::vector<CounterStyle> records_;
};
