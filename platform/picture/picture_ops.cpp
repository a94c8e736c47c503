// Pixel operations. Coordinates here run top-down; a row's bytes are found
// through GetBits(height - 1 - y). 8-bit pictures with a grey palette are
// worked on as grey values; colour palettes are recoloured (point
// operations) or the picture becomes 24-bit first (neighbourhood operations).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "picture.h"

namespace {

std::uint8_t Clamp8(std::int64_t v) { return static_cast<std::uint8_t>(std::clamp<std::int64_t>(v, 0, 255)); }

std::uint8_t Clamp8f(float v) {
    if (!(v > 0.0f)) {
        return 0;
    }
    return v >= 255.0f ? 255 : static_cast<std::uint8_t>(v + 0.5f);
}

int Channels(const CPicture& p) { return p.GetBpp() / 8; }

std::uint8_t* RowTopDown(CPicture& p, int y) { return p.GetBits(p.GetHeight() - 1 - y); }
const std::uint8_t* RowTopDown(const CPicture& p, int y) { return p.GetBits(p.GetHeight() - 1 - y); }

// An 8-bit picture with colours in its palette becomes 24-bit.
void PromoteColourPalette(CPicture& p) {
    if (p.GetBpp() != 8 || p.IsGreyPalette()) {
        return;
    }
    CPicture colour(p.GetWidth(), p.GetHeight(), 24, p.GetType());
    const auto palette = p.GetPalette();
    for (int y = 0; y < p.GetHeight(); ++y) {
        const std::uint8_t* src = RowTopDown(p, y);
        std::uint8_t* dst = RowTopDown(colour, y);
        for (int x = 0; x < p.GetWidth(); ++x) {
            const PaletteEntry& e = palette[src[x]];
            dst[x * 3] = e.blue;
            dst[x * 3 + 1] = e.green;
            dst[x * 3 + 2] = e.red;
        }
    }
    colour.SetJpegQuality(p.GetJpegQuality());
    p = std::move(colour);
}

// Applies a per-channel point function: to the pixels of 24-bit and grey
// pictures, to the palette of colour-palette pictures. `channel` is 0 blue,
// 1 green, 2 red; grey pixels use channel 1's function only when
// `uniform` says every channel is mapped alike, else they are recoloured.
template <typename Fn>
void ApplyPointOp(CPicture& p, bool uniform, Fn&& fn) {
    if (p.GetBpp() == 8 && p.IsGreyPalette() && uniform) {
        for (int y = 0; y < p.GetHeight(); ++y) {
            std::uint8_t* row = RowTopDown(p, y);
            for (int x = 0; x < p.GetWidth(); ++x) {
                row[x] = fn(row[x], 1);
            }
        }
        return;
    }
    if (p.GetBpp() == 8) {
        std::vector<PaletteEntry> palette(p.GetPalette().begin(), p.GetPalette().end());
        for (PaletteEntry& e : palette) {
            e.blue = fn(e.blue, 0);
            e.green = fn(e.green, 1);
            e.red = fn(e.red, 2);
        }
        p.SetPalette(palette);
        return;
    }
    for (int y = 0; y < p.GetHeight(); ++y) {
        std::uint8_t* row = RowTopDown(p, y);
        for (int x = 0; x < p.GetWidth(); ++x) {
            for (int c = 0; c < 3; ++c) {
                row[x * 3 + c] = fn(row[x * 3 + c], c);
            }
        }
    }
}

// A copy of the pixel rows, so a neighbourhood operation reads the original.
std::vector<std::uint8_t> Snapshot(const CPicture& p) {
    return std::vector<std::uint8_t>(p.Pixels().begin(), p.Pixels().end());
}

// One channel of an HSL colour: m1 and m2 bound the channel, h is the hue
// (turns) shifted for that channel.
template <typename T>
T Hue2Rgb(T m1, T m2, T h) {
    if (h < 0) h += 1;
    if (h > 1) h -= 1;
    if (6 * h < 1) return m1 + (m2 - m1) * 6 * h;
    if (2 * h < 1) return m2;
    if (3 * h < 2) return m1 + (m2 - m1) * (T{2} / 3 - h) * 6;
    return m1;
}

// A colour as hue (turns, 0..1), saturation and lightness (0..1).
struct Hsl {
    double hue;
    double saturation;
    double lightness;
};

Hsl ToHsl(double r, double g, double b) {
    const double high = std::max({r, g, b});
    const double low = std::min({r, g, b});
    const double l = (high + low) / 2;
    if (high == low) {
        return {0, 0, l};
    }
    const double range = high - low;
    const double s = l <= 0.5 ? range / (high + low) : range / (2 - high - low);
    double h;
    if (high == r) {
        h = (g - b) / range;
    } else if (high == g) {
        h = 2 + (b - r) / range;
    } else {
        h = 4 + (r - g) / range;
    }
    h /= 6;
    if (h < 0) {
        h += 1;
    }
    return {h, s, l};
}

std::uint8_t ToByte(double unit) {
    const double v = unit * 255 + 0.5;
    return v <= 0 ? 0 : v >= 255 ? 255 : static_cast<std::uint8_t>(v);
}

// Moves one colour as Colorize(source, hue, saturation, lightness) says.
void AdjustHsl(PaletteEntry& e, double hueTurn, double saturationScale, double lightnessShift) {
    Hsl c = ToHsl(e.red / 255.0, e.green / 255.0, e.blue / 255.0);
    c.hue += hueTurn;
    c.hue -= std::floor(c.hue);
    c.saturation = std::clamp(c.saturation * saturationScale, 0.0, 1.0);
    c.lightness = std::clamp(c.lightness + lightnessShift, 0.0, 1.0);
    if (c.saturation == 0) {
        e.red = e.green = e.blue = ToByte(c.lightness);
        return;
    }
    const double m2 =
        c.lightness <= 0.5 ? c.lightness * (1 + c.saturation) : c.lightness + c.saturation - c.lightness * c.saturation;
    const double m1 = 2 * c.lightness - m2;
    e.red = ToByte(Hue2Rgb(m1, m2, c.hue + 1.0 / 3));
    e.green = ToByte(Hue2Rgb(m1, m2, c.hue));
    e.blue = ToByte(Hue2Rgb(m1, m2, c.hue - 1.0 / 3));
}

}  // namespace

