#include "yuv_frame.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <optional>

#include "model_kernels.h"

namespace kqcmos {

namespace {

// Each term of the conversion by its one input, truncated as the formulas
// truncate it, so a pixel costs lookups and additions only.
// Sums of a luma and chroma terms lie within -276..531; the limit to
// 0..255 is a lookup too, offset so that every sum indexes it.
constexpr int kClampOffset = 320;

struct YuvTerms {
    std::array<int, 256> luma{}, blue{}, greenFromBlue{}, greenFromRed{}, red{};
    std::array<std::uint8_t, 2 * kClampOffset + 256> clamp{};
    YuvTerms() {
        for (int v = 0; v < 256; ++v) {
            const auto i = static_cast<std::size_t>(v);
            luma[i] = (v - 16) * 37 / 32 + kClampOffset;
            blue[i] = (v - 128) * 129 / 64;
            greenFromBlue[i] = (128 - v) * 25 / 64;
            greenFromRed[i] = (128 - v) * 13 / 16;
            red[i] = (v - 128) * 51 / 32;
        }
        for (std::size_t i = 0; i < clamp.size(); ++i) clamp[i] = ClampToByte(static_cast<int>(i) - kClampOffset);
    }
};

const YuvTerms& Terms() {
    static const YuvTerms terms;
    return terms;
}

inline void Store(std::uint8_t* p, const YuvTerms& t, int y, int redDifference, int blueDifference) {
    const int luma = t.luma[static_cast<std::size_t>(y)];
    const auto r = static_cast<std::size_t>(redDifference);
    const auto b = static_cast<std::size_t>(blueDifference);
    p[0] = t.clamp[static_cast<std::size_t>(luma + t.blue[b])];
    p[1] = t.clamp[static_cast<std::size_t>(luma + t.greenFromBlue[b] + t.greenFromRed[r])];
    p[2] = t.clamp[static_cast<std::size_t>(luma + t.red[r])];
}

// One source row of w pixels (w even, at least 4) to pixels `step` bytes
// apart from `out`; the last pair takes its own red difference for both.
template <int kStep>
void ConvertRow(const YuvTerms& t, const std::uint8_t* row, int w, std::uint8_t* out, std::ptrdiff_t step) {
    if constexpr (kStep != 0) step = kStep;
    const std::uint8_t* pair = row;
    for (int x = 0; x + 2 < w; x += 2, pair += 4, out += 2 * step) {
        Store(out, t, pair[0], pair[1], pair[3]);
        Store(out + step, t, pair[2], pair[5], pair[3]);
    }
    Store(out, t, pair[0], pair[1], pair[3]);
    Store(out + step, t, pair[2], pair[1], pair[3]);
}

}  // namespace

Bgr YuvToBgr(int y, int redDifference, int blueDifference) {
    std::uint8_t p[3];
    Store(p, Terms(), y & 0xFF, redDifference & 0xFF, blueDifference & 0xFF);
    return {p[0], p[1], p[2]};
}

namespace {

bool ConvertYuv(FrameSize& size, int flipMode, std::span<std::uint8_t> rgb, std::span<std::uint8_t> yuv,
                std::optional<SimdLevel> level) {
    const int w = size.width;
    const int h = size.height;
    if (!ConvertibleYuvSize(size) || !HoldsFrame(yuv, size, 2) || !HoldsFrame(rgb, size, 3)) {
        return false;
    }
    const auto rowBytes = static_cast<std::size_t>(w) * 2;
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = yuv.data() + static_cast<std::size_t>(y) * rowBytes;
        row[rowBytes - 1] = row[rowBytes - 5];
    }
    std::memcpy(yuv.data(), yuv.data() + 2 * rowBytes, rowBytes);
    std::memcpy(yuv.data() + rowBytes, yuv.data() + 2 * rowBytes, rowBytes);

    const bool transpose = flipMode == 4 || flipMode == 5;
    const bool bottomUp = flipMode == 0 || flipMode == 1;
    const bool mirrored = flipMode == 1 || flipMode == 3;
    // Where source pixel (y, x) lands; along a source row the target moves by
    // a fixed step, so each row needs its first target and that step.
    auto target = [&](int y, int x) -> std::ptrdiff_t {
        std::ptrdiff_t index = 0;
        if (transpose) {
            // Output is h pixels wide and w rows high.
            const int outRow = flipMode == 4 ? x : w - 1 - x;
            index = static_cast<std::ptrdiff_t>(outRow) * h + y;
        } else {
            const int outRow = bottomUp ? h - 1 - y : y;
            const int outColumn = mirrored ? w - 1 - x : x;
            index = static_cast<std::ptrdiff_t>(outRow) * w + outColumn;
        }
        return 3 * index;
    };
    const YuvTerms& terms = Terms();
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row = yuv.data() + static_cast<std::size_t>(y) * rowBytes;
        std::ptrdiff_t at = target(y, 0);
        const std::ptrdiff_t step = target(y, 1) - at;
        std::uint8_t* out = rgb.data() + at;
        if (level && (step == 3 || step == -3)) {
            // The row's pixel 0 lands at its output row's first pixel when
            // upright, at its last when mirrored.
            std::uint8_t* rowStart = step == 3 ? out : out - 3 * static_cast<std::ptrdiff_t>(w - 1);
            ModelKernelsFor(*level).yuvRow(w, row, step == -3, rowStart);
        } else if (step == 3) {
            ConvertRow<3>(terms, row, w, out, step);
        } else if (step == -3) {
            ConvertRow<-3>(terms, row, w, out, step);
        } else {
            ConvertRow<0>(terms, row, w, out, step);
        }
    }
    if (transpose) {
        size = {h, w};
    }
    return true;
}

}  // namespace

