// Crosshair lines and the single cross drawn into delivered frames of every
// depth, placed and clamped within the frame's own size.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "colour_ref.h"
#include "cross_lines.h"

namespace {

// A frame with its own buffer, filled with a byte no line uses.
struct TestFrame {
    TestFrame(int width, int height, int bits)
        : bytes(std::size_t(width) * std::size_t(height) * std::size_t(bits / 8), kBackground),
          view{bytes, width, height, bits} {}

    std::uint8_t At(int x, int y, int byte = 0) const {
        return bytes[(std::size_t(y) * std::size_t(view.width) + std::size_t(x)) * std::size_t(view.bitsPerPixel / 8) +
                     std::size_t(byte)];
    }
    // The columns, or rows, that are painted completely with `value` in every byte.
    std::vector<int> FullColumns(std::uint8_t value) const {
        std::vector<int> found;
        for (int x = 0; x < view.width; ++x) {
            bool full = true;
            for (int y = 0; y < view.height && full; ++y) {
                for (int b = 0; b < view.bitsPerPixel / 8; ++b) full = full && At(x, y, b) == value;
            }
            if (full) found.push_back(x);
        }
        return found;
    }
    std::vector<int> FullRows(std::uint8_t value) const {
        std::vector<int> found;
        for (int y = 0; y < view.height; ++y) {
            bool full = true;
            for (int x = 0; x < view.width && full; ++x) {
                for (int b = 0; b < view.bitsPerPixel / 8; ++b) full = full && At(x, y, b) == value;
            }
            if (full) found.push_back(y);
        }
        return found;
    }

    static constexpr std::uint8_t kBackground = 0xA5;
    std::vector<std::uint8_t> bytes;
    CameraFrame view;
};

CrossLineEntry Entry(bool centre, int x, int y, ColourRef colour) { return {1, 1, centre ? 1 : 0, x, y, colour}; }

TEST(DrawCrossLines, PlacesAndClampsTheLinesWithinTheFrame) {
    const ColourRef grey = MakeColourRef(200, 200, 200);  // grey 200 at every depth
    struct Case {
        const char* what;
        int width, height;
        CrossLineEntry entry;
        int column, row;
    };
    const Case cases[] = {
        {"centred, odd width", 5, 4, Entry(true, 0, 0, grey), 2, 2},
        {"centred, odd height", 6, 7, Entry(true, 0, 0, grey), 3, 3},
        {"y offset 0 is the last buffer row", 5, 4, Entry(false, 1, 0, grey), 1, 3},
        {"y offset 1", 5, 4, Entry(false, 1, 1, grey), 1, 3},
        {"y offset 3", 5, 4, Entry(false, 1, 3, grey), 1, 1},
        {"y offset beyond the height", 5, 4, Entry(false, 1, 99, grey), 1, 0},
        {"x equal to the width", 5, 4, Entry(false, 5, 2, grey), 4, 2},
        {"x far beyond the width", 5, 4, Entry(false, 1 << 30, 2, grey), 4, 2},
        {"negative x", 5, 4, Entry(false, -3, 2, grey), 0, 2},
        {"extreme y offsets", 5, 4, Entry(false, 0, INT32_MIN, grey), 0, 3},
    };
    for (int bits : {8, 16, 24}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + ", " + std::to_string(bits) + " bits");
            TestFrame frame(c.width, c.height, bits);
            ASSERT_TRUE(DrawCrossLines(frame.view, std::span(&c.entry, 1)));
            EXPECT_EQ(frame.FullColumns(200), std::vector<int>{c.column});
            EXPECT_EQ(frame.FullRows(200), std::vector<int>{c.row});
            // Nothing outside the two lines changes.
            for (int y = 0; y < c.height; ++y) {
                for (int x = 0; x < c.width; ++x) {
                    if (x != c.column && y != c.row) {
                        ASSERT_EQ(frame.At(x, y), TestFrame::kBackground) << x << ", " << y;
                    }
                }
            }
        }
    }
}