bool CPicture::Colorize(const CPicture& source, int hue, int saturation, int lightness) {
    if (!source.IsValid()) {
        return false;
    }
    CPicture out(source);
    const double hueTurn = std::clamp(hue, -128, 128) / 256.0;
    const double saturationScale = 1 + std::clamp(saturation, -255, 255) / 255.0;
    const double lightnessShift = std::clamp(lightness, -255, 255) / 255.0;
    if (out.bpp_ == 8) {
        std::vector<PaletteEntry> palette(out.palette_);
        for (PaletteEntry& e : palette) {
            AdjustHsl(e, hueTurn, saturationScale, lightnessShift);
        }
        out.SetPalette(palette);
    } else {
        for (int y = 0; y < out.height_; ++y) {
            std::uint8_t* row = RowTopDown(out, y);
            for (int x = 0; x < out.width_; ++x) {
                PaletteEntry e{row[x * 3], row[x * 3 + 1], row[x * 3 + 2], 0};
                AdjustHsl(e, hueTurn, saturationScale, lightnessShift);
                row[x * 3] = e.blue;
                row[x * 3 + 1] = e.green;
                row[x * 3 + 2] = e.red;
            }
        }
    }
    *this = std::move(out);
    return true;
}

bool CPicture::Crop(int left, int top, int right, int bottom, CPicture& dest) const {
    if (!IsValid()) {
        return false;
    }
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width_);
    bottom = std::min(bottom, height_);
    if (left >= right || top >= bottom) {
        return false;
    }
    CPicture region(right - left, bottom - top, bpp_, type_);
    region.palette_ = palette_;
    region.jpegQuality_ = jpegQuality_;
    const std::size_t bytesPerPixel = static_cast<std::size_t>(bpp_ / 8);
    for (int y = top; y < bottom; ++y) {
        std::memcpy(RowTopDown(region, y - top), RowTopDown(*this, y) + static_cast<std::size_t>(left) * bytesPerPixel,
                    static_cast<std::size_t>(right - left) * bytesPerPixel);
    }
    dest = std::move(region);
    return true;
}

