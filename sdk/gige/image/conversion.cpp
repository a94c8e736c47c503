#include "conversion.h"

#include <cstring>

#include "bayer_kernels.h"
#include "bayer_phase.h"

namespace kqge {
namespace {

using Raw = std::span<const std::uint8_t>;
using Out = std::span<std::uint8_t>;

std::uint8_t* OutRow(Out out, FrameSize size, int bytesPerPixel, int rawRow) {
    const auto stride = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(bytesPerPixel);
    return out.data() + static_cast<std::size_t>(size.height - 1 - rawRow) * stride;
}

const std::uint8_t* RawRow(Raw raw, FrameSize size, int bytesPerSample, int row) {
    return raw.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(size.width) *
                            static_cast<std::size_t>(bytesPerSample);
}

void StorePixel(std::uint8_t* p, int blue, int green, int red) {
    p[0] = static_cast<std::uint8_t>(blue);
    p[1] = static_cast<std::uint8_t>(green);
    p[2] = static_cast<std::uint8_t>(red);
}

void StoreGrey(std::uint8_t* p, int grey, int bytesPerPixel) {
    for (int i = 0; i < bytesPerPixel; ++i) p[i] = static_cast<std::uint8_t>(grey);
}

// One colour row from the window rows `top` and `bottom`; `RedOnTop` when the
// top row holds the red samples, `RedColumn` the parity of the red columns.
template <bool RedOnTop, int RedColumn>
void ColorRow(const std::uint8_t* top, const std::uint8_t* bottom, int width, std::uint8_t* out) {
    const std::uint8_t* redRow = RedOnTop ? top : bottom;
    const std::uint8_t* blueRow = RedOnTop ? bottom : top;
    auto pixel = [&](int x, bool redHere) {
        const int rc = redHere ? x : x + 1;
        const int bc = redHere ? x + 1 : x;
        StorePixel(out + 3 * x, blueRow[bc], redRow[bc] / 2 + blueRow[rc] / 2, redRow[rc]);
    };
    int x = 0;
    for (; x + 2 < width; x += 2) {
        pixel(x, RedColumn == 0);
        pixel(x + 1, RedColumn == 1);
    }
    if (x + 1 < width) pixel(x, RedColumn == 0);
    std::memcpy(out + 3 * (width - 1), out + 3 * (width - 2), 3);
}

using ColorRowFn = void (*)(const std::uint8_t*, const std::uint8_t*, int, std::uint8_t*);

ColorRowFn ColorRowFor(bool redOnTop, int redColumn) {
    if (redOnTop) return redColumn == 0 ? &ColorRow<true, 0> : &ColorRow<true, 1>;
    return redColumn == 0 ? &ColorRow<false, 0> : &ColorRow<false, 1>;
}

// Frames without a whole 2 x 2 window: every raw byte as a grey pixel.
void DegenerateGrey(FrameSize size, int bytesPerPixel, Raw raw, Out out) {
    for (int r = 0; r < size.height; ++r) {
        const std::uint8_t* in = RawRow(raw, size, 1, r);
        std::uint8_t* o = OutRow(out, size, bytesPerPixel, r);
        for (int x = 0; x < size.width; ++x) StoreGrey(o + x * bytesPerPixel, in[x], bytesPerPixel);
    }
}

void CopyRow(Out out, FrameSize size, int bytesPerPixel, int toRawRow, int fromRawRow) {
    std::memcpy(OutRow(out, size, bytesPerPixel, toRawRow), OutRow(out, size, bytesPerPixel, fromRawRow),
                static_cast<std::size_t>(size.width) * static_cast<std::size_t>(bytesPerPixel));
}

void FirstByteFromFourth(FrameSize size, Out out) {
    const auto stride = static_cast<std::size_t>(size.width) * 3;
    for (int r = 0; r < size.height; ++r) {
        std::uint8_t* row = out.data() + static_cast<std::size_t>(r) * stride;
        row[0] = row[3];
    }
}

bool PackedKernelFits(FrameSize size) { return size.width % 3 == 0 && size.height % 8 == 0; }

// Grey from the 2 x 2 window: `Exact` the mean of the sum, else the sum of
// the quarters.
template <bool Exact>
int WindowGrey(int a, int b, int c, int d) {
    if constexpr (Exact) {
        return (a + b + c + d) / 4;
    } else {
        return a / 4 + b / 4 + c / 4 + d / 4;
    }
}

template <bool Exact, int BytesPerPixel>
void GreyRow(const std::uint8_t* top, const std::uint8_t* bottom, int width, std::uint8_t* out) {
    for (int x = 0; x + 1 < width; ++x) {
        const auto grey = static_cast<std::uint8_t>(WindowGrey<Exact>(top[x], top[x + 1], bottom[x], bottom[x + 1]));
        for (int k = 0; k < BytesPerPixel; ++k) out[x * BytesPerPixel + k] = grey;
    }
    for (int k = 0; k < BytesPerPixel; ++k) out[(width - 1) * BytesPerPixel + k] = out[(width - 2) * BytesPerPixel + k];
}

template <bool Exact, int BytesPerPixel>
void GreyWindows8(FrameSize size, Raw raw, Out out) {
    for (int r = 0; r < size.height; ++r) {
        const int topRow = r < size.height - 1 ? r : size.height - 2;
        const std::uint8_t* top = RawRow(raw, size, 1, topRow);
        GreyRow<Exact, BytesPerPixel>(top, top + size.width, size.width, OutRow(out, size, BytesPerPixel, r));
    }
}

template <bool Exact>
void GreyWindows8(FrameSize size, int bytesPerPixel, Raw raw, Out out) {
    if (bytesPerPixel == 3) {
        GreyWindows8<Exact, 3>(size, raw, out);
    } else {
        GreyWindows8<Exact, 1>(size, raw, out);
    }
}

// The exact 2 x 2 mean on 16-bit samples, bottom-up.
void GreyWindows16(FrameSize size, Raw raw, Out out) {
    for (int r = 0; r < size.height; ++r) {
        const int topRow = r < size.height - 1 ? r : size.height - 2;
        const std::uint8_t* top = RawRow(raw, size, 2, topRow);
        const std::uint8_t* bottom = top + 2 * size.width;
        std::uint8_t* o = OutRow(out, size, 2, r);
        for (int x = 0; x + 1 < size.width; ++x) {
            const int sum = LoadSample(top + 2 * x) + LoadSample(top + 2 * x + 2) + LoadSample(bottom + 2 * x) +
                            LoadSample(bottom + 2 * x + 2);
            StoreSample(o + 2 * x, sum / 4);
        }
        std::memcpy(o + 2 * (size.width - 1), o + 2 * (size.width - 2), 2);
    }
}

bool Fits(FrameSize size, Raw raw, int bytesPerSample, Out out, int bytesPerPixel) {
    return kqcmos::HoldsFrame(raw, size, bytesPerSample) && kqcmos::HoldsFrame(out, size, bytesPerPixel);
}

}  // namespace

bool ConvertToColor(FrameSize size, int phase, Raw raw, Out out) {
    if (!Fits(size, raw, 1, out, 3)) return false;
    if (size.width < 2 || size.height < 2) {
        DegenerateGrey(size, 3, raw, out);
        return true;
    }
    const BayerPhase sites = BayerPhase::Of(phase);
    const int effectivePhase = phase >= 1 && phase <= 4 ? phase : 3;
    if (effectivePhase == 3 && PackedKernelFits(size)) {
        if (!kqcmos::BayerToRgbA0(size, out, raw)) return false;
    } else {
        for (int r = 0; r < size.height; ++r) {
            const int topRow = r < size.height - 1 ? r : size.height - 2;
            const std::uint8_t* top = RawRow(raw, size, 1, topRow);
            const bool redOnTop = (topRow & 1) == sites.redRowParity;
            ColorRowFor(redOnTop, sites.redColumnParity)(top, top + size.width, size.width, OutRow(out, size, 3, r));
        }
    }
    if (effectivePhase != 2) CopyRow(out, size, 3, 0, 1);
    FirstByteFromFourth(size, out);
    return true;
}

bool ConvertToGrey(FrameSize size, const ImageSettings& settings, bool rgb, Raw raw, Out out) {
    const int bytesPerPixel = rgb ? 3 : 1;
    if (!Fits(size, raw, 1, out, bytesPerPixel)) return false;
    const bool monoSensor = !IsColorSensor(settings.sensorColorKind);
    if ((monoSensor && !settings.monoPath) || size.width < 2 || size.height < 2) {
        DegenerateGrey(size, bytesPerPixel, raw, out);
    } else if (monoSensor && settings.familyMarker == kCmosRegisterFamily) {
        GreyWindows8<true>(size, bytesPerPixel, raw, out);
    } else {
        GreyWindows8<false>(size, bytesPerPixel, raw, out);
    }
    return true;
}

bool ConvertWide16(FrameSize size, int validBits, Raw raw, Out out) {
    if (!Fits(size, raw, 2, out, 2)) return false;
    if (validBits == 8 || validBits == 12) {
        const std::size_t samples = kqcmos::FrameBytes(size);
        const std::uint8_t* in = raw.data();
        std::uint8_t* o = out.data();
        for (std::size_t i = 0; i < samples; ++i) StoreSample(o + 2 * i, LoadSample(in + 2 * i) << 4);
    } else if (validBits == 10) {
        if (size.width < 2 || size.height < 2) {
            for (int r = 0; r < size.height; ++r) {
                std::memcpy(OutRow(out, size, 2, r), RawRow(raw, size, 2, r), static_cast<std::size_t>(size.width) * 2);
            }
        } else {
            GreyWindows16(size, raw, out);
        }
    }
    return true;
}

bool Wide16ToDrawing(FrameSize size, int validBits, Raw wide, Out grey) {
    if (!Fits(size, wide, 2, grey, 1)) return false;
    const int shift = validBits == 10 ? 2 : 8;
    const std::size_t samples = kqcmos::FrameBytes(size);
    for (std::size_t i = 0; i < samples; ++i) {
        grey[i] = static_cast<std::uint8_t>(LoadSample(wide.data() + 2 * i) >> shift);
    }
    return true;
}

bool ConvertByKind(OutputKind kind, FrameSize size, const ImageSettings& settings, Raw raw, Out out) {
    switch (kind) {
    case OutputKind::color:
    case OutputKind::color5: return ConvertToColor(size, settings.interpolationPhase, raw, out);
    case OutputKind::grey24: return ConvertToGrey(size, settings, true, raw, out);
    case OutputKind::grey8: return ConvertToGrey(size, settings, false, raw, out);
    case OutputKind::raw8:
        if (!Fits(size, raw, 1, out, 1)) return false;
        std::memcpy(out.data(), raw.data(), kqcmos::FrameBytes(size));
        return true;
    case OutputKind::wide16: return ConvertWide16(size, settings.validBits, raw, out);
    }
    return false;
}

}  // namespace kqge
