// Bodies of the fast kernels, in intrinsics (fast_kernels_vectors.h) or
// written so the compiler vectorises them. Each
// per-instruction-set unit includes this file inside an unnamed namespace,
// after <cstddef> and <cstdint>, so every function here has internal linkage
// and is compiled for that unit's instruction set only. Nothing here may
// include a header or call an inline function with external linkage: the
// linker could otherwise keep the AVX2 copy of it for every caller. The
// units include the intrinsics headers first; their functions are always
// inlined and never emitted on their own.
// No include guard: each unit includes it exactly once.

inline int ClampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// The chain's activity threshold; an activity term above it decides alone,
// so terms are capped there and the sum stays within 16 bits.
constexpr int kActivityThreshold = 1000;
constexpr int kTermCap = kActivityThreshold + 1;

// Smoothed colour bytes of pixel columns 3 .. width - 4 of one row, from the
// frame rows above, at and below it (interleaved, 3 words a pixel), and the
// sum of each pixel's three smoothed colours.
void SmoothRow(int width, const Byte* __restrict up, const Byte* __restrict mid, const Byte* __restrict down,
               Word* __restrict smooth, Word* __restrict sum) {
    const int first = 3 * 3;
    const int end = 3 * (width - 3);
    for (int i = first; i < end; ++i) {
        const int cross = up[i] + down[i] + mid[i - 3] + mid[i + 3];
        const int diagonal = up[i - 3] + up[i + 3] + down[i - 3] + down[i + 3];
        smooth[i] = static_cast<Word>((2 * mid[i] + 2 * cross + diagonal) >> 4);
    }
    for (int x = 3; x < width - 3; ++x) {
        sum[x] = static_cast<Word>(smooth[3 * x] + smooth[3 * x + 1] + smooth[3 * x + 2]);
    }
}

// |9 x sum - box|, capped at kTermCap.
inline Word ActivityTerm(Word sum, Word box) {
    const auto d = static_cast<Word>(9 * sum - box);
    const auto magnitude = static_cast<Word>(d < 0 ? -d : d);
    return magnitude < kTermCap ? magnitude : static_cast<Word>(kTermCap);
}

struct SharpenRowWork {
    Word* columnSum;      // width words
    Byte* gate;           // 3 x width bytes
    Word* colourColumns;  // 3 x width words
};

// Output pixel columns 4 .. width - 5 of the row whose smoothed rows above, at
// and below are s0, s1, s2 (sums) and m0, m1, m2 (colours).
void SharpenRow(int width, const Word* __restrict s0, const Word* __restrict s1, const Word* __restrict s2,
                const Word* __restrict m0, const Word* __restrict m1, const Word* __restrict m2,
                const SharpenRowWork& work, Byte* __restrict out) {
    Word* __restrict v = work.columnSum;
    Byte* __restrict gate = work.gate;
    Word* __restrict vs = work.colourColumns;
    for (int x = 3; x < width - 3; ++x) {
        v[x] = static_cast<Word>(s0[x] + s1[x] + s2[x]);
    }
    // Every value here fits 16 bits (sums up to 6885; nine capped terms up
    // to 9009), so whole vectors of pixels run in 16-bit lanes. Each pixel's
    // gate (0 or all ones) goes to all three of its colour bytes.
    auto pixelGates = [&](int x) {
        const Vec box = AddWords(AddWords(LoadWords(v + x - 1), LoadWords(v + x)), LoadWords(v + x + 1));
        Vec activity = ZeroVec();
        const Word* const rows[3] = {s0, s1, s2};
        for (const Word* s : rows) {
            for (int k = -1; k <= 1; ++k) {
                const Vec sum = LoadWords(s + x + k);
                const Vec d = SubWords(AddWords(ShiftWordsLeft(sum, 3), sum), box);
                activity = AddWords(activity, MinWords(AbsWords(d), SplatWords(kTermCap)));
            }
        }
        return GreaterWords(activity, SplatWords(kActivityThreshold));
    };
    int x = 4;
    for (; x + kVecBytes <= width - 4; x += kVecBytes) {
        const Vec g = PackWordsSigned(pixelGates(x), pixelGates(x + kWordLanes));
        StorePixels({g, g, g}, gate + 3 * x);
    }
    for (; x < width - 4; ++x) {
        const auto box = static_cast<Word>(v[x - 1] + v[x] + v[x + 1]);
        const auto activity =
            static_cast<Word>(ActivityTerm(s0[x - 1], box) + ActivityTerm(s0[x], box) + ActivityTerm(s0[x + 1], box) +
                              ActivityTerm(s1[x - 1], box) + ActivityTerm(s1[x], box) + ActivityTerm(s1[x + 1], box) +
                              ActivityTerm(s2[x - 1], box) + ActivityTerm(s2[x], box) + ActivityTerm(s2[x + 1], box));
        const Byte g = activity > kActivityThreshold ? Byte{0xFF} : Byte{0};
        gate[3 * x] = g;
        gate[3 * x + 1] = g;
        gate[3 * x + 2] = g;
    }
    for (int i = 3 * 3; i < 3 * (width - 3); ++i) {
        vs[i] = static_cast<Word>(m0[i] + m1[i] + m2[i]);
    }
    // 10p - (sum of nine colour sums) lies within -2295 .. 2230, so 16-bit lanes hold it.
    int i = 3 * 4;
    for (; i + kWordLanes <= 3 * (width - 4); i += kWordLanes) {
        const Vec p = LoadWords(m1 + i);
        const Vec columns = AddWords(AddWords(LoadWords(vs + i - 3), LoadWords(vs + i)), LoadWords(vs + i + 3));
        const Vec sharpened = SubWords(AddWords(ShiftWordsLeft(p, 3), ShiftWordsLeft(p, 1)), columns);
        const Vec open = GreaterWords(LoadSampleWords(gate + i), ZeroVec());
        StoreWordsAsBytes(Select(open, sharpened, p), out + i);
    }
    for (; i < 3 * (width - 4); ++i) {
        const int p = m1[i];
        const int sharpened = ClampByte(10 * p - (vs[i - 3] + vs[i] + vs[i + 3]));
        out[i] = static_cast<Byte>(gate[i] != 0 ? sharpened : p);
    }
}

