#include "frame_statistics.h"

#include <algorithm>

namespace kqcmos {
namespace {

std::size_t Offset(FrameSize size, int y, int x) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width) + static_cast<std::size_t>(x);
}

}  // namespace

std::optional<PixelRect> ClipToFrame(const PixelRect& rect, FrameSize size) {
    const PixelRect r{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, size.width),
                      std::min(rect.bottom, size.height)};
    if (r.left >= r.right || r.top >= r.bottom) {
        return std::nullopt;
    }
    return r;
}

PixelRect CentreWindow(FrameSize size, int minWidth, int minHeight) {
    if (size.width >= minWidth && size.height >= minHeight) {
        return {size.width / 2 - 320, size.height / 2 - 240, size.width / 2 + 320, size.height / 2 + 240};
    }
    return {0, 0, size.width, size.height};
}

int BayerLuma(FrameSize size, std::span<const std::uint8_t> raw, const PixelRect& rect) {
    const std::optional<PixelRect> r = ClipToFrame(rect, size);
    if (!r || !HoldsFrame(raw, size)) {
        return 0;
    }
    std::uint64_t a = 0;
    std::uint64_t b = 0;
    std::uint64_t d = 0;
    std::uint64_t cells = 1;
    for (int y = r->top & ~1; y + 1 < r->bottom; y += 2) {
        for (int x = r->left & ~1; x + 1 < r->right; x += 2) {
            a += raw[Offset(size, y, x)];
            b += raw[Offset(size, y + 1, x)];
            d += raw[Offset(size, y, x + 1)];
            ++cells;
        }
    }
    const auto meanA = static_cast<int>(a / cells);
    const auto meanB = static_cast<int>(b / cells);
    const auto meanD = static_cast<int>(d / cells);
    return 3 * (meanB + 2 * meanA) + meanD;
}

int MeanByte(FrameSize size, std::span<const std::uint8_t> frame, const PixelRect& rect) {
    const std::optional<PixelRect> r = ClipToFrame(rect, size);
    if (!r || !HoldsFrame(frame, size)) {
        return 0;
    }
    std::uint64_t sum = 0;
    std::uint64_t count = 1;
    for (int y = r->top; y < r->bottom; ++y) {
        for (int x = r->left; x < r->right; ++x) {
            sum += frame[Offset(size, y, x)];
        }
        count += static_cast<std::uint64_t>(r->right - r->left);
    }
    return static_cast<int>(sum / count);
}

std::array<int, 3> MeanBgr(FrameSize size, std::span<const std::uint8_t> rgb, const PixelRect& rect) {
    const std::optional<PixelRect> r = ClipToFrame(rect, size);
    if (!r || !HoldsFrame(rgb, size, 3)) {
        return {0, 0, 0};
    }
    std::array<std::uint64_t, 3> sums{};
    std::uint64_t count = 0;
    for (int y = r->top; y < r->bottom; ++y) {
        const std::uint8_t* p = rgb.data() + 3 * Offset(size, y, r->left);
        for (int x = r->left; x < r->right; ++x, p += 3) {
            sums[0] += p[0];
            sums[1] += p[1];
            sums[2] += p[2];
        }
        count += static_cast<std::uint64_t>(r->right - r->left);
    }
    return {static_cast<int>(sums[0] / count), static_cast<int>(sums[1] / count), static_cast<int>(sums[2] / count)};
}

RawChannelMeans MeanRawChannels(FrameSize size, std::span<const std::uint8_t> raw, const PixelRect& rect,
                                BayerCell cell) {
    const std::optional<PixelRect> r = ClipToFrame(rect, size);
    if (!r || !HoldsFrame(raw, size)) {
        return {};
    }
    // Index: 0 red, 1 green, 2 blue.
    std::array<std::uint64_t, 3> sums{};
    std::array<std::uint64_t, 3> counts{};
    for (int y = r->top; y < r->bottom; ++y) {
        for (int x = r->left; x < r->right; ++x) {
            const bool redColumn = x % 2 == cell.redColumn % 2;
            const bool redRow = y % 2 == cell.redRow % 2;
            const std::size_t role = (redColumn && redRow) ? 0 : (!redColumn && !redRow) ? 2 : 1;
            sums[role] += raw[Offset(size, y, x)];
            ++counts[role];
        }
    }
    auto mean = [&](std::size_t role) {
        return static_cast<int>(sums[role] / std::max<std::uint64_t>(counts[role], 1));
    };
    const bool complete = counts[0] > 0 && counts[1] > 0 && counts[2] > 0;
    return {mean(0), mean(1), mean(2), complete};
}

PixelRect MirrorFromFarEdges(const PixelRect& rect, FrameSize size) {
    return {size.width - rect.right + 1, size.height - rect.bottom + 1, size.width - rect.left + 1,
            size.height - rect.top + 1};
}

namespace {

// Adds 100 (modulo 256) to the 50 x 50 block from (column, row).
void AddMarkBlock(FrameSize size, int bytesPerPixel, std::span<std::uint8_t> frame, int column, int row) {
    if (!HoldsFrame(frame, size, bytesPerPixel, 100, 100)) {
        return;
    }
    const auto rowBytes = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(bytesPerPixel);
    const auto first = static_cast<std::size_t>(column) * static_cast<std::size_t>(bytesPerPixel);
    const auto count = static_cast<std::size_t>(50 * bytesPerPixel);
    for (int y = row; y < row + 50; ++y) {
        std::uint8_t* p = frame.data() + static_cast<std::size_t>(y) * rowBytes + first;
        for (std::size_t i = 0; i < count; ++i) {
            p[i] = static_cast<std::uint8_t>(p[i] + 100);
        }
    }
}

}  // namespace

void DrawAutoMark(FrameSize size, int bytesPerPixel, std::span<std::uint8_t> frame) {
    AddMarkBlock(size, bytesPerPixel, frame, size.width - 100, 50);
}

void DrawFarEdgeAutoMark(FrameSize size, std::span<std::uint8_t> raw) {
    AddMarkBlock(size, 1, raw, 50, size.height - 100);
}

void MeasuringRegion::Set(int x0, int y0, int x1, int y1, FrameSize frame) {
    Reset();
    const int h = frame.height;
    const PixelRect wanted{std::min(x0, x1), std::min(h - y0, h - y1), std::max(x0, x1), std::max(h - y0, h - y1)};
    if (wanted.left == wanted.right || wanted.top == wanted.bottom) {
        return;
    }
    if (const std::optional<PixelRect> r = ClipToFrame(wanted, frame)) {
        values_ = {r->left, r->top, r->right, r->bottom};
    }
}

std::optional<PixelRect> MeasuringRegion::ForExposure(FrameSize frame) const {
    if (std::any_of(values_.begin(), values_.end(), [](int v) { return v < 0; })) {
        return std::nullopt;
    }
    return ClipToFrame({values_[0], values_[1], values_[2], values_[3]}, frame);
}

std::optional<PixelRect> MeasuringRegion::ForWhiteBalance(FrameSize frame) const {
    if (std::any_of(values_.begin(), values_.end(), [](int v) { return v < 1; })) {
        return std::nullopt;
    }
    return ClipToFrame({values_[0], values_[1], values_[2], values_[3]}, frame);
}

}  // namespace kqcmos
