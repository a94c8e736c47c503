// Bodies of the model cameras' fast kernels, written so the compiler
// vectorises them: each run of cells or pixels is split into planes, worked
// on in 16-bit lanes, then interleaved into the output. Each
// per-instruction-set unit includes this file inside an unnamed namespace,
// after <cstddef> and <cstdint>, so every function here has internal linkage
// and is compiled for that unit's instruction set only. Nothing here may
// include a header or call an inline function with external linkage.
// No include guard: each unit includes it exactly once.

using Word = std::int16_t;
using Byte = std::uint8_t;

// Cells or pixels per pass: their planes stay in the first level cache.
constexpr int kModelRun = 256;

inline Word LimitByte(Word v) { return v < 0 ? Word{0} : (v > 255 ? Word{255} : v); }

// The contrast line (c x v >> 4) + 128 - 8c before limiting; the product
// fits 16 bits for every v the kernel meets when |c| <= 40.
inline Word ContrastLine16(Word v, Word c, Word offset) {
    return static_cast<Word>(static_cast<Word>(static_cast<Word>(c * v) >> 4) + offset);
}

// x / 2^shift truncated toward zero, as C's division of a signed value.
inline Word DivideTruncated(Word t, int shift) {
    const auto bias = static_cast<Word>((t >> 15) & ((1 << shift) - 1));
    return static_cast<Word>(static_cast<Word>(t + bias) >> shift);
}

// Splits n cells of two raw rows into the four planes of their corners.
void CellPlanes(int n, const Byte* __restrict top, const Byte* __restrict bottom, Word* __restrict a,
                Word* __restrict b, Word* __restrict c, Word* __restrict d) {
    for (int k = 0; k < n; ++k) {
        a[k] = top[2 * k];
        b[k] = top[2 * k + 1];
        c[k] = bottom[2 * k];
        d[k] = bottom[2 * k + 1];
    }
}

// The in-place stage of the contrast kernels on `cells` cells of a row pair.
void StageCells(int cells, Byte* __restrict top, Byte* __restrict bottom, Word contrast, Word offset) {
    Word a[kModelRun], b[kModelRun], c[kModelRun], d[kModelRun];
    for (int k0 = 0; k0 < cells; k0 += kModelRun) {
        const int n = cells - k0 < kModelRun ? cells - k0 : kModelRun;
        Byte* const t = top + 2 * k0;
        Byte* const u = bottom + 2 * k0;
        CellPlanes(n, t, u, a, b, c, d);
        for (int k = 0; k < n; ++k) {
            const Word green = ContrastLine16(static_cast<Word>((a[k] + d[k]) >> 1), contrast, offset);
            const auto half = static_cast<Word>(static_cast<Word>(green - c[k]) >> 1);
            const Word g = LimitByte(green);
            const Word red = LimitByte(ContrastLine16(static_cast<Word>(c[k] - half), contrast, offset));
            const Word blue = LimitByte(ContrastLine16(
                static_cast<Word>(2 * b[k] - green - static_cast<Word>(half >> 2)), contrast, offset));
            a[k] = g;
            b[k] = blue;
            c[k] = red;
            d[k] = g;
        }
        for (int k = 0; k < n; ++k) {
            t[2 * k] = static_cast<Byte>(a[k]);
            t[2 * k + 1] = static_cast<Byte>(b[k]);
            u[2 * k] = static_cast<Byte>(c[k]);
            u[2 * k + 1] = static_cast<Byte>(d[k]);
        }
    }
}

// Blue, green and red of one cell in `phase` from its corners.
inline void CellColours(int phase, Word a, Word b, Word c, Word d, Word& blue, Word& green, Word& red) {
    if (phase == 0) {
        blue = b;
        red = c;
        green = static_cast<Word>((a + d) >> 1);
    } else {
        blue = phase == 1 ? a : d;
        red = phase == 1 ? d : a;
        green = static_cast<Word>((b + c) >> 1);
    }
}