bool ConvertYuvFrame(FrameSize& size, int flipMode, std::span<std::uint8_t> rgb, std::span<std::uint8_t> yuv,
                     SimdLevel level) {
    return ConvertYuv(size, flipMode, rgb, yuv, level);
}

bool ConvertYuvFrameReference(FrameSize& size, int flipMode, std::span<std::uint8_t> rgb,
                              std::span<std::uint8_t> yuv) {
    return ConvertYuv(size, flipMode, rgb, yuv, std::nullopt);
}

int YuvLuma(FrameSize size, std::span<const std::uint8_t> yuv, const PixelRect& rect) {
    const std::optional<PixelRect> r = ClipToFrame(rect, size);
    if (!r || !HoldsFrame(yuv, size, 2)) {
        return 0;
    }
    const auto rowBytes = static_cast<std::size_t>(size.width) * 2;
    std::uint64_t sum = 0;
    std::uint64_t count = 1;
    for (int y = r->top; y < r->bottom; ++y) {
        const std::uint8_t* row = yuv.data() + static_cast<std::size_t>(y) * rowBytes;
        for (int x = r->left & ~1; x < r->right; x += 2) {
            sum += row[2 * static_cast<std::size_t>(x)];
            ++count;
        }
    }
    return static_cast<int>(10 * sum / count);
}

void DrawYuvAutoMark(FrameSize size, std::span<std::uint8_t> yuv) {
    if (!HoldsFrame(yuv, size, 2, 100, 100)) {
        return;
    }
    const auto rowBytes = static_cast<std::size_t>(size.width) * 2;
    for (int y = 50; y < 100; ++y) {
        std::uint8_t* row = yuv.data() + static_cast<std::size_t>(y) * rowBytes;
        for (int x = size.width - 100; x < size.width - 50; ++x) {
            std::uint8_t& second = row[2 * static_cast<std::size_t>(x) + 1];
            second = static_cast<std::uint8_t>(second + 50);
        }
    }
}

ChromaBalanceOutcome ChromaWhiteBalance::Step(FrameSize size, std::span<std::uint8_t> yuv, int& redGain,
                                              int& blueGain) {
    ChromaBalanceOutcome outcome;
    callCount_ = (callCount_ + 1) % 2;
    if (callCount_ != 0 || !HoldsFrame(yuv, size, 2, 2, 1)) {
        return outcome;
    }
    outcome.evaluated = true;
    const auto rowBytes = static_cast<std::size_t>(size.width) * 2;
    std::uint64_t redSum = 0;
    std::uint64_t blueSum = 0;
    std::uint64_t pairs = 0;
    for (int y = 0; y < size.height; ++y) {
        const std::uint8_t* row = yuv.data() + static_cast<std::size_t>(y) * rowBytes;
        for (std::size_t i = 0; i + 3 < rowBytes; i += 4) {
            redSum += row[i + 1];
            blueSum += row[i + 3];
            ++pairs;
        }
    }
    const auto redMean = static_cast<int>(redSum / std::max<std::uint64_t>(pairs, 1));
    const auto blueMean = static_cast<int>(blueSum / std::max<std::uint64_t>(pairs, 1));
    const int redBefore = redGain;
    const int blueBefore = blueGain;
    if (redMean <= 124) {
        ++redGain;
    } else if (redMean >= 132) {
        --redGain;
    } else if (blueMean <= 124) {
        ++blueGain;
    } else if (blueMean >= 132) {
        --blueGain;
    } else {
        outcome.finished = true;
    }
    if (size.width >= 100 && size.height >= 100) {
        for (int y = 50; y < 100; ++y) {
            std::uint8_t* row = yuv.data() + static_cast<std::size_t>(y) * rowBytes;
            for (int x = size.width - 100; x < size.width - 50; ++x) {
                std::uint8_t& chroma = row[2 * static_cast<std::size_t>(x) + 1];
                chroma = static_cast<std::uint8_t>(chroma + 50);
            }
        }
    }
    // Both gains are sent as bytes; a blue gain past 255 would wrap to a
    // dark blue channel, so it is held to the same range as red.
    redGain = std::clamp(redGain, kMinGain, kMaxGain);
    blueGain = std::clamp(blueGain, kMinGain, kMaxGain);
    outcome.changed = redGain != redBefore || blueGain != blueBefore;
    return outcome;
}

}  // namespace kqcmos
