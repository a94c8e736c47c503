#pragma once
// One row of the measurement data list for an object: the string id of its
// name, its number and its calibrated values, each written with the
// object's decimals (clamped as the label clamps them). Objects that are
// not measurements (text, counters, scale bar, arrow) have no row.
#include <array>
#include <optional>
#include <string>

#include "cl_object.h"

struct MeasurementRow {
    int nameId = 0;  // string-table id of the object's name
    int number = 0;
    // Length (a parallel's distance), width, height, perimeter, radius, area, angle.
    std::array<std::u16string, 7> values;
};

std::optional<MeasurementRow> MeasurementRowFor(const CCLObject& object);