// Both output rows of a raw row pair (the same pixels): each pixel takes its
// cell's colours; a last odd column takes the cell before it.
void ContrastPairRows(int width, const Byte* __restrict top, const Byte* __restrict bottom, int phase,
                      Byte* __restrict out0, Byte* out1) {
    Word a[kModelRun], b[kModelRun], c[kModelRun], d[kModelRun];
    Byte pb[2 * kModelRun], pg[2 * kModelRun], pr[2 * kModelRun];
    const int cells = width / 2;
    for (int k0 = 0; k0 < cells; k0 += kModelRun) {
        const int n = cells - k0 < kModelRun ? cells - k0 : kModelRun;
        CellPlanes(n, top + 2 * k0, bottom + 2 * k0, a, b, c, d);
        // The phase is chosen per run, so each loop has fixed planes.
        const Word* blue = phase == 0 ? b : (phase == 1 ? a : d);
        const Word* red = phase == 0 ? c : (phase == 1 ? d : a);
        const Word* g1 = phase == 0 ? a : b;
        const Word* g2 = phase == 0 ? d : c;
        for (int k = 0; k < n; ++k) {
            const auto bv = static_cast<Byte>(blue[k]);
            const auto gv = static_cast<Byte>((g1[k] + g2[k]) >> 1);
            const auto rv = static_cast<Byte>(red[k]);
            pb[2 * k] = bv;
            pb[2 * k + 1] = bv;
            pg[2 * k] = gv;
            pg[2 * k + 1] = gv;
            pr[2 * k] = rv;
            pr[2 * k + 1] = rv;
        }
        Byte* const first = out0 + 6 * static_cast<std::size_t>(k0);
        for (int i = 0; i < 2 * n; ++i) {
            first[3 * i] = pb[i];
            first[3 * i + 1] = pg[i];
            first[3 * i + 2] = pr[i];
        }
    }
    if (width % 2 != 0) {
        const int cx = width - 2;
        Word blue = 0, green = 0, red = 0;
        CellColours(phase, top[cx], top[cx + 1], bottom[cx], bottom[cx + 1], blue, green, red);
        Byte* const p = out0 + 3 * static_cast<std::size_t>(width - 1);
        p[0] = static_cast<Byte>(blue);
        p[1] = static_cast<Byte>(green);
        p[2] = static_cast<Byte>(red);
    }
    if (out1 != out0) {
        const std::size_t bytes = 3 * static_cast<std::size_t>(width);
        for (std::size_t i = 0; i < bytes; ++i) out1[i] = out0[i];
    }
}

void ContrastRgbFrameBody(int width, int height, Byte* raw, Byte* out, int c, int phase) {
    const auto w = static_cast<std::size_t>(width);
    const std::size_t rowBytes = 3 * w;
    const auto contrast = static_cast<Word>(c);
    const auto offset = static_cast<Word>(128 - 8 * c);
    const int stagedCells = (width & ~7) / 2;
    const int pairs = height / 2;
    auto outRow = [&](int y) { return out + static_cast<std::size_t>(height - 1 - y) * rowBytes; };
    // A pair's output needs only its own staged rows, so each pair is
    // staged and read out while it is in the cache.
    for (int p = 0; p < pairs; ++p) {
        Byte* const top = raw + static_cast<std::size_t>(2 * p) * w;
        Byte* const bottom = top + w;
        if (p < pairs - 1) StageCells(stagedCells, top, bottom, contrast, offset);
        ContrastPairRows(width, top, bottom, phase, outRow(2 * p), outRow(2 * p + 1));
    }
    if (height % 2 != 0) {
        const Byte* const top = raw + static_cast<std::size_t>(height - 2) * w;
        ContrastPairRows(width, top, top + w, phase, outRow(height - 1), outRow(height - 1));
    }
}

