#pragma once
// Copies the live measurements onto a just-taken snapshot: the target model
// loses its objects and numbering and takes copies of the source's objects,
// their scale and unit text, and the source's counter styles. Platform-free.
#include "counter_styles.h"
#include "drawing_model.h"

// A new object of the same class holding the same stored state; nullptr for
// a type no stored list holds (the calibration line).
std::unique_ptr<CCLObject> CopyObject(const CCLObject& source);

// Returns 1.
int CloneObjectsInto(CDrawingModel& target, const ObjectList& objects, const CCounterStyles& styles);