void SharpenChainRowsBody(int width, int height, Byte* rgb, Word* scratch) {
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(width);
    const auto w = static_cast<std::size_t>(width);
    Word* smooth[3] = {scratch, scratch + rowBytes, scratch + 2 * rowBytes};
    Word* sum[3] = {scratch + 9 * w, scratch + 10 * w, scratch + 11 * w};
    const SharpenRowWork work{scratch + 12 * w, reinterpret_cast<Byte*>(scratch + 13 * w), scratch + 17 * w};
    auto row = [&](int y) { return rgb + static_cast<std::size_t>(y) * rowBytes; };
    auto smoothInto = [&](int y, int slot) {
        SmoothRow(width, row(y - 1), row(y), row(y + 1), smooth[slot], sum[slot]);
    };
    // Output row y needs smoothed rows y - 1 .. y + 1, which read frame rows
    // y - 2 .. y + 2; row y is written only after row y + 1 is smoothed.
    smoothInto(3, 0);
    smoothInto(4, 1);
    for (int y = 4; y <= height - 5; ++y) {
        smoothInto(y + 1, 2);
        SharpenRow(width, sum[0], sum[1], sum[2], smooth[0], smooth[1], smooth[2], work, row(y));
        Word* const oldSmooth = smooth[0];
        Word* const oldSum = sum[0];
        smooth[0] = smooth[1];
        smooth[1] = smooth[2];
        smooth[2] = oldSmooth;
        sum[0] = sum[1];
        sum[1] = sum[2];
        sum[2] = oldSum;
    }
}

// ApplySaturation's step on `width` pixels. (s - 8) x (v - grey) is the move
// toward grey for s < 8 as well, so one expression serves both sides.
void SaturatePixels(int width, Byte* __restrict pixels, int s, Word* __restrict grey) {
    for (int x = 0; x < width; ++x) {
        const int sum = pixels[3 * x] + pixels[3 * x + 1] + pixels[3 * x + 2];
        const auto g = static_cast<Word>((sum >> 3) + (sum >> 2));
        grey[3 * x] = g;
        grey[3 * x + 1] = g;
        grey[3 * x + 2] = g;
    }
    const auto strength = static_cast<Word>(s - 8);
    const int bytes = 3 * width;
    for (int i = 0; i < bytes; ++i) {
        const auto moved = static_cast<Word>(pixels[i] + (static_cast<Word>(strength * (pixels[i] - grey[i])) >> 3));
        pixels[i] = static_cast<Byte>(ClampByte(moved));
    }
}

