// The model cameras' fast kernels against their references, byte for byte,
// on every instruction-set path, at odd sizes with exactly sized buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "bayer_kernels.h"
#include "contrast_kernels.h"
#include "corrected_demosaic.h"
#include "gain_tables.h"
#include "simd_level.h"
#include "test_frames.h"
#include "yuv_frame.h"
#include "yuv_reference.h"

namespace kqcmos {
namespace {

using test::Bytes;

class ModelKernelPath : public testing::TestWithParam<SimdLevel> {
protected:
    void SetUp() override {
        if (!CpuSupports(GetParam())) {
            GTEST_SKIP() << "this CPU lacks the instruction set of this path; running it would fault";
        }
    }
};

INSTANTIATE_TEST_SUITE_P(AllPaths, ModelKernelPath, testing::Values(SimdLevel::sse2, SimdLevel::avx2),
                         [](const testing::TestParamInfo<SimdLevel>& info) {
                             return info.param == SimdLevel::avx2 ? std::string("Avx2") : std::string("Sse2");
                         });

TEST(ModelKernels, TheBestPathIsOneThisCpuRuns) { EXPECT_TRUE(CpuSupports(BestSimdLevel())); }

TEST_P(ModelKernelPath, ContrastKernelMatchesItsReferenceForEveryPhaseAtOddSizes) {
    std::vector<FrameSize> sizes;
    for (int w : {2, 3, 7, 8, 9, 16, 17, 31, 530, 1601}) {
        for (int h : {2, 3, 4, 5, 9}) sizes.push_back({w, h});
    }
    // The camera's contrast settings span -31..32; 29 is taken as 30, and
    // beyond the 16-bit lanes the reference runs.
    for (const FrameSize size : sizes) {
        for (int contrast : {-31, -8, 0, 1, 16, 29, 32, 40, 41}) {
            for (ContrastPhase phase : {ContrastPhase::flip0, ContrastPhase::flip1, ContrastPhase::flip2}) {
                const Bytes source = test::RandomBytes(FrameBytes(size), size.width * 7 + size.height + contrast);
                Bytes wantRaw = source;
                Bytes gotRaw = source;
                Bytes want(FrameBytes(size, 3), 0);
                Bytes got(FrameBytes(size, 3), 1);
                ASSERT_TRUE(BayerToRgbContrastReference(size, want, wantRaw, contrast, phase));
                ASSERT_TRUE(BayerToRgbContrast(size, got, gotRaw, contrast, phase, GetParam()));
                ASSERT_EQ(got, want) << size.width << "x" << size.height << " contrast " << contrast << " phase "
                                     << static_cast<int>(phase);
                ASSERT_EQ(gotRaw, wantRaw) << "the in-place stage, " << size.width << "x" << size.height;
            }
        }
    }
}

TEST_P(ModelKernelPath, ContrastKernelRefusesWhatTheReferenceRefuses) {
    Bytes raw(6, 100);
    Bytes out(18);
    EXPECT_FALSE(BayerToRgbContrast({6, 1}, out, raw, 16, ContrastPhase::flip0, GetParam()));
    EXPECT_FALSE(BayerToRgbContrast({3, 2}, std::span<std::uint8_t>(out).first(17), raw, 16, ContrastPhase::flip0, GetParam()));
}

TEST_P(ModelKernelPath, YuvConversionMatchesTheFormulasForEveryFlipAtOddSizes) {
    for (int w : {4, 6, 10, 18, 64, 514, 1280}) {
        for (int h : {3, 4, 7}) {
            for (int flip = 0; flip < 6; ++flip) {
                const Bytes source = test::RandomBytes(FrameBytes({w, h}, 2), w + 3 * h + flip);
                int width = w, height = h;
                const Bytes want = test::ReferenceYuvToBgr(source, width, height, flip);
                Bytes yuv = source;
                Bytes got(FrameBytes({w, h}, 3), 7);
                FrameSize size{w, h};
                ASSERT_TRUE(ConvertYuvFrame(size, flip, got, yuv, GetParam()));
                EXPECT_EQ(size, (FrameSize{width, height}));
                ASSERT_EQ(got, want) << w << "x" << h << " flip " << flip;
            }
        }
    }
}

ByteTable TableFrom(std::uint32_t seed) {
    const Bytes bytes = test::RandomBytes(256, seed);
    ByteTable table{};
    std::copy(bytes.begin(), bytes.end(), table.begin());
    return table;
}

TEST_P(ModelKernelPath, CorrectionsAndDemosaicFollowTheSensorsBayerCell) {
    // The FPGA sensors' cell (red right of the top-left sample) and the
    // other two, each through every colour kernel, against the steps in
    // sequence.
    using Member = bool (*)(FrameSize, std::span<std::uint8_t>, std::span<const std::uint8_t>);
    const Member members[] = {&BayerToRgbA0, &BayerToRgbA1, &BayerToRgbA2, &BayerToRgbA3};
    std::uint32_t seed = 90;
    for (const FrameSize size : {FrameSize{6, 4}, FrameSize{9, 6}, FrameSize{37, 11}, FrameSize{530, 5}}) {
        const Bytes raw = test::RandomBytes(FrameBytes(size), seed++);
        const SensorWindow window{1, 1, size};
        FlatFieldTable flat({size.width + 1, size.height + 1});
        Bytes gains = test::RandomBytes(flat.StoredBytes(), seed++);
        for (std::size_t i = 1; i < gains.size(); i += 2) gains[i] = 0;  // gains 0..255
        flat.FromBytes(gains);
        DemosaicWork work(size);
        for (const BayerCell cell : {BayerCell{1, 0}, BayerCell{0, 1}, BayerCell{1, 1}}) {
            const RawCorrection correction{{TableFrom(seed), TableFrom(seed + 1), TableFrom(seed + 2)},
                                           &flat,
                                           window,
                                           TableFrom(seed + 3),
                                           cell};
            seed += 4;
            for (int kernel = 0; kernel < 4; ++kernel) {
                SCOPED_TRACE(testing::Message() << size.width << " x " << size.height << ", cell " << cell.redColumn
                                                << cell.redRow << ", kernel " << kernel);
                Bytes steps = raw;
                ApplyGainLut(size, steps, correction.gains, cell);
                ASSERT_TRUE(flat.Apply(window, steps));
                ApplyTable(steps, *correction.after);
                Bytes corrected(FrameBytes(size), 3);
                ASSERT_TRUE(CorrectRawFrame(correction, size, corrected, raw, GetParam()));
                ASSERT_EQ(corrected, steps) << "the corrections alone";
                // Through the work's fits: lines in vector lanes, other tables looked up.
                for (const GainTables& gains :
                     {correction.gains, GainTables{GainTable(600), GainTable(512), GainTable(430)}}) {
                    RawCorrection viaLines = correction;
                    viaLines.gains = gains;
                    Bytes lineSteps = raw;
                    ApplyGainLut(size, lineSteps, gains, cell);
                    ASSERT_TRUE(flat.Apply(window, lineSteps));
                    ApplyTable(lineSteps, *correction.after);
                    Bytes viaWork(FrameBytes(size), 3);
                    ASSERT_TRUE(CorrectRawFrame(viaLines, size, viaWork, raw, work, GetParam()));
                    ASSERT_EQ(viaWork, lineSteps) << "the corrections through the fits";
                }
                Bytes expected(FrameBytes(size, 3), 0);
                ASSERT_TRUE(members[kernel](size, expected, steps));
                Bytes actual(FrameBytes(size, 3), 1);
                ASSERT_TRUE(CorrectAndDemosaic({0, kernel, 0, false}, correction, size, actual, raw, work, GetParam()));
                ASSERT_EQ(actual, expected);
            }
        }
    }
}

}  // namespace
}  // namespace kqcmos
