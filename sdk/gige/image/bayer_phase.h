// The four Bayer phases of the GigE sensors: where red and blue sit in each
// 2 x 2 cell. Phase 1: red at (odd row, odd column), blue at (even, even);
// 2: red (odd, even), blue (even, odd); 3: red (even, even), blue (odd,
// odd); 4: red (even, odd), blue (odd, even). Greens fill the other two.
#pragma once

namespace kqge {

enum class BayerSite { red, green, blue };

struct BayerPhase {
    int redRowParity;
    int redColumnParity;

    // Phases outside 1..4 are read as 3, the cameras' default.
    static constexpr BayerPhase Of(int phase) {
        switch (phase) {
        case 1: return {1, 1};
        case 2: return {1, 0};
        case 4: return {0, 1};
        default: return {0, 0};
        }
    }

    constexpr BayerSite SiteAt(int row, int column) const {
        const bool redRow = (row & 1) == redRowParity;
        const bool redColumn = (column & 1) == redColumnParity;
        if (redRow && redColumn) return BayerSite::red;
        if (!redRow && !redColumn) return BayerSite::blue;
        return BayerSite::green;
    }
};

}  // namespace kqge
