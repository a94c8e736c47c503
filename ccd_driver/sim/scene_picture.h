// The moving scene of the simulated camera: what a sensor sees of a test
// card that slides to the right, so that a viewer shows recognisable live
// video. Eight vertical bars (white, yellow, cyan, green, magenta, red,
// blue, black) fill the upper three quarters, a grey ramp from black to
// white the lowest quarter; frame n is frame 1 moved right by
// kSceneStepPixels x (n - 1) pixels, wrapping around.
//
// A colour sensor gives each pixel one colour of its 2 x 2 cell, laid out by
// the Bayer phase; a monochrome sensor gives every pixel the scene's
// luminance (3 : 6 : 1, the weights of the library's grey kernels). Samples
// are 16-bit; a 1-byte camera sends their high byte, a 2-byte camera each
// sample little-endian, so the high bytes of a 2-byte frame are the 1-byte
// frame.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kqff::sim {

// The colour at (0, 0) of each 2 x 2 cell, numbered as KQSimCam.ini's
// BayerPhase. Phase n - 1 has red at column bit 0, row bit 1 of it and blue
// diagonally opposite. The library's kernels (sdk/usb/pixel/bayer_kernels.h)
// take red at (even row, even column): phase 1 in flip modes 0..3; flip
// modes 4 and 5 turn the frame first, so with an even number of rows and
// columns they see phase 3 and phase 2 as phase 1.
enum class BayerPhase : std::uint8_t { Rggb = 1, Grbg = 2, Gbrg = 3, Bggr = 4 };

// Even, so that a cell of the mosaic moves as a whole.
inline constexpr std::uint32_t kSceneStepPixels = 4;

struct SceneLayout {
    std::uint32_t rowBytes = 0;       // width x bytes per pixel
    std::uint32_t rows = 0;           // the frame's height
    std::uint32_t bytesPerPixel = 1;  // 1 or 2
    bool monochrome = false;
    BayerPhase phase = BayerPhase::Rggb;  // colour sensors only
    bool operator==(const SceneLayout&) const = default;
};

// Writes the bytes [offset, offset + out.size()) of frame frameNumber (from
// 1) of the scene. Any split of a frame into pieces gives the same bytes.
// Computed pixel by pixel: the scene's definition.
void FillScenePicture(std::uint32_t frameNumber, const SceneLayout& layout, std::uint32_t offset,
                      std::span<std::uint8_t> out);

// The same bytes at the cost of a copy, for a stream that sends frame after
// frame: a row of the scene is one of eight (bars or ramp, even or odd row,
// and which of a cell's columns the first pixel falls on), so they are made
// once per layout and each row of a frame is two pieces of one of them, cut
// where the slide wraps.
class ScenePicture {
public:
    void Fill(std::uint32_t frameNumber, const SceneLayout& layout, std::uint32_t offset, std::span<std::uint8_t> out);

private:
    void Prepare(const SceneLayout& layout);

    SceneLayout layout_{};
    std::uint32_t width_ = 0;
    std::uint32_t bytesPerPixel_ = 1;
    std::vector<std::uint8_t> rows_;  // eight rows of width_ x bytesPerPixel_ bytes
};

}  // namespace kqff::sim