// Pixels per pass of SaturatePixels: their grey levels stay in the first
// level cache.
constexpr int kSaturationRun = 512;

// v + (((v - grey) x strength) >> 3) on words, as SaturatePixels.
inline Vec SaturatedWords(Vec v, Vec grey, Vec strength) {
    return AddWords(v, ShiftWordsRightSigned(MultiplyWords(SubWords(v, grey), strength), 3));
}

// SaturatePixels on the planes of a vector of pixels.
inline ColourPlanes SaturatedPlanes(const ColourPlanes& p, Vec strength) {
    const Vec sumLow = AddWords(AddWords(WidenLow(p.blue), WidenLow(p.green)), WidenLow(p.red));
    const Vec sumHigh = AddWords(AddWords(WidenHigh(p.blue), WidenHigh(p.green)), WidenHigh(p.red));
    const Vec greyLow = AddWords(ShiftWordsRight(sumLow, 3), ShiftWordsRight(sumLow, 2));
    const Vec greyHigh = AddWords(ShiftWordsRight(sumHigh, 3), ShiftWordsRight(sumHigh, 2));
    auto saturate = [&](Vec plane) {
        return PackWords(SaturatedWords(WidenLow(plane), greyLow, strength),
                         SaturatedWords(WidenHigh(plane), greyHigh, strength));
    };
    return {saturate(p.blue), saturate(p.green), saturate(p.red)};
}

// Pixels SaturateThirtyTwoPixels takes at a time.
constexpr int kSaturationVector = 32;

// SaturatePixels on 32 pixels, through their colour planes.
inline void SaturateThirtyTwoPixels(Byte* pixels, Vec strength) {
#if defined(__AVX2__)
    StorePixels(SaturatedPlanes(LoadPixels(pixels), strength), pixels);
#else
    ColourPlanes first;
    ColourPlanes second;
    LoadPixels(pixels, first, second);
    StorePixels(SaturatedPlanes(first, strength), pixels);
    StorePixels(SaturatedPlanes(second, strength), pixels + 48);
#endif
}

void SaturateRow(int width, Byte* row, int s, Word* grey) {
    int first = 0;
    const Vec strength = SplatWords(s - 8);
    for (; first + kSaturationVector <= width; first += kSaturationVector) {
        SaturateThirtyTwoPixels(row + 3 * static_cast<std::size_t>(first), strength);
    }
    for (int x = first; x < width; x += kSaturationRun) {
        SaturatePixels(width - x < kSaturationRun ? width - x : kSaturationRun, row + 3 * static_cast<std::size_t>(x),
                       s, grey);
    }
}

void SaturationRowsBody(int width, int height, Byte* rgb, int s) {
    Word grey[3 * kSaturationRun];
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(width);
    for (int y = 1; y + 1 < height; ++y) {
        SaturateRow(width, rgb + static_cast<std::size_t>(y) * rowBytes, s, grey);
    }
}

// ApplySharpness's step on one row: `above` and `current` hold the unfiltered
// rows, `below` is still unfiltered in the frame.
void SharpenNeighboursRow(int rowBytes, int step, const Byte* __restrict above, const Byte* __restrict current,
                          const Byte* __restrict below, Byte* __restrict out, int s) {
    // trunc(trunc(d / 2) x w / 8) with d = 8v - N is sign(d) x (((|d| >> 1) x w) >> 3),
    // and (m x w) >> 3 is the high word of m x (w << 13).
    const Vec scaledWeight = SplatWords((s - 1) << 13);
    int i = step;
    for (; i + kWordLanes + step <= rowBytes; i += kWordLanes) {
        auto at = [&](const Byte* row, int offset) { return LoadSampleWords(row + i + offset); };
        const Vec v = at(current, 0);
        const Vec neighbours =
            AddWords(AddWords(AddWords(at(above, -step), at(above, 0)), AddWords(at(above, step), at(current, -step))),
                     AddWords(AddWords(at(current, step), at(below, -step)), AddWords(at(below, 0), at(below, step))));
        const Vec d = SubWords(ShiftWordsLeft(v, 3), neighbours);
        const Vec lift = CopySign(MultiplyHighUnsigned(ShiftWordsRight(AbsWords(d), 1), scaledWeight), d);
        StoreWordsAsBytes(AddWords(v, lift), out + i);
    }
    const auto weight = static_cast<Word>(s - 1);
    for (; i + step < rowBytes; ++i) {
        const int v = current[i];
        const int neighbours = above[i - step] + above[i] + above[i + step] + current[i - step] + current[i + step] +
                               below[i - step] + below[i] + below[i + step];
        const auto half = static_cast<Word>(static_cast<Word>(8 * v - neighbours) / 2);
        const auto lift = static_cast<Word>(static_cast<Word>(half * weight) / 8);
        out[i] = static_cast<Byte>(ClampByte(v + lift));
    }
}

