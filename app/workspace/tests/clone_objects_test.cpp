#include <gtest/gtest.h>

#include "cl_count.h"
#include "cl_scale_bar.h"
#include "clone_objects.h"
#include "line_figures.h"

namespace {

struct LiveObjects {
    ObjectList objects;
    CCounterStyles styles;

    CCLLine& AddLine(float scale, std::u16string unit) {
        auto line = std::make_unique<CCLLine>();
        line->points = {PointF{10.0f, 20.0f}, PointF{110.0f, 20.0f}};
        line->scale = scale;
        line->unitText = std::move(unit);
        line->number = 1;
        objects.push_back(std::move(line));
        return static_cast<CCLLine&>(*objects.back());
    }
    void Add(std::unique_ptr<CCLObject> object, std::int32_t type) {
        object->type = type;
        objects.push_back(std::move(object));
    }
};

TEST(CloneObjectsTest, ReplacesObjectsAndNumberingWithCopiesOfTheLiveOnes) {
    CDrawingModel target;
    target.Objects().push_back(std::make_unique<CCLLine>());
    target.Selection().push_back(target.Objects().back().get());
    target.TypeCounters().Next(kTagLine);
    target.TypeCounters().Next(kTagLine);
    target.TypeCounters().Next(kTagArrow);

    LiveObjects live;
    live.AddLine(1.5f, u"mm");
    live.Add(std::make_unique<CCL_Count>(), kTagCountCircle);
    live.Add(std::make_unique<CCL_BiaoChi>(), kTagScaleBar);
    live.Add(std::make_unique<CCL_Scale>(), 1);  // the calibration line is never copied
    CCLLine& last = live.AddLine(2.5f, u"cm");
    live.styles.Set(0x0000FF, 4, 21, kTagCountCircle);

    EXPECT_EQ(CloneObjectsInto(target, live.objects, live.styles), 1);

    ASSERT_EQ(target.Objects().size(), 4u);
    EXPECT_TRUE(target.Selection().empty());
    const std::vector<std::int32_t> types{kTagLine, kTagCountCircle, kTagScaleBar, kTagLine};
    for (std::size_t i = 0; i < types.size(); ++i) {
        EXPECT_EQ(target.Objects()[i]->type, types[i]) << i;
    }
    const auto& copy = dynamic_cast<const CCLLine&>(*target.Objects()[3]);
    EXPECT_NE(&copy, &last);
    EXPECT_EQ(copy.points[0].x, 10.0f);
    EXPECT_EQ(copy.points[1].x, 110.0f);
    EXPECT_EQ(copy.unitText, u"cm");
    // The style takes the last copied object's scale and unit.
    EXPECT_EQ(target.style.scale, 2.5f);
    EXPECT_EQ(target.style.unitText, u"cm");
    // Lines and the scale bar are counted, counters and old numbers are not.
    EXPECT_EQ(target.TypeCounters().Get(kTagLine), 2);
    EXPECT_EQ(target.TypeCounters().Get(kTagScaleBar), 1);
    EXPECT_EQ(target.TypeCounters().Get(kTagArrow), 0);
    EXPECT_EQ(target.CounterStyles().Records(), live.styles.Records());

    // The copies are independent of the live objects.
    last.points[0].x = 99.0f;
    EXPECT_EQ(copy.points[0].x, 10.0f);
}

TEST(CloneObjectsTest, LiveWithoutCounterStylesKeepsTheTargetsStyles) {
    CDrawingModel target;
    target.CounterStyles().Set(0x00FF00, 7, 15, kTagCountRect);
    const CounterStyleList before = target.CounterStyles().Records();

    LiveObjects live;
    CloneObjectsInto(target, live.objects, live.styles);

    EXPECT_TRUE(target.Objects().empty());
    EXPECT_EQ(target.CounterStyles().Records(), before);
}

}  // namespace
