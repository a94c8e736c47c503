// Vector functions of the fast kernels over the unit's widest integer
// register: 32 bytes with AVX2, 16 with the SSE2 baseline. Included, like
// fast_kernels_body.h and just before it, inside each unit's unnamed
// namespace, so every one is compiled for that unit's instruction set
// only. No include guard: each unit includes it exactly once.

using Word = std::int16_t;
using Byte = std::uint8_t;

#if defined(__AVX2__)
using Vec = __m256i;
constexpr int kVecBytes = 32;
inline Vec LoadVec(const Byte* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline Vec SplatBytes(int v) { return _mm256_set1_epi8(static_cast<char>(v)); }
inline Vec SplatWords(int v) { return _mm256_set1_epi16(static_cast<short>(v)); }
// `a` where `mask` bytes are set, else `b`.
inline Vec Select(Vec mask, Vec a, Vec b) { return _mm256_blendv_epi8(b, a, mask); }
inline Vec AndVec(Vec a, Vec b) { return _mm256_and_si256(a, b); }
inline Vec XorVec(Vec a, Vec b) { return _mm256_xor_si256(a, b); }
inline Vec RoundedAverage(Vec a, Vec b) { return _mm256_avg_epu8(a, b); }
inline Vec SubBytes(Vec a, Vec b) { return _mm256_sub_epi8(a, b); }
#else
using Vec = __m128i;
constexpr int kVecBytes = 16;
inline Vec LoadVec(const Byte* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline Vec SplatBytes(int v) { return _mm_set1_epi8(static_cast<char>(v)); }
inline Vec SplatWords(int v) { return _mm_set1_epi16(static_cast<short>(v)); }
inline Vec Select(Vec mask, Vec a, Vec b) { return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b)); }
inline Vec AndVec(Vec a, Vec b) { return _mm_and_si128(a, b); }
inline Vec XorVec(Vec a, Vec b) { return _mm_xor_si128(a, b); }
inline Vec RoundedAverage(Vec a, Vec b) { return _mm_avg_epu8(a, b); }
inline Vec SubBytes(Vec a, Vec b) { return _mm_sub_epi8(a, b); }
#endif

// (a + b) >> 1 per byte: the rounded average less the bit it rounded up.
inline Vec FloorAverage(Vec a, Vec b) { return SubBytes(RoundedAverage(a, b), AndVec(XorVec(a, b), SplatBytes(1))); }