TEST(DrawCrossLines, WritesTheColourAtEachDepth) {
    struct Case {
        int bits;
        ColourRef colour;
        std::vector<std::uint8_t> pixel;  // bytes of a line pixel in memory order
    };
    const Case cases[] = {
        {24, MakeColourRef(10, 20, 30), {30, 20, 10}},  // blue, green, red
        {8, MakeColourRef(255, 0, 0), {76}},           {8, MakeColourRef(0, 0, 255), {29}},
        {8, MakeColourRef(0, 255, 0), {150}},          {8, MakeColourRef(255, 255, 255), {255}},
        {16, MakeColourRef(255, 0, 0), {76, 76}},      {16, MakeColourRef(0, 0, 255), {29, 29}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, colour " + std::to_string(c.colour));
        TestFrame frame(4, 3, c.bits);
        const CrossLineEntry entry = Entry(false, 1, 1, c.colour);  // column 1, row 2
        ASSERT_TRUE(DrawCrossLines(frame.view, std::span(&entry, 1)));
        for (int b = 0; b < c.bits / 8; ++b) {
            EXPECT_EQ(frame.At(3, 2, b), c.pixel[std::size_t(b)]);
            EXPECT_EQ(frame.At(1, 0, b), c.pixel[std::size_t(b)]);
        }
    }
}

// A 16-bit frame of 10-bit samples takes each line's grey value g as
// (g >> 6, (g << 2) & 0xFF), high byte first, in every pixel of both lines.
TEST(DrawCrossLines, WritesTenBitSamplesHighByteFirst) {
    struct Case {
        ColourRef colour;
        std::uint8_t high, low;
    };
    const Case cases[] = {
        {MakeColourRef(255, 255, 255), 3, 0xFC},  // grey 255
        {MakeColourRef(200, 200, 200), 3, 0x20},  // grey 200
        {MakeColourRef(255, 0, 0), 1, 0x30},      // grey 76
        {MakeColourRef(0, 0, 0), 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.colour));
        TestFrame frame(4, 3, 16);
        frame.view.sixteenBitGrey = SixteenBitGrey::tenBitHighFirst;
        const CrossLineEntry entry = Entry(false, 1, 1, c.colour);  // column 1, row 2
        ASSERT_TRUE(DrawCrossLines(frame.view, std::span(&entry, 1)));
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(frame.At(x, 2, 0), c.high) << x;
            EXPECT_EQ(frame.At(x, 2, 1), c.low) << x;
        }
        for (int y = 0; y < 3; ++y) {
            EXPECT_EQ(frame.At(1, y, 0), c.high) << y;
            EXPECT_EQ(frame.At(1, y, 1), c.low) << y;
        }
        EXPECT_EQ(frame.At(0, 0, 0), TestFrame::kBackground);
        EXPECT_EQ(frame.At(3, 1, 1), TestFrame::kBackground);
    }
    // 8- and 24-bit frames ignore the 16-bit encoding.
    TestFrame eight(4, 3, 8);
    eight.view.sixteenBitGrey = SixteenBitGrey::tenBitHighFirst;
    const CrossLineEntry white = Entry(false, 1, 1, MakeColourRef(255, 255, 255));
    ASSERT_TRUE(DrawCrossLines(eight.view, std::span(&white, 1)));
    EXPECT_EQ(eight.FullColumns(255), std::vector<int>{1});
}

TEST(DrawCrossLines, DrawsOnlyMarkedEntriesAndLaterOnesWin) {
    TestFrame frame(6, 6, 8);
    const CrossLineEntry entries[] = {
        Entry(false, 2, 4, MakeColourRef(100, 100, 100)),  // column 2, row 2
        {2, 0, 0, 4, 1, MakeColourRef(50, 50, 50)},        // not drawn
        Entry(false, 2, 1, MakeColourRef(200, 200, 200)),  // column 2 again, row 5
    };
    ASSERT_TRUE(DrawCrossLines(frame.view, entries));
    EXPECT_EQ(frame.FullColumns(200), std::vector<int>{2});
    EXPECT_EQ(frame.FullRows(200), std::vector<int>{5});
    EXPECT_EQ(frame.FullRows(100).size(), 0u);  // the column of the later entry crosses it
    EXPECT_EQ(frame.At(0, 2), 100);
    EXPECT_EQ(frame.At(0, 4), TestFrame::kBackground);
    EXPECT_EQ(frame.At(4, 0), TestFrame::kBackground);
}

