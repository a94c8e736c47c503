#include "white_balance.h"

#include <algorithm>

#include "bayer_phase.h"

namespace kqge {
namespace {

AwbTable IdentityTable() {
    AwbTable t{};
    for (int i = 0; i < 256; ++i) t[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    return t;
}

AwbTable ScaledTable(std::int64_t top, std::int64_t gain) {
    AwbTable t{};
    for (int i = 0; i < 256; ++i)
        t[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::min<std::int64_t>(255, i * top / gain));
    return t;
}

}  // namespace

AwbTables IdentityAwbTables() { return {IdentityTable(), IdentityTable(), IdentityTable()}; }

AwbTables BuildAwbTables(const AwbGains& gains) {
    if (gains.red < 1 || gains.green < 1 || gains.blue < 1) return IdentityAwbTables();
    const std::int64_t top = std::max({gains.red, gains.green, gains.blue});
    return {ScaledTable(top, gains.red), ScaledTable(top, gains.green), ScaledTable(top, gains.blue)};
}

AwbMeasurement MeasureWhiteBalance(FrameSize size, int measurementPhase, std::span<const std::uint8_t> raw) {
    if (!kqcmos::HoldsFrame(raw, size)) return {{1, 1, 1}, IdentityAwbTables()};
    const BayerPhase phase = BayerPhase::Of(measurementPhase);
    std::int64_t sum[3] = {0, 0, 0};
    for (int r = 0; r < size.height; ++r) {
        const std::uint8_t* row = raw.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(size.width);
        for (int c = 0; c < size.width; ++c) sum[static_cast<int>(phase.SiteAt(r, c))] += row[c];
    }
    const std::int64_t area = static_cast<std::int64_t>(size.width) * size.height;
    auto mean = [&](BayerSite site, int perCell) {
        return static_cast<std::int32_t>(std::max<std::int64_t>(1, perCell * sum[static_cast<int>(site)] / area));
    };
    AwbMeasurement m;
    m.gains = {mean(BayerSite::red, 4), mean(BayerSite::green, 2), mean(BayerSite::blue, 4)};
    const std::int64_t top = std::max({m.gains.red, m.gains.green, m.gains.blue});
    m.tables = {ScaledTable(top, m.gains.red), ScaledTable(top, m.gains.green),
                ScaledTable(std::max<std::int64_t>(top - 6, 0), m.gains.blue)};
    return m;
}

void ApplyWhiteBalance(FrameSize size, int measurementPhase, const AwbTables& tables, std::span<std::uint8_t> raw) {
    if (!kqcmos::HoldsFrame(raw, size)) return;
    const BayerPhase phase = BayerPhase::Of(measurementPhase);
    for (int r = 0; r < size.height; ++r) {
        std::uint8_t* row = raw.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(size.width);
        const AwbTable* table[2];
        for (int c = 0; c < 2; ++c) {
            switch (phase.SiteAt(r, c)) {
            case BayerSite::red: table[c] = &tables.red; break;
            case BayerSite::blue: table[c] = &tables.blue; break;
            case BayerSite::green: table[c] = &tables.green; break;
            }
        }
        for (int c = 0; c < size.width; ++c) row[c] = (*table[c & 1])[row[c]];
    }
}

}  // namespace kqge
