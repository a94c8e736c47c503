#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "arrow_pictures.h"
#include "cl_arrow.h"
#include "cl_text.h"
#include "text_object.h"

namespace {

TEST(Arrow, StyleSetsScaleFromWidth) {
    CCLArrow arrow;
    EXPECT_EQ(arrow.type, 19);
    EXPECT_EQ(arrow.GetArrowSize(), (ArrowSize{30, 30}));
    EXPECT_EQ(arrow.GetArrowColor(), 255u);
    arrow.SetArrowStyle(5, 50, 40);
    EXPECT_EQ(arrow.GetDirection(), 5);
    EXPECT_EQ(arrow.GetArrowSize(), (ArrowSize{50, 40}));
    EXPECT_FLOAT_EQ(arrow.arrowScale, 50 * 0.008333334f);
}

TEST(Arrow, PictureTablePutsTipsInsideThePicture) {
    for (std::int32_t d = 0; d < 8; ++d) {
        const auto picture = ArrowPictureFor(d);
        ASSERT_TRUE(picture) << d;
        const std::array<int, 8> bitmaps = {231, 234, 232, 233, 235, 236, 237, 238};
        EXPECT_EQ(picture->bitmapId, bitmaps[static_cast<std::size_t>(d)]);
        EXPECT_GE(picture->tip.x, 0);
        EXPECT_LT(picture->tip.x, kArrowPictureSize);
    }
    EXPECT_FALSE(ArrowPictureFor(8));
    EXPECT_FALSE(ArrowPictureFor(-1));
}

// The tip stays on the clicked point: top-left = tip - offset x scale, in
// device pixels, taken back to image pixels.
TEST(Arrow, ClickPlacesTopLeftFromTip) {
    struct Case {
        std::int32_t direction, width;
        int clickX, clickY;
        float zoom;
        PointF topLeft;
    };
    const Case cases[] = {
        {0, 30, 100, 100, 1.0f, {85.0f, 97.5f}}, {0, 30, 200, 200, 2.0f, {92.5f, 98.75f}},
        {1, 30, 100, 100, 1.0f, {85.0f, 72.5f}}, {7, 60, 50, 50, 1.0f, {2.5f, 2.5f}},
        {4, 120, 40, 40, 1.0f, {19.0f, 17.0f}},  {8, 30, 100, 100, 1.0f, {100.0f, 100.0f}},  // no picture: no offset
    };
    for (const Case& c : cases) {
        CCLArrow arrow;
        arrow.SetArrowStyle(c.direction, c.width, c.width);
        int step = 3;
        EXPECT_TRUE(arrow.Track(nullptr, c.clickX, c.clickY, step, false, c.zoom, 0, 0));
        EXPECT_EQ(step, 3);  // one click, the step is the controller's
        EXPECT_FLOAT_EQ(arrow.topLeft.x, c.topLeft.x) << c.direction;
        EXPECT_FLOAT_EQ(arrow.topLeft.y, c.topLeft.y) << c.direction;
    }
}

TEST(Arrow, KeepsDeviceSizeAndTipAtAnyZoom) {
    CCLArrow arrow;
    int step = 0;
    ASSERT_TRUE(arrow.Track(nullptr, 100, 100, step, false, 1.0f, 0, 0));
    arrow.PlaceForZoom(2.0f);
    const PixelRect r = arrow.PictureRect(2.0f);
    EXPECT_EQ(r.right - r.left, 30);
    EXPECT_EQ(r.bottom - r.top, 30);
    // The tip of the up picture lies 60 x 0.25 right of and 10 x 0.25 below
    // the corner: device (200, 200), the corner's y truncated from 197.5.
    EXPECT_EQ(r.left, 185);
    EXPECT_EQ(r.top, 197);
}

TEST(Arrow, MovesAndDragsDoNothing) {
    CCLArrow arrow;
    int step = 0;
    EXPECT_FALSE(arrow.Track(nullptr, 100, 100, step, true, 1.0f, 0, 0));
    EXPECT_EQ(arrow.tip, PointF{});
    ASSERT_TRUE(arrow.Track(nullptr, 100, 100, step, false, 1.0f, 0, 0));
    arrow.state = CCLObject::kSelectedWhole;
    arrow.Move(0, 0, 40, 40, 1.0f);
    arrow.CycleHandle(true);
    EXPECT_EQ(arrow.tip, (PointF{100, 100}));
    EXPECT_EQ(arrow.topLeft, (PointF{85, 97.5f}));
    EXPECT_EQ(arrow.state, CCLObject::kSelectedWhole);
    EXPECT_EQ(arrow.dragging, 0);
    EXPECT_FALSE(arrow.Track(nullptr, 100, 100, step, false, 0.0f, 0, 0));  // no zoom, no arrow
}

class PlacedArrow : public ::testing::Test {
protected:
    void SetUp() override {
        int step = 0;
        ASSERT_TRUE(arrow.Track(nullptr, 100, 100, step, false, 1.0f, 0, 0));  // picture (85, 97)-(115, 127)
    }
    CCLArrow arrow;
};

TEST_F(PlacedArrow, HitTestCoversThePicture) {
    struct Case {
        int x, y;
        bool hit;
    };
    for (const Case c : {Case{85, 97, true}, Case{114, 126, true}, Case{115, 100, false}, Case{100, 127, false},
                         Case{84, 100, false}, Case{100, 96, false}}) {
        arrow.state = 0;
        EXPECT_EQ(arrow.HitTest(c.x, c.y, 1.0f), c.hit) << c.x << "," << c.y;
        EXPECT_EQ(arrow.state, c.hit ? CCLObject::kBodyActive : 0);
    }
    arrow.visible = 0;
    EXPECT_FALSE(arrow.HitTest(100, 100, 1.0f));
}

TEST_F(PlacedArrow, RubberBandTakesEitherCorner) {
    EXPECT_TRUE(arrow.HitRect({80, 90, 90, 100}, 1.0f));  // top-left (85, 97)
    EXPECT_EQ(arrow.state, CCLObject::kSelectedWhole);
    arrow.state = 0;
    EXPECT_TRUE(arrow.HitRect({110, 120, 120, 130}, 1.0f));  // bottom-right (115, 127)
    arrow.state = 0;
    EXPECT_FALSE(arrow.HitRect({90, 100, 110, 120}, 1.0f));  // inside, no corner
    EXPECT_EQ(arrow.state, 0);
}

TEST(ArrowRecolour, DarkPixelsTakeTheColourLightOnesStay) {
    // Blue, green, red per pixel; rows padded to 8 bytes.
    struct Case {
        std::array<std::uint8_t, 3> pixel;
        bool recoloured;
    };
    const Case cases[] = {
        {{0, 0, 0}, true},       {{255, 255, 255}, false}, {{200, 200, 200}, false},
        {{199, 255, 255}, true}, {{200, 200, 199}, true},  {{201, 0, 0}, false},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bits = {c.pixel[0], c.pixel[1], c.pixel[2], c.pixel[0],
                                          c.pixel[1], c.pixel[2], 0xAA,       0xAA};
        RecolourArrowPixels(bits, 2, 1, 8, 3, MakeColourRef(10, 20, 30));
        const std::array<std::uint8_t, 3> expected = c.recoloured ? std::array<std::uint8_t, 3>{30, 20, 10} : c.pixel;
        EXPECT_EQ((std::array{bits[3], bits[4], bits[5]}), expected) << int{c.pixel[0]} << "," << int{c.pixel[2]};
        EXPECT_EQ(bits[6], 0xAA);  // padding untouched
    }
}

TEST(ArrowRecolour, FourBytePixelsAndShortBuffers) {
    std::vector<std::uint8_t> bits = {0, 0, 0, 0x77, 255, 255, 255, 0x77};
    RecolourArrowPixels(bits, 2, 1, 8, 4, MakeColourRef(255, 0, 0));
    EXPECT_EQ(bits, (std::vector<std::uint8_t>{0, 0, 255, 0x77, 255, 255, 255, 0x77}));
    // A buffer shorter than the rows it claims: the missing row is skipped.
    std::vector<std::uint8_t> shortBits(6, 0);
    RecolourArrowPixels(shortBits, 2, 2, 6, 3, MakeColourRef(1, 2, 3));
    EXPECT_EQ(shortBits, (std::vector<std::uint8_t>{3, 2, 1, 3, 2, 1}));
}

TEST(Text, LabelShowsTheTextWhateverTheMode) {
    CCLText note;
    EXPECT_EQ(note.type, 13);
    note.text = u"细胞 A";
    note.labelMode = CCLObject::kLabelNothing;
    note.label.ComposeText(note);
    EXPECT_EQ(note.label.text, u"细胞 A");
}

class PlacedText : public ::testing::Test {
protected:
    void SetUp() override {
        note.position = {40, 30};
        note.label.x = 40;
        note.label.y = 30;
        note.label.width = 20;
        note.label.height = 10;
    }
    CCLText note;
};

TEST_F(PlacedText, MoveTakesLabelAndPositionInEveryState) {
    for (std::int32_t state : {0, 2, 3, 4}) {
        note.state = state;
        note.dragging = 0;
        const PointF before = note.position;
        note.Move(10, 10, 16, 4, 2.0f);
        EXPECT_EQ(note.position, (PointF{before.x + 3, before.y - 3})) << state;
        EXPECT_EQ(note.label.x, note.position.x);
        EXPECT_EQ(note.label.y, note.position.y);
        EXPECT_EQ(note.dragging, 1);
    }
}

TEST_F(PlacedText, OnlyTheLabelIsHit) {
    EXPECT_TRUE(note.HitTest(80, 60, 2.0f));
    EXPECT_EQ(note.state, CCLObject::kLabelActive);
    EXPECT_EQ(note.activeHandle, 0);
    note.state = 0;
    EXPECT_FALSE(note.HitTest(150, 60, 2.0f));
    note.visible = 0;
    EXPECT_FALSE(note.HitTest(80, 60, 2.0f));
    EXPECT_EQ(note.state, 0);
}

TEST_F(PlacedText, RubberBandTakesThePositionAndCyclingTheLabel) {
    EXPECT_FALSE(note.HitRect({0, 0, 80, 60}, 2.0f));  // device point (80, 60) is outside
    EXPECT_TRUE(note.HitRect({0, 0, 81, 61}, 2.0f));
    EXPECT_EQ(note.state, CCLObject::kSelectedWhole);
    note.CycleHandle(true);
    EXPECT_EQ(note.state, CCLObject::kLabelActive);
}

TEST(Copies, AssignmentCarriesTheOwnFields) {
    CCLText text;
    text.text = u"abc";
    text.position = {1, 2};
    CCLText textCopy;
    textCopy = text;
    EXPECT_EQ(textCopy.text, u"abc");
    EXPECT_EQ(textCopy.position, (PointF{1, 2}));
    EXPECT_EQ(textCopy.id, text.id);

    CCLArrow arrow;
    arrow.SetArrowStyle(3, 75, 75);
    arrow.SetArrowColor(0x123456);
    arrow.tip = {5, 6};
    arrow.topLeft = {7, 8};
    CCLArrow arrowCopy;
    arrowCopy.visible = 0;
    arrowCopy = arrow;
    EXPECT_EQ(arrowCopy.GetDirection(), 3);
    EXPECT_EQ(arrowCopy.GetArrowSize(), (ArrowSize{75, 75}));
    EXPECT_EQ(arrowCopy.arrowScale, arrow.arrowScale);
    EXPECT_EQ(arrowCopy.GetArrowColor(), 0x123456u);
    EXPECT_EQ(arrowCopy.tip, arrow.tip);
    EXPECT_EQ(arrowCopy.topLeft, arrow.topLeft);
    EXPECT_EQ(arrowCopy.visible, 0);  // the target's own, as for every object
}

}  // namespace
