#include "auto_exposure.h"

#include <algorithm>
#include <limits>

namespace kqge {

void DrawAeMark(FrameSize size, int bytesPerSample, int countdown, std::span<std::uint8_t> raw) {
    if (size.width < kAeMarkMinSize || size.height < kAeMarkMinSize || !kqcmos::HoldsFrame(raw, size, bytesPerSample)) {
        return;
    }
    const bool odd = (countdown & 1) != 0;
    const auto stride = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(bytesPerSample);
    for (int r = 50; r < 100; ++r) {
        std::uint8_t* row = raw.data() + static_cast<std::size_t>(r) * stride;
        for (int c = size.width - 100; c < size.width - 50; ++c) {
            if (bytesPerSample == 2) {
                std::uint8_t* p = row + 2 * c;
                StoreSample(p, LoadSample(p) + (odd ? 2048 : 1024));
            } else {
                row[c] = static_cast<std::uint8_t>(row[c] + (odd ? 200 : 100));
            }
        }
    }
}

int AePeak(FrameSize size, int measurementPhase, int bytesPerSample, std::span<const std::uint8_t> raw) {
    if (!kqcmos::HoldsFrame(raw, size, bytesPerSample)) return 0;
    // Offsets (row, column) inside a cell of the sites A, B and C.
    struct Offsets {
        int a[2], b[2], c[2];
    };
    static constexpr Offsets kByPhase[4] = {
        {{0, 0}, {1, 1}, {1, 0}}, {{0, 1}, {1, 0}, {0, 0}}, {{1, 1}, {0, 0}, {1, 0}}, {{1, 0}, {0, 1}, {0, 0}}};
    const Offsets& o = kByPhase[(measurementPhase >= 1 && measurementPhase <= 4 ? measurementPhase : 3) - 1];
    int x0 = 0, y0 = 0, w = size.width, h = size.height;
    if (size.width >= 640 && size.height >= 480) {
        // Even origins keep the cells on the sensor's Bayer grid.
        x0 = ((size.width - 640) / 2) & ~1;
        y0 = ((size.height - 480) / 2) & ~1;
        w = 640;
        h = 480;
    }
    const auto stride = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(bytesPerSample);
    auto sample = [&](int r, int c) -> int {
        const std::uint8_t* p = raw.data() + static_cast<std::size_t>(r) * stride +
                                static_cast<std::size_t>(c) * static_cast<std::size_t>(bytesPerSample);
        return bytesPerSample == 2 ? LoadSample(p) / 16 : *p;
    };
    std::int64_t a = 0, b = 0, c = 0, cells = 0;
    for (int r = y0; r + 1 < y0 + h; r += 2) {
        for (int col = x0; col + 1 < x0 + w; col += 2) {
            a += sample(r + o.a[0], col + o.a[1]);
            b += sample(r + o.b[0], col + o.b[1]);
            c += sample(r + o.c[0], col + o.c[1]);
            ++cells;
        }
    }
    const std::int64_t n = cells + 1;
    return static_cast<int>(std::max({a / n, b / n, c / n}));
}

AeWindow AeTargetWindow(int selector) {
    switch (selector) {
    case 0: return {230, 245};
    case 2: return {85, 125};
    default: return {140, 180};
    }
}

std::int32_t NextAeExposure(std::int32_t current, int peak, AeWindow window) {
    const std::int64_t divisor = static_cast<std::int64_t>(peak) + 1;
    std::int64_t next = -1;
    for (int t = window.low; t < window.high; ++t) {
        if ((static_cast<std::int64_t>(current) * t) % divisor == 0)
            next = static_cast<std::int64_t>(current) * t / divisor;
    }
    if (next < 0) next = static_cast<std::int64_t>(current) * ((window.low + window.high) / 2) / divisor;
    if (next == 0) next = 2 * static_cast<std::int64_t>(current);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(next, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace kqge
