#pragma once
// String-table entries the result label uses: object names, quantity
// captions and the default unit, in the program's own (Chinese) texts.
#include <string_view>

enum LabelStringId : int {
    kStringUnitMicron = 47002,
    kStringLine = 47003,
    kStringLength = 47004,
    kStringAngleCaption = 47005,
    kStringParallel = 47007,
    kStringDistance = 47008,
    kStringRectangle = 47009,
    kStringWidth = 47010,
    kStringHeight = 47011,
    kStringArea = 47012,
    kStringPerimeter = 47013,
    kStringRadius = 47014,
    kStringCentreCircle = 47018,
    kStringTwoPointCircle = 47019,
    kStringThreePointCircle = 47020,
    kStringEllipse = 47021,
    kStringCurve = 47022,
    kStringPolygon = 47023,
    kStringAngle = 47047,
    kStringTwoLineAngle = 47113,
};

// The text of a string-table entry; empty for an unknown id.
std::u16string_view LabelString(int id);
