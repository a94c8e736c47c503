// The kernels and raw pre-filters of the green-diagonal cells, against the
// formulas written out per pixel for each of the two cells, at odd sizes with
// buffers of exactly the frame's size.

#include "cell_kernels.h"

#include <gtest/gtest.h>

#include <functional>

#include "demosaic.h"
#include "frame_orientation.h"
#include "test_frames.h"

namespace kqcmos::test {
namespace {

constexpr BayerCell kRedTopRight{1, 0};    // G R / B G
constexpr BayerCell kRedBottomLeft{0, 1};  // G B / R G

struct Bgr {
    int blue, greenSum, red;  // the colour pixel's green is greenSum / 2
};

// Pixel (y, x) of a computed row (y <= 2 (H / 2) - 3), written the way each
// cell's members are described: R0, R1, R2 the raw rows 2k, 2k + 1, 2k + 2.
Bgr CellPixel(BayerCell cell, const Bytes& raw, FrameSize size, int y, int x) {
    const int k = y / 2;
    const int i = x / 2;
    auto row = [&](int r) { return raw.data() + static_cast<std::size_t>(r) * static_cast<std::size_t>(size.width); };
    const std::uint8_t* r1 = row(2 * k + 1);
    const std::uint8_t* rn = row(y % 2 == 0 ? 2 * k : 2 * k + 2);  // R0 for even rows, R2 for odd ones
    const bool odd = x % 2 == 1;
    if (cell == kRedTopRight) {
        // blue R1[2i] or R1[2i+2], green (R1[2i+1] + Rn[2i or 2i+2]) / 2, red Rn[2i+1]
        return {odd ? r1[2 * i + 2] : r1[2 * i], r1[2 * i + 1] + (odd ? rn[2 * i + 2] : rn[2 * i]), rn[2 * i + 1]};
    }
    // blue Rn[2i+1], green as above, red R1[2i] or R1[2i+2]
    return {rn[2 * i + 1], r1[2 * i + 1] + (odd ? rn[2 * i + 2] : rn[2 * i]), odd ? r1[2 * i + 2] : r1[2 * i]};
}

// The whole member output: computed rows and columns, the repeated row
// ends and last rows, then the member's orientation.
Bytes Reference(BayerOutput kind, int member, BayerCell cell, const Bytes& raw, FrameSize size) {
    const int bpp = kind == BayerOutput::gray8 ? 1 : 3;
    const int repeated = kind == BayerOutput::colorRgb ? 4 : 3;
    const int lastRow = 2 * (size.height / 2) - 3;
    Bytes out(FrameBytes(size, bpp));
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            const int sy = std::min(y, lastRow);
            const int sx = std::min(x, size.width - repeated - 1);
            const Bgr p = CellPixel(cell, raw, size, sy, sx);
            const int oy = member < 2 ? size.height - 1 - y : y;
            const int ox = member % 2 == 1 ? size.width - 1 - x : x;
            if (kind == BayerOutput::colorRgb) {
                At(out, size, oy, ox, 3, 0) = static_cast<std::uint8_t>(p.blue);
                At(out, size, oy, ox, 3, 1) = static_cast<std::uint8_t>(p.greenSum / 2);
                At(out, size, oy, ox, 3, 2) = static_cast<std::uint8_t>(p.red);
            } else {
                // Red and the two greens weigh 3, blue 1.
                const auto grey = static_cast<std::uint8_t>((3 * (p.red + p.greenSum) + p.blue) / 10);
                for (int c = 0; c < bpp; ++c) At(out, size, oy, ox, bpp, c) = grey;
            }
        }
    }
    return out;
}