#if defined(__AVX2__)
constexpr int kWordLanes = 16;
// Samples x .. x + 15 as words.
inline Vec LoadSampleWords(const Byte* p) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}
inline Vec LoadWords(const Word* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
inline void StoreWordsAsBytes(Vec words, Byte* p) {
    const Vec packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(words, words), 0x08);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(packed));
}
inline Vec SplatPairs(std::int32_t evenLane, std::int32_t oddLane) {
    return _mm256_set1_epi64x(
        static_cast<long long>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(oddLane)) << 32) |
                               static_cast<std::uint32_t>(evenLane)));
}
inline Vec ShiftWordsLeft(Vec v, int n) { return _mm256_slli_epi16(v, n); }
inline Vec InterleaveLow(Vec a, Vec b) { return _mm256_unpacklo_epi16(a, b); }
inline Vec InterleaveHigh(Vec a, Vec b) { return _mm256_unpackhi_epi16(a, b); }
inline Vec MultiplyAddPairs(Vec a, Vec b) { return _mm256_madd_epi16(a, b); }
inline Vec AddDwords(Vec a, Vec b) { return _mm256_add_epi32(a, b); }
inline Vec ShiftDwordsRight(Vec v, int n) { return _mm256_sra_epi32(v, _mm_cvtsi32_si128(n)); }
inline Vec PackDwords(Vec a, Vec b) { return _mm256_packs_epi32(a, b); }
inline Vec MaxWords(Vec a, Vec b) { return _mm256_max_epi16(a, b); }
inline Vec MinWords(Vec a, Vec b) { return _mm256_min_epi16(a, b); }
inline Vec AddWords(Vec a, Vec b) { return _mm256_add_epi16(a, b); }
inline Vec SubWords(Vec a, Vec b) { return _mm256_sub_epi16(a, b); }
inline Vec SaturatingSubWords(Vec a, Vec b) { return _mm256_subs_epu16(a, b); }
inline Vec MultiplyWords(Vec a, Vec b) { return _mm256_mullo_epi16(a, b); }
inline Vec ShiftWordsRight(Vec v, int n) { return _mm256_srli_epi16(v, n); }
inline Vec ShiftWordsRightSigned(Vec v, int n) { return _mm256_srai_epi16(v, n); }
inline Vec ZeroVec() { return _mm256_setzero_si256(); }
inline Vec AbsWords(Vec v) { return _mm256_abs_epi16(v); }
inline void StoreWords(Vec v, Word* p) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
inline Vec GreaterWords(Vec a, Vec b) { return _mm256_cmpgt_epi16(a, b); }
// Words of `low` then `high` as signed-saturated bytes, in order.
inline Vec PackWordsSigned(Vec low, Vec high) { return _mm256_permute4x64_epi64(_mm256_packs_epi16(low, high), 0xD8); }
// `magnitude` negated where `sign` is negative (and 0 where it is 0).
inline Vec CopySign(Vec magnitude, Vec sign) { return _mm256_sign_epi16(magnitude, sign); }
inline Vec MultiplyHighUnsigned(Vec a, Vec b) { return _mm256_mulhi_epu16(a, b); }
// Bytes 0 .. 7 and 16 .. 23 (the low half of each 16-byte half) as words,
// and the others; PackWords takes them back.
inline Vec WidenLow(Vec v) { return _mm256_unpacklo_epi8(v, _mm256_setzero_si256()); }
inline Vec WidenHigh(Vec v) { return _mm256_unpackhi_epi8(v, _mm256_setzero_si256()); }
inline Vec PackWords(Vec low, Vec high) { return _mm256_packus_epi16(low, high); }
#else
constexpr int kWordLanes = 8;
inline Vec LoadSampleWords(const Byte* p) {
    return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_setzero_si128());
}
inline Vec LoadWords(const Word* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline void StoreWordsAsBytes(Vec words, Byte* p) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(words, words));
}
inline Vec SplatPairs(std::int32_t evenLane, std::int32_t oddLane) {
    return _mm_set_epi32(oddLane, evenLane, oddLane, evenLane);
}
inline Vec ShiftWordsLeft(Vec v, int n) { return _mm_slli_epi16(v, n); }
inline Vec InterleaveLow(Vec a, Vec b) { return _mm_unpacklo_epi16(a, b); }
inline Vec InterleaveHigh(Vec a, Vec b) { return _mm_unpackhi_epi16(a, b); }
inline Vec MultiplyAddPairs(Vec a, Vec b) { return _mm_madd_epi16(a, b); }
inline Vec AddDwords(Vec a, Vec b) { return _mm_add_epi32(a, b); }
inline Vec ShiftDwordsRight(Vec v, int n) { return _mm_sra_epi32(v, _mm_cvtsi32_si128(n)); }
inline Vec PackDwords(Vec a, Vec b) { return _mm_packs_epi32(a, b); }
inline Vec MaxWords(Vec a, Vec b) { return _mm_max_epi16(a, b); }
inline Vec MinWords(Vec a, Vec b) { return _mm_min_epi16(a, b); }
inline Vec AddWords(Vec a, Vec b) { return _mm_add_epi16(a, b); }
inline Vec SubWords(Vec a, Vec b) { return _mm_sub_epi16(a, b); }
inline Vec SaturatingSubWords(Vec a, Vec b) { return _mm_subs_epu16(a, b); }
inline Vec MultiplyWords(Vec a, Vec b) { return _mm_mullo_epi16(a, b); }
inline Vec ShiftWordsRight(Vec v, int n) { return _mm_srli_epi16(v, n); }
inline Vec ShiftWordsRightSigned(Vec v, int n) { return _mm_srai_epi16(v, n); }
inline Vec ZeroVec() { return _mm_setzero_si128(); }
inline Vec AbsWords(Vec v) {
    const Vec negative = _mm_srai_epi16(v, 15);
    return _mm_sub_epi16(_mm_xor_si128(v, negative), negative);
}
inline Vec CopySign(Vec magnitude, Vec sign) {
    const Vec negative = _mm_srai_epi16(sign, 15);
    return _mm_sub_epi16(_mm_xor_si128(magnitude, negative), negative);
}
inline Vec MultiplyHighUnsigned(Vec a, Vec b) { return _mm_mulhi_epu16(a, b); }
inline void StoreWords(Vec v, Word* p) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
inline Vec GreaterWords(Vec a, Vec b) { return _mm_cmpgt_epi16(a, b); }
inline Vec PackWordsSigned(Vec low, Vec high) { return _mm_packs_epi16(low, high); }
inline Vec WidenLow(Vec v) { return _mm_unpacklo_epi8(v, _mm_setzero_si128()); }
inline Vec WidenHigh(Vec v) { return _mm_unpackhi_epi8(v, _mm_setzero_si128()); }
inline Vec PackWords(Vec low, Vec high) { return _mm_packus_epi16(low, high); }
#endif