void SharpnessRowsBody(int rowBytes, int height, int step, Byte* frame, int s, Byte* scratch) {
    Byte* above = scratch;
    Byte* current = scratch + rowBytes;
    const auto row = [&](int y) { return frame + static_cast<std::size_t>(y) * static_cast<std::size_t>(rowBytes); };
    for (int i = 0; i < rowBytes; ++i) {
        above[i] = frame[i];
    }
    for (int y = 1; y + 1 < height; ++y) {
        Byte* const out = row(y);
        for (int i = 0; i < rowBytes; ++i) {
            current[i] = out[i];
        }
        SharpenNeighboursRow(rowBytes, step, above, current, row(y + 1), out, s);
        Byte* const used = above;
        above = current;
        current = used;
    }
}

// The flat field's v = min(255, (v x gain) >> 6), negative gains giving 0,
// on words v of 0 .. 255, as
// v x (gain >> 6) + ((v x (gain & 63)) >> 6) in 16-bit lanes: from 256 x 64
// on every non-zero v gives 255 either way, so the whole part is capped at
// 256 and no lane overflows (at most 255 x 256 + 251).
inline Vec FlatFieldWords(Vec v, Vec gains) {
    const Vec gain = MaxWords(gains, ZeroVec());
    const Vec whole = MinWords(ShiftWordsRightSigned(gain, 6), SplatWords(256));
    const Vec part = AndVec(gain, SplatWords(63));
    const Vec scaled = AddWords(MultiplyWords(v, whole), ShiftWordsRight(MultiplyWords(v, part), 6));
    return SubWords(scaled, SaturatingSubWords(scaled, SplatWords(255)));
}

// Samples 0 .. n - 1 of a raw row (n a multiple of kWordLanes) through the
// two lines and, when given, the flat field, into `out`. Each sample v is
// paired with v << 7 so that one multiply-add of the pair with the
// multiplier's high part (above 7 bits) and low part gives v x multiplier
// exactly in 32 bits.
void LinearGainRun(int n, const Byte* __restrict raw, const LinearGainPair& line, const Word* __restrict flatGains,
                   Byte* __restrict out) {
    const Vec parts = SplatPairs(((line.even.multiplier & 127) << 16) | (line.even.multiplier >> 7),
                                 ((line.odd.multiplier & 127) << 16) | (line.odd.multiplier >> 7));
    const Vec offsets = SplatPairs(line.even.offset, line.odd.offset);
    const int shift = line.shift;
    auto gained = [&](int x) {
        const Vec v = LoadSampleWords(raw + x);
        const Vec high = ShiftWordsLeft(v, 7);
        const Vec low = ShiftDwordsRight(AddDwords(MultiplyAddPairs(InterleaveLow(high, v), parts), offsets), shift);
        const Vec upper = ShiftDwordsRight(AddDwords(MultiplyAddPairs(InterleaveHigh(high, v), parts), offsets), shift);
        return PackDwords(low, upper);
    };
    if (flatGains == nullptr) {
        for (int x = 0; x < n; x += kWordLanes) {
            StoreWordsAsBytes(gained(x), out + x);
        }
        return;
    }
    for (int x = 0; x < n; x += kWordLanes) {
        const Vec v = MinWords(MaxWords(gained(x), ZeroVec()), SplatWords(255));
        StoreWordsAsBytes(FlatFieldWords(v, LoadWords(flatGains + x)), out + x);
    }
}