TEST(CellKernels, EveryMemberOfBothCellsMatchesItsFormulasAtOddSizes) {
    std::uint32_t seed = 11;
    for (const BayerCell cell : {kRedTopRight, kRedBottomLeft}) {
        for (const FrameSize size : OddSizes()) {
            // The colour kernels need five columns, the grey ones four.
            for (const BayerOutput kind : {BayerOutput::colorRgb, BayerOutput::grayRgb, BayerOutput::gray8}) {
                const int bpp = kind == BayerOutput::gray8 ? 1 : 3;
                const int minWidth = kind == BayerOutput::colorRgb ? kMinCellColourWidth : kMinCellGreyWidth;
                const Bytes raw = RandomBytes(FrameBytes(size), seed++);
                for (int member = 0; member < 4; ++member) {
                    SCOPED_TRACE(testing::Message()
                                 << "cell " << cell.redColumn << cell.redRow << " " << size.width << "x" << size.height
                                 << " kind " << static_cast<int>(kind) << " member " << member);
                    const bool fits = size.width >= minWidth && size.height >= kMinCellHeight;
                    const Bytes expected = fits ? Reference(kind, member, cell, raw, size) : Bytes{};
                    // The plain kernel and the fast rows of each instruction set.
                    std::vector<std::function<bool(std::span<std::uint8_t>)>> paths{[&](std::span<std::uint8_t> out) {
                        return CellBayerConvertReference(kind, member, cell, size, out, raw);
                    }};
                    for (const SimdLevel level : {SimdLevel::sse2, SimdLevel::avx2}) {
                        if (!CpuSupports(level)) continue;
                        paths.push_back([&, level](std::span<std::uint8_t> out) {
                            return CellBayerConvert(kind, member, cell, size, out, raw, level);
                        });
                    }
                    for (std::size_t p = 0; p < paths.size(); ++p) {
                        SCOPED_TRACE(p);
                        Bytes out(FrameBytes(size, bpp), 0xEE);
                        ASSERT_EQ(paths[p](out), fits);
                        if (fits) {
                            EXPECT_EQ(out, expected);
                        } else {
                            EXPECT_EQ(out, Bytes(out.size(), 0xEE)) << "nothing written";
                        }
                    }
                }
            }
        }
    }
}

TEST(CellKernels, RefuseRedOnTheDiagonalOtherMembersAndShortBuffers) {
    const FrameSize size{9, 6};
    const Bytes raw = RandomBytes(FrameBytes(size), 3);
    Bytes out(FrameBytes(size, 3), 0xEE);
    EXPECT_FALSE(CellBayerConvert(BayerOutput::colorRgb, 0, BayerCell{}, size, out, raw));
    EXPECT_FALSE(CellBayerConvert(BayerOutput::colorRgb, 0, BayerCell{1, 1}, size, out, raw));
    EXPECT_FALSE(CellBayerConvert(BayerOutput::colorRgb, 4, kRedTopRight, size, out, raw));
    EXPECT_FALSE(CellBayerConvert(BayerOutput::colorRgb, -1, kRedTopRight, size, out, raw));
    Bytes shortOut(FrameBytes(size, 3) - 1, 0xEE);
    EXPECT_FALSE(CellBayerConvert(BayerOutput::colorRgb, 0, kRedTopRight, size, shortOut, raw));
    const Bytes shortRaw(FrameBytes(size) - 1, 0);
    EXPECT_FALSE(CellBayerConvert(BayerOutput::colorRgb, 0, kRedTopRight, size, out, shortRaw));
    EXPECT_EQ(out, Bytes(out.size(), 0xEE));
    EXPECT_EQ(shortOut, Bytes(shortOut.size(), 0xEE));
}

// A 6 x 6 frame has one enhanced cell, at rows 2-3 and columns 2-3.
Bytes OneCell(int green, int right, int below, int greenBelow, std::uint8_t around = 77) {
    Bytes raw(36, around);
    const FrameSize size{6, 6};
    At(raw, size, 2, 2) = static_cast<std::uint8_t>(green);
    At(raw, size, 2, 3) = static_cast<std::uint8_t>(right);
    At(raw, size, 3, 2) = static_cast<std::uint8_t>(below);
    At(raw, size, 3, 3) = static_cast<std::uint8_t>(greenBelow);
    return raw;
}

