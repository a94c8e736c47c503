#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "cl_scale_bar.h"
#include "text_object.h"

namespace {

CCL_BiaoChi Bar(float value, std::u16string barUnit, std::u16string unitText, float scale) {
    CCL_BiaoChi bar;
    bar.value = value;
    bar.barUnit = std::move(barUnit);
    bar.unitText = std::move(unitText);
    bar.scale = scale;
    bar.thickness = 2;
    return bar;
}

TEST(ScaleBar, LengthUnderTheCalibration) {
    struct Case {
        float value;
        std::u16string barUnit, unitText;
        float scale, zoom;
        double deviceLength;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {100, u"μm", u"μm", 0.5f, 1.0f, 200},
        {100, u"μm", u"μm", 0.5f, 2.0f, 400},
        {0.1f, u"mm", u"μm", 0.5f, 1.0f, 200},  // converted into the calibration's unit first
        {1, u"inch", u"mm", 0.254f, 1.0f, 100},
        {100, u"μm", u"NULL", 0.5f, 1.0f, 200},  // a missing unit setting is the default unit
        {100, u"μm", u"μm", 0.0f, 1.0f, 0},      // no calibration: no division by 0
        {100, u"μm", u"μm", -0.5f, 1.0f, 0},
        {100, u"μm", u"μm", nan, 1.0f, 0},
        {std::numeric_limits<float>::infinity(), u"μm", u"μm", 0.5f, 1.0f, 0},
    };
    for (const Case& c : cases) {
        const CCL_BiaoChi bar = Bar(c.value, c.barUnit, c.unitText, c.scale);
        EXPECT_NEAR(bar.DeviceLength(c.zoom), c.deviceLength, 1e-4) << c.value << " scale " << c.scale;
    }
}

TEST(ScaleBar, TextKeepsTheDecimals) {
    CCL_BiaoChi bar = Bar(100, u"μm", u"μm", 0.5f);
    bar.decimals = 0;
    EXPECT_EQ(bar.BarText(), u"100 μm");
    bar.decimals = 2;
    EXPECT_EQ(bar.BarText(), u"100.00 μm");
    // The label shows the same text.
    bar.label.ComposeText(bar);
    EXPECT_EQ(bar.label.text, u"100.00 μm");
}

TEST(ScaleBar, LabelCentredAboveTheBar) {
    CCL_BiaoChi bar = Bar(100, u"μm", u"μm", 0.5f);
    bar.origin = {10, 20};
    // Placed: x + trunc(L) / zoom / 2 - text width / zoom / 2, y - (text height + 2) / zoom.
    EXPECT_EQ(bar.PlacedLabelAnchor(1.0f, 50, 12), (PointF{85, 6}));
    EXPECT_EQ(bar.PlacedLabelAnchor(2.0f, 50, 12), (PointF{97.5f, 13}));
    // Drawn: the same in whole image pixels.
    EXPECT_EQ(bar.DrawnLabelAnchor(2.0f, 50, 12), (PointF{97, 13}));
    EXPECT_EQ(bar.DrawnLabelAnchor(1.0f, 51, 13), (PointF{84, 5}));
}

TEST(ScaleBar, BackgroundBoxFitsBarAndText) {
    CCL_BiaoChi bar;
    bar.thickness = 2;
    bar.tick = 5;
    // A short bar under a long text: the text width plus 15.
    PixelRect box = bar.BackgroundBox({50, 60}, 20.0, 100, 12);
    EXPECT_EQ(box, (PixelRect{3, 43, 118, 70}));
    EXPECT_EQ(box.right - box.left, 115);
    // A long bar under a short text: the bar with its thickness, plus 15.
    bar.thickness = 3;
    box = bar.BackgroundBox({50, 60}, 200.5, 50, 12);
    EXPECT_EQ(box.left, 50 - (203 - 200 + 5) / 2 - 5);
    EXPECT_EQ(box.right - box.left, 218);
    EXPECT_EQ(box.bottom - box.top, 12 + 10 + 5);
}

class PlacedBar : public ::testing::Test {
protected:
    void SetUp() override {
        bar = Bar(100, u"μm", u"μm", 0.5f);  // 200 image pixels
        bar.origin = {10, 20};
        bar.label.x = 200;
        bar.label.y = 200;
        bar.label.width = 30;
        bar.label.height = 10;
    }
    CCL_BiaoChi bar;
};

TEST_F(PlacedBar, HitTestFindsLabelThenBar) {
    struct Case {
        int x, y;
        float zoom;
        std::int32_t state;
    };
    const Case cases[] = {
        {110, 20, 1.0f, CCLObject::kBodyActive},
        {110, 25, 1.0f, CCLObject::kBodyActive},  // close beside the middle
        {110, 30, 1.0f, 0},
        {10, 21, 1.0f, 0},  // beside the end, the band narrows
        {211, 20, 1.0f, 0},
        {420, 40, 2.0f, CCLObject::kBodyActive},  // the bar runs to 420 at zoom 2
        {210, 205, 1.0f, CCLObject::kLabelActive},
    };
    for (const Case& c : cases) {
        bar.state = 0;
        EXPECT_EQ(bar.HitTest(c.x, c.y, c.zoom), c.state != 0) << c.x << "," << c.y;
        EXPECT_EQ(bar.state, c.state) << c.x << "," << c.y;
    }
    bar.visible = 0;
    EXPECT_FALSE(bar.HitTest(110, 20, 1.0f));
    EXPECT_FALSE(bar.HitTest(210, 205, 1.0f));
}

TEST_F(PlacedBar, ZeroScaleHitsOnlyTheLeftEnd) {
    bar.scale = 0;
    EXPECT_TRUE(bar.HitTest(10, 20, 1.0f));
    bar.state = 0;
    EXPECT_FALSE(bar.HitTest(110, 20, 1.0f));
}

TEST_F(PlacedBar, MovesOnlyWhenSelected) {
    bar.Move(0, 0, 10, 10, 1.0f);
    EXPECT_EQ(bar.origin, (PointF{10, 20}));
    EXPECT_EQ(bar.label.x, 200);
    EXPECT_EQ(bar.dragging, 1);
    bar.state = CCLObject::kBodyActive;
    bar.Move(0, 0, 10, 10, 2.0f);
    EXPECT_EQ(bar.origin, (PointF{15, 25}));
    EXPECT_EQ(bar.label.x, 205);
    EXPECT_EQ(bar.label.y, 205);
}

TEST_F(PlacedBar, RubberBandTakesTheLeftEnd) {
    EXPECT_TRUE(bar.HitRect({0, 0, 11, 21}, 1.0f));
    EXPECT_EQ(bar.state, CCLObject::kSelectedWhole);
    bar.state = 0;
    EXPECT_FALSE(bar.HitRect({100, 0, 300, 100}, 1.0f));  // the bar's middle and right end do not count
}

TEST(ScaleBar, AssignmentCarriesTheOwnFields) {
    CCL_BiaoChi source = Bar(50, u"mm", u"μm", 2.0f);
    source.origin = {1, 2};
    source.tick = 7;
    source.background = 1;
    CCL_BiaoChi target;
    target = source;
    EXPECT_EQ(target.origin, source.origin);
    EXPECT_EQ(target.tick, 7);
    EXPECT_EQ(target.value, 50.0f);
    EXPECT_EQ(target.thickness, 2);
    EXPECT_EQ(target.background, 1);
    EXPECT_EQ(target.barUnit, u"mm");
    EXPECT_EQ(target.scale, 2.0f);
}

}  // namespace
