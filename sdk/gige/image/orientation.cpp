#include "orientation.h"

#include <cstring>

namespace kqge {
namespace {

bool Fits(FrameSize size, int bytesPerSample, std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
    return bytesPerSample > 0 && kqcmos::HoldsFrame(in, size, bytesPerSample) &&
           kqcmos::HoldsFrame(out, size, bytesPerSample);
}

template <int Bytes>
void MirrorRow(const std::uint8_t* in, std::uint8_t* out, int width) {
    for (int x = 0; x < width; ++x) std::memcpy(out + (width - 1 - x) * Bytes, in + x * Bytes, Bytes);
}

void MirrorRow(const std::uint8_t* in, std::uint8_t* out, int width, int bytesPerSample) {
    switch (bytesPerSample) {
    case 1: MirrorRow<1>(in, out, width); return;
    case 2: MirrorRow<2>(in, out, width); return;
    case 3: MirrorRow<3>(in, out, width); return;
    default:
        for (int x = 0; x < width; ++x) {
            std::memcpy(out + (width - 1 - x) * bytesPerSample, in + x * bytesPerSample,
                        static_cast<std::size_t>(bytesPerSample));
        }
    }
}

}  // namespace

bool FlipFrame(int flipMode, FrameSize size, int bytesPerSample, std::span<const std::uint8_t> in,
               std::span<std::uint8_t> out) {
    if (!Fits(size, bytesPerSample, in, out)) return false;
    const auto stride = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(bytesPerSample);
    const bool mirror = flipMode == 1 || flipMode == 3;
    const bool reverseRows = flipMode == 2 || flipMode == 3;
    if (!mirror && !reverseRows) {
        std::memcpy(out.data(), in.data(), stride * static_cast<std::size_t>(size.height));
        return true;
    }
    for (int r = 0; r < size.height; ++r) {
        const std::uint8_t* source = in.data() + static_cast<std::size_t>(r) * stride;
        std::uint8_t* target = out.data() + static_cast<std::size_t>(reverseRows ? size.height - 1 - r : r) * stride;
        if (mirror) {
            MirrorRow(source, target, size.width, bytesPerSample);
        } else {
            std::memcpy(target, source, stride);
        }
    }
    return true;
}

bool TurnFrame(int flipMode, FrameSize size, int bytesPerSample, std::span<const std::uint8_t> in,
               std::span<std::uint8_t> out) {
    if (!IsQuarterTurn(flipMode) || !Fits(size, bytesPerSample, in, out)) return false;
    const auto bps = static_cast<std::size_t>(bytesPerSample);
    const auto inStride = static_cast<std::size_t>(size.width) * bps;
    const auto outStride = static_cast<std::size_t>(size.height) * bps;
    for (int i = 0; i < size.width; ++i) {
        const int outRow = flipMode == 4 ? i : size.width - 1 - i;
        std::uint8_t* target = out.data() + static_cast<std::size_t>(outRow) * outStride;
        for (int j = 0; j < size.height; ++j) {
            const int sourceRow = flipMode == 4 ? size.height - 1 - j : j;
            std::memcpy(target + static_cast<std::size_t>(j) * bps,
                        in.data() + static_cast<std::size_t>(sourceRow) * inStride + static_cast<std::size_t>(i) * bps,
                        bps);
        }
    }
    return true;
}

PictureRegion RegionInPicture(int flipMode, FrameSize picture, const PictureRegion& r) {
    switch (flipMode) {
    case 1: return {picture.width - r.x - r.width, r.y, r.width, r.height};
    case 2: return {r.x, picture.height - r.y - r.height, r.width, r.height};
    case 3: return {picture.width - r.x - r.width, picture.height - r.y - r.height, r.width, r.height};
    // Row i of a turned picture is column i of the frame (4) or column
    // width - 1 - i (5); the frame's rows run backwards along it for 4.
    case 4: return {picture.width - r.y - r.height, r.x, r.height, r.width};
    case 5: return {r.y, picture.height - r.x - r.width, r.height, r.width};
    default: return r;
    }
}

}  // namespace kqge
