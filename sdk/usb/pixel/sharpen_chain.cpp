#include "sharpen_chain.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kqcmos {
namespace {

constexpr std::int16_t Saturate16(int v) { return static_cast<std::int16_t>(std::clamp(v, -32768, 32767)); }

std::size_t Index(FrameSize size, int y, int x) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(size.width) + static_cast<std::size_t>(x);
}

bool PlanesHold(FrameSize size, std::initializer_list<std::size_t> sizes) {
    const std::size_t need = FrameBytes(size);
    if (need == 0) {
        return false;
    }
    return std::all_of(sizes.begin(), sizes.end(), [need](std::size_t s) { return s >= need; });
}

void ZeroBorder(FrameSize size, WordPlane out) {
    const auto w = static_cast<std::size_t>(size.width);
    std::fill_n(out.begin(), w, std::int16_t{0});
    std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(Index(size, size.height - 1, 0)), w, std::int16_t{0});
    for (int y = 1; y + 1 < size.height; ++y) {
        out[Index(size, y, 0)] = 0;
        out[Index(size, y, size.width - 1)] = 0;
    }
}

}  // namespace

void SplitPlanes(FrameSize size, ConstBytePlane rgb, BytePlane plane0, BytePlane plane1, BytePlane plane2) {
    const std::size_t n = FrameBytes(size);
    if (rgb.size() < 3 * n || !PlanesHold(size, {plane0.size(), plane1.size(), plane2.size()})) {
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        plane0[i] = rgb[3 * i];
        plane1[i] = rgb[3 * i + 1];
        plane2[i] = rgb[3 * i + 2];
    }
}

void MergePlanes(FrameSize size, BytePlane rgb, ConstBytePlane plane0, ConstBytePlane plane1, ConstBytePlane plane2) {
    const std::size_t n = FrameBytes(size);
    if (rgb.size() < 3 * n || !PlanesHold(size, {plane0.size(), plane1.size(), plane2.size()})) {
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        rgb[3 * i] = plane0[i];
        rgb[3 * i + 1] = plane1[i];
        rgb[3 * i + 2] = plane2[i];
    }
}

void SmoothPlane(FrameSize size, BytePlane out, ConstBytePlane in) {
    if (!PlanesHold(size, {out.size(), in.size()})) {
        return;
    }
    std::copy_n(in.begin(), FrameBytes(size), out.begin());
    const auto w = static_cast<std::size_t>(size.width);
    for (int y = 1; y <= size.height - 3; ++y) {
        const std::uint8_t* up = in.data() + Index(size, y - 1, 0);
        const std::uint8_t* mid = up + w;
        const std::uint8_t* down = mid + w;
        std::uint8_t* dst = out.data() + Index(size, y, 0);
        for (int x = 1; x + 1 < size.width; ++x) {
            const int cross = up[x] + down[x] + mid[x - 1] + mid[x + 1];
            const int diagonal = up[x - 1] + up[x + 1] + down[x - 1] + down[x + 1];
            dst[x] = ClampToByte((2 * mid[x] + 2 * cross + diagonal) / 16);
        }
    }
}

void WidenPlane(FrameSize size, WordPlane out, ConstBytePlane in) {
    if (!PlanesHold(size, {out.size(), in.size()})) {
        return;
    }
    std::copy_n(in.begin(), FrameBytes(size), out.begin());
}

void AddPlanes3(FrameSize size, WordPlane sum, ConstWordPlane a, ConstWordPlane b, ConstWordPlane c) {
    if (!PlanesHold(size, {sum.size(), a.size(), b.size(), c.size()})) {
        return;
    }
    const std::size_t n = FrameBytes(size);
    for (std::size_t i = 0; i < n; ++i) {
        sum[i] = Saturate16(Saturate16(a[i] + b[i]) + c[i]);
    }
}

void BoxSum3x3(FrameSize size, WordPlane out, ConstWordPlane in) {
    if (!PlanesHold(size, {out.size(), in.size()})) {
        return;
    }
    ZeroBorder(size, out);
    const auto w = static_cast<std::size_t>(size.width);
    for (int y = 1; y + 1 < size.height; ++y) {
        const std::int16_t* up = in.data() + Index(size, y - 1, 0);
        const std::int16_t* mid = up + w;
        const std::int16_t* down = mid + w;
        std::int16_t* dst = out.data() + Index(size, y, 0);
        for (int x = 1; x + 1 < size.width; ++x) {
            const int s =
                up[x - 1] + up[x] + up[x + 1] + mid[x - 1] + mid[x] + mid[x + 1] + down[x - 1] + down[x] + down[x + 1];
            dst[x] = Saturate16(s);
        }
    }
}

