#include "cross_line_dialog_rules.h"

#include <algorithm>

std::optional<int> ValidCrossLineCount(long long typed) {
    if (typed < 0 || typed > kMaxCrossLineCount) {
        return std::nullopt;
    }
    return static_cast<int>(typed);
}

int ClampCrossPosition(long long typed, int limit) {
    return static_cast<int>(std::clamp<long long>(typed, 0, std::max(limit, 0)));
}

ColourRef ChosenCrossColour(ColourRef stored, ColourRef chosen) {
    return (chosen & 0x00FFFFFFu) | (stored & 0xFF000000u);
}
