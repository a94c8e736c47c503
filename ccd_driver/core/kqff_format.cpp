#include "kqff_format.h"

#include "kqff_protocol.h"

namespace kqff {
namespace {

bool UsesPlainSizing(std::uint16_t vendorId, std::uint16_t productId) {
    bool makerVendor = false;
    for (std::uint16_t vid : kMakerVendorIds) makerVendor = makerVendor || vid == vendorId;
    if (!makerVendor) return false;
    for (std::uint16_t pid : kTableProductIds)
        if (pid == productId) return false;
    return true;
}

// One row of the width table: the modes chosen by a few heights, the mode for
// every other height (kKeep = leave the current mode), bytes per pixel.
inline constexpr int kKeep = -1;
struct HeightMode {
    std::uint32_t height;
    std::uint8_t mode;
};
struct WidthRow {
    std::uint32_t width;
    HeightMode byHeight[3];
    int byHeightCount;
    int otherwise;
    std::uint32_t bytesPerPixel;
};

constexpr WidthRow kWidthTable[] = {
    {576, {{216, 4}}, 1, kKeep, 2},
    {640, {{486, 4}}, 1, 1, 1},
    {872, {}, 0, 4, 1},
    {1024, {{256, 3}, {768, 1}}, 2, kKeep, 2},
    {1280, {{972, 2}}, 1, 1, 1},
    {1360, {{256, 4}, {512, 2}, {1024, 1}}, 3, kKeep, 2},
    {1600, {{600, 2}, {1200, 1}}, 2, kKeep, 2},
    {1744, {}, 0, 2, 1},
    {2304, {{1712, 1}, {856, 2}, {216, 4}}, 3, kKeep, 2},
    {2560, {}, 0, 1, 1},
    {3488, {}, 0, 1, 1},
};

}  // namespace

FrameGeometry GeometryForFrameBytes(std::uint32_t frameBytes) {
    FrameGeometry g;
    g.frameBytes = frameBytes;
    g.chunksPerFrame = frameBytes / kChunkBytes + 1;
    g.lastChunkBytes = frameBytes % kChunkBytes;
    return g;
}

FormatDecision DecideFormat(std::uint32_t width, std::uint32_t height, std::uint8_t currentMode, std::uint16_t vendorId,
                            std::uint16_t productId) {
    FormatDecision d;
    d.readoutMode = currentMode;
    if (UsesPlainSizing(vendorId, productId)) {
        d.sizesFrame = true;
        d.frameBytes = static_cast<std::uint64_t>(width) * height;
        return d;
    }
    for (const WidthRow& row : kWidthTable) {
        if (row.width != width) continue;
        int mode = row.otherwise;
        for (int i = 0; i < row.byHeightCount; ++i)
            if (row.byHeight[i].height == height) mode = row.byHeight[i].mode;
        if (mode != kKeep) d.readoutMode = static_cast<std::uint8_t>(mode);
        d.sizesFrame = true;
        d.frameBytes = static_cast<std::uint64_t>(width) * height * row.bytesPerPixel;
        return d;
    }
    d.readoutMode = 1;  // unknown width: mode 1, geometry unchanged
    return d;
}

std::uint32_t TimingValueFor(std::uint32_t t) {
    constexpr std::uint32_t kBase = 0x7FFF00;
    return t >= 3000 ? kBase : t * 48000u + kBase;
}

}  // namespace kqff