bool CPicture::Filter(std::span<const std::int32_t> kernel, int kernelSize, int divisor, int offset) {
    if (!IsValid() || kernelSize != 3 || kernel.size() < 9) {
        return false;
    }
    PromoteColourPalette(*this);
    if (divisor == 0) {
        divisor = 1;
    }
    const std::vector<std::uint8_t> source = Snapshot(*this);
    const int channels = Channels(*this);
    const auto sourceRow = [&](int y) {
        y = std::clamp(y, 0, height_ - 1);
        return source.data() + static_cast<std::size_t>(height_ - 1 - y) * stride_;
    };
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* rows[3] = {sourceRow(y - 1), sourceRow(y), sourceRow(y + 1)};
        std::uint8_t* dst = RowTopDown(*this, y);
        for (int x = 0; x < width_; ++x) {
            for (int c = 0; c < channels; ++c) {
                std::int64_t sum = 0;
                for (int ky = 0; ky < 3; ++ky) {
                    for (int kx = 0; kx < 3; ++kx) {
                        const int sx = std::clamp(x + kx - 1, 0, width_ - 1);
                        sum +=
                            std::int64_t{kernel[static_cast<std::size_t>(ky * 3 + kx)]} * rows[ky][sx * channels + c];
                    }
                }
                dst[x * channels + c] = Clamp8(sum / divisor + offset);
            }
        }
    }
    return true;
}

bool CPicture::UnsharpMask(float radius, float amount, int threshold) {
    if (!IsValid() || !std::isfinite(radius) || !std::isfinite(amount)) {
        return false;
    }
    if (radius <= 0.0f || amount == 0.0f) {
        return true;
    }
    PromoteColourPalette(*this);
    const int half = std::min(50, static_cast<int>(std::ceil(radius * 2.0f)));
    std::vector<float> weights(static_cast<std::size_t>(2 * half + 1));
    float total = 0;
    for (int i = -half; i <= half; ++i) {
        const float w = std::exp(-(static_cast<float>(i * i)) / (2.0f * radius * radius));
        weights[static_cast<std::size_t>(i + half)] = w;
        total += w;
    }
    for (float& w : weights) {
        w /= total;
    }
    const int channels = Channels(*this);
    const std::size_t rowValues = static_cast<std::size_t>(width_) * static_cast<std::size_t>(channels);
    std::vector<float> horizontal(rowValues * static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* src = RowTopDown(*this, y);
        for (int x = 0; x < width_; ++x) {
            for (int c = 0; c < channels; ++c) {
                float sum = 0;
                for (int i = -half; i <= half; ++i) {
                    const int sx = std::clamp(x + i, 0, width_ - 1);
                    sum += weights[static_cast<std::size_t>(i + half)] * src[sx * channels + c];
                }
                horizontal[static_cast<std::size_t>(y) * rowValues + static_cast<std::size_t>(x * channels + c)] = sum;
            }
        }
    }
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* dst = RowTopDown(*this, y);
        for (std::size_t v = 0; v < rowValues; ++v) {
            float blurred = 0;
            for (int i = -half; i <= half; ++i) {
                const int sy = std::clamp(y + i, 0, height_ - 1);
                blurred += weights[static_cast<std::size_t>(i + half)] *
                           horizontal[static_cast<std::size_t>(sy) * rowValues + v];
            }
            const float original = dst[v];
            const float difference = original - blurred;
            if (std::fabs(difference) >= static_cast<float>(threshold)) {
                dst[v] = Clamp8f(original + amount * difference);
            }
        }
    }
    return true;
}

bool CPicture::Light(int brightness, int contrast) {
    if (!IsValid()) {
        return false;
    }
    brightness = std::clamp(brightness, -255, 255);
    contrast = std::clamp(contrast, -100, 100);
    ApplyPointOp(*this, true, [&](std::uint8_t v, int) {
        return Clamp8((std::int64_t{v} - 128) * (100 + contrast) / 100 + 128 + brightness);
    });
    return true;
}

bool CPicture::Colorize(std::uint8_t hue, std::uint8_t saturation, float blend) {
    if (!IsValid() || !std::isfinite(blend)) {
        return false;
    }
    blend = std::clamp(blend, 0.0f, 1.0f);
    const float h = hue / 255.0f;
    const float s = saturation / 255.0f;
    const auto recolour = [&](PaletteEntry& e) {
        const float r = e.red / 255.0f;
        const float g = e.green / 255.0f;
        const float b = e.blue / 255.0f;
        const float l = (std::max({r, g, b}) + std::min({r, g, b})) / 2;
        const float m2 = l <= 0.5f ? l * (1 + s) : l + s - l * s;
        const float m1 = 2 * l - m2;
        const float nr = s == 0 ? l : Hue2Rgb(m1, m2, h + 1.0f / 3);
        const float ng = s == 0 ? l : Hue2Rgb(m1, m2, h);
        const float nb = s == 0 ? l : Hue2Rgb(m1, m2, h - 1.0f / 3);
        e.red = Clamp8f((nr * blend + r * (1 - blend)) * 255);
        e.green = Clamp8f((ng * blend + g * (1 - blend)) * 255);
        e.blue = Clamp8f((nb * blend + b * (1 - blend)) * 255);
    };
    if (bpp_ == 8) {
        // An 8-bit picture, grey or not, takes its new colours in its palette.
        std::vector<PaletteEntry> palette(palette_);
        for (PaletteEntry& e : palette) {
            recolour(e);
        }
        SetPalette(palette);
        return true;
    }
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = RowTopDown(*this, y);
        for (int x = 0; x < width_; ++x) {
            PaletteEntry e{row[x * 3], row[x * 3 + 1], row[x * 3 + 2], 0};
            recolour(e);
            row[x * 3] = e.blue;
            row[x * 3 + 1] = e.green;
            row[x * 3 + 2] = e.red;
        }
    }
    return true;
}