TEST(CellEnhancement, RaisesTheHighestAndTheMiddleInProportion) {
    struct Case {
        const char* name;
        int green, right, below, greenBelow;  // before
        int newGreen, newRight, newBelow;     // after (both greens alike)
    };
    // high' = min(255, high + high (high - middle) 5 / 1024);
    // middle' = middle + (high' - high)(middle - low) / (middle - low + 85).
    const Case cases[] = {
        // 200 + 200 x 100 x 5 / 1024 = 297, limited; 100 + 55 x 50 / 135 = 120.
        {"red 200, greens 100, blue 50", 100, 200, 50, 100, 120, 255, 50},
        // The same values with the colour sites exchanged.
        {"exchanged sites", 100, 50, 200, 100, 120, 50, 255},
        // Green highest: 150 + 150 x 50 x 5 / 1024 = 186; 100 + 36 x 60 / 145 = 114.
        {"green highest", 150, 100, 40, 150, 186, 114, 40},
        // Greens 90 and 91 average 90 (the low one), taken by both;
        // 120 + 120 x 20 x 5 / 1024 = 131; 100 + 11 x 10 / 95 = 101.
        {"green lowest", 90, 120, 100, 91, 90, 131, 101},
        {"grey cell", 80, 80, 80, 80, 80, 80, 80},
        // Ties at the top: nothing rises.
        {"two highest equal", 60, 200, 200, 60, 60, 200, 200},
    };
    const FrameSize size{6, 6};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes raw = OneCell(c.green, c.right, c.below, c.greenBelow);
        EnhanceCellColours(size, raw);
        Bytes expected = OneCell(c.newGreen, c.newRight, c.newBelow, c.newGreen);
        EXPECT_EQ(raw, expected);
    }
}

TEST(CellEnhancement, GreyFramesAndSmallFramesStayAsTheyAre) {
    for (const FrameSize size : OddSizes()) {
        SCOPED_TRACE(testing::Message() << size.width << "x" << size.height);
        Bytes grey(FrameBytes(size), 140);
        EnhanceCellColours(size, grey);
        EXPECT_EQ(grey, Bytes(grey.size(), 140));
    }
    for (const FrameSize size : {FrameSize{9, 4}, FrameSize{4, 9}, FrameSize{20, 3}}) {
        const Bytes before = RandomBytes(FrameBytes(size), 5);
        Bytes raw = before;
        EnhanceCellColours(size, raw);
        EXPECT_EQ(raw, before) << size.width << "x" << size.height;
    }
}

TEST(CellBoost, EachClassRaisesItsPairAgainstTheOtherInWholeCells) {
    std::uint32_t seed = 40;
    for (const BoostedPair pair : {BoostedPair::greens, BoostedPair::colours}) {
        for (const FrameSize size : OddSizes()) {
            SCOPED_TRACE(testing::Message() << static_cast<int>(pair) << " " << size.width << "x" << size.height);
            const Bytes before = RandomBytes(FrameBytes(size), seed++);
            Bytes expected = before;
            auto at = [&](const Bytes& b, int y, int x) {
                return int{b[static_cast<std::size_t>(y * size.width + x)]};
            };
            for (int y = 0; y + 1 < size.height; y += 2) {
                for (int x = 0; x + 1 < size.width; x += 2) {
                    const int d0 = at(before, y, x), d1 = at(before, y + 1, x + 1);
                    const int a0 = at(before, y, x + 1), a1 = at(before, y + 1, x);
                    auto boost = [](int s, int a, int b) { return std::clamp(s + (2 * s - a - b) / 2, 0, 255); };
                    auto& e = expected;
                    auto put = [&](int yy, int xx, int v) {
                        e[static_cast<std::size_t>(yy * size.width + xx)] = static_cast<std::uint8_t>(v);
                    };
                    if (pair == BoostedPair::greens) {
                        put(y, x, boost(d0, a0, a1));
                        put(y + 1, x + 1, boost(d1, a0, a1));
                    } else {
                        put(y, x + 1, boost(a0, d0, d1));
                        put(y + 1, x, boost(a1, d0, d1));
                    }
                }
            }
            Bytes raw = before;
            BoostCells(pair, size, raw);
            EXPECT_EQ(raw, expected);
        }
        for (const FrameSize line : {FrameSize{7, 1}, FrameSize{1, 7}}) {
            const Bytes before = RandomBytes(FrameBytes(line), 9);
            Bytes raw = before;
            BoostCells(pair, line, raw);
            EXPECT_EQ(raw, before) << "one row or one column: no cell";
        }
    }
}

