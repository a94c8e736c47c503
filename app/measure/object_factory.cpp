#include "object_factory.h"

#include "angle_figures.h"
#include "area_figures.h"
#include "circle_figures.h"
#include "cl_arrow.h"
#include "cl_count.h"
#include "cl_scale_bar.h"
#include "cl_text.h"
#include "line_figures.h"

bool IsStoredObjectTag(std::int32_t tag) { return (tag >= kTagLine && tag <= kTagScaleBar) || tag == kTagArrow; }

std::unique_ptr<CCLObject> CreateObjectForTag(std::int32_t tag) {
    switch (tag) {
    case kTagLine: return std::make_unique<CCLLine>();
    case kTagAngle: return std::make_unique<CCLAngle>();
    case kTagAngle4Point: return std::make_unique<CCLAngle4Point>();
    case kTagParallel: return std::make_unique<CCLParallel>();
    case kTagRectangle: return std::make_unique<CCLRectangle>();
    case kTagCircle: return std::make_unique<CCLCircle>();
    case kTagCircleByDiameter: return std::make_unique<CCLCircle_D>();
    case kTagCircleByThreePoints: return std::make_unique<CCLCircle_T>();
    case kTagEllipse: return std::make_unique<CCLEllipse>();
    case kTagCurve: return std::make_unique<CCLCurve>();
    case kTagPolygon: return std::make_unique<CCLPolygon>();
    case kTagText: return std::make_unique<CCLText>();
    case kTagCountCircle: return std::make_unique<CCL_CountCircle>();
    case kTagCountDiamond: return std::make_unique<CCL_CountDiamond>();
    case kTagCountRect: return std::make_unique<CCL_CountRect>();
    case kTagScaleBar: return std::make_unique<CCL_BiaoChi>();
    case kTagArrow: return std::make_unique<CCLArrow>();
    default: return nullptr;
    }
}