bool CPicture::ShiftRGB(int red, int green, int blue) {
    if (!IsValid()) {
        return false;
    }
    const int shifts[3] = {std::clamp(blue, -255, 255), std::clamp(green, -255, 255), std::clamp(red, -255, 255)};
    const bool uniform = shifts[0] == shifts[1] && shifts[1] == shifts[2];
    ApplyPointOp(*this, uniform, [&](std::uint8_t v, int c) { return Clamp8(std::int64_t{v} + shifts[c]); });
    return true;
}

bool CPicture::Mirror() {
    if (!IsValid()) {
        return false;
    }
    const int channels = Channels(*this);
    for (int y = 0; y < height_; ++y) {
        std::uint8_t* row = RowTopDown(*this, y);
        for (int l = 0, r = width_ - 1; l < r; ++l, --r) {
            for (int c = 0; c < channels; ++c) {
                std::swap(row[l * channels + c], row[r * channels + c]);
            }
        }
    }
    return true;
}

bool CPicture::Flip() {
    if (!IsValid()) {
        return false;
    }
    for (int top = 0, bottom = height_ - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(RowTopDown(*this, top), RowTopDown(*this, top) + stride_, RowTopDown(*this, bottom));
    }
    return true;
}

bool CPicture::Negative() {
    if (!IsValid()) {
        return false;
    }
    ApplyPointOp(*this, true, [](std::uint8_t v, int) { return static_cast<std::uint8_t>(255 - v); });
    return true;
}

bool CPicture::fudiao() {
    static constexpr std::int32_t kEmboss[9] = {-1, 0, 0, 0, 0, 0, 0, 0, 1};
    return Filter(kEmboss, 3, 1, 128);
}

namespace {

// Copies every pixel of `src` to `dest` (already sized) at the position
// `place` gives for its top-down coordinates.
template <typename Place>
void Remap(const CPicture& src, CPicture& dest, Place&& place) {
    const int channels = src.GetBpp() / 8;
    for (int y = 0; y < src.GetHeight(); ++y) {
        const std::uint8_t* row = RowTopDown(src, y);
        for (int x = 0; x < src.GetWidth(); ++x) {
            const auto [dx, dy] = place(x, y);
            std::memcpy(RowTopDown(dest, dy) + dx * channels, row + x * channels, static_cast<std::size_t>(channels));
        }
    }
}

}  // namespace

bool CPicture::RotateLeft(CPicture& dest) const {
    if (!IsValid()) {
        return false;
    }
    CPicture out(height_, width_, bpp_, type_);
    out.palette_ = palette_;
    out.jpegQuality_ = jpegQuality_;
    Remap(*this, out, [&](int x, int y) { return std::pair{y, width_ - 1 - x}; });
    dest = std::move(out);
    return true;
}

bool CPicture::RotateRight(CPicture& dest) const {
    if (!IsValid()) {
        return false;
    }
    CPicture out(height_, width_, bpp_, type_);
    out.palette_ = palette_;
    out.jpegQuality_ = jpegQuality_;
    Remap(*this, out, [&](int x, int y) { return std::pair{height_ - 1 - y, x}; });
    dest = std::move(out);
    return true;
}

bool CPicture::Rotate180(CPicture& dest) const {
    if (!IsValid()) {
        return false;
    }
    CPicture out(width_, height_, bpp_, type_);
    out.palette_ = palette_;
    out.jpegQuality_ = jpegQuality_;
    Remap(*this, out, [&](int x, int y) { return std::pair{width_ - 1 - x, height_ - 1 - y}; });
    dest = std::move(out);
    return true;
}