// Blue, green and red of one vector of pixels, in pixel order.
struct ColourPlanes {
    Vec blue;
    Vec green;
    Vec red;
};

// Interleave masks for 16 pixels: byte t of output vector j takes byte
// (16j + t) / 3 of the plane of channel (16j + t) % 3, and 0 elsewhere.
struct InterleaveMasks {
    Byte bytes[3][3][16];  // [output vector][channel][byte]
};
constexpr InterleaveMasks MakeInterleaveMasks() {
    InterleaveMasks m{};
    for (int j = 0; j < 3; ++j) {
        for (int c = 0; c < 3; ++c) {
            for (int t = 0; t < 16; ++t) {
                const int n = 16 * j + t;
                m.bytes[j][c][t] = static_cast<Byte>(n % 3 == c ? n / 3 : 0x80);
            }
        }
    }
    return m;
}
constexpr InterleaveMasks kInterleave = MakeInterleaveMasks();

#if defined(__AVX2__)
inline Vec MaskPair(const Byte* mask16) {
    return _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(mask16)));
}

inline Vec ReversePixels(Vec v) {
    const Vec reverse = _mm256_setr_epi8(15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10,
                                         9, 8, 7, 6, 5, 4, 3, 2, 1, 0);
    return _mm256_permute4x64_epi64(_mm256_shuffle_epi8(v, reverse), 0x4E);
}

// 32 pixels as 96 bytes of blue, green, red.
inline void StorePixels(const ColourPlanes& p, Byte* out) {
    Vec part[3];
    for (int j = 0; j < 3; ++j) {
        part[j] = _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(p.blue, MaskPair(kInterleave.bytes[j][0])),
                                                  _mm256_shuffle_epi8(p.green, MaskPair(kInterleave.bytes[j][1]))),
                                  _mm256_shuffle_epi8(p.red, MaskPair(kInterleave.bytes[j][2])));
    }
    // Each half holds 16 pixels: bytes 0 .. 47 in the low halves, 48 .. 95 in the high ones.
    auto* at = reinterpret_cast<__m256i*>(out);
    _mm256_storeu_si256(at, _mm256_permute2x128_si256(part[0], part[1], 0x20));
    _mm256_storeu_si256(at + 1, _mm256_permute2x128_si256(part[2], part[0], 0x30));
    _mm256_storeu_si256(at + 2, _mm256_permute2x128_si256(part[1], part[2], 0x31));
}

// Masks that gather one channel of 16 pixels from their 48 bytes: byte k of
// the plane of channel c is byte 3k + c, found in 16-byte part (3k + c) / 16.
struct DeinterleaveMasks {
    Byte bytes[3][3][16];  // [channel][part][byte]
};
constexpr DeinterleaveMasks MakeDeinterleaveMasks() {
    DeinterleaveMasks m{};
    for (int c = 0; c < 3; ++c) {
        for (int j = 0; j < 3; ++j) {
            for (int k = 0; k < 16; ++k) {
                const int n = 3 * k + c;
                m.bytes[c][j][k] = static_cast<Byte>(n / 16 == j ? n % 16 : 0x80);
            }
        }
    }
    return m;
}
constexpr DeinterleaveMasks kDeinterleave = MakeDeinterleaveMasks();

