#include "tone_correction.h"

#include <algorithm>
#include <cstdlib>

namespace kqge {
namespace {

int ToneEntry(int i) {
    if (i < 40) return i * 7 / 4;
    if (i < 80) return i + 30;
    if (i < 120) return (35 * i - 2800) / 40 + 110;
    if (i < 160) return (30 * i - 3600) / 40 + 145;
    if (i < 200) return (25 * i - 4000) / 40 + 175;
    if (i < 230) return (20 * i - 4000) / 40 + 200;
    if (i < 250) return (30 * i - 6900) / 20 + 215;
    return 2 * i - 255;
}

ToneCurve BuildToneCurve() {
    ToneCurve curve{};
    for (int i = 0; i < 256; ++i) curve[static_cast<std::size_t>(i)] = kqcmos::ClampToByte(ToneEntry(i));
    return curve;
}

// Cell offsets (row, column) of the corrected site X, its reference Y and
// the other two sites G1, G2 per phase.
struct CellRoles {
    int x[2];
    int y[2];
    int g1[2];
    int g2[2];
};

constexpr CellRoles RolesOf(int phase) {
    switch (phase) {
    case 1: return {{0, 0}, {1, 1}, {0, 1}, {1, 0}};
    case 2: return {{0, 1}, {1, 0}, {0, 0}, {1, 1}};
    case 4: return {{1, 0}, {0, 1}, {0, 0}, {1, 1}};
    default: return {{1, 1}, {0, 0}, {0, 1}, {1, 0}};
    }
}

void CorrectCell(int& x, int& y, int& g1, int& g2) {
    // Pass A: a corrected site far above its reference is pulled toward it.
    if ((y * 21) >> 4 < x) x = std::clamp(x + (y - x) * 9 / 16, 0, 255);
    // Pass B.
    const int g = (g1 + g2) / 2;
    const int d = std::clamp(g + std::min(g - x, 0) * 7 / 10, 0, 255);
    g1 = d;
    g2 = d;
    const int lifted = std::clamp(x + std::max(x - d, 0) / 8, 0, 255);
    y = std::clamp(y + std::abs(y - x) * 3 / 16, 0, 255);
    x = std::clamp(lifted + std::max(lifted - y, 0) / 2, 0, 255);
}

}  // namespace

const ToneCurve& HdrToneCurve() {
    static const ToneCurve curve = BuildToneCurve();
    return curve;
}

void CorrectAndTone(FrameSize size, int measurementPhase, bool convert, bool hdr, std::span<std::uint8_t> raw) {
    if ((!convert && !hdr) || !kqcmos::HoldsFrame(raw, size)) return;
    const CellRoles roles = RolesOf(measurementPhase);
    const ToneCurve& tone = HdrToneCurve();
    const auto stride = static_cast<std::size_t>(size.width);
    auto at = [&](std::uint8_t* cell, const int(&offset)[2]) -> std::uint8_t& {
        return cell[static_cast<std::size_t>(offset[0]) * stride + static_cast<std::size_t>(offset[1])];
    };
    for (int r = 0; r + 1 < size.height; r += 2) {
        for (int c = 0; c + 1 < size.width; c += 2) {
            std::uint8_t* cell = raw.data() + static_cast<std::size_t>(r) * stride + static_cast<std::size_t>(c);
            if (convert) {
                int x = at(cell, roles.x), y = at(cell, roles.y), g1 = at(cell, roles.g1), g2 = at(cell, roles.g2);
                CorrectCell(x, y, g1, g2);
                at(cell, roles.x) = static_cast<std::uint8_t>(x);
                at(cell, roles.y) = static_cast<std::uint8_t>(y);
                at(cell, roles.g1) = static_cast<std::uint8_t>(g1);
                at(cell, roles.g2) = static_cast<std::uint8_t>(g2);
            }
            if (hdr) {
                for (std::uint8_t* p : {cell, cell + 1, cell + stride, cell + stride + 1}) *p = tone[*p];
            }
        }
    }
}

}  // namespace kqge
