#include <gtest/gtest.h>

#include "caption_fit.h"
#include "packed_point.h"

namespace {

// Every code unit is `unit` pixels wide.
auto Monospace(int unit) {
    return [unit](std::u16string_view text) { return static_cast<int>(text.size()) * unit; };
}

bool HasLoneSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) {
                return true;
            }
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return true;
        }
    }
    return false;
}

struct FitCase {
    const char* name;
    std::u16string caption;
    int cellWidth;
    std::u16string expected;
    bool truncated;
};

TEST(CaptionFit, HalvesUntilTwoPixelsRemainEachSide) {
    const FitCase cases[] = {
        {"fits", u"a.jpg", 100, u"a.jpg", false},
        // 16 units of 6 = 96: (100 - 96) / 2 = 2 leaves 2 pixels each side.
        {"exactly two pixels", u"abcdefghijklmnop", 100, u"abcdefghijklmnop", false},
        // 17 units: one pixel a side is too little; 8 + "..." = 11 units fits.
        {"one pixel", u"abcdefghijklmnopq", 100, u"abcdefgh...", true},
        // 36 -> 18+3 = 21 (126 px) -> 10+3 = 13 (78 px).
        {"twice", u"abcdefghijklmnopqrstuvwxyz0123456789", 100, u"abcdefghij...", true},
    };
    for (const FitCase& c : cases) {
        const CaptionFit fit = FitCaption(c.caption, c.cellWidth, Monospace(6));
        EXPECT_EQ(fit.text, c.expected) << c.name;
        EXPECT_EQ(fit.truncated, c.truncated) << c.name;
    }
}

TEST(CaptionFit, StopsWhenHalvingNoLongerShortens) {
    // No text fits 4 pixels: "a r..." halves to "a r..." again, so it ends there.
    const CaptionFit fit = FitCaption(u"a rather long file name.jpg", 4, Monospace(6));
    EXPECT_TRUE(fit.truncated);
    EXPECT_EQ(fit.text, u"a r...");
    const CaptionFit empty = FitCaption(u"", -10, Monospace(6));
    EXPECT_TRUE(empty.truncated);
    EXPECT_EQ(empty.text, u"");
}

TEST(CaptionFit, NeverSplitsASurrogatePair) {
    const std::u16string face = u"\U0001F600";
    const struct {
        std::u16string caption;
        int cellWidth;
    } cases[] = {
        {u"a" + face + face + face, 50},
        {face + face + face + face + face + u".jpg", 60},
        {u"ab" + face + u"cd" + face + face + u"e.bmp", 70},
    };
    for (const auto& c : cases) {
        const CaptionFit fit = FitCaption(c.caption, c.cellWidth, Monospace(10));
        EXPECT_TRUE(fit.truncated);
        EXPECT_FALSE(HasLoneSurrogate(fit.text)) << std::string(fit.text.begin(), fit.text.end()).size();
        EXPECT_EQ(fit.text.substr(fit.text.size() - 3), u"...");
    }
    // Halving counts characters: 4 characters keep 2, the pair whole.
    EXPECT_EQ(FitCaption(u"a" + face + face + face, 60, Monospace(10)).text, u"a" + face + u"...");
}

TEST(PackedPoint, KeepsTheSignOfEachHalf) {
    const struct {
        int x;
        int y;
    } points[] = {{0, 0}, {-1, -1}, {-1920, 300}, {2560, -1080}, {32767, -32768}};
    for (const auto& p : points) {
        EXPECT_EQ(UnpackPoint(PackPoint(p.x, p.y)), (PackedPoint{p.x, p.y}));
    }
    // A mouse message packs x low and y high.
    EXPECT_EQ(UnpackMousePoint(0xFFF6FFECu), (PackedPoint{-20, -10}));
}

}  // namespace
