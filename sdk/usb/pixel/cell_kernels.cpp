#include "cell_kernels.h"

#include <algorithm>
#include <cstring>

#include "fast_kernels.h"
#include "raw_prefilters.h"

namespace kqcmos {
namespace {

template <BayerOutput Kind>
constexpr int BytesPerPixel() {
    return Kind == BayerOutput::gray8 ? 1 : 3;
}

// Pixels at the end of each row that repeat the one before them.
template <BayerOutput Kind>
constexpr int RepeatedAtRowEnd() {
    return Kind == BayerOutput::colorRgb ? 4 : 3;
}

template <BayerOutput Kind, bool RedOnEvenRows>
inline void StorePixel(std::uint8_t* out, int evenColour, int greenSum, int oddColour) {
    kqcmos::StorePixel<Kind>(out, RedOnEvenRows ? evenColour : oddColour, greenSum,
                             RedOnEvenRows ? oddColour : evenColour);
}

// One output row from the even raw row `e` and the odd raw row `o` beside it.
template <BayerOutput Kind, bool RedOnEvenRows, bool Mirror>
void ConvertRow(const std::uint8_t* e, const std::uint8_t* o, int width, std::uint8_t* out) {
    constexpr int bpp = BytesPerPixel<Kind>();
    const int computed = width - RepeatedAtRowEnd<Kind>();
    auto at = [&](int x) { return out + static_cast<std::size_t>(Mirror ? width - 1 - x : x) * bpp; };
    int x = 0;
    for (; x + 1 < computed; x += 2) {
        StorePixel<Kind, RedOnEvenRows>(at(x), e[x + 1], o[x + 1] + e[x], o[x]);
        StorePixel<Kind, RedOnEvenRows>(at(x + 1), e[x + 1], o[x + 1] + e[x + 2], o[x + 2]);
    }
    if (x < computed) {
        StorePixel<Kind, RedOnEvenRows>(at(x), e[x + 1], o[x + 1] + e[x], o[x]);
    }
    for (int r = computed; r < width; ++r) {
        std::memcpy(at(r), at(computed - 1), bpp);
    }
}

template <BayerOutput Kind, bool RedOnEvenRows, bool Mirror>
void ConvertFrame(FrameSize size, bool bottomUp, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw) {
    constexpr int bpp = BytesPerPixel<Kind>();
    const auto stride = static_cast<std::size_t>(size.width);
    const std::size_t outStride = stride * bpp;
    auto outRow = [&](int y) {
        return out.data() + static_cast<std::size_t>(bottomUp ? size.height - 1 - y : y) * outStride;
    };
    const int lastComputed = 2 * (size.height / 2) - 3;
    for (int y = 0; y <= lastComputed; ++y) {
        const std::uint8_t* top = raw.data() + static_cast<std::size_t>(y) * stride;
        const std::uint8_t* bottom = top + stride;
        const bool evenTop = y % 2 == 0;
        ConvertRow<Kind, RedOnEvenRows, Mirror>(evenTop ? top : bottom, evenTop ? bottom : top, size.width, outRow(y));
    }
    for (int y = lastComputed + 1; y < size.height; ++y) {
        std::memcpy(outRow(y), outRow(lastComputed), outStride);
    }
}

template <BayerOutput Kind, bool RedOnEvenRows>
void ConvertMember(int member, FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw) {
    const bool bottomUp = member < 2;
    if (member % 2 == 1) {
        ConvertFrame<Kind, RedOnEvenRows, true>(size, bottomUp, out, raw);
    } else {
        ConvertFrame<Kind, RedOnEvenRows, false>(size, bottomUp, out, raw);
    }
}

template <BayerOutput Kind>
bool ConvertKind(int member, BayerCell cell, FrameSize size, std::span<std::uint8_t> out,
                 std::span<const std::uint8_t> raw) {
    const int minWidth = Kind == BayerOutput::colorRgb ? kMinCellColourWidth : kMinCellGreyWidth;
    if (!HoldsFrame(raw, size, 1, minWidth, kMinCellHeight) || !HoldsFrame(out, size, BytesPerPixel<Kind>())) {
        return false;
    }
    if (cell.redRow % 2 == 0) {
        ConvertMember<Kind, true>(member, size, out, raw);
    } else {
        ConvertMember<Kind, false>(member, size, out, raw);
    }
    return true;
}

void EnhanceCell(std::uint8_t& green, std::uint8_t& right, std::uint8_t& below, std::uint8_t& greenBelow) {
    int values[3] = {right, below, (green + greenBelow) >> 1};
    int* order[3] = {&values[0], &values[1], &values[2]};
    std::sort(order, order + 3, [](const int* a, const int* b) { return *a > *b; });
    int& high = *order[0];
    int& middle = *order[1];
    const int low = *order[2];
    const int raisedHigh = std::min(255, high + high * (high - middle) * kDefectFilterStrength / 1024);
    const int spread = middle - low;
    middle = std::min(255, middle + (raisedHigh - high) * spread / (spread + kDefectFilterSoftness));
    high = raisedHigh;
    right = static_cast<std::uint8_t>(values[0]);
    below = static_cast<std::uint8_t>(values[1]);
    green = greenBelow = static_cast<std::uint8_t>(values[2]);
}

inline std::uint8_t Boosted(int s, int a, int b) { return ClampToByte(s + (2 * s - a - b) / 2); }

// The base's fast colour row takes red from the even pixels of its first
// row and blue from the odd pixels of its second. Given the odd raw row
// first, it reads the cell's odd-row colour where it writes red and the
// even-row colour where it writes blue, each from the site the cell's
// kernel uses; with red on the even rows the exchanged row writes them in
// their own bytes.
void FastCellColour(int member, BayerCell cell, FrameSize size, std::span<std::uint8_t> out, ColourRowSource& rows,
                    SimdLevel level) {
    const FastKernels& fast = KernelsFor(level);
    const auto row = fast.bayerColourRow;
    const auto exchanged = fast.bayerColourRowExchanged;
    const bool redOnEvenRows = cell.redRow % 2 == 0;
    const bool mirrored = member % 2 == 1;
    const bool bottomUp = member < 2;
    const auto stride = static_cast<std::size_t>(size.width);
    const std::size_t outStride = 3 * stride;
    auto outRow = [&](int y) {
        return out.data() + static_cast<std::size_t>(bottomUp ? size.height - 1 - y : y) * outStride;
    };
    // The last four pixels of a row in raw order repeat the one before them.
    constexpr std::size_t kRepeated = 4;
    const std::size_t from = mirrored ? kRepeated : stride - kRepeated - 1;
    const std::size_t first = mirrored ? 0 : stride - kRepeated;
    const int lastComputed = 2 * (size.height / 2) - 3;
    for (int y = 0; y <= lastComputed; ++y) {
        const RawRowPair pair = rows.RowsFor(y);
        std::uint8_t* o = outRow(y);
        (redOnEvenRows ? exchanged : row)(size.width, pair.red, pair.blue, mirrored, o);
        for (std::size_t x = first; x < first + kRepeated; ++x) std::memcpy(o + 3 * x, o + 3 * from, 3);
    }
    for (int y = lastComputed + 1; y < size.height; ++y) {
        std::memcpy(outRow(y), outRow(lastComputed), outStride);
    }
}

bool FitsCellColour(int member, BayerCell cell, FrameSize size, std::span<const std::uint8_t> out) {
    return GreenOnDiagonal(cell) && member >= 0 && member <= 3 && size.width >= kMinCellColourWidth &&
           size.height >= kMinCellHeight && HoldsFrame(out, size, 3);
}

}  // namespace

bool CellBayerConvertColourRows(int member, BayerCell cell, FrameSize size, std::span<std::uint8_t> out,
                                ColourRowSource& rows, SimdLevel level) {
    if (!FitsCellColour(member, cell, size, out)) {
        return false;
    }
    FastCellColour(member, cell, size, out, rows, level);
    return true;
}

bool CellBayerConvert(BayerOutput kind, int member, BayerCell cell, FrameSize size, std::span<std::uint8_t> out,
                      std::span<const std::uint8_t> raw, SimdLevel level) {
    if (kind != BayerOutput::colorRgb) {
        return CellBayerConvertReference(kind, member, cell, size, out, raw);
    }
    if (!HoldsFrame(raw, size)) {
        return false;
    }
    FrameRows rows(raw, size.width, true);
    return CellBayerConvertColourRows(member, cell, size, out, rows, level);
}

bool CellBayerConvertReference(BayerOutput kind, int member, BayerCell cell, FrameSize size,
                               std::span<std::uint8_t> out, std::span<const std::uint8_t> raw) {
    if (!GreenOnDiagonal(cell) || member < 0 || member > 3) {
        return false;
    }
    switch (kind) {
    case BayerOutput::gray8: return ConvertKind<BayerOutput::gray8>(member, cell, size, out, raw);
    case BayerOutput::grayRgb: return ConvertKind<BayerOutput::grayRgb>(member, cell, size, out, raw);
    case BayerOutput::colorRgb: return ConvertKind<BayerOutput::colorRgb>(member, cell, size, out, raw);
    }
    return false;
}

void EnhanceCellColours(FrameSize size, std::span<std::uint8_t> raw) {
    ForEachInnerCell(size, raw, EnhanceCell);
}

void BoostCells(BoostedPair pair, FrameSize size, std::span<std::uint8_t> raw) {
    if (!HoldsFrame(raw, size, 1, 2, 2)) {
        return;
    }
    const auto stride = static_cast<std::size_t>(size.width);
    for (int y = 0; y + 1 < size.height; y += 2) {
        std::uint8_t* top = raw.data() + static_cast<std::size_t>(y) * stride;
        std::uint8_t* bottom = top + stride;
        for (std::size_t x = 0; x + 1 < stride; x += 2) {
            const int d0 = top[x];
            const int d1 = bottom[x + 1];
            const int a0 = top[x + 1];
            const int a1 = bottom[x];
            if (pair == BoostedPair::greens) {
                top[x] = Boosted(d0, a0, a1);
                bottom[x + 1] = Boosted(d1, a0, a1);
            } else {
                top[x + 1] = Boosted(a0, d0, d1);
                bottom[x] = Boosted(a1, d0, d1);
            }
        }
    }
}

void RunCellPrefilter(int kind, BoostedPair pair, FrameSize size, std::span<std::uint8_t> raw) {
    if (kind == 1) {
        BoostCells(pair, size, raw);
    } else if (kind == 2) {
        EnhanceCellColours(size, raw);
    }
}

}  // namespace kqcmos
