// The simulated cameras' moving scene as the library sees it: the same bytes
// however a frame is cut into transfers, 16-bit pixels whose high bytes are
// the 8-bit frame, real motion from frame to frame, and bars that the
// library's own demosaic shows in their colours when the camera's Bayer
// phase is the one its settings assume, and in wrong ones when it is not.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <array>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "demosaic.h"
#include "frame_orientation.h"
#include "kqff_protocol.h"
#include "scene_picture.h"

namespace kqff::sim {
namespace {

std::vector<std::uint8_t> Frame(std::uint32_t frameNumber, const SceneLayout& layout) {
    std::vector<std::uint8_t> frame(static_cast<std::size_t>(layout.rowBytes) * layout.rows);
    FillScenePicture(frameNumber, layout, 0, frame);
    return frame;
}

SceneLayout Layout(std::uint32_t width, std::uint32_t rows, std::uint32_t bytesPerPixel,
                   BayerPhase phase = BayerPhase::Rggb, bool monochrome = false) {
    return {width * bytesPerPixel, rows, bytesPerPixel, monochrome, phase};
}

std::string Describe(const SceneLayout& l) {
    return std::to_string(l.rowBytes / l.bytesPerPixel) + " x " + std::to_string(l.rows) + ", " +
           std::to_string(l.bytesPerPixel) + " byte(s), " +
           (l.monochrome ? std::string("grey") : "phase " + std::to_string(static_cast<int>(l.phase)));
}

TEST(ScenePicture, AnySplitOfAFrameGivesTheSameBytes) {
    const SceneLayout layouts[] = {
        Layout(90, 37, 1, BayerPhase::Gbrg), Layout(90, 37, 2, BayerPhase::Bggr),
        Layout(91, 20, 2, BayerPhase::Rggb, true), Layout(752, 480, 2, BayerPhase::Grbg),  // more than one transfer
    };
    std::minstd_rand random(7);
    for (const SceneLayout& layout : layouts) {
        SCOPED_TRACE(Describe(layout));
        const std::vector<std::uint8_t> whole = Frame(5, layout);
        // The stream's transfers, then pieces of every length from one byte
        // (half a 16-bit pixel) up, at random.
        for (const bool streamChunks : {true, false}) {
            std::vector<std::uint8_t> pieces(whole.size(), 0xA5);
            for (std::size_t at = 0; at < pieces.size();) {
                const std::size_t n =
                    std::min(pieces.size() - at, streamChunks ? std::size_t{kChunkBytes} : 1 + random() % 300);
                FillScenePicture(5, layout, static_cast<std::uint32_t>(at), std::span(pieces).subspan(at, n));
                at += n;
            }
            EXPECT_EQ(pieces, whole) << (streamChunks ? "transfers" : "random pieces");
        }
    }
}

// The stream's scene (rows made once per layout, copied in two pieces each)
// against the pixel-by-pixel definition: one ScenePicture kept across
// layouts as a stream keeps it across formats, odd and even widths (an odd
// width makes odd slides, whose wrap changes a row's column parity), frames
// that slide past the width, and pieces cut anywhere.
TEST(ScenePicture, AStreamsSceneIsTheDefinitionFrameAfterFrame) {
    const SceneLayout layouts[] = {
        Layout(8, 4, 1),
        Layout(7, 5, 1, BayerPhase::Grbg),
        Layout(7, 5, 2, BayerPhase::Bggr),
        Layout(13, 9, 1, BayerPhase::Gbrg),
        Layout(13, 9, 2, BayerPhase::Rggb, true),
        Layout(1, 3, 1),
        Layout(2, 1, 2, BayerPhase::Grbg),
        Layout(90, 37, 1, BayerPhase::Gbrg),
        Layout(752, 480, 2, BayerPhase::Grbg),
        Layout(7, 5, 1, BayerPhase::Grbg),  // back to an earlier layout
    };
    std::minstd_rand random(11);
    ScenePicture scene;
    for (const SceneLayout& layout : layouts) {
        SCOPED_TRACE(Describe(layout));
        const std::uint32_t width = layout.rowBytes / layout.bytesPerPixel;
        for (const std::uint32_t frameNumber : {1u, 2u, 3u, width / 4 + 1, width / 4 + 2, 2 * width + 3, 1000u}) {
            SCOPED_TRACE("frame " + std::to_string(frameNumber));
            const std::vector<std::uint8_t> whole = Frame(frameNumber, layout);
            std::vector<std::uint8_t> pieces(whole.size(), 0xA5);
            for (std::size_t at = 0; at < pieces.size();) {
                const std::size_t n =
                    std::min<std::size_t>(pieces.size() - at, 1 + random() % (3 * layout.rowBytes));
                scene.Fill(frameNumber, layout, static_cast<std::uint32_t>(at), std::span(pieces).subspan(at, n));
                at += n;
            }
            ASSERT_EQ(pieces, whole);
        }
    }
}

TEST(ScenePicture, TwoBytePixelsAreLittleEndianWithTheOneByteFrameInTheirHighBytes) {
    for (const bool monochrome : {false, true}) {
        const auto narrow = Frame(3, Layout(96, 40, 1, BayerPhase::Gbrg, monochrome));
        const auto wide = Frame(3, Layout(96, 40, 2, BayerPhase::Gbrg, monochrome));
        ASSERT_EQ(wide.size(), 2 * narrow.size());
        std::vector<std::uint8_t> high, low;
        for (std::size_t i = 0; i < wide.size(); i += 2) {
            low.push_back(wide[i]);
            high.push_back(wide[i + 1]);
        }
        EXPECT_EQ(high, narrow) << "monochrome " << monochrome;
        // The ramp is finer than 8 bits: its low bytes are not all alike.
        const auto lows = std::vector<std::uint8_t>(low.end() - 96, low.end());
        EXPECT_GT(std::set<std::uint8_t>(lows.begin(), lows.end()).size(), 8u) << "monochrome " << monochrome;
    }
}

TEST(ScenePicture, FrameNPlusKIsFrameNMovedRightByKSteps) {
    constexpr std::uint32_t kWidth = 64, kRows = 16;
    for (const std::uint32_t bpp : {1u, 2u}) {
        const SceneLayout layout = Layout(kWidth, kRows, bpp, BayerPhase::Grbg);
        const auto n = Frame(2, layout);
        EXPECT_NE(Frame(3, layout), n) << "consecutive frames differ";
        for (const std::uint32_t k : {1u, 5u, 17u}) {  // 17 steps wrap past the width
            SCOPED_TRACE(testing::Message() << bpp << " byte(s), k " << k);
            const auto later = Frame(2 + k, layout);
            const std::size_t moveBytes = (kSceneStepPixels * k % kWidth) * bpp;
            for (std::uint32_t y = 0; y < kRows; ++y) {
                const auto row = n.begin() + y * layout.rowBytes;
                std::vector<std::uint8_t> moved(row, row + layout.rowBytes);
                std::rotate(moved.rbegin(), moved.rbegin() + static_cast<std::ptrdiff_t>(moveBytes), moved.rend());
                ASSERT_TRUE(std::equal(moved.begin(), moved.end(), later.begin() + y * layout.rowBytes)) << "row " << y;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Through the library's demosaic. Frame 1 of a 128 x 64 scene: 16-pixel bars
// in rows 0..47, the ramp below.

constexpr int kWidth = 128, kRows = 64, kBarWidth = kWidth / 8, kBarRow = 24, kRampRow = 56;

struct Bgr {
    int blue, green, red;
};

// The output pixel showing raw pixel (x, y) of a window of `size`, in the
// orientation of the flip mode (bayer_kernels.h, frame_orientation.h).
Bgr PixelOf(std::span<const std::uint8_t> out, kqcmos::FrameSize size, int flipMode, int x, int y) {
    int row = 0, column = 0, outWidth = size.width;
    switch (flipMode) {
    case 1: row = size.height - 1 - y, column = size.width - 1 - x; break;
    case 2: row = y, column = x; break;
    case 3: row = y, column = size.width - 1 - x; break;
    case 4: row = size.width - 1 - x, column = size.height - 1 - y, outWidth = size.height; break;
    case 5: row = x, column = y, outWidth = size.height; break;
    default: row = size.height - 1 - y, column = x; break;
    }
    const std::uint8_t* p = out.data() + 3 * (static_cast<std::size_t>(row) * outWidth + column);
    return {p[0], p[1], p[2]};
}

// Each channel clearly on or off.
struct Hue {
    const char* name;
    bool red, green, blue;
};
constexpr Hue kBarHues[8] = {{"white", true, true, true},   {"yellow", true, true, false},  {"cyan", false, true, true},
                             {"green", false, true, false}, {"magenta", true, false, true}, {"red", true, false, false},
                             {"blue", false, false, true},  {"black", false, false, false}};

bool Shows(const Bgr& c, const Hue& hue) {
    auto channel = [](int v, bool on) { return on ? v >= 160 : v <= 96; };
    return channel(c.red, hue.red) && channel(c.green, hue.green) && channel(c.blue, hue.blue);
}

struct DemosaicCase {
    const char* name;
    BayerPhase phase;
    int flipMode;
    int windowColumn, windowRow;  // where the converted window starts in the frame
    bool trueColours;
};

const DemosaicCase kDemosaicCases[] = {
    {"rggb_flip0", BayerPhase::Rggb, 0, 0, 0, true},
    {"rggb_flip1", BayerPhase::Rggb, 1, 0, 0, true},
    {"rggb_flip3", BayerPhase::Rggb, 3, 0, 0, true},
    {"gbrg_flip4", BayerPhase::Gbrg, 4, 0, 0, true},
    {"grbg_flip5", BayerPhase::Grbg, 5, 0, 0, true},
    // A window one column or row in starts on another colour of the cell.
    {"grbg_from_column1", BayerPhase::Grbg, 0, 1, 0, true},
    {"gbrg_from_row1", BayerPhase::Gbrg, 2, 0, 1, true},
    {"bggr_from_1_1", BayerPhase::Bggr, 0, 1, 1, true},
    {"grbg_flip0", BayerPhase::Grbg, 0, 0, 0, false},
    {"gbrg_flip0", BayerPhase::Gbrg, 0, 0, 0, false},
    {"bggr_flip2", BayerPhase::Bggr, 2, 0, 0, false},
    {"rggb_flip4", BayerPhase::Rggb, 4, 0, 0, false},
    {"gbrg_flip5", BayerPhase::Gbrg, 5, 0, 0, false},
    {"rggb_from_column1", BayerPhase::Rggb, 0, 1, 0, false},
};

void PrintTo(const DemosaicCase& c, std::ostream* os) { *os << c.name; }

// Converts a window of frame 1 of the scene as the library's frame path
// does: flip modes 4 and 5 turn the raw frame first (FramePipeline), then
// the demosaic of the colour mode.
class SceneDemosaic {
public:
    // The (kWidth - 2) x (kRows - 2) window starting at (column, row).
    void Convert(const SceneLayout& layout, const kqcmos::DemosaicSettings& settings, int column = 0, int row = 0) {
        settings_ = settings;
        column_ = column;
        row_ = row;
        const auto frame = Frame(1, layout);
        for (int y = 0; y < window_.height; ++y) {
            const auto from = frame.begin() + (y + row) * kWidth + column;
            std::copy_n(from, window_.width, raw_.begin() + y * window_.width);
        }
        kqcmos::FrameSize size = window_;
        std::span<std::uint8_t> source = raw_;
        if (settings.flipMode == 4 || settings.flipMode == 5) {
            ASSERT_TRUE(kqcmos::FlipFrame(settings.flipMode, size, turned_, raw_));
            source = turned_;
        }
        ASSERT_TRUE(kqcmos::Demosaic(settings, size, out_, source, work_));
    }
    // The picture at frame pixel (x, y).
    Bgr At(int x, int y) const { return PixelOf(out_, window_, settings_.flipMode, x - column_, y - row_); }
    static int BarCentre(int bar) { return bar * kBarWidth + kBarWidth / 2; }

private:
    kqcmos::FrameSize window_{kWidth - 2, kRows - 2};
    kqcmos::DemosaicSettings settings_;
    int column_ = 0, row_ = 0;
    std::vector<std::uint8_t> raw_ = std::vector<std::uint8_t>(kqcmos::FrameBytes(window_));
    std::vector<std::uint8_t> turned_ = std::vector<std::uint8_t>(kqcmos::FrameBytes(window_));
    std::vector<std::uint8_t> out_ = std::vector<std::uint8_t>(3 * kqcmos::FrameBytes(window_));
    kqcmos::DemosaicWork work_{window_};
};

class SceneThroughDemosaic : public ::testing::TestWithParam<DemosaicCase> {};

TEST_P(SceneThroughDemosaic, BarsShowTheirColoursOnlyWhenThePhaseMatches) {
    const DemosaicCase& c = GetParam();
    SceneDemosaic picture;
    ASSERT_NO_FATAL_FAILURE(
        picture.Convert(Layout(kWidth, kRows, 1, c.phase), {0, c.flipMode, 0, false}, c.windowColumn, c.windowRow));
    int shown = 0;
    for (int bar = 0; bar < 8; ++bar) {
        const Bgr colour = picture.At(SceneDemosaic::BarCentre(bar), kBarRow);
        const bool ok = Shows(colour, kBarHues[bar]);
        shown += ok ? 1 : 0;
        if (c.trueColours) {
            EXPECT_TRUE(ok) << kBarHues[bar].name << " bar shows red " << colour.red << ", green " << colour.green
                            << ", blue " << colour.blue;
        }
    }
    if (!c.trueColours) {
        EXPECT_FALSE(Shows(picture.At(SceneDemosaic::BarCentre(5), kBarRow), kBarHues[5])) << "the red bar";
        EXPECT_FALSE(Shows(picture.At(SceneDemosaic::BarCentre(6), kBarRow), kBarHues[6])) << "the blue bar";
        EXPECT_LT(shown, 8);
        return;
    }
    // The ramp: grey, rising from left to right.
    int previous = -1;
    for (int x = 8; x < kWidth - 8; x += 16) {
        const Bgr grey = picture.At(x, kRampRow);
        EXPECT_LE(std::abs(grey.red - grey.green) + std::abs(grey.blue - grey.green), 4) << "ramp at " << x;
        EXPECT_GT(grey.green, previous) << "ramp at " << x;
        previous = grey.green;
    }
}

// A monochrome camera: no mosaic whatever the phase, and the library's grey
// mode for such sensors (its default for them), here with the 2 x 2 average
// of the plain-grey type 3 sensor, shows the bars as falling levels of grey.
TEST(SceneMonochrome, GreyBarsOfFallingLuminanceWhateverThePhase) {
    const auto rggb = Frame(1, Layout(kWidth, kRows, 1, BayerPhase::Rggb, true));
    for (const BayerPhase phase : {BayerPhase::Grbg, BayerPhase::Gbrg, BayerPhase::Bggr})
        EXPECT_EQ(Frame(1, Layout(kWidth, kRows, 1, phase, true)), rggb) << static_cast<int>(phase);
    for (const int flipMode : {0, 4}) {
        SCOPED_TRACE(testing::Message() << "flip mode " << flipMode);
        SceneDemosaic picture;
        ASSERT_NO_FATAL_FAILURE(
            picture.Convert(Layout(kWidth, kRows, 1, BayerPhase::Bggr, true), {2, flipMode, 0, true}));
        int previous = 256;
        for (int bar = 0; bar < 8; ++bar) {
            const Bgr grey = picture.At(SceneDemosaic::BarCentre(bar), kBarRow);
            EXPECT_EQ(grey.red, grey.green) << kBarHues[bar].name;
            EXPECT_EQ(grey.blue, grey.green) << kBarHues[bar].name;
            EXPECT_LT(grey.green, previous) << kBarHues[bar].name;
            previous = grey.green;
        }
        EXPECT_GE(picture.At(SceneDemosaic::BarCentre(0), kBarRow).green, 160) << "white";
        EXPECT_LE(picture.At(SceneDemosaic::BarCentre(7), kBarRow).green, 40) << "black";
    }
}

INSTANTIATE_TEST_SUITE_P(Phases, SceneThroughDemosaic, ::testing::ValuesIn(kDemosaicCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kqff::sim