// The demosaic runs the cell's own pre-filter and kernel for the models
// that read their cell, the base's for the others.
TEST(CellKernels, TheDemosaicRunsTheCellsPrefilterAndKernels) {
    const FrameSize size{13, 11};
    const Bytes raw = RandomBytes(FrameBytes(size), 77);
    const CellDemosaic alvino{.colour = true, .grey = false, .boost = BoostedPair::colours};
    const CellDemosaic pelvar{.colour = true, .grey = true, .boost = BoostedPair::greens};
    struct Case {
        int colorMode, member, colorAdjust;
        BayerCell cell;
        CellDemosaic model;
        std::function<bool(Bytes&, std::span<std::uint8_t>)> expected;  // from a copy of the raw frame
    };
    const Case cases[] = {
        {0, 2, 1, kRedBottomLeft, alvino,
         [&](Bytes& r, std::span<std::uint8_t> out) {
             BoostCells(BoostedPair::colours, size, r);
             return CellBayerConvert(BayerOutput::colorRgb, 2, kRedBottomLeft, size, out, r);
         }},
        {5, 1, 2, kRedTopRight, pelvar,
         [&](Bytes& r, std::span<std::uint8_t> out) {
             EnhanceCellColours(size, r);
             return CellBayerConvert(BayerOutput::colorRgb, 1, kRedTopRight, size, out, r);
         }},
        // Grey: the base's kernels on the type 10 colour camera, the cell's on type 6.
        {2, 3, 0, kRedBottomLeft, alvino,
         [&](Bytes& r, std::span<std::uint8_t> out) { return BayerConvert(BayerOutput::grayRgb, 3, size, out, r); }},
        {3, 3, 0, kRedTopRight, pelvar,
         [&](Bytes& r, std::span<std::uint8_t> out) {
             return CellBayerConvert(BayerOutput::gray8, 3, kRedTopRight, size, out, r);
         }},
        // Flip modes 4 and 5 (already turned) take member 0.
        {0, 4, 0, kRedTopRight, pelvar,
         [&](Bytes& r, std::span<std::uint8_t> out) {
             return CellBayerConvert(BayerOutput::colorRgb, 0, kRedTopRight, size, out, r);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.colorMode << " member " << c.member);
        const int bpp = OutputBytesPerPixel(c.colorMode);
        Bytes work = raw;
        Bytes out(FrameBytes(size, bpp));
        DemosaicWork scratch(size);
        ASSERT_TRUE(Demosaic({c.colorMode, c.member, c.colorAdjust, false, c.cell, c.model}, size, out, work, scratch));
        Bytes reference = raw;
        Bytes expected(out.size());
        ASSERT_TRUE(c.expected(reference, expected));
        EXPECT_EQ(out, expected);
    }
}

TEST(CellTurns, FlipFourTurnsClockwiseAndMendsTheLastRow) {
    const FrameSize size{640, 480};
    const Bytes raw = RandomBytes(FrameBytes(size), 21);
    Bytes out(FrameBytes(size));
    FrameSize turned = size;
    ASSERT_TRUE(FlipFrame(4, turned, out, raw, TurnRepair::lastRow));
    EXPECT_EQ(turned, (FrameSize{480, 640}));
    // Row j, column i from raw row H - 1 - i, column j; the last row repeats
    // the row two above it.
    for (int j = 0; j < 640; ++j) {
        const int from = j == 639 ? 637 : j;
        for (int i = 0; i < 480; i += 7) {
            ASSERT_EQ(out[static_cast<std::size_t>(j) * 480 + i], raw[static_cast<std::size_t>(479 - i) * 640 + from])
                << j << "," << i;
        }
    }
}

}  // namespace
}  // namespace kqcmos::test
