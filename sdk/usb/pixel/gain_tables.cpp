#include "gain_tables.h"

#include <algorithm>
#include <cmath>

namespace kqcmos {

ByteTable IdentityTable() {
    ByteTable t{};
    for (int i = 0; i < 256; ++i) {
        t[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
    return t;
}

ByteTable GainTable(int gain) {
    ByteTable t{};
    for (int i = 0; i < 256; ++i) {
        const double v = std::trunc(static_cast<double>(i) * gain / kUnityGain + 0.5);
        t[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
    }
    return t;
}

std::optional<int> ReadBackGain(const ByteTable& table) {
    int index = 128;
    while (index > 0 && table[static_cast<std::size_t>(index)] >= 250) {
        index = index < 11 ? index - 1 : index / 2;
    }
    // Index 0 says nothing about the slope (and would divide by zero).
    for (int i = std::max(index, 1); i < 256; ++i) {
        const int entry = table[static_cast<std::size_t>(i)];
        if (entry != 0 && entry != 255) {
            return static_cast<int>(std::trunc(static_cast<double>(entry) / i * kUnityGain + 0.5));
        }
    }
    return std::nullopt;
}

void ApplyGainLut(FrameSize size, std::span<std::uint8_t> raw, const GainTables& tables, BayerCell cell) {
    if (!HoldsFrame(raw, size)) {
        return;
    }
    const auto w = static_cast<std::size_t>(size.width);
    for (int y = 0; y < size.height; ++y) {
        std::uint8_t* row = raw.data() + static_cast<std::size_t>(y) * w;
        // Rows with red: red and green; the others: green and blue, in the
        // cell's column order.
        const bool redRow = y % 2 == cell.redRow % 2;
        const ByteTable& colour = redRow ? tables.red : tables.blue;
        const bool colourFirst = (cell.redColumn % 2 == 0) == redRow;
        const ByteTable& first = colourFirst ? colour : tables.green;
        const ByteTable& second = colourFirst ? tables.green : colour;
        std::size_t x = 0;
        for (; x + 1 < w; x += 2) {
            row[x] = first[row[x]];
            row[x + 1] = second[row[x + 1]];
        }
        if (x < w) {
            row[x] = first[row[x]];
        }
    }
}

void ApplyGainLutBgr(std::span<std::uint8_t> bgr, const GainTables& tables) {
    for (std::size_t i = 0; i + 2 < bgr.size(); i += 3) {
        bgr[i] = tables.blue[bgr[i]];
        bgr[i + 1] = tables.green[bgr[i + 1]];
        bgr[i + 2] = tables.red[bgr[i + 2]];
    }
}

ByteTable ComposeTables(const ByteTable& first, const ByteTable& second) {
    ByteTable composed{};
    for (std::size_t v = 0; v < composed.size(); ++v) {
        composed[v] = second[first[v]];
    }
    return composed;
}

void ApplyTable(std::span<std::uint8_t> bytes, const ByteTable& table) {
    for (std::uint8_t& b : bytes) {
        b = table[b];
    }
}

}  // namespace kqcmos
