// Frames of the YUV 4:2:2 sensor: each pixel pair is four bytes Y0, C1
// (red difference), Y1, C2 (blue difference). Conversion to 24-bit BGR and
// the white balance on the chroma bytes through the sensor gains.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "frame_size.h"
#include "frame_statistics.h"
#include "simd_level.h"

namespace kqcmos {

struct Bgr {
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    friend bool operator==(const Bgr&, const Bgr&) = default;
};

// One pixel from its luma and the two chroma samples it uses.
Bgr YuvToBgr(int y, int redDifference, int blueDifference);

// Whether ConvertYuvFrame takes a frame of `size`: an even width of at
// least 4 and a height of at least 3.
constexpr bool ConvertibleYuvSize(FrameSize size) { return size.width % 2 == 0 && size.width >= 4 && size.height >= 3; }

// Repairs the frame (the last byte of each row from the byte four before it,
// rows 0 and 1 from row 2), then converts it. Flip modes as for the Bayer
// kernels (0..3); 4 and 5 transpose (each source row becomes an output
// column, mode 5 from the last output row up) and swap `size`. Width must be
// even and at least 4, height at least 3. False (nothing written) otherwise.
// Rows of modes 0..3 go through the model kernels of `level`.
[[nodiscard]] bool ConvertYuvFrame(FrameSize& size, int flipMode, std::span<std::uint8_t> rgb,
                                   std::span<std::uint8_t> yuv, SimdLevel level = BestSimdLevel());
// The same, every row through the plain per-pixel conversion.
[[nodiscard]] bool ConvertYuvFrameReference(FrameSize& size, int flipMode, std::span<std::uint8_t> rgb,
                                            std::span<std::uint8_t> yuv);

// 10 x the mean Y of every second pixel (from the first even column) of
// `rect`, divisor starting at 1: the brightness the automatic exposure
// compares with its band.
int YuvLuma(FrameSize size, std::span<const std::uint8_t> yuv, const PixelRect& rect);

// Adds 50 (modulo 256) to the second byte of each pixel in rows 50..99,
// columns width - 100 .. width - 51: the sign that an automatic function is
// at work. Frames smaller than 100 x 100 get no mark.
void DrawYuvAutoMark(FrameSize size, std::span<std::uint8_t> yuv);

struct ChromaBalanceOutcome {
    bool evaluated = false;
    bool changed = false;   // a gain moved and must be sent
    bool finished = false;  // both chroma means inside 125..131
};

// Steps the red gain until the mean red difference is neutral, then the
// blue gain. Both gains stay within 1..127.
class ChromaWhiteBalance {
public:
    static constexpr int kMinGain = 1;
    static constexpr int kMaxGain = 127;

    ChromaBalanceOutcome Step(FrameSize size, std::span<std::uint8_t> yuv, int& redGain, int& blueGain);
    // A new request measures on its second frame.
    void Restart() { callCount_ = 0; }

private:
    int callCount_ = 0;
};

}  // namespace kqcmos
