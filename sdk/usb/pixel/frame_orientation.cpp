#include "frame_orientation.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>

namespace kqcmos {
namespace {

constexpr int kTile = 16;

// The 16 x 16 block whose rows start at from[k] into the rows to[k],
// transposed: four rounds of pairing row k with row k + 8 byte by byte.
void Transpose16(const std::uint8_t* const (&from)[kTile], std::uint8_t* const (&to)[kTile]) {
    __m128i a[kTile];
    for (int k = 0; k < kTile; ++k) a[k] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from[k]));
    for (int round = 0; round < 4; ++round) {
        __m128i b[kTile];
        for (int k = 0; k < kTile / 2; ++k) {
            b[2 * k] = _mm_unpacklo_epi8(a[k], a[k + kTile / 2]);
            b[2 * k + 1] = _mm_unpackhi_epi8(a[k], a[k + kTile / 2]);
        }
        std::copy(std::begin(b), std::end(b), std::begin(a));
    }
    for (int k = 0; k < kTile; ++k) _mm_storeu_si128(reinterpret_cast<__m128i*>(to[k]), a[k]);
}

}  // namespace

bool FlipFrame(int flipMode, FrameSize& size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw,
               TurnRepair repair) {
    if (flipMode != 4 && flipMode != 5) {
        return false;
    }
    if (!HoldsFrame(raw, size, 1, 3, 3) || !HoldsFrame(out, size)) {
        return false;
    }
    const int w = size.width;
    const int h = size.height;
    const auto outW = static_cast<std::size_t>(h);  // output rows are H long
    auto outRow = [&](int j) { return out.data() + static_cast<std::size_t>(flipMode == 4 ? j : w - 1 - j) * outW; };
    auto source = [&](int i, int j) {
        const int row = flipMode == 4 ? h - 1 - i : i;
        return raw.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(w) + static_cast<std::size_t>(j);
    };
    // Output row j, column i from the source pixel of (i, j): whole 16 x 16
    // tiles by transposing in registers, so each source row is read along
    // its length; the rest pixel by pixel.
    const int tiledH = h - h % kTile;
    const int tiledW = w - w % kTile;
    for (int i0 = 0; i0 < tiledH; i0 += kTile) {
        for (int j0 = 0; j0 < tiledW; j0 += kTile) {
            const std::uint8_t* from[kTile];
            std::uint8_t* to[kTile];
            for (int k = 0; k < kTile; ++k) {
                from[k] = source(i0 + k, j0);
                to[k] = outRow(j0 + k) + i0;
            }
            Transpose16(from, to);
        }
        for (int j = tiledW; j < w; ++j) {
            for (int i = i0; i < i0 + kTile; ++i) outRow(j)[i] = *source(i, j);
        }
    }
    for (int i = tiledH; i < h; ++i) {
        for (int j = 0; j < w; ++j) outRow(j)[i] = *source(i, j);
    }
    if (flipMode == 4 && repair != TurnRepair::lastRow) {
        for (int j = 0; j < w; ++j) {
            std::uint8_t* row = out.data() + static_cast<std::size_t>(j) * outW;
            if (repair == TurnRepair::firstColumn) {
                row[0] = row[2];
            } else {
                row[outW - 1] = row[outW - 3];
            }
        }
    } else {
        std::memcpy(out.data() + static_cast<std::size_t>(w - 1) * outW,
                    out.data() + static_cast<std::size_t>(w - 3) * outW, outW);
    }
    size = {h, w};
    return true;
}

bool OrientGrayFrame(int flipMode, FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> in) {
    if (!HoldsFrame(in, size) || !HoldsFrame(out, size)) {
        return false;
    }
    const bool bottomUp = flipMode != 2 && flipMode != 3;
    const bool mirrored = flipMode == 1 || flipMode == 3;
    const auto w = static_cast<std::size_t>(size.width);
    for (int y = 0; y < size.height; ++y) {
        const std::uint8_t* src = in.data() + static_cast<std::size_t>(y) * w;
        std::uint8_t* dst = out.data() + static_cast<std::size_t>(bottomUp ? size.height - 1 - y : y) * w;
        if (mirrored) {
            std::reverse_copy(src, src + w, dst);
        } else {
            std::memcpy(dst, src, w);
        }
    }
    return true;
}

bool Average2x2(FrameSize size, int bytesPerPixel, std::span<std::uint8_t> out, std::span<const std::uint8_t> in) {
    if ((bytesPerPixel != 1 && bytesPerPixel != 3) || !HoldsFrame(in, size, 1, 2, 3) ||
        !HoldsFrame(out, size, bytesPerPixel)) {
        return false;
    }
    const auto w = static_cast<std::size_t>(size.width);
    const std::size_t outStride = w * static_cast<std::size_t>(bytesPerPixel);
    auto outRow = [&](int y) { return out.data() + static_cast<std::size_t>(y) * outStride; };
    for (int y = 1; y + 1 < size.height; ++y) {
        const std::uint8_t* a = in.data() + static_cast<std::size_t>(y) * w;
        const std::uint8_t* b = a + w;
        std::uint8_t* dst = outRow(y);
        for (std::size_t x = 0; x + 1 < w; ++x) {
            const auto v = static_cast<std::uint8_t>((a[x] + a[x + 1] + b[x] + b[x + 1]) / 4);
            std::memset(dst + x * static_cast<std::size_t>(bytesPerPixel), v, static_cast<std::size_t>(bytesPerPixel));
        }
        std::memcpy(dst + (w - 1) * static_cast<std::size_t>(bytesPerPixel),
                    dst + (w - 2) * static_cast<std::size_t>(bytesPerPixel), static_cast<std::size_t>(bytesPerPixel));
    }
    std::memcpy(outRow(0), outRow(1), outStride);
    std::memcpy(outRow(size.height - 1), outRow(size.height - 2), outStride);
    return true;
}

}  // namespace kqcmos
