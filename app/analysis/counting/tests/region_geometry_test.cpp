#include <gtest/gtest.h>

#include "region_geometry.h"

namespace {

TEST(RegionGeometry, PictureFitsItsPreviewWithoutEnlarging) {
    struct Case {
        int pw, ph, vw, vh;
        float zoom;
        int dw, dh, ox, oy;
    };
    for (const Case c :
         {Case{2048, 1536, 512, 512, 0.25f, 512, 384, 0, 64}, Case{100, 50, 400, 300, 1.0f, 100, 50, 150, 125},
          Case{640, 480, 320, 480, 0.5f, 320, 240, 0, 120}, Case{640, 480, 0, 0, 0.0f, 0, 0, 0, 0}}) {
        const PreviewFit fit = FitPicture(c.pw, c.ph, c.vw, c.vh);
        EXPECT_FLOAT_EQ(fit.zoom, c.zoom) << c.pw << "x" << c.ph << " in " << c.vw << "x" << c.vh;
        EXPECT_EQ(fit.drawnWidth, c.dw);
        EXPECT_EQ(fit.drawnHeight, c.dh);
        EXPECT_EQ(fit.offsetX, c.ox);
        EXPECT_EQ(fit.offsetY, c.oy);
    }
}

TEST(RegionGeometry, EditedFieldsStayInsideThePicture) {
    struct Case {
        RegionRect in;
        RegionField field;
        RegionRect out;
    };
    const Case cases[] = {
        {{5000, 0, 300, 10}, RegionField::x, {1024, 0, 0, 10}},
        {{-3, 0, 300, 10}, RegionField::x, {0, 0, 300, 10}},
        {{1000, 0, 300, 10}, RegionField::x, {1000, 0, 24, 10}},
        {{0, 700, 10, 100}, RegionField::y, {0, 700, 10, 68}},
        {{0, 900, 10, 100}, RegionField::y, {0, 768, 10, 0}},
        {{100, 0, 2000, 10}, RegionField::width, {100, 0, 924, 10}},
        {{0, 10, 10, -5}, RegionField::height, {0, 10, 10, 0}},
        {{0, 10, 10, 900}, RegionField::height, {0, 10, 10, 758}},
    };
    for (const Case& c : cases) {
        const RegionRect r = ClampEditedRegion(c.in, c.field, 1024, 768);
        EXPECT_EQ(r.x, c.out.x);
        EXPECT_EQ(r.y, c.out.y);
        EXPECT_EQ(r.width, c.out.width);
        EXPECT_EQ(r.height, c.out.height);
    }
}

TEST(RegionGeometry, DragGivesTheSameRegionEitherWay) {
    const RegionRect forward = RegionFromDrag(10, 20, 110, 70, 0.25f);
    const RegionRect backward = RegionFromDrag(110, 70, 10, 20, 0.25f);
    const RegionRect across = RegionFromDrag(110, 20, 10, 70, 0.25f);
    for (const RegionRect& r : {forward, backward, across}) {
        EXPECT_EQ(r.x, 40);
        EXPECT_EQ(r.y, 80);
        EXPECT_EQ(r.width, 400);
        EXPECT_EQ(r.height, 200);
    }
    const RegionRect rounded = RegionFromDrag(1, 1, 2, 2, 0.3f);
    EXPECT_EQ(rounded.x, 3);  // 3.33 rounds down
    EXPECT_EQ(rounded.width, 3);
}

}  // namespace
