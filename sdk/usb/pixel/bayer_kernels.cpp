#include "bayer_kernels.h"

#include <cstring>

#include "fast_kernels.h"

namespace kqcmos {
namespace {

struct Orientation {
    bool bottomUp;
    bool mirrored;
};

constexpr Orientation OrientationOf(int flipMode) {
    switch (flipMode) {
    case 1: return {true, true};
    case 2: return {false, false};
    case 3: return {false, true};
    default: return {true, false};
    }
}

template <BayerOutput Kind>
constexpr int BytesPerPixel() {
    return Kind == BayerOutput::gray8 ? 1 : 3;
}

// One output row from raw rows y and y + 1. `red` is whichever of the two is
// the even (red/green) row, `blue` the odd (green/blue) one.
template <BayerOutput Kind, bool Mirror>
void ConvertRow(const std::uint8_t* red, const std::uint8_t* blue, int width, std::uint8_t* out) {
    constexpr int bpp = BytesPerPixel<Kind>();
    const int computed = width - 1;
    auto at = [&](int x) { return out + (Mirror ? width - 1 - x : x) * bpp; };
    int x = 0;
    for (; x + 1 < computed; x += 2) {
        StorePixel<Kind>(at(x), red[x], red[x + 1] + blue[x], blue[x + 1]);
        StorePixel<Kind>(at(x + 1), red[x + 2], red[x + 1] + blue[x + 2], blue[x + 1]);
    }
    if (x < computed) {
        StorePixel<Kind>(at(x), red[x], red[x + 1] + blue[x], blue[x + 1]);
    }
    std::memcpy(at(width - 1), at(width - 2), bpp);
}

// The caller has checked the sizes. `fast`, when given, converts colour rows
// instead of ConvertRow.
template <BayerOutput Kind, bool Mirror>
void Convert(FrameSize size, bool bottomUp, std::span<std::uint8_t> out, ColourRowSource& rows,
             const FastKernels* fast) {
    constexpr int bpp = BytesPerPixel<Kind>();
    const std::size_t outStride = static_cast<std::size_t>(size.width) * bpp;
    auto outRow = [&](int y) {
        return out.data() + static_cast<std::size_t>(bottomUp ? size.height - 1 - y : y) * outStride;
    };
    const int lastComputed = 2 * (size.height / 2) - 3;
    for (int y = 0; y <= lastComputed; ++y) {
        const RawRowPair pair = rows.RowsFor(y);
        if (fast != nullptr) {
            fast->bayerColourRow(size.width, pair.red, pair.blue, Mirror, outRow(y));
        } else {
            ConvertRow<Kind, Mirror>(pair.red, pair.blue, size.width, outRow(y));
        }
    }
    for (int y = lastComputed + 1; y < size.height; ++y) {
        std::memcpy(outRow(y), outRow(lastComputed), outStride);
    }
}

template <BayerOutput Kind>
bool FitsKernel(FrameSize size, std::span<const std::uint8_t> out) {
    return HoldsFrame(out, size, BytesPerPixel<Kind>(), kMinBayerWidth, kMinBayerHeight);
}

template <BayerOutput Kind>
void ConvertFlip(int flipMode, FrameSize size, std::span<std::uint8_t> out, ColourRowSource& rows,
                 const FastKernels* fast) {
    const Orientation o = OrientationOf(flipMode);
    if (o.mirrored) {
        Convert<Kind, true>(size, o.bottomUp, out, rows, fast);
    } else {
        Convert<Kind, false>(size, o.bottomUp, out, rows, fast);
    }
}

template <BayerOutput Kind>
bool ConvertFlip(int flipMode, FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw,
                 const FastKernels* fast = nullptr) {
    if (!HoldsFrame(raw, size) || !FitsKernel<Kind>(size, out)) {
        return false;
    }
    FrameRows rows(raw, size.width);
    ConvertFlip<Kind>(flipMode, size, out, rows, fast);
    return true;
}

}  // namespace

bool BayerConvert(BayerOutput kind, int flipMode, FrameSize size, std::span<std::uint8_t> out,
                  std::span<const std::uint8_t> raw, SimdLevel level) {
    switch (kind) {
    case BayerOutput::gray8: return ConvertFlip<BayerOutput::gray8>(flipMode, size, out, raw);
    case BayerOutput::grayRgb: return ConvertFlip<BayerOutput::grayRgb>(flipMode, size, out, raw);
    case BayerOutput::colorRgb: return ConvertFlip<BayerOutput::colorRgb>(flipMode, size, out, raw, &KernelsFor(level));
    }
    return false;
}

bool BayerConvertColourRows(int flipMode, FrameSize size, std::span<std::uint8_t> out, ColourRowSource& rows,
                            SimdLevel level) {
    if (!FitsKernel<BayerOutput::colorRgb>(size, out)) {
        return false;
    }
    ConvertFlip<BayerOutput::colorRgb>(flipMode, size, out, rows, &KernelsFor(level));
    return true;
}

#define KQCMOS_BAYER_MEMBER(name, kind, flip)                                                   \
    bool name(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw) { \
        return ConvertFlip<BayerOutput::kind>(flip, size, out, raw);                            \
    }

KQCMOS_BAYER_MEMBER(BayerToGray0, gray8, 0)
KQCMOS_BAYER_MEMBER(BayerToGray1, gray8, 1)
KQCMOS_BAYER_MEMBER(BayerToGray2, gray8, 2)
KQCMOS_BAYER_MEMBER(BayerToGray3, gray8, 3)
KQCMOS_BAYER_MEMBER(BayerToRgbB0, grayRgb, 0)
KQCMOS_BAYER_MEMBER(BayerToRgbB1, grayRgb, 1)
KQCMOS_BAYER_MEMBER(BayerToRgbB2, grayRgb, 2)
KQCMOS_BAYER_MEMBER(BayerToRgbB3, grayRgb, 3)
KQCMOS_BAYER_MEMBER(BayerToRgbA0, colorRgb, 0)
KQCMOS_BAYER_MEMBER(BayerToRgbA1, colorRgb, 1)
KQCMOS_BAYER_MEMBER(BayerToRgbA2, colorRgb, 2)
KQCMOS_BAYER_MEMBER(BayerToRgbA3, colorRgb, 3)

#undef KQCMOS_BAYER_MEMBER

}  // namespace kqcmos