// One raw row through the corrections ahead of the demosaic, into `out`:
// even columns through `evenTable` and odd ones through `oddTable` (the gain
// tables, or `linear` standing for them), then, when `flatGains` is given,
// v = min(255, (v x gain) >> 6) with negative results 0 (the flat field),
// then, when `after` is given, every byte through it.
void CorrectRawRowBody(int width, const Byte* __restrict raw, const Byte* __restrict evenTable,
                       const Byte* __restrict oddTable, const LinearGainPair* linear, const Word* __restrict flatGains,
                       const Byte* __restrict after, Byte* __restrict out) {
    // Whole vectors of samples by the lines; the rest by the tables.
    const int lined = linear != nullptr ? width - width % kWordLanes : 0;
    if (lined > 0) {
        LinearGainRun(lined, raw, *linear, flatGains, out);
    }
    // Eight samples are read and written as one 64-bit word (little-endian
    // x86), which halves the loads of a byte-wise loop.
    int x = lined;
    for (; x + 8 <= width; x += 8) {
        std::uint64_t in;
        __builtin_memcpy(&in, raw + x, 8);
        std::uint64_t mapped = 0;
        for (int k = 0; k < 8; k += 2) {
            mapped |= static_cast<std::uint64_t>(evenTable[(in >> (8 * k)) & 0xFF]) << (8 * k);
            mapped |= static_cast<std::uint64_t>(oddTable[(in >> (8 * k + 8)) & 0xFF]) << (8 * k + 8);
        }
        __builtin_memcpy(out + x, &mapped, 8);
    }
    for (; x + 1 < width; x += 2) {
        out[x] = evenTable[raw[x]];
        out[x + 1] = oddTable[raw[x + 1]];
    }
    if (x < width) {
        out[x] = evenTable[raw[x]];
    }
    if (flatGains != nullptr) {
        using Lane = std::uint16_t;
        for (int i = lined; i < width; ++i) {
            // As FlatFieldWords.
            const Word gain = flatGains[i] < 0 ? Word{0} : flatGains[i];
            const auto whole = static_cast<Lane>((gain >> 6) < 256 ? (gain >> 6) : 256);
            const auto part = static_cast<Lane>(gain & 63);
            const auto v = static_cast<Lane>(out[i]);
            const auto scaled =
                static_cast<Lane>(static_cast<Lane>(v * whole) + static_cast<Lane>(static_cast<Lane>(v * part) >> 6));
            out[i] = static_cast<Byte>(scaled < 255 ? scaled : 255);
        }
    }
    if (after != nullptr) {
        for (int i = 0; i < width; ++i) {
            out[i] = after[out[i]];
        }
    }
}

// SaturationRowsBody and then SharpnessRowsBody (3 bytes a pixel) in one
// pass: row y + 1 is saturated just before row y is sharpened, so each row
// is read from memory and written back once.
void SaturateSharpenRowsBody(int width, int height, Byte* rgb, int saturation, int sharpness, Byte* scratch) {
    Word grey[3 * kSaturationRun];
    const int rowBytes = 3 * width;
    const auto row = [&](int y) { return rgb + static_cast<std::size_t>(y) * static_cast<std::size_t>(rowBytes); };
    Byte* above = scratch;
    Byte* current = scratch + rowBytes;
    for (int i = 0; i < rowBytes; ++i) {
        above[i] = rgb[i];
    }
    SaturateRow(width, row(1), saturation, grey);
    for (int y = 1; y + 1 < height; ++y) {
        // The last row keeps its colours, as saturation leaves it.
        if (y + 2 < height) {
            SaturateRow(width, row(y + 1), saturation, grey);
        }
        Byte* const out = row(y);
        for (int i = 0; i < rowBytes; ++i) {
            current[i] = out[i];
        }
        SharpenNeighboursRow(rowBytes, 3, above, current, row(y + 1), out, sharpness);
        Byte* const used = above;
        above = current;
        current = used;
    }
}

// Pixels x0 .. x0 + kVecBytes - 1 of a colour row, x0 even; reads raw
// samples x0 .. x0 + kVecBytes of both rows. Even pixels take red at x,
// blue at x + 1 and green from red's row at x + 1 and blue's at x; odd
// pixels red at x + 1, blue at x and green from red's row at x and blue's
// at x + 1.
inline ColourPlanes BayerPlanes(const Byte* red, const Byte* blue, int x0) {
    const Vec even = SplatWords(0x00FF);
    const Vec redAt = LoadVec(red + x0);
    const Vec redNext = LoadVec(red + x0 + 1);
    const Vec blueAt = LoadVec(blue + x0);
    const Vec blueNext = LoadVec(blue + x0 + 1);
    return {Select(even, blueNext, blueAt), FloorAverage(Select(even, redNext, redAt), Select(even, blueAt, blueNext)),
            Select(even, redAt, redNext)};
}

