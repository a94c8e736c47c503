// Brightness and colour measures used by automatic exposure and white
// balance, and the region they are taken over.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "frame_size.h"

namespace kqcmos {

// Pixels [left, right) x [top, bottom).
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// `rect` cut to the frame; nothing when nothing is left.
std::optional<PixelRect> ClipToFrame(const PixelRect& rect, FrameSize size);

// The centred 640 x 480 window for frames at least minWidth x minHeight,
// else the whole frame.
PixelRect CentreWindow(FrameSize size, int minWidth, int minHeight);

// L = 3 x (mean b + 2 x mean a) + mean d over the Bayer cells of `rect`, with
// a the cell's first sample, b the one below and d the one right of it. Each
// mean is truncated; divisors start at 1.
int BayerLuma(FrameSize size, std::span<const std::uint8_t> raw, const PixelRect& rect);

// Mean of the bytes of an 8-bit frame over `rect`, divisor starting at 1.
int MeanByte(FrameSize size, std::span<const std::uint8_t> frame, const PixelRect& rect);

// Blue, green and red means of a 24-bit frame over `rect`, truncated.
std::array<int, 3> MeanBgr(FrameSize size, std::span<const std::uint8_t> rgb, const PixelRect& rect);

// Where red lies in each 2 x 2 Bayer cell (column and row parity); blue lies
// diagonally opposite and green on the other diagonal.
struct BayerCell {
    int redColumn = 0;
    int redRow = 0;
    friend bool operator==(const BayerCell&, const BayerCell&) = default;
};

// Red, green and blue means of a raw Bayer frame over `rect`, truncated.
// `complete` is false when a colour had no sample there (a region one
// pixel wide or high); its mean is then 0 and says nothing.
struct RawChannelMeans {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool complete = false;
};
RawChannelMeans MeanRawChannels(FrameSize size, std::span<const std::uint8_t> raw, const PixelRect& rect,
                                BayerCell cell = {});

// `rect` counted from the frame's far edges instead (columns W - right + 1
// up to W - left + 1, rows alike), for sensors whose frames arrive turned by
// half. The result may reach one past the frame: clip it.
PixelRect MirrorFromFarEdges(const PixelRect& rect, FrameSize size);

// Adds 100 (modulo 256) to every byte of rows 50..99, columns
// width - 100 .. width - 51, so the picture shows that an automatic function
// is at work. Frames smaller than 100 x 100 get no mark.
void DrawAutoMark(FrameSize size, int bytesPerPixel, std::span<std::uint8_t> frame);
// The same mark on a raw frame that arrives turned by half: columns 50..99
// of rows height - 100 .. height - 51, where the turned picture shows it in
// the corner the other cameras use.
void DrawFarEdgeAutoMark(FrameSize size, std::span<std::uint8_t> raw);

// The measuring region shared by exposure and white balance: four values,
// -1 when unset, used once and then reset.
class MeasuringRegion {
public:
    // Columns min(x0, x1) .. max(x0, x1), rows counted from the bottom of the
    // frame (H - y), everything clipped to the frame. Equal ends or nothing
    // left inside the frame leave the region unset.
    void Set(int x0, int y0, int x1, int y1, FrameSize frame);
    void Reset() { values_ = {-1, -1, -1, -1}; }

    // The region for exposure (all values >= 0) and for white balance (all
    // values >= 1), clipped to the frame being measured.
    std::optional<PixelRect> ForExposure(FrameSize frame) const;
    std::optional<PixelRect> ForWhiteBalance(FrameSize frame) const;
    std::array<int, 4> values() const { return values_; }

private:
    std::array<int, 4> values_{-1, -1, -1, -1};
};

}  // namespace kqcmos
