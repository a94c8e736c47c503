#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "bayer_kernels.h"
#include "test_frames.h"

namespace kqcmos {
namespace {

using test::At;
using test::Bytes;

struct Pixel {
    int blue, green, red, grey;
};

// The picture in sensor orientation, built cell by cell around each blue
// sample as the conversion is defined, with border rows and the last column
// repeated.
std::vector<Pixel> ReferencePicture(FrameSize size, const Bytes& raw) {
    const int w = size.width;
    const int h = size.height;
    std::vector<Pixel> p(static_cast<std::size_t>(w * h));
    auto in = [&](int y, int x) { return int{raw[static_cast<std::size_t>(y * w + x)]}; };
    auto set = [&](int y, int x, int red, int g1, int g2, int blue) {
        p[static_cast<std::size_t>(y * w + x)] = {blue, (g1 + g2) / 2, red, (3 * (red + g1 + g2) + blue) / 10};
    };
    for (int k = 0; k <= h / 2 - 2; ++k) {
        const int r0 = 2 * k, r1 = 2 * k + 1, r2 = 2 * k + 2;
        for (int i = 0; i < w / 2; ++i) {
            const int b = in(r1, 2 * i + 1);
            set(r0, 2 * i, in(r0, 2 * i), in(r1, 2 * i), in(r0, 2 * i + 1), b);
            set(r1, 2 * i, in(r2, 2 * i), in(r1, 2 * i), in(r2, 2 * i + 1), b);
            if (2 * i + 2 < w) {
                set(r0, 2 * i + 1, in(r0, 2 * i + 2), in(r1, 2 * i + 2), in(r0, 2 * i + 1), b);
                set(r1, 2 * i + 1, in(r2, 2 * i + 2), in(r2, 2 * i + 1), in(r1, 2 * i + 2), b);
            }
        }
    }
    const int last = 2 * (h / 2) - 3;
    for (int y = 0; y < h; ++y) {
        const int src = std::min(y, last);
        for (int x = 0; x < w; ++x) {
            p[static_cast<std::size_t>(y * w + x)] = p[static_cast<std::size_t>(src * w + std::min(x, w - 2))];
        }
    }
    return p;
}

using Kernel = std::function<bool(FrameSize, std::span<std::uint8_t>, std::span<const std::uint8_t>)>;

struct Member {
    std::string name;
    Kernel kernel;
    int flip;
    BayerOutput kind;
};

const std::vector<Member>& Members() {
    static const std::vector<Member> members = {
        {"Gray0", BayerToGray0, 0, BayerOutput::gray8},    {"Gray1", BayerToGray1, 1, BayerOutput::gray8},
        {"Gray2", BayerToGray2, 2, BayerOutput::gray8},    {"Gray3", BayerToGray3, 3, BayerOutput::gray8},
        {"RgbB0", BayerToRgbB0, 0, BayerOutput::grayRgb},  {"RgbB1", BayerToRgbB1, 1, BayerOutput::grayRgb},
        {"RgbB2", BayerToRgbB2, 2, BayerOutput::grayRgb},  {"RgbB3", BayerToRgbB3, 3, BayerOutput::grayRgb},
        {"RgbA0", BayerToRgbA0, 0, BayerOutput::colorRgb}, {"RgbA1", BayerToRgbA1, 1, BayerOutput::colorRgb},
        {"RgbA2", BayerToRgbA2, 2, BayerOutput::colorRgb}, {"RgbA3", BayerToRgbA3, 3, BayerOutput::colorRgb},
    };
    return members;
}

int Bpp(BayerOutput kind) { return kind == BayerOutput::gray8 ? 1 : 3; }

// Buffer row and column of sensor-picture pixel (y, x) for a flip mode.
std::pair<int, int> Placed(int flip, FrameSize size, int y, int x) {
    const bool bottomUp = flip == 0 || flip == 1;
    const bool mirrored = flip == 1 || flip == 3;
    return {bottomUp ? size.height - 1 - y : y, mirrored ? size.width - 1 - x : x};
}

TEST(BayerKernels, EveryMemberMatchesTheCellDefinitionAtOddSizes) {
    std::uint32_t seed = 1;
    for (const FrameSize size : test::OddSizes()) {
        const Bytes raw = test::RandomBytes(FrameBytes(size), seed++);
        const std::vector<Pixel> ref = ReferencePicture(size, raw);
        for (const Member& m : Members()) {
            const int bpp = Bpp(m.kind);
            // Exactly sized buffers: any read or write past them trips ASan.
            Bytes out(FrameBytes(size, bpp), 0xEE);
            ASSERT_TRUE(m.kernel(size, out, raw)) << m.name;
            for (int y = 0; y < size.height; ++y) {
                for (int x = 0; x < size.width; ++x) {
                    const Pixel& e = ref[static_cast<std::size_t>(y * size.width + x)];
                    const auto [oy, ox] = Placed(m.flip, size, y, x);
                    const std::array<int, 3> want = m.kind == BayerOutput::colorRgb
                                                        ? std::array<int, 3>{e.blue, e.green, e.red}
                                                        : std::array<int, 3>{e.grey, e.grey, e.grey};
                    for (int c = 0; c < bpp; ++c) {
                        ASSERT_EQ(At(out, size, oy, ox, bpp, c), want[static_cast<std::size_t>(c)])
                            << m.name << " " << size.width << "x" << size.height << " at " << y << "," << x;
                    }
                }
            }
        }
    }
}

TEST(BayerKernels, UniformFrameStaysUniformThroughEveryMemberAndFlip) {
    const FrameSize size{12, 8};
    const Bytes raw(FrameBytes(size), 100);
    for (const Member& m : Members()) {
        Bytes out(FrameBytes(size, Bpp(m.kind)), 0);
        ASSERT_TRUE(m.kernel(size, out, raw));
        EXPECT_EQ(std::count(out.begin(), out.end(), 100), static_cast<long>(out.size())) << m.name;
    }
    for (int flip = 4; flip <= 5; ++flip) {
        Bytes out(FrameBytes(size, 3), 0);
        ASSERT_TRUE(BayerConvert(BayerOutput::colorRgb, flip, size, out, raw));
        EXPECT_EQ(std::count(out.begin(), out.end(), 100), static_cast<long>(out.size()));
    }
}

TEST(BayerKernels, GreyWeighsRedAndGreensThreeAndBlueOne) {
    // Red 200, greens 100, blue 0 everywhere: (3 x 400 + 0) / 10 = 120.
    const FrameSize size{8, 6};
    Bytes raw(FrameBytes(size));
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            At(raw, size, y, x) = (y % 2 == 0 && x % 2 == 0) ? 200 : (y % 2 == 1 && x % 2 == 1) ? 0 : 100;
        }
    }
    Bytes out(FrameBytes(size));
    ASSERT_TRUE(BayerToGray2(size, out, raw));
    EXPECT_EQ(std::count(out.begin(), out.end(), 120), static_cast<long>(out.size()));
    Bytes rgb(FrameBytes(size, 3));
    ASSERT_TRUE(BayerToRgbA2(size, rgb, raw));
    EXPECT_EQ(At(rgb, size, 2, 3, 3, 0), 0);
    EXPECT_EQ(At(rgb, size, 2, 3, 3, 1), 100);
    EXPECT_EQ(At(rgb, size, 2, 3, 3, 2), 200);
}

