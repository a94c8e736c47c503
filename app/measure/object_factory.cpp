#include "object_factory.h"

namespace {

TestObjectMaker g_testMaker = nullptr;

// Stands in for a class that has not joined this build; without a test maker
// the tag reads as unknown.
std::unique_ptr<CCLObject> NotInThisBuild(std::int32_t tag) {
    return g_testMaker != nullptr ? g_testMaker(tag) : nullptr;
}

}  // namespace

bool IsStoredObjectTag(std::int32_t tag) { return (tag >= kTagLine && tag <= kTagScaleBar) || tag == kTagArrow; }

std::unique_ptr<CCLObject> CreateObjectForTag(std::int32_t tag) {
    switch (tag) {
    case kTagLine:                 // CCLLine
    case kTagAngle:                // CCLAngle
    case kTagAngle4Point:          // CCLAngle4Point
    case kTagParallel:             // CCLParallel
    case kTagRectangle:            // CCLRectangle
    case kTagCircle:               // CCLCircle
    case kTagCircleByDiameter:     // CCLCircle_D
    case kTagCircleByThreePoints:  // CCLCircle_T
    case kTagEllipse:              // CCLEllipse
    case kTagCurve:                // CCLCurve
    case kTagPolygon:              // CCLPolygon
    case kTagText:                 // CCLText
    case kTagCountCircle:          // CCL_CountCircle
    case kTagCountDiamond:         // CCL_CountDiamond
    case kTagCountRect:            // CCL_CountRect
    case kTagScaleBar:             // CCL_BiaoChi
    case kTagArrow:                // CCLArrow
        return NotInThisBuild(tag);
    default:
        return nullptr;
    }
}

TestObjectMaker SetTestObjectMaker(TestObjectMaker maker) {
    const TestObjectMaker previous = g_testMaker;
    g_testMaker = maker;
    return previous;
}