// The library may deliver a smaller or 8-bit frame than the capture size and
// colour mode the UI chose; drawing goes by what was delivered, and a frame
// that cannot hold its own rows is left alone.
TEST(DrawCrossLines, StaysInsideTheDeliveredFrame) {
    const CrossLineEntry entry = Entry(false, 1000, 0, MakeColourRef(255, 0, 0));
    // 8-bit frame with exactly width x height bytes: ASan reports any byte past it.
    std::vector<std::uint8_t> exact(7 * 5, 0);
    ASSERT_TRUE(DrawCrossLines({exact, 7, 5, 8}, std::span(&entry, 1)));
    EXPECT_EQ(exact[4 * 7 + 6], 76);  // last column, last row
    EXPECT_EQ(exact[4 * 7 + 0], 76);
    EXPECT_EQ(exact[0 * 7 + 6], 76);

    struct Bad {
        const char* what;
        std::size_t bufferBytes;
        int width, height, bits;
    };
    const Bad bad[] = {
        {"buffer shorter than the rows", 7 * 5 * 3 - 1, 7, 5, 24},
        {"depth of 32 bits", 7 * 5 * 4, 7, 5, 32},
        {"depth of 12 bits", 7 * 5 * 2, 7, 5, 12},
        {"zero width", 16, 0, 5, 8},
        {"negative height", 16, 4, -1, 8},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.what);
        std::vector<std::uint8_t> bytes(b.bufferBytes, 9);
        EXPECT_FALSE(DrawCrossLines({bytes, b.width, b.height, b.bits}, std::span(&entry, 1)));
        EXPECT_FALSE(DrawSingleCross({bytes, b.width, b.height, b.bits}, {true, true, 0, 0}));
        EXPECT_EQ(bytes, std::vector<std::uint8_t>(b.bufferBytes, 9));
    }
}

TEST(DrawSingleCross, DrawsPureRedAtItsPlaceAndDepth) {
    struct Case {
        const char* what;
        SingleCross cross;
        int bits;
        int column, row;
        std::vector<std::uint8_t> pixel;
    };
    const Case cases[] = {
        {"centred, 24 bits", {true, true, 0, 0}, 24, 2, 2, {0, 0, 255}},
        {"offsets, 24 bits", {true, false, 3, 1}, 24, 3, 3, {0, 0, 255}},
        {"clamped, 8 bits", {true, false, 99, -99}, 8, 4, 3, {76}},
        {"y offset 0, 16 bits", {true, false, 0, 0}, 16, 0, 3, {76, 76}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestFrame frame(5, 4, c.bits);
        ASSERT_TRUE(DrawSingleCross(frame.view, c.cross));
        for (int b = 0; b < c.bits / 8; ++b) {
            EXPECT_EQ(frame.At(c.column, 0, b), c.pixel[std::size_t(b)]);
            EXPECT_EQ(frame.At(c.column, 3, b), c.pixel[std::size_t(b)]);
            EXPECT_EQ(frame.At(0, c.row, b), c.pixel[std::size_t(b)]);
            EXPECT_EQ(frame.At(4, c.row, b), c.pixel[std::size_t(b)]);
        }
        EXPECT_EQ(frame.At(c.column == 0 ? 1 : 0, c.row == 0 ? 1 : 0), TestFrame::kBackground);
    }
    // A colour given: white fills every byte of a grey pixel.
    TestFrame white(5, 4, 16);
    ASSERT_TRUE(DrawSingleCross(white.view, {true, true, 0, 0}, MakeColourRef(255, 255, 255)));
    EXPECT_EQ(white.FullColumns(255), std::vector<int>{2});
    EXPECT_EQ(white.FullRows(255), std::vector<int>{2});
    TestFrame off(5, 4, 24);
    EXPECT_TRUE(DrawSingleCross(off.view, {false, true, 0, 0}));
    EXPECT_EQ(off.bytes, TestFrame(5, 4, 24).bytes);
}

}  // namespace
