#pragma once
// Where one picture lies relative to another that overlaps it. The shift is
// found by phase correlation of reduced grey copies (at most kCoarseSide
// pixels a side), each of the strongest peaks checked by the normalised
// correlation of the overlap, and then refined at full size by the least
// mean absolute grey difference within one reduced pixel around it.
//
// Once sized by a first match of pictures of a given size, matching
// pictures of that size allocates nothing.
#include <complex>
#include <cstdint>
#include <optional>
#include <vector>

#include "bgr_image.h"
#include "fft2d.h"

// The top-left corner of the second picture in the first one's pixels.
struct TileOffset {
    int dx = 0;
    int dy = 0;
    friend bool operator==(const TileOffset&, const TileOffset&) = default;
};

class TileMatcher {
public:
    static constexpr int kCoarseSide = 512;
    // Below this standard deviation of the reduced grey a picture has
    // nothing to match by.
    static constexpr float kMinContrast = 2.0f;
    // The least normalised correlation of the overlap that is a match.
    static constexpr float kMinCorrelation = 0.5f;
    // The least overlap, in reduced pixels along either side.
    static constexpr int kMinOverlap = 8;

    // The offset of `second` relative to `first`, or nothing when either is
    // featureless or no shift makes their overlap agree.
    std::optional<TileOffset> Match(const BgrView& first, const BgrView& second);

private:
    struct Grey {
        int width = 0;
        int height = 0;
        std::vector<float> values;
    };
    static void Reduce(const BgrView& image, int factor, Grey& out);
    static float Deviation(const Grey& grey);
    static void FullGrey(const BgrView& image, std::vector<std::uint8_t>& out);
    void LoadSpectrum(const Grey& grey, std::vector<std::complex<float>>& spectrum);
    // Normalised correlation of the overlap with `second` at (dx, dy), or
    // nothing when the overlap is too small.
    std::optional<float> Correlation(int dx, int dy) const;
    TileOffset Refine(TileOffset coarse, int factor, const BgrView& first, const BgrView& second);

    Grey firstCoarse_;
    Grey secondCoarse_;
    Fft2d fft_;
    std::vector<std::complex<float>> firstSpectrum_;
    std::vector<std::complex<float>> secondSpectrum_;
    std::vector<std::uint8_t> firstGrey_;
    std::vector<std::uint8_t> secondGrey_;
};