// BayerConvert's colour row: pixel x (0 .. width - 2) takes its 2 x 2 window
// of the raw rows `red` (red, green) and `blue` (green, blue); the last
// pixel repeats its neighbour. Mirrored rows put pixel x at width - 1 - x.
// `Exchanged` writes the two colours in each other's bytes.
template <bool Exchanged>
void BayerColourRowOrder(int width, const Byte* __restrict red, const Byte* __restrict blue, bool mirrored,
                         Byte* __restrict out) {
    const int computed = width - 1;
    // Whole vectors of pixels, while their raw samples (up to x0 + kVecBytes) lie in the row.
    int vectorEnd = 0;
    for (; vectorEnd + kVecBytes <= computed; vectorEnd += kVecBytes) {
        ColourPlanes p = BayerPlanes(red, blue, vectorEnd);
        std::size_t firstPixel = static_cast<std::size_t>(vectorEnd);
        if (mirrored) {
            p = {ReversePixels(p.blue), ReversePixels(p.green), ReversePixels(p.red)};
            firstPixel = static_cast<std::size_t>(width - vectorEnd - kVecBytes);
        }
        if constexpr (Exchanged) {
            const Vec swap = p.blue;
            p.blue = p.red;
            p.red = swap;
        }
        StorePixels(p, out + 3 * firstPixel);
    }
    // The remaining pixels (fewer than one vector) plane by plane.
    constexpr int kRun = kVecBytes;
    Byte b[kRun];
    Byte g[kRun];
    Byte r[kRun];
    Byte reversedBlue[kRun];
    Byte reversedGreen[kRun];
    Byte reversedRed[kRun];
    for (int x0 = vectorEnd; x0 < computed; x0 += kRun) {
        const int n = computed - x0 < kRun ? computed - x0 : kRun;
        const Byte* const rr = red + x0;
        const Byte* const bb = blue + x0;
        int k = 0;
        for (; k + 1 < n; k += 2) {
            r[k] = rr[k];
            r[k + 1] = rr[k + 2];
            b[k] = bb[k + 1];
            b[k + 1] = bb[k + 1];
            g[k] = static_cast<Byte>((rr[k + 1] + bb[k]) >> 1);
            g[k + 1] = static_cast<Byte>((rr[k + 1] + bb[k + 2]) >> 1);
        }
        if (k < n) {
            r[k] = rr[k];
            b[k] = bb[k + 1];
            g[k] = static_cast<Byte>((rr[k + 1] + bb[k]) >> 1);
        }
        // Mirrored pixels go to width - x0 - n .. width - 1 - x0 in reverse order.
        const Byte* pb = b;
        const Byte* pg = g;
        const Byte* pr = r;
        std::size_t firstPixel = static_cast<std::size_t>(x0);
        if (mirrored) {
            for (int i = 0; i < n; ++i) {
                reversedBlue[i] = b[n - 1 - i];
                reversedGreen[i] = g[n - 1 - i];
                reversedRed[i] = r[n - 1 - i];
            }
            pb = reversedBlue;
            pg = reversedGreen;
            pr = reversedRed;
            firstPixel = static_cast<std::size_t>(width - x0 - n);
        }
        if constexpr (Exchanged) {
            const Byte* const swap = pb;
            pb = pr;
            pr = swap;
        }
        Byte* const first = out + 3 * firstPixel;
        for (int i = 0; i < n; ++i) {
            first[3 * i] = pb[i];
            first[3 * i + 1] = pg[i];
            first[3 * i + 2] = pr[i];
        }
    }
    Byte* const copy = mirrored ? out : out + 3 * static_cast<std::size_t>(width - 1);
    const Byte* const from = mirrored ? out + 3 : out + 3 * static_cast<std::size_t>(width - 2);
    copy[0] = from[0];
    copy[1] = from[1];
    copy[2] = from[2];
}

void BayerColourRowBody(int width, const Byte* red, const Byte* blue, bool mirrored, Byte* out) {
    BayerColourRowOrder<false>(width, red, blue, mirrored, out);
}

void BayerColourRowExchangedBody(int width, const Byte* red, const Byte* blue, bool mirrored, Byte* out) {
    BayerColourRowOrder<true>(width, red, blue, mirrored, out);
}
