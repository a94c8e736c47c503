#include "microscope_filters.h"

#include <algorithm>
#include <cstdlib>

namespace kqcmos {
namespace {

struct CellOffset {
    int row;
    int column;
};

struct FilterRoles {
    CellOffset green1;
    CellOffset green2;
    CellOffset centre;
    CellOffset other;
};

void BayerFilter(const FilterRoles& roles, FrameSize size, std::span<std::uint8_t> raw,
                 std::span<const std::uint32_t> hdrTone) {
    if (!HoldsFrame(raw, size, 1, 2, 6)) {
        return;
    }
    const auto stride = static_cast<std::size_t>(size.width);
    auto at = [&](int cellRow, int cellColumn, CellOffset o) -> std::uint8_t& {
        return raw[static_cast<std::size_t>(cellRow + o.row) * stride +
                   static_cast<std::size_t>(cellColumn + o.column)];
    };
    // Cells of rows (2m, 2m + 1) with 2m + 1 from 3 to height - 3.
    for (int top = 2; top + 1 <= size.height - 3; top += 2) {
        for (int left = 0; left + 1 < size.width; left += 2) {
            std::uint8_t& g1 = at(top, left, roles.green1);
            std::uint8_t& g2 = at(top, left, roles.green2);
            std::uint8_t& centre = at(top, left, roles.centre);
            std::uint8_t& other = at(top, left, roles.other);
            const int s = centre;
            const int t = other;
            int g = (g1 + g2) / 2;
            if (g < s) {
                g = std::max(0, g + (g - s) * 7 / 10);
            }
            const int s1 = std::min(255, s + std::max(s - g, 0) / 8);
            const int t1 = std::min(255, t + std::abs(t - s) * 3 / 16);
            const int s2 = std::min(255, s1 + std::max(s1 - t1, 0) / 2);
            g1 = static_cast<std::uint8_t>(g);
            g2 = static_cast<std::uint8_t>(g);
            centre = static_cast<std::uint8_t>(s2);
            other = static_cast<std::uint8_t>(t1);
            if (hdrTone.size() >= 256) {
                for (std::uint8_t* sample : {&g1, &g2, &centre, &other}) {
                    *sample = static_cast<std::uint8_t>(hdrTone[*sample] & 0xFF);
                }
            }
        }
    }
}

struct ClampRoles {
    CellOffset sample;
    CellOffset partner;
};

void ChromaClamp(const ClampRoles& roles, FrameSize size, std::span<std::uint8_t> raw) {
    if (!HoldsFrame(raw, size, 1, 2, 2)) {
        return;
    }
    const auto stride = static_cast<std::size_t>(size.width);
    auto at = [&](int cellRow, int cellColumn, CellOffset o) -> std::uint8_t& {
        return raw[static_cast<std::size_t>(cellRow + o.row) * stride +
                   static_cast<std::size_t>(cellColumn + o.column)];
    };
    const int reach = std::max({roles.sample.column, roles.partner.column, 1});
    for (int top = 0; top + 1 < size.height; top += 2) {
        for (int left = 0; left + reach < size.width; left += 2) {
            std::uint8_t& x = at(top, left, roles.sample);
            const int a = at(top, left, roles.partner);
            if (((a * 21) >> 4) < x) {
                x = static_cast<std::uint8_t>(x + (a - x) * 9 / 16);
            }
        }
    }
}

constexpr FilterRoles kFilter1{{0, 1}, {1, 0}, {0, 0}, {1, 1}};
constexpr FilterRoles kFilter2{{0, 0}, {1, 1}, {0, 1}, {1, 0}};
constexpr FilterRoles kFilter3{{0, 1}, {1, 0}, {1, 1}, {0, 0}};
constexpr FilterRoles kFilter4{{0, 0}, {1, 1}, {1, 0}, {0, 1}};

constexpr ClampRoles kClamp1{{0, 0}, {1, 1}};
constexpr ClampRoles kClamp2{{0, 1}, {1, 0}};
constexpr ClampRoles kClamp3{{1, 1}, {0, 2}};
constexpr ClampRoles kClamp4{{1, 0}, {0, 1}};

}  // namespace

void MicroscopeBayerFilter1(FrameSize size, std::span<std::uint8_t> raw, std::span<const std::uint32_t> hdrTone) {
    BayerFilter(kFilter1, size, raw, hdrTone);
}
void MicroscopeBayerFilter2(FrameSize size, std::span<std::uint8_t> raw, std::span<const std::uint32_t> hdrTone) {
    BayerFilter(kFilter2, size, raw, hdrTone);
}
void MicroscopeBayerFilter3(FrameSize size, std::span<std::uint8_t> raw, std::span<const std::uint32_t> hdrTone) {
    BayerFilter(kFilter3, size, raw, hdrTone);
}
void MicroscopeBayerFilter4(FrameSize size, std::span<std::uint8_t> raw, std::span<const std::uint32_t> hdrTone) {
    BayerFilter(kFilter4, size, raw, hdrTone);
}

void MicroscopeChromaClamp1(FrameSize size, std::span<std::uint8_t> raw) { ChromaClamp(kClamp1, size, raw); }
void MicroscopeChromaClamp2(FrameSize size, std::span<std::uint8_t> raw) { ChromaClamp(kClamp2, size, raw); }
void MicroscopeChromaClamp3(FrameSize size, std::span<std::uint8_t> raw) { ChromaClamp(kClamp3, size, raw); }
void MicroscopeChromaClamp4(FrameSize size, std::span<std::uint8_t> raw) { ChromaClamp(kClamp4, size, raw); }

void RunMicroscopeFilters(int member, FrameSize size, std::span<std::uint8_t> raw,
                          std::span<const std::uint32_t> hdrTone) {
    static constexpr ClampRoles kClamps[] = {kClamp1, kClamp2, kClamp3, kClamp4};
    static constexpr FilterRoles kFilters[] = {kFilter1, kFilter2, kFilter3, kFilter4};
    if (member < 1 || member > 4) return;
    const auto at = static_cast<std::size_t>(member - 1);
    ChromaClamp(kClamps[at], size, raw);
    BayerFilter(kFilters[at], size, raw, hdrTone);
}

}  // namespace kqcmos