TEST(BayerKernels, FlipOneIsTheMirrorOfFlipZero) {
    const FrameSize size{11, 7};
    const Bytes raw = test::RandomBytes(FrameBytes(size), 42);
    Bytes upright(FrameBytes(size, 3));
    Bytes mirrored(FrameBytes(size, 3));
    ASSERT_TRUE(BayerToRgbA0(size, upright, raw));
    ASSERT_TRUE(BayerToRgbA1(size, mirrored, raw));
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                ASSERT_EQ(At(upright, size, y, x, 3, c), At(mirrored, size, y, size.width - 1 - x, 3, c));
            }
        }
    }
}

TEST(BayerKernels, RefuseFramesTooSmallOrShortBuffersWithoutWriting) {
    const Bytes raw(64, 10);
    Bytes out(64 * 3, 0xAB);
    EXPECT_FALSE(BayerToGray0({1, 8}, out, raw));
    EXPECT_FALSE(BayerToGray0({8, 3}, out, raw));
    EXPECT_FALSE(BayerToRgbA0({8, 8}, std::span(out).first(8 * 8 * 3 - 1), raw));
    EXPECT_FALSE(BayerToRgbA0({8, 9}, out, raw));
    EXPECT_EQ(std::count(out.begin(), out.end(), 0xAB), static_cast<long>(out.size()));
}

}  // namespace
}  // namespace kqcmos
