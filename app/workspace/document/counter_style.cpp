#include "counter_style.h"

#include <algorithm>

void MergeCounterStyles(CounterStyleList& into, std::span<const CounterStyle> loaded) {
    for (const CounterStyle& style : loaded) {
        const auto same = std::find_if(into.begin(), into.end(), [&](const CounterStyle& s) {
            return s.kind == style.kind && s.colour == style.colour;
        });
        if (same != into.end()) {
            *same = style;
        } else {
            into.push_back(style);
        }
    }
}
