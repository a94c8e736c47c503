#include <gtest/gtest.h>

#include <limits>

#include "cl_object.h"
#include "text_object.h"

namespace {

CCLObject Owner(std::int32_t type, std::int32_t number = 3) {
    CCLObject o;
    o.type = type;
    o.number = number;
    return o;
}

struct ComposeCase {
    const char* name;
    std::int32_t type;
    std::int32_t mode;
    float scale;
    std::u16string unit;
    std::u16string expected;
};

TEST(Label, ComposesPerTypeAndMode) {
    const ComposeCase cases[] = {
        {"line, all", 2, 0, 1.0f, u"μm", u"直线_3\n长度:10.00μm"},
        {"line scaled", 2, 0, 0.5f, u"mm", u"直线_3\n长度:5.00mm"},
        {"name only", 2, 1, 1.0f, u"μm", u"直线_3"},
        {"nothing", 2, 2, 1.0f, u"μm", u""},
        {"values only", 2, 3, 1.0f, u"μm", u"长度:10.00μm"},
        {"angle never scaled", 3, 0, 0.5f, u"mm", u"角_3\n角度:45.00°"},
        {"two-line angle", 4, 3, 7.0f, u"mm", u"角度:45.00°"},
        {"parallels", 5, 3, 2.0f, u"mm", u"距离:16.00mm"},
        {"rectangle", 6, 0, 0.5f, u"μm", u"矩形_3\n宽度:1.50μm\n高度:2.00μm\n周长:3.00μm\n面积:25.00μm*μm"},
        {"centre circle", 7, 3, 1.0f, u"px", u"半径:7.00px\n周长:6.00px\n面积:100.00px*px"},
        {"two-point circle", 8, 1, 1.0f, u"px", u"两点圆_3"},
        {"three-point circle", 9, 1, 1.0f, u"px", u"三点圆_3"},
        {"ellipse", 10, 1, 1.0f, u"px", u"椭圆_3"},
        {"curve", 11, 3, 1.0f, u"px", u"长度:10.00px"},
        {"polygon", 12, 3, 1.0f, u"px", u"周长:6.00px\n面积:100.00px*px"},
    };
    for (const ComposeCase& c : cases) {
        CCLObject o = Owner(c.type);
        o.labelMode = c.mode;
        o.scale = c.scale;
        o.unitText = c.unit;
        o.results = {45.0f, 10.0f, 3.0f, 4.0f, 6.0f, 100.0f, 7.0f, 8.0f};
        CTextObject label;
        label.ComposeText(o);
        EXPECT_EQ(label.text, c.expected) << c.name;
    }
}

TEST(Label, OtherTypesKeepTheirText) {
    for (const std::int32_t type : {0, 1, 13, 14, 15, 16, 17, 19, 99, -1}) {
        CTextObject label;
        label.text = u"kept";
        label.ComposeText(Owner(type));
        EXPECT_EQ(label.text, u"kept") << type;
    }
}

class Annotation : public CCLObject {
public:
    Annotation() { type = 13; }
    const std::u16string* AnnotationText() const override { return &note; }
    std::u16string note = u"note";
};

class ScaleBar : public CCLObject {
public:
    ScaleBar() { type = 17; }
    bool ScaleBarValue(float& length, std::u16string& unit) const override {
        length = 50.0f;
        unit = u"μm";
        return true;
    }
};

TEST(Label, AnnotationAndScaleBarText) {
    Annotation text;
    text.labelMode = CCLObject::kLabelNothing;  // its own text whatever the mode
    CTextObject label;
    label.ComposeText(text);
    EXPECT_EQ(label.text, u"note");
    ScaleBar bar;
    bar.decimals = 1;
    label.ComposeText(bar);
    EXPECT_EQ(label.text, u"50.0 μm");
}

TEST(Label, FormatValueClampsDecimals) {
    EXPECT_EQ(CTextObject::FormatValue(2, 1.005f), u"1.00");
    EXPECT_EQ(CTextObject::FormatValue(0, 2.5f), u"2");
    EXPECT_EQ(CTextObject::FormatValue(-7, 3.25f), u"3");
    EXPECT_EQ(CTextObject::FormatValue(1000000, 1.0f), u"1.0000000000");
    EXPECT_EQ(CTextObject::FormatValue(2, std::numeric_limits<float>::max()).size(), 42u);
    EXPECT_EQ(CTextObject::FormatValue(2, -std::numeric_limits<float>::infinity()), u"-inf");
}

TEST(Label, HitTestReachesTwoPixelsOutside) {
    CTextObject label;
    label.x = 10.0f;
    label.y = 20.0f;
    label.width = 30;
    label.height = 12;
    struct Case {
        int x, y;
        float zoom;
        bool hit;
    };
    const Case cases[] = {
        {8, 25, 1.0f, true},  {7, 25, 1.0f, false},  {42, 25, 1.0f, true}, {43, 25, 1.0f, false},
        {20, 18, 1.0f, true}, {20, 17, 1.0f, false}, {20, 34, 1.0f, true}, {20, 35, 1.0f, false},
        {18, 38, 2.0f, true}, {17, 38, 2.0f, false}, {52, 54, 2.0f, true}, {53, 54, 2.0f, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(label.HitTest(c.x, c.y, c.zoom), c.hit) << c.x << "," << c.y << " zoom " << c.zoom;
    }
    label.x = std::numeric_limits<float>::quiet_NaN();
    EXPECT_TRUE(label.HitTest(0, 25, 1.0f));  // a damaged position counts as 0
}

TEST(Label, MoveAndCopy) {
    CTextObject label;
    label.x = 10.0f;
    label.y = 10.0f;
    label.Move(0, 0, 10, -4, 2.0f);
    EXPECT_FLOAT_EQ(label.x, 15.0f);
    EXPECT_FLOAT_EQ(label.y, 8.0f);
    label.Move(0, 0, 10, 10, 0.0f);  // no zoom: no move
    EXPECT_FLOAT_EQ(label.x, 15.0f);
    EXPECT_EQ(label.DeviceRect(2.0f, 5, 6), (PixelRect{25, 10, 25, 10}));

    CTextObject other;
    other.boxColour = 0x123456;
    other.boxShown = 0;
    other.text = u"other";
    other.x = 1.5f;
    other.y = 2.5f;
    label.text = u"mine";
    label.CopyFrom(other);
    EXPECT_EQ(label.boxColour, 0x123456u);
    EXPECT_EQ(label.boxShown, 0);
    EXPECT_EQ(label.x, 1.5f);
    EXPECT_EQ(label.y, 2.5f);
    EXPECT_EQ(label.text, u"mine");
}

}  // namespace
