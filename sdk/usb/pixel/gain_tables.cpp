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

void ApplyGainLut(FrameSize size, std::span<std::uint8_t> raw, const GainTables& tables) {
    if (!HoldsFrame(raw, size)) {
        return;
    }
    const auto w = static_cast<std::size_t>(size.width);
    for (int y = 0; y < size.height; ++y) {
        std::uint8_t* row = raw.data() + static_cast<std::size_t>(y) * w;
        // Even rows: red, green, red ...; odd rows: green, blue, green ...
        const ByteTable& first = y % 2 == 0 ? tables.red : tables.green;
        const ByteTable& second = y % 2 == 0 ? tables.green : tables.blue;
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