// One source row of YUV pairs (Y0, red difference, Y1, blue difference)
// into BGR pixels; the second pixel of a pair takes the next pair's red
// difference, the last pair its own.
void YuvRowBody(int width, const Byte* __restrict row, bool mirrored, Byte* __restrict out) {
    Word y0[kModelRun], y1[kModelRun], cr[kModelRun], crNext[kModelRun], cb[kModelRun];
    Byte pb[2 * kModelRun], pg[2 * kModelRun], pr[2 * kModelRun];
    Byte rb[2 * kModelRun], rg[2 * kModelRun], rr[2 * kModelRun];
    const int pairs = width / 2;
    for (int i0 = 0; i0 < pairs; i0 += kModelRun) {
        const int n = pairs - i0 < kModelRun ? pairs - i0 : kModelRun;
        const Byte* const src = row + 4 * static_cast<std::size_t>(i0);
        const bool holdsLast = i0 + n == pairs;
        const int withNext = holdsLast ? n - 1 : n;
        for (int k = 0; k < withNext; ++k) {
            y0[k] = src[4 * k];
            cr[k] = src[4 * k + 1];
            y1[k] = src[4 * k + 2];
            cb[k] = src[4 * k + 3];
            crNext[k] = src[4 * k + 5];
        }
        if (holdsLast) {
            const int k = n - 1;
            y0[k] = src[4 * k];
            cr[k] = src[4 * k + 1];
            y1[k] = src[4 * k + 2];
            cb[k] = src[4 * k + 3];
            crNext[k] = cr[k];
        }
        for (int k = 0; k < n; ++k) {
            const Word luma0 = DivideTruncated(static_cast<Word>((y0[k] - 16) * 37), 5);
            const Word luma1 = DivideTruncated(static_cast<Word>((y1[k] - 16) * 37), 5);
            const Word blue = DivideTruncated(static_cast<Word>((cb[k] - 128) * 129), 6);
            const Word greenFromBlue = DivideTruncated(static_cast<Word>((128 - cb[k]) * 25), 6);
            const Word greenFromRed0 = DivideTruncated(static_cast<Word>((128 - cr[k]) * 13), 4);
            const Word greenFromRed1 = DivideTruncated(static_cast<Word>((128 - crNext[k]) * 13), 4);
            const Word red0 = DivideTruncated(static_cast<Word>((cr[k] - 128) * 51), 5);
            const Word red1 = DivideTruncated(static_cast<Word>((crNext[k] - 128) * 51), 5);
            pb[2 * k] = static_cast<Byte>(LimitByte(static_cast<Word>(luma0 + blue)));
            pb[2 * k + 1] = static_cast<Byte>(LimitByte(static_cast<Word>(luma1 + blue)));
            pg[2 * k] = static_cast<Byte>(LimitByte(static_cast<Word>(luma0 + greenFromBlue + greenFromRed0)));
            pg[2 * k + 1] = static_cast<Byte>(LimitByte(static_cast<Word>(luma1 + greenFromBlue + greenFromRed1)));
            pr[2 * k] = static_cast<Byte>(LimitByte(static_cast<Word>(luma0 + red0)));
            pr[2 * k + 1] = static_cast<Byte>(LimitByte(static_cast<Word>(luma1 + red1)));
        }
        const int m = 2 * n;
        const Byte* sb = pb;
        const Byte* sg = pg;
        const Byte* sr = pr;
        std::size_t firstPixel = 2 * static_cast<std::size_t>(i0);
        if (mirrored) {
            // Pixels 2 i0 .. 2 i0 + m - 1 go to width - 2 i0 - m .. width - 1 - 2 i0, reversed.
            for (int i = 0; i < m; ++i) {
                rb[i] = pb[m - 1 - i];
                rg[i] = pg[m - 1 - i];
                rr[i] = pr[m - 1 - i];
            }
            sb = rb;
            sg = rg;
            sr = rr;
            firstPixel = static_cast<std::size_t>(width) - firstPixel - static_cast<std::size_t>(m);
        }
        Byte* const first = out + 3 * firstPixel;
        for (int i = 0; i < m; ++i) {
            first[3 * i] = sb[i];
            first[3 * i + 1] = sg[i];
            first[3 * i + 2] = sr[i];
        }
    }
}
