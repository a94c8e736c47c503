#include "contrast_kernels.h"

#include <algorithm>
#include <cstdlib>

#include "model_kernels.h"

namespace kqcmos {
namespace {

struct Corner {
    int dx = 0;
    int dy = 0;
};

struct PhaseCorners {
    Corner blue, red, green1, green2;
};

PhaseCorners CornersOf(ContrastPhase phase) {
    switch (phase) {
    case ContrastPhase::flip1: return {{0, 0}, {1, 1}, {1, 0}, {0, 1}};
    case ContrastPhase::flip2: return {{1, 1}, {0, 0}, {1, 0}, {0, 1}};
    default: return {{1, 0}, {0, 1}, {0, 0}, {1, 1}};
    }
}

// The contrast line before limiting: the in-place stage keeps its green
// unlimited for the other two formulas.
int ContrastLine(int x, int c) { return ((c * x) >> 4) + 128 - 8 * c; }

// The raw row and column a pixel's cell starts at; a last odd row or
// column uses the cell before it.
int CellStart(int v, int size) { return std::min(v & ~1, size - 2); }

bool Fits(FrameSize size, std::size_t outBytes, std::size_t rawBytes, int bytesPerPixel) {
    return size.width >= 2 && size.height >= 2 && rawBytes >= FrameBytes(size) &&
           outBytes >= FrameBytes(size, bytesPerPixel);
}

// The output row of raw row y and the output column of raw column x.
int OutputRow(int y, int height, int flipMode) { return flipMode == 2 || flipMode == 3 ? y : height - 1 - y; }
int OutputColumn(int x, int width, int flipMode) { return flipMode == 1 || flipMode == 3 ? width - 1 - x : x; }

bool GreyContrast(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw, int contrast,
                  int flipMode, int bytesPerPixel) {
    if (!Fits(size, out.size(), raw.size(), bytesPerPixel) || flipMode < 0 || flipMode > 3) return false;
    const int c = ContrastValue(contrast);
    const auto w = static_cast<std::size_t>(size.width);
    const auto bpp = static_cast<std::size_t>(bytesPerPixel);
    const PhaseCorners corners = CornersOf(ContrastPhase::flip0);
    auto sample = [&](int cx, int cy, Corner k) { return raw[(cy + k.dy) * w + static_cast<std::size_t>(cx + k.dx)]; };
    for (int y = 0; y < size.height; ++y) {
        const int cy = CellStart(y, size.height);
        std::uint8_t* row = out.data() + static_cast<std::size_t>(OutputRow(y, size.height, flipMode)) * w * bpp;
        for (int x = 0; x < size.width; ++x) {
            const int cx = CellStart(x, size.width);
            const int green = (sample(cx, cy, corners.green1) + sample(cx, cy, corners.green2)) >> 1;
            const int grey = (306 * ContrastMap(sample(cx, cy, corners.red), c) + 601 * ContrastMap(green, c) +
                              117 * ContrastMap(sample(cx, cy, corners.blue), c)) >>
                             10;
            std::uint8_t* p = row + static_cast<std::size_t>(OutputColumn(x, size.width, flipMode)) * bpp;
            std::fill_n(p, bpp, static_cast<std::uint8_t>(grey));
        }
    }
    // The last raw row repeats the one before it.
    const std::size_t rowBytes = w * bpp;
    const auto last = static_cast<std::size_t>(OutputRow(size.height - 1, size.height, flipMode));
    const auto before = static_cast<std::size_t>(OutputRow(size.height - 2, size.height, flipMode));
    std::copy_n(out.begin() + static_cast<std::ptrdiff_t>(before * rowBytes), rowBytes,
                out.begin() + static_cast<std::ptrdiff_t>(last * rowBytes));
    return true;
}

}  // namespace

int ContrastValue(int contrast) { return contrast == 29 ? 30 : contrast; }

int ContrastMap(int x, int contrast) {
    const int c = ContrastValue(contrast);
    return std::clamp(ContrastLine(x, c), 0, 255);
}

bool BayerToGrayContrast8(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw, int contrast,
                          int flipMode) {
    return GreyContrast(size, out, raw, contrast, flipMode, 1);
}

bool BayerToGrayContrast24(FrameSize size, std::span<std::uint8_t> out, std::span<const std::uint8_t> raw, int contrast,
                           int flipMode) {
    return GreyContrast(size, out, raw, contrast, flipMode, 3);
}

bool BayerToRgbContrast(FrameSize size, std::span<std::uint8_t> out, std::span<std::uint8_t> raw, int contrast,
                        ContrastPhase phase, SimdLevel level) {
    const int c = ContrastValue(contrast);
    if (!Fits(size, out.size(), raw.size(), 3) || std::abs(c) > kFastContrastLimit) {
        return BayerToRgbContrastReference(size, out, raw, contrast, phase);
    }
    const int phaseIndex = phase == ContrastPhase::flip1 ? 1 : phase == ContrastPhase::flip2 ? 2 : 0;
    ModelKernelsFor(level).contrastRgbFrame(size.width, size.height, raw.data(), out.data(), c, phaseIndex);
    return true;
}

bool BayerToRgbContrastReference(FrameSize size, std::span<std::uint8_t> out, std::span<std::uint8_t> raw,
                                 int contrast, ContrastPhase phase) {
    if (!Fits(size, out.size(), raw.size(), 3)) return false;
    const int c = ContrastValue(contrast);
    const auto w = static_cast<std::size_t>(size.width);
    const int runEnd = size.width & ~7;  // whole runs of eight pixels
    for (int pair = 0; pair < size.height / 2 - 1; ++pair) {
        std::uint8_t* top = raw.data() + static_cast<std::size_t>(2 * pair) * w;
        std::uint8_t* bottom = top + w;
        for (int x = 0; x < runEnd; x += 2) {
            const int a = top[x], b = top[x + 1], cc = bottom[x], d = bottom[x + 1];
            const int green = ContrastLine((a + d) >> 1, c);
            const int k = (green - cc) >> 1;
            const auto g = static_cast<std::uint8_t>(std::clamp(green, 0, 255));
            top[x] = g;
            bottom[x + 1] = g;
            bottom[x] = static_cast<std::uint8_t>(std::clamp(ContrastLine(cc - k, c), 0, 255));
            top[x + 1] = static_cast<std::uint8_t>(std::clamp(ContrastLine(2 * b - green - (k >> 2), c), 0, 255));
        }
    }
    const PhaseCorners corners = CornersOf(phase);
    auto sample = [&](int cx, int cy, Corner k) { return raw[(cy + k.dy) * w + static_cast<std::size_t>(cx + k.dx)]; };
    for (int y = 0; y < size.height; ++y) {
        const int cy = CellStart(y, size.height);
        std::uint8_t* row = out.data() + static_cast<std::size_t>(size.height - 1 - y) * w * 3;
        for (int x = 0; x < size.width; ++x) {
            const int cx = CellStart(x, size.width);
            std::uint8_t* p = row + 3 * static_cast<std::size_t>(x);
            p[0] = sample(cx, cy, corners.blue);
            p[1] = static_cast<std::uint8_t>((sample(cx, cy, corners.green1) + sample(cx, cy, corners.green2)) >> 1);
            p[2] = sample(cx, cy, corners.red);
        }
    }
    return true;
}

bool ContrastDemosaic(int colorMode, int flipMode, FrameSize size, std::span<std::uint8_t> out,
                      std::span<std::uint8_t> raw, int contrast) {
    const int flip = flipMode >= 0 && flipMode <= 3 ? flipMode : 0;
    switch (colorMode) {
    case 0:
    case 5: {
        const ContrastPhase phase = flip == 1   ? ContrastPhase::flip1
                                    : flip == 2 ? ContrastPhase::flip2
                                                : ContrastPhase::flip0;
        return BayerToRgbContrast(size, out, raw, contrast, phase);
    }
    case 1: return BayerToRgbContrast(size, out, raw, contrast);
    case 2: return BayerToGrayContrast24(size, out, raw, contrast, flip);
    case 3: return BayerToGrayContrast8(size, out, raw, contrast);
    case 4:
        if (raw.size() < FrameBytes(size) || out.size() < FrameBytes(size)) return false;
        std::copy_n(raw.begin(), FrameBytes(size), out.begin());
        return true;
    default: return false;
    }
}

}  // namespace kqcmos