void ActivityMeasure(FrameSize size, WordPlane activity, ConstWordPlane sum, ConstWordPlane box) {
    if (!PlanesHold(size, {activity.size(), sum.size(), box.size()})) {
        return;
    }
    ZeroBorder(size, activity);
    for (int y = 1; y + 1 < size.height; ++y) {
        for (int x = 1; x + 1 < size.width; ++x) {
            const int centreBox = box[Index(size, y, x)];
            int total = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nine = Saturate16(9 * sum[Index(size, y + dy, x + dx)]);
                    const int term = Saturate16(std::abs(Saturate16(nine - centreBox)));
                    total = Saturate16(total + term);
                }
            }
            activity[Index(size, y, x)] = static_cast<std::int16_t>(total);
        }
    }
}

void SharpenGated(FrameSize size, WordPlane out, ConstWordPlane plane, ConstWordPlane box, ConstWordPlane activity) {
    if (!PlanesHold(size, {out.size(), plane.size(), box.size(), activity.size()})) {
        return;
    }
    std::copy_n(plane.begin(), FrameBytes(size), out.begin());
    for (int y = 1; y + 1 < size.height; ++y) {
        for (int x = 1; x + 1 < size.width; ++x) {
            const std::size_t i = Index(size, y, x);
            if (activity[i] > kSharpenActivityThreshold) {
                const int p = plane[i];
                out[i] = Saturate16(p + Saturate16(Saturate16(9 * p) - box[i]));
            }
        }
    }
}

void NarrowPlane(FrameSize size, BytePlane out, ConstWordPlane in) {
    if (!PlanesHold(size, {out.size(), in.size()})) {
        return;
    }
    const std::size_t n = FrameBytes(size);
    for (std::size_t i = 0; i < n; ++i) {
        out[i] = ClampToByte(in[i]);
    }
}

void CopyBorderFromInside(FrameSize size, int bytesPerPixel, int border, std::span<std::uint8_t> frame) {
    if (border <= 0 || !HoldsFrame(frame, size, bytesPerPixel, 2 * border + 1, 2 * border + 1)) {
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(size.width) * static_cast<std::size_t>(bytesPerPixel);
    auto row = [&](int y) { return frame.data() + static_cast<std::size_t>(y) * rowBytes; };
    for (int y = 0; y < size.height; ++y) {
        std::uint8_t* r = row(y);
        for (int x = 0; x < border; ++x) {
            std::memcpy(r + x * bytesPerPixel, r + border * bytesPerPixel, static_cast<std::size_t>(bytesPerPixel));
            std::memcpy(r + (size.width - 1 - x) * bytesPerPixel, r + (size.width - 1 - border) * bytesPerPixel,
                        static_cast<std::size_t>(bytesPerPixel));
        }
    }
    for (int y = 0; y < border; ++y) {
        std::memcpy(row(y), row(border), rowBytes);
        std::memcpy(row(size.height - 1 - y), row(size.height - 1 - border), rowBytes);
    }
}

SharpenChainReference::SharpenChainReference(FrameSize maxSize)
    : capacity_(FrameBytes(maxSize)),
      smoothed_(capacity_),
      sum_(capacity_),
      sumBox_(capacity_),
      activity_(capacity_),
      planeBox_(capacity_),
      sharpened_(capacity_) {
    for (int c = 0; c < 3; ++c) {
        bytes_[c].resize(capacity_);
        words_[c].resize(capacity_);
    }
}

bool SharpenChainReference::Run(FrameSize size, std::span<std::uint8_t> rgb) {
    if (!HoldsFrame(rgb, size, 3, kSharpenChainMinSize, kSharpenChainMinSize) || FrameBytes(size) > capacity_) {
        return false;
    }
    SplitPlanes(size, rgb, bytes_[0], bytes_[1], bytes_[2]);
    for (int c = 0; c < 3; ++c) {
        SmoothPlane(size, smoothed_, bytes_[c]);
        WidenPlane(size, words_[c], smoothed_);
    }
    AddPlanes3(size, sum_, words_[0], words_[1], words_[2]);
    BoxSum3x3(size, sumBox_, sum_);
    ActivityMeasure(size, activity_, sum_, sumBox_);
    for (int c = 0; c < 3; ++c) {
        BoxSum3x3(size, planeBox_, words_[c]);
        SharpenGated(size, sharpened_, words_[c], planeBox_, activity_);
        NarrowPlane(size, bytes_[c], sharpened_);
    }
    MergePlanes(size, rgb, bytes_[0], bytes_[1], bytes_[2]);
    CopyBorderFromInside(size, 3, 4, rgb);
    return true;
}

SharpenChain::SharpenChain(FrameSize maxSize, SimdLevel level)
    : maxSize_(maxSize), kernels_(&KernelsFor(level)), scratch_(SharpenChainScratchWords(maxSize.width)) {}

bool SharpenChain::Run(FrameSize size, std::span<std::uint8_t> rgb) {
    if (!HoldsFrame(rgb, size, 3, kMinSize, kMinSize) || size.width > maxSize_.width ||
        FrameBytes(size) > FrameBytes(maxSize_)) {
        return false;
    }
    kernels_->sharpenChainRows(size.width, size.height, rgb.data(), scratch_.data());
    CopyBorderFromInside(size, 3, 4, rgb);
    return true;
}

}  // namespace kqcmos
