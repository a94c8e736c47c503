// Bayer-to-picture conversion kernels. The raw frame has red at (even row,
// even column), blue at (odd, odd) and green elsewhere. Every output pixel is
// computed from the 2 x 2 raw window whose top-left sample is the pixel
// itself, so each window holds one red, two greens and one blue.
//
// Output rows go bottom-up for flip modes 0, 4 and 5 and 1 (Windows DIB
// order, picture top in the buffer's last row) and top-down for 2 and 3;
// flip modes 1 and 3 mirror each row. 24-bit output is blue, green, red.
//
// The last output column repeats its left neighbour and the rows below the
// last full cell row repeat the last computed row, so the kernels read only
// inside the raw frame for any width >= 2 and height >= 4.
#pragma once

#include <cstdint>
#include <span>

#include "frame_size.h"
#include "simd_level.h"

namespace kqcmos {

inline constexpr int kMinBayerWidth = 2;
inline constexpr int kMinBayerHeight = 4;

// Each returns false (and writes nothing) when the size is below the minimum
// or a buffer is too small: 1 byte per pixel for grey, 3 for RGB.
[[nodiscard]] bool BayerToGray0(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw);
[[nodiscard]] bool BayerToGray1(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw);
[[nodiscard]] bool BayerToGray2(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw);
[[nodiscard]] bool BayerToGray3(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw);

// Grey value written to all three bytes of each pixel.
[[nodiscard]] bool BayerToRgbB0(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw);
[[nodiscard]] bool BayerToRgbB1(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw);
[[nodiscard]] bool BayerToRgbB2(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw);
[[nodiscard]] bool BayerToRgbB3(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw);

// Colour: blue and red samples of the window, green the mean of its two greens.
[[nodiscard]] bool BayerToRgbA0(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw);
[[nodiscard]] bool BayerToRgbA1(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw);
[[nodiscard]] bool BayerToRgbA2(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw);
[[nodiscard]] bool BayerToRgbA3(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw);

enum class BayerOutput { gray8, grayRgb, colorRgb };

// One output pixel of a 2 x 2 window: BGR, or the grey of red, the two
// greens' sum and blue in one or three bytes.
template <BayerOutput Kind>
inline void StorePixel(std::uint8_t* out, int red, int greenSum, int blue) {
    if constexpr (Kind == BayerOutput::colorRgb) {
        out[0] = static_cast<std::uint8_t>(blue);
        out[1] = static_cast<std::uint8_t>(greenSum >> 1);
        out[2] = static_cast<std::uint8_t>(red);
    } else {
        // Red and both greens weigh 3, blue 1: the 3 : 6 : 1 luminance.
        const auto grey = static_cast<std::uint8_t>((3 * (red + greenSum) + blue) / 10);
        out[0] = grey;
        if constexpr (Kind == BayerOutput::grayRgb) {
            out[1] = grey;
            out[2] = grey;
        }
    }
}

// The member of the family for `flipMode` (0..5; 4 and 5 use the member of 0).
// Colour rows run the fast kernels of `level`, which the CPU must support;
// the members above are their reference.
[[nodiscard]] bool BayerConvert(BayerOutput kind, int flipMode, FrameSize size, std::span<std::uint8_t> out,
                                std::span<const std::uint8_t> raw, SimdLevel level = BestSimdLevel());

// The raw rows behind output row y of the colour conversion: the even row
// (red and green samples) and the odd one (green and blue) of raw rows y and
// y + 1.
struct RawRowPair {
    const std::uint8_t* red;
    const std::uint8_t* blue;
};

// Hands raw rows to BayerConvertColourRows, which asks for y = 0, 1, 2 ...
// in order, so a source may prepare each raw row once, just before it is
// first needed.
class ColourRowSource {
public:
    virtual RawRowPair RowsFor(int y) = 0;

protected:
    ~ColourRowSource() = default;
};

// Raw rows y and y + 1 of a frame held whole in memory, the even one first,
// or with `oddFirst` the odd one (as the green-diagonal cells' kernels take
// them).
class FrameRows final : public ColourRowSource {
public:
    FrameRows(std::span<const std::uint8_t> raw, int width, bool oddFirst = false)
        : raw_(raw.data()), stride_(static_cast<std::size_t>(width)), oddFirst_(oddFirst) {}
    RawRowPair RowsFor(int y) override {
        const std::uint8_t* top = raw_ + static_cast<std::size_t>(y) * stride_;
        const std::uint8_t* bottom = top + stride_;
        return (y % 2 == 0) != oddFirst_ ? RawRowPair{top, bottom} : RawRowPair{bottom, top};
    }

private:
    const std::uint8_t* raw_;
    std::size_t stride_;
    bool oddFirst_;
};

// Calls cell(top-left, top-right, bottom-left, bottom-right) for every 2 x 2
// cell whose top-left sample lies at an even column and row from 2 on and
// that has two samples around it on each side; frames under 5 x 5 are left.
template <typename Cell>
void ForEachInnerCell(FrameSize size, std::span<std::uint8_t> raw, Cell&& cell) {
    if (!HoldsFrame(raw, size, 1, 5, 5)) {
        return;
    }
    const auto stride = static_cast<std::size_t>(size.width);
    const int cellRows = (size.height - 5) / 2 + 1;
    const int cellColumns = (size.width - 5) / 2 + 1;
    for (int cy = 0; cy < cellRows; ++cy) {
        std::uint8_t* top = raw.data() + static_cast<std::size_t>(2 + 2 * cy) * stride;
        std::uint8_t* bottom = top + stride;
        for (int cx = 0; cx < cellColumns; ++cx) {
            const std::size_t x = 2 + 2 * static_cast<std::size_t>(cx);
            cell(top[x], top[x + 1], bottom[x], bottom[x + 1]);
        }
    }
}

// BayerConvert(BayerOutput::colorRgb, ...) over rows `rows` gives, each
// `size.width` bytes. False (nothing asked, nothing written) when the size is
// below the minimum or `out` is too small.
[[nodiscard]] bool BayerConvertColourRows(int flipMode, FrameSize size, std::span<std::uint8_t> out,
                                          ColourRowSource& rows, SimdLevel level = BestSimdLevel());

}  // namespace kqcmos
