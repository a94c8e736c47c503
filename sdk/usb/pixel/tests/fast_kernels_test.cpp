// Every fast kernel against its reference, byte for byte, on every
// instruction-set path, at odd sizes with exactly sized buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <vector>

#include "bayer_kernels.h"
#include "cell_kernels.h"
#include "corrected_demosaic.h"
#include "demosaic.h"
#include "fast_kernels.h"
#include "flat_field.h"
#include "gain_tables.h"
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
    // Either side of one and two whole vectors of pixels on each path.
    for (const int w : {32, 33, 34, 49, 66}) {
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

TEST_P(FastKernelPath, SaturationAndSharpnessInOnePassMatchTheReferencesInSequence) {
    std::uint32_t seed = 2300;
    for (const int width : Widths()) {
        for (int height = 1; height <= 9; ++height) {
            const FrameSize size{width, height};
            const Bytes source = MixedFrame(size, 3, seed++);
            for (const int saturation : {-3, 1, 5, 8, 12, 16, 17}) {
                for (const int sharpness : {0, 1, 2, 5, 8, 9}) {
                    SCOPED_TRACE(testing::Message() << width << " x " << height << ", saturation " << saturation
                                                    << ", sharpness " << sharpness);
                    Bytes expected = source;
                    Bytes actual = source;
                    Bytes scratch(2 * FrameBytes({width, 1}, 3));
                    ApplySaturationReference(size, expected, saturation);
                    const bool ran = ApplySharpnessReference(size, 3, expected, sharpness, scratch);
                    ASSERT_EQ(ApplySaturationAndSharpness(size, actual, saturation, sharpness, scratch, GetParam()),
                              ran);
                    ASSERT_EQ(actual, expected);
                }
            }
        }
    }
}

TEST_P(FastKernelPath, SaturationAndSharpnessWithShortScratchSaturateOnly) {
    const FrameSize size{16, 5};
    const Bytes source = MixedFrame(size, 3, 32);
    Bytes expected = source;
    ApplySaturationReference(size, expected, 12);
    Bytes actual = source;
    Bytes scratch(2 * FrameBytes({16, 1}, 3) - 1);
    EXPECT_FALSE(ApplySaturationAndSharpness(size, actual, 12, 4, scratch, GetParam()));
    EXPECT_EQ(actual, expected);
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

// Tables of random bytes, so that almost every entry moves its sample.
ByteTable RandomTable(std::uint32_t seed) {
    const Bytes bytes = test::RandomBytes(256, seed);
    ByteTable table{};
    std::copy(bytes.begin(), bytes.end(), table.begin());
    return table;
}

// Gains from the whole 16-bit range (negative, saturating) and, more often,
// around unity, where the result is neither 0 nor 255.
FlatFieldTable RandomFlatField(FrameSize sensor, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> any(-32768, 32767);
    std::uniform_int_distribution<int> nearUnity(0, 160);
    FlatFieldTable table(sensor);
    Bytes stored(table.StoredBytes());
    for (std::size_t i = 0; i + 1 < stored.size(); i += 2) {
        const auto gain = static_cast<std::uint16_t>(rng() % 4 == 0 ? any(rng) : nearUnity(rng));
        stored[i] = static_cast<std::uint8_t>(gain & 0xFF);
        stored[i + 1] = static_cast<std::uint8_t>(gain >> 8);
    }
    table.FromBytes(stored);
    return table;
}

// The corrections and then the demosaic as separate reference steps.
bool CorrectThenDemosaic(const DemosaicSettings& settings, const RawCorrection& correction, FrameSize size,
                         std::span<std::uint8_t> out, Bytes raw) {
    using Member = bool (*)(FrameSize, std::span<std::uint8_t>, std::span<const std::uint8_t>);
    const Member members[] = {&BayerToRgbA0, &BayerToRgbA1, &BayerToRgbA2, &BayerToRgbA3, &BayerToRgbA0, &BayerToRgbA0};
    ApplyGainLut(size, raw, correction.gains, correction.cell);
    if (correction.flatField != nullptr) {
        (void)correction.flatField->Apply(correction.window, raw);
    }
    if (correction.after) {
        ApplyTable(raw, *correction.after);
    }
    const int member = settings.flipMode < 4 ? settings.flipMode : 0;
    if (settings.cellDemosaic.colour
            ? !CellBayerConvertReference(BayerOutput::colorRgb, member, settings.cell, size, out, raw)
            : !members[settings.flipMode](size, out, raw)) {
        return false;
    }
    if (settings.colorMode == 1) {
        SharpenChainReference chain(size);
        (void)chain.Run(size, out);
    }
    return true;
}

TEST_P(FastKernelPath, CorrectedDemosaicMatchesTheStepsInSequenceForEveryFlipAtOddSizes) {
    enum class Flat { none, fits, off };
    // Colour modes 0 and 5 share one path; mode 1 adds the sharpening
    // chain, whose own paths are checked above, so two flips show it runs.
    const std::vector<int> allFlips = {0, 1, 2, 3, 4, 5};
    // Random tables are looked up; gain curves are computed as lines, one
    // set steep enough that most samples clamp.
    enum class Gains { random, curves, steepCurves };
    struct Case {
        const char* name;
        Gains gains;
        Flat flat;
        bool after;
        int colorMode;
        std::vector<int> flips;
    };
    const Case cases[] = {
        {"gains alone", Gains::random, Flat::none, false, 0, allFlips},
        {"gains and flat field", Gains::random, Flat::fits, false, 0, allFlips},
        {"gains, flat field and a byte table", Gains::random, Flat::fits, true, 5, allFlips},
        {"all three, then the sharpening chain", Gains::random, Flat::fits, true, 1, {1, 2}},
        {"flat field off the sensor", Gains::random, Flat::off, true, 0, allFlips},
        {"gain curves alone", Gains::curves, Flat::none, false, 0, {0, 3}},
        {"gain curves and flat field", Gains::curves, Flat::fits, false, 0, allFlips},
        {"steep gain curves, flat field and a byte table", Gains::steepCurves, Flat::fits, true, 0, {0, 3}},
        {"steep gain curves alone", Gains::steepCurves, Flat::none, false, 0, {0, 3}},
    };
    auto gainTables = [](Gains gains, std::uint32_t seed) {
        switch (gains) {
        case Gains::random: break;
        case Gains::curves: return GainTables{GainTable(520), GainTable(500), GainTable(437)};
        case Gains::steepCurves: return GainTables{GainTable(1733), GainTable(0), GainTable(3001)};
        }
        return GainTables{RandomTable(seed), RandomTable(seed + 1), RandomTable(seed + 2)};
    };
    std::uint32_t seed = 1700;
    for (const int width : Widths()) {
        for (int height = 1; height <= 9; ++height) {
            const FrameSize size{width, height};
            const Bytes raw = MixedFrame(size, 1, seed++);
            const Bytes before = test::RandomBytes(FrameBytes(size, 3), seed++);
            // The window starts on an odd column and row of a larger sensor,
            // so the table is reached through the cell-rounded origin.
            const SensorWindow window{3, 1, size};
            const FlatFieldTable onSensor = RandomFlatField({width + 3, height + 1}, seed++);
            const FlatFieldTable tooNarrow = RandomFlatField({width, height + 1}, seed++);
            DemosaicWork work(size);
            for (const Case& c : cases) {
                RawCorrection correction{
                    gainTables(c.gains, seed),
                    c.flat == Flat::fits ? &onSensor : (c.flat == Flat::off ? &tooNarrow : nullptr), window,
                    c.after ? std::optional<ByteTable>(RandomTable(seed + 3)) : std::nullopt};
                seed += 4;
                // The base cell, the two green-diagonal cells with their own
                // kernels, and one through the base's kernels.
                struct CellCase {
                    BayerCell cell;
                    bool own;
                };
                for (const auto [cell, own] : {CellCase{BayerCell{}, false}, CellCase{BayerCell{1, 0}, true},
                                               CellCase{BayerCell{0, 1}, true}, CellCase{BayerCell{1, 0}, false}}) {
                    correction.cell = cell;
                    for (const int flip : c.flips) {
                        SCOPED_TRACE(testing::Message() << width << " x " << height << ", " << c.name << ", flip "
                                                        << flip << ", cell " << cell.redColumn << cell.redRow
                                                        << (own ? " own kernels" : " base kernels"));
                        const DemosaicSettings settings{c.colorMode, flip, 0, false, cell, CellDemosaic{.colour = own}};
                        Bytes expected = before;
                        Bytes actual = before;
                        Bytes source = raw;
                        const bool ran = CorrectThenDemosaic(settings, correction, size, expected, raw);
                        ASSERT_EQ(CorrectAndDemosaic(settings, correction, size, actual, source, work, GetParam()),
                                  ran);
                        EXPECT_EQ(ran, own ? width >= kMinCellColourWidth && height >= kMinCellHeight
                                           : width >= kMinBayerWidth && height >= kMinBayerHeight);
                        ASSERT_EQ(actual, expected);
                        ASSERT_EQ(source, raw);
                    }
                }
            }
        }
    }
}

TEST_P(FastKernelPath, CorrectedDemosaicRefusesWhatTheColourDemosaicAloneCannotDo) {
    struct Case {
        const char* name;
        DemosaicSettings settings;
        FrameSize workSize;
        bool fuses;
    };
    const FrameSize size{16, 8};
    const Case cases[] = {
        {"colour mode 0", {0, 2, 0, false}, size, true},
        {"grey RGB", {2, 2, 0, false}, size, false},
        {"8-bit grey", {3, 2, 0, false}, size, false},
        {"raw", {4, 2, 0, false}, size, false},
        {"an unknown mode", {6, 2, 0, false}, size, false},
        {"raw sharpening", {0, 2, 1, false}, size, false},
        {"defect filter", {5, 2, 2, false}, size, false},
        {"work rows narrower than the frame", {0, 2, 0, false}, {15, 8}, false},
        {"a green-diagonal cell with its own kernels", {0, 2, 0, false, {1, 0}, {.colour = true}}, size, true},
        {"a green-diagonal cell through the base's kernels", {0, 2, 0, false, {1, 0}, {}}, size, true},
        {"red on the diagonal with the cell kernels", {0, 2, 0, false, {1, 1}, {.colour = true}}, size, false},
    };
    const Bytes raw = MixedFrame(size, 1, 41);
    const Bytes before = test::RandomBytes(FrameBytes(size, 3), 42);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DemosaicWork work(c.workSize);
        Bytes out = before;
        EXPECT_EQ(CorrectsWhileDemosaicing(c.settings, size, work), c.fuses);
        EXPECT_EQ(CorrectAndDemosaic(c.settings, RawCorrection{}, size, out, raw, work, GetParam()), c.fuses);
        EXPECT_EQ(out != before, c.fuses);
    }
}

}  // namespace
}  // namespace kqcmos
