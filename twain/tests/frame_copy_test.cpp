// The top-down packed frame into a bottom-up, word-padded DIB, bounded by
// the record.

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "frame_copy.h"

namespace twain {
namespace {

// A frame whose every byte says its row and position: row r, byte i = r * 16 + i.
std::vector<std::uint8_t> Frame(const FrameShape& s) {
    const std::size_t row = static_cast<std::size_t>(s.width) * (s.bitsPerPixel / 8);
    std::vector<std::uint8_t> f(row * static_cast<std::size_t>(s.height));
    for (std::size_t i = 0; i < f.size(); ++i) f[i] = static_cast<std::uint8_t>((i / row) * 16 + i % row);
    return f;
}

// The straightforward reference: DIB row d holds frame row height - 1 - d,
// then zeros to the padded length.
std::vector<std::uint8_t> Reference(const std::vector<std::uint8_t>& frame, const FrameShape& s) {
    const std::size_t row = static_cast<std::size_t>(s.width) * (s.bitsPerPixel / 8);
    const std::size_t padded = (row + 3) / 4 * 4;
    std::vector<std::uint8_t> out;
    for (int d = 0; d < s.height; ++d) {
        const std::size_t from = static_cast<std::size_t>(s.height - 1 - d) * row;
        out.insert(out.end(), frame.begin() + static_cast<std::ptrdiff_t>(from),
                   frame.begin() + static_cast<std::ptrdiff_t>(from + row));
        out.resize(out.size() + padded - row, 0);
    }
    return out;
}

TEST(FrameCopy, RowsGoBottomUpPaddedToWholeWords) {
    const FrameShape shapes[] = {{4, 3, 8}, {5, 3, 8}, {3, 2, 24}, {2, 4, 24}, {1, 1, 8}};
    for (const FrameShape& s : shapes) {
        SCOPED_TRACE(testing::Message() << s.width << "x" << s.height << "x" << s.bitsPerPixel);
        const auto frame = Frame(s);
        const auto want = Reference(frame, s);
        EXPECT_EQ(DibRowBytes(s.width, s.bitsPerPixel) * static_cast<std::size_t>(s.height), want.size());
        std::vector<std::uint8_t> dib(want.size(), 0xEE);  // padding must be written, not left
        EXPECT_EQ(CopyFrameToDib(frame, s, dib), want.size());
        EXPECT_EQ(dib, want);
    }
}

TEST(FrameCopy, NeverWritesPastTheRecord) {
    const FrameShape s{5, 4, 24};  // rows of 15 bytes padded to 16
    const auto frame = Frame(s);
    const auto full = Reference(frame, s);
    for (const std::size_t room : {std::size_t{0}, std::size_t{7}, std::size_t{16}, std::size_t{33}, full.size()}) {
        SCOPED_TRACE(room);
        std::vector<std::uint8_t> dib(room + 8, 0xEE);
        const std::size_t written = CopyFrameToDib(frame, s, std::span(dib).first(room));
        EXPECT_EQ(written, room);
        EXPECT_TRUE(std::equal(dib.begin(), dib.begin() + static_cast<std::ptrdiff_t>(room), full.begin()));
        for (std::size_t i = room; i < dib.size(); ++i) EXPECT_EQ(dib[i], 0xEE) << i;
    }
    // A bigger record gets the whole picture and nothing more.
    std::vector<std::uint8_t> roomy(full.size() + 20, 0xEE);
    EXPECT_EQ(CopyFrameToDib(frame, s, roomy), full.size());
    EXPECT_EQ(roomy[full.size()], 0xEE);
}

TEST(FrameCopy, AFrameShorterThanItsShapeCopiesNothing) {
    const FrameShape s{4, 4, 8};
    std::vector<std::uint8_t> shortFrame(15);
    std::vector<std::uint8_t> dib(16, 0xEE);
    EXPECT_EQ(CopyFrameToDib(shortFrame, s, dib), 0u);
    EXPECT_EQ(dib, std::vector<std::uint8_t>(16, 0xEE));
    EXPECT_EQ(CopyFrameToDib(shortFrame, FrameShape{0, 4, 8}, dib), 0u);
}

}  // namespace
}  // namespace twain
