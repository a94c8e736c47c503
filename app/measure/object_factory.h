#pragma once
// The one place that turns a stored type tag into a new measurement object,
// for documents and history steps alike. The tags equal the classes' type
// codes and the drawing-tool numbers.

#include <cstdint>
#include <memory>

#include "cl_object.h"

enum ObjectTag : std::int32_t {
    kTagLine = 2,
    kTagAngle = 3,
    kTagAngle4Point = 4,
    kTagParallel = 5,
    kTagRectangle = 6,
    kTagCircle = 7,
    kTagCircleByDiameter = 8,
    kTagCircleByThreePoints = 9,
    kTagEllipse = 10,
    kTagCurve = 11,
    kTagPolygon = 12,
    kTagText = 13,
    kTagCountCircle = 14,
    kTagCountDiamond = 15,
    kTagCountRect = 16,
    kTagScaleBar = 17,
    kTagArrow = 19,
};

// True for the tags a stored object list may hold: 2 to 17 and 19. The
// calibration line (1) is never in the list and no class has 18.
bool IsStoredObjectTag(std::int32_t tag);

// A new, default-constructed object for `tag`, or nullptr when the tag is not
// a stored tag. Readers treat nullptr as a damaged file.
std::unique_ptr<CCLObject> CreateObjectForTag(std::int32_t tag);

// What a reader of stored objects calls for each tag it reads: the program
// passes CreateObjectForTag, tests of the formats their own objects.
using ObjectFactory = std::unique_ptr<CCLObject> (*)(std::int32_t tag);
