#include <gtest/gtest.h>

#include "kqff_format.h"
#include "kqff_protocol.h"

namespace kqff {
namespace {

struct TableCase {
    std::uint32_t width;
    std::uint32_t height;
    std::uint8_t currentMode;
    std::uint8_t mode;
    bool sizesFrame;
    std::uint64_t frameBytes;
};

class WidthTable : public ::testing::TestWithParam<TableCase> {};

TEST_P(WidthTable, ChoosesModeAndSize) {
    const TableCase& c = GetParam();
    const FormatDecision d = DecideFormat(c.width, c.height, c.currentMode, 0x1234, 0x0001);
    EXPECT_EQ(d.readoutMode, c.mode);
    EXPECT_EQ(d.sizesFrame, c.sizesFrame);
    if (c.sizesFrame) {
        EXPECT_EQ(d.frameBytes, c.frameBytes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WidthTable,
    ::testing::Values(
        TableCase{576, 216, 9, 4, true, 576u * 216 * 2},
        TableCase{576, 100, 9, 9, true, 576u * 100 * 2},  // other heights keep the mode
        TableCase{640, 480, 9, 1, true, 307200}, TableCase{640, 486, 9, 4, true, 640u * 486},
        TableCase{872, 600, 9, 4, true, 872u * 600}, TableCase{1024, 256, 9, 3, true, 1024u * 256 * 2},
        TableCase{1024, 768, 9, 1, true, 1024u * 768 * 2}, TableCase{1024, 512, 9, 9, true, 1048576},
        TableCase{1280, 972, 9, 2, true, 1280u * 972}, TableCase{1280, 960, 9, 1, true, 1280u * 960},
        TableCase{1360, 1024, 9, 1, true, 2785280}, TableCase{1360, 512, 9, 2, true, 1360u * 512 * 2},
        TableCase{1360, 256, 9, 4, true, 1360u * 256 * 2}, TableCase{1600, 600, 9, 2, true, 1600u * 600 * 2},
        TableCase{1600, 1200, 9, 1, true, 1600u * 1200 * 2}, TableCase{1744, 1308, 9, 2, true, 1744u * 1308},
        TableCase{2304, 1712, 9, 1, true, 2304u * 1712 * 2}, TableCase{2304, 856, 9, 2, true, 2304u * 856 * 2},
        TableCase{2304, 216, 9, 4, true, 2304u * 216 * 2}, TableCase{2560, 1920, 9, 1, true, 2560u * 1920},
        TableCase{3488, 2560, 9, 1, true, 8929280},
        TableCase{700, 500, 9, 1, false, 0}));  // unknown width: mode 1, geometry kept

TEST(FormatDecision, MakerCameraOutsideTheTableUsesOneBytePerPixel) {
    const FormatDecision d = DecideFormat(1360, 1024, 7, kMakerVendorIds[1], 0x0777);
    EXPECT_TRUE(d.sizesFrame);
    EXPECT_EQ(d.readoutMode, 7);
    EXPECT_EQ(d.frameBytes, 1360u * 1024);
}

TEST(FormatDecision, MakerCamerasInTheTableUseTheWidthTable) {
    for (std::uint16_t pid : kTableProductIds) {
        const FormatDecision d = DecideFormat(1360, 1024, 7, kMakerVendorIds[0], pid);
        EXPECT_EQ(d.readoutMode, 1);
        EXPECT_EQ(d.frameBytes, 2785280u);
    }
}

TEST(FormatDecision, HugeRequestsDoNotWrapAround) {
    // 65536 x 65536 is 2^32: a 32-bit product would be 0 and slip past a size check.
    EXPECT_EQ(DecideFormat(65536, 65536, 0, kMakerVendorIds[0], 1).frameBytes, 1ull << 32);
    EXPECT_EQ(DecideFormat(2304, 0x80000000u, 0, 0, 0).frameBytes, 2304ull * 0x80000000u * 2);
}

TEST(FrameGeometry, SplitsFramesIntoChunks) {
    const FrameGeometry big = GeometryForFrameBytes(2785280);
    EXPECT_EQ(big.chunksPerFrame, 6u);
    EXPECT_EQ(big.lastChunkBytes, 163840u);
    const FrameGeometry small = GeometryForFrameBytes(307200);
    EXPECT_EQ(small.chunksPerFrame, 1u);
    EXPECT_EQ(small.lastChunkBytes, 307200u);
    // A whole number of chunks ends with a zero-length transfer.
    const FrameGeometry exact = GeometryForFrameBytes(1048576);
    EXPECT_EQ(exact.chunksPerFrame, 3u);
    EXPECT_EQ(exact.lastChunkBytes, 0u);
}

TEST(TimingValue, ScalesShortTimesAndSaturatesLongOnes) {
    EXPECT_EQ(TimingValueFor(0), 0x7FFF00u);
    EXPECT_EQ(TimingValueFor(2999), 152340352u);
    EXPECT_EQ(TimingValueFor(3000), 8388352u);
    EXPECT_EQ(TimingValueFor(0xFFFFFFFFu), 8388352u);
}

}  // namespace
}  // namespace kqff