// 32 pixels (96 bytes of blue, green, red) as planes, in StorePixels' order:
// pixels 0 .. 15 in the low halves, 16 .. 31 in the high ones.
inline ColourPlanes LoadPixels(const Byte* in) {
    const auto* at = reinterpret_cast<const __m256i*>(in);
    const Vec first = _mm256_loadu_si256(at);
    const Vec second = _mm256_loadu_si256(at + 1);
    const Vec third = _mm256_loadu_si256(at + 2);
    // Each half gets the 48 bytes of its 16 pixels.
    const Vec part[3] = {_mm256_permute2x128_si256(first, second, 0x30), _mm256_permute2x128_si256(first, third, 0x21),
                         _mm256_permute2x128_si256(second, third, 0x30)};
    Vec plane[3];
    for (int c = 0; c < 3; ++c) {
        plane[c] = _mm256_or_si256(_mm256_or_si256(_mm256_shuffle_epi8(part[0], MaskPair(kDeinterleave.bytes[c][0])),
                                                   _mm256_shuffle_epi8(part[1], MaskPair(kDeinterleave.bytes[c][1]))),
                                   _mm256_shuffle_epi8(part[2], MaskPair(kDeinterleave.bytes[c][2])));
    }
    return {plane[0], plane[1], plane[2]};
}
#else
inline Vec ReversePixels(Vec v) {
    const Vec swapped = _mm_or_si128(_mm_slli_epi16(v, 8), _mm_srli_epi16(v, 8));
    return _mm_shuffle_epi32(_mm_shufflehi_epi16(_mm_shufflelo_epi16(swapped, 0x1B), 0x1B), 0x4E);
}

// Four 32-bit pixels (blue, green, red, 0) as 12 bytes at the front.
inline Vec PackFourPixels(Vec pixels) {
    const Vec lowPixel = _mm_set_epi32(0, -1, 0, -1);
    const Vec highPixel =
        _mm_set_epi32(0x0000FFFF, static_cast<int>(0xFF000000u), 0x0000FFFF, static_cast<int>(0xFF000000u));
    // Each 64-bit half holds its two pixels in bytes 0 .. 5.
    const Vec halves =
        _mm_or_si128(_mm_and_si128(pixels, lowPixel), _mm_and_si128(_mm_srli_epi64(pixels, 8), highPixel));
    const Vec lowHalf = _mm_set_epi32(0, 0, -1, -1);
    return _mm_or_si128(_mm_and_si128(halves, lowHalf), _mm_srli_si128(_mm_andnot_si128(lowHalf, halves), 2));
}

// 32 pixels (96 bytes of blue, green, red) as planes of 16 pixels each. One
// round of byte unpacks over the six vectors moves byte n of the 96 to
// 2n mod 95; five rounds move it to 32n mod 95, which for n = 3k + c is
// 32c + k (32 x 3 = 96 is 1 mod 95): the planes, in order.
inline void LoadPixels(const Byte* in, ColourPlanes& first, ColourPlanes& second) {
    Vec v[6];
    for (int j = 0; j < 6; ++j) {
        v[j] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 16 * j));
    }
    for (int round = 0; round < 5; ++round) {
        const Vec w[6] = {_mm_unpacklo_epi8(v[0], v[3]), _mm_unpackhi_epi8(v[0], v[3]), _mm_unpacklo_epi8(v[1], v[4]),
                          _mm_unpackhi_epi8(v[1], v[4]), _mm_unpacklo_epi8(v[2], v[5]), _mm_unpackhi_epi8(v[2], v[5])};
        for (int j = 0; j < 6; ++j) {
            v[j] = w[j];
        }
    }
    first = {v[0], v[2], v[4]};
    second = {v[1], v[3], v[5]};
}

// 16 pixels as 48 bytes of blue, green, red. Each 16-byte store but the last
// writes 4 bytes past its pixels, which the next store overwrites.
inline void StorePixels(const ColourPlanes& p, Byte* out) {
    const Vec zero = _mm_setzero_si128();
    const Vec blueGreenLow = _mm_unpacklo_epi8(p.blue, p.green);
    const Vec blueGreenHigh = _mm_unpackhi_epi8(p.blue, p.green);
    const Vec redLow = _mm_unpacklo_epi8(p.red, zero);
    const Vec redHigh = _mm_unpackhi_epi8(p.red, zero);
    auto at = [&](int bytes) { return reinterpret_cast<__m128i*>(out + bytes); };
    _mm_storeu_si128(at(0), PackFourPixels(_mm_unpacklo_epi16(blueGreenLow, redLow)));
    _mm_storeu_si128(at(12), PackFourPixels(_mm_unpackhi_epi16(blueGreenLow, redLow)));
    _mm_storeu_si128(at(24), PackFourPixels(_mm_unpacklo_epi16(blueGreenHigh, redHigh)));
    const Vec last = PackFourPixels(_mm_unpackhi_epi16(blueGreenHigh, redHigh));
    _mm_storel_epi64(at(36), last);
    const auto tail = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(last, 8)));
    __builtin_memcpy(out + 44, &tail, 4);
}
#endif
