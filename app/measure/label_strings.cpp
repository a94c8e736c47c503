#include "label_strings.h"

std::u16string_view LabelString(int id) {
    switch (id) {
    case kStringUnitMicron: return u"μm";
    case kStringLine: return u"直线";
    case kStringLength: return u"长度";
    case kStringAngleCaption: return u"角度";
    case kStringParallel: return u"平行线";
    case kStringDistance: return u"距离";
    case kStringRectangle: return u"矩形";
    case kStringWidth: return u"宽度";
    case kStringHeight: return u"高度";
    case kStringArea: return u"面积";
    case kStringPerimeter: return u"周长";
    case kStringRadius: return u"半径";
    case kStringCentreCircle: return u"圆心圆";
    case kStringTwoPointCircle: return u"两点圆";
    case kStringThreePointCircle: return u"三点圆";
    case kStringEllipse: return u"椭圆";
    case kStringCurve: return u"曲线";
    case kStringPolygon: return u"多边形";
    case kStringAngle: return u"角";
    case kStringTwoLineAngle: return u"直线夹角";
    default: return {};
    }
}
