// Every fast kernel against its reference, byte for byte, on every
// instruction-set path, at odd sizes with exactly sized buffers.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "bayer_kernels.h"
#include "fast_kernels.h"
#include "point_filters.h"
#include "sharpen_chain.h"
#include "simd_level.h"
#include "test_frames.h"

namespace kqcmos {
namespace {

using test::Bytes;

std::vector<int> Widths() {
    std::vector<int> widths;
    for (int w = 1; w <= 17; ++w) {
        widths.push_back(w);
    }
    widths.push_back(972);
    widths.push_back(2592);
    return widths;
}

// Busy random patches next to nearly flat ones with a few lone spikes, so that
// gates, thresholds and clamps meet both of their sides in every frame.
Bytes MixedFrame(FrameSize size, int bytesPerPixel, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> any(0, 255);
    std::uniform_int_distribution<int> small(0, 6);
    std::uniform_int_distribution<int> spike(0, 60);
    Bytes frame(FrameBytes(size, bytesPerPixel));
    const auto w = static_cast<std::size_t>(size.width);
    for (std::size_t i = 0; i < frame.size(); ++i) {
        const std::size_t pixel = i / static_cast<std::size_t>(bytesPerPixel);
        const std::size_t x = pixel % w;
        const std::size_t y = pixel / w;
        const bool busy = ((x / 5) + (y / 3)) % 2 == 0;
        frame[i] = static_cast<std::uint8_t>(busy || spike(rng) == 0 ? any(rng) : 100 + small(rng));
    }
    return frame;
}

class FastKernelPath : public testing::TestWithParam<SimdLevel> {
protected:
    void SetUp() override {
        if (!CpuSupports(GetParam())) {
            GTEST_SKIP() << "this CPU lacks the instruction set of this path; running it would fault";
        }
    }
};

INSTANTIATE_TEST_SUITE_P(AllPaths, FastKernelPath, testing::Values(SimdLevel::sse2, SimdLevel::avx2),
                         [](const testing::TestParamInfo<SimdLevel>& info) {
                             return info.param == SimdLevel::avx2 ? std::string("Avx2") : std::string("Sse2");
                         });

TEST_P(FastKernelPath, SharpenChainMatchesTheReferenceAtOddSizes) {
    std::uint32_t seed = 1;
    for (const int width : Widths()) {
        for (int height = 1; height <= 12; ++height) {
            const FrameSize size{width, height};
            SCOPED_TRACE(testing::Message() << width << " x " << height);
            const Bytes source = MixedFrame(size, 3, seed++);
            Bytes expected = source;
            Bytes actual = source;
            SharpenChainReference reference(size);
            SharpenChain fast(size, GetParam());
            const bool ran = reference.Run(size, expected);
            ASSERT_EQ(fast.Run(size, actual), ran);
            EXPECT_EQ(ran, width >= SharpenChain::kMinSize && height >= SharpenChain::kMinSize);
            ASSERT_EQ(actual, expected);
        }
    }
}

TEST_P(FastKernelPath, SharpenChainRunsSmallerFramesThanItsScratchAndRefusesLargerOnes) {
    SharpenChain fast({40, 30}, GetParam());
    SharpenChainReference reference({40, 30});
    for (const FrameSize size : {FrameSize{40, 30}, FrameSize{11, 9}, FrameSize{33, 17}}) {
        const Bytes source = MixedFrame(size, 3, 77);
        Bytes expected = source;
        Bytes actual = source;
        ASSERT_TRUE(reference.Run(size, expected));
        ASSERT_TRUE(fast.Run(size, actual));
        EXPECT_EQ(actual, expected);
    }
    for (const FrameSize size : {FrameSize{41, 9}, FrameSize{40, 31}}) {
        const Bytes source = MixedFrame(size, 3, 78);
        Bytes actual = source;
        EXPECT_FALSE(fast.Run(size, actual));
        EXPECT_EQ(actual, source);
    }
}

// Settings from the whole stored range, and beyond it.
constexpr int kSaturations[] = {-3, 0, 1, 2, 5, 7, 8, 9, 12, 15, 16, 17, 100};
constexpr int kSharpnesses[] = {-1, 0, 1, 2, 3, 5, 8, 9, 40};

TEST_P(FastKernelPath, SaturationMatchesTheReferenceAtOddSizes) {
    std::uint32_t seed = 500;
    for (const int width : Widths()) {
        for (int height = 1; height <= 9; ++height) {
            const FrameSize size{width, height};
            const Bytes source = MixedFrame(size, 3, seed++);
            for (const int s : kSaturations) {
                SCOPED_TRACE(testing::Message() << width << " x " << height << ", saturation " << s);
                Bytes expected = source;
                Bytes actual = source;
                ApplySaturationReference(size, expected, s);
                ApplySaturation(size, actual, s, GetParam());
                ASSERT_EQ(actual, expected);
            }
        }
    }
}

TEST_P(FastKernelPath, SharpnessMatchesTheReferenceAtOddSizes) {
    std::uint32_t seed = 900;
    for (const int bytesPerPixel : {1, 3}) {
        for (const int width : Widths()) {
            for (int height = 1; height <= 9; ++height) {
                const FrameSize size{width, height};
                const Bytes source = MixedFrame(size, bytesPerPixel, seed++);
                for (const int s : kSharpnesses) {
                    SCOPED_TRACE(testing::Message()
                                 << width << " x " << height << " x " << bytesPerPixel << ", sharpness " << s);
                    Bytes expected = source;
                    Bytes actual = source;
                    Bytes scratch(2 * FrameBytes({width, 1}, bytesPerPixel));
                    const bool ran = ApplySharpnessReference(size, bytesPerPixel, expected, s, scratch);
                    ASSERT_EQ(ApplySharpness(size, bytesPerPixel, actual, s, scratch, GetParam()), ran);
                    ASSERT_EQ(actual, expected);
                }
            }
        }
    }
}

TEST_P(FastKernelPath, SharpnessRefusesShortScratchLikeTheReference) {
    const FrameSize size{16, 5};
    const Bytes source = MixedFrame(size, 3, 31);
    Bytes frame = source;
    Bytes scratch(2 * FrameBytes({16, 1}, 3) - 1);
    EXPECT_FALSE(ApplySharpness(size, 3, frame, 4, scratch, GetParam()));
    EXPECT_EQ(frame, source);
}

TEST_P(FastKernelPath, ColourDemosaicMatchesItsMemberForEveryFlipAtOddSizes) {
    using Member = bool (*)(FrameSize, std::span<std::uint8_t>, std::span<const std::uint8_t>);
    // Flip modes 0 to 5 and the family member each one uses.
    const Member members[] = {&BayerToRgbA0, &BayerToRgbA1, &BayerToRgbA2, &BayerToRgbA3, &BayerToRgbA0, &BayerToRgbA0};
    std::uint32_t seed = 1300;
    for (const int width : Widths()) {
        for (int height = 1; height <= 9; ++height) {
            const FrameSize size{width, height};
            const Bytes raw = MixedFrame(size, 1, seed++);
            const Bytes before = test::RandomBytes(FrameBytes(size, 3), seed++);
            for (int flip = 0; flip < 6; ++flip) {
                SCOPED_TRACE(testing::Message() << width << " x " << height << ", flip " << flip);
                Bytes expected = before;
                Bytes actual = before;
                const bool ran = members[flip](size, expected, raw);
                ASSERT_EQ(BayerConvert(BayerOutput::colorRgb, flip, size, actual, raw, GetParam()), ran);
                EXPECT_EQ(ran, width >= kMinBayerWidth && height >= kMinBayerHeight);
                ASSERT_EQ(actual, expected);
            }
        }
    }
}

}  // namespace
}  // namespace kqcmos
