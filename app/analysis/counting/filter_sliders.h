#pragma once
// The target filter dialog's arithmetic for one of its eleven measures:
// where the two sliders end and stand for a range record and a filter, and
// what a slider position writes back into the filter. Measures 0-5 are
// shown in calibrated units (area squared), roundness in hundredths, grey
// values as they are. A scale that is not above 0 measures in pixels.
// Platform-free.
#include "count_records.h"

inline constexpr int kFilterMeasures = 11;
inline constexpr int kRoundnessMeasure = 6;

struct FilterSliders {
    int low = 0;  // both sliders' range
    int high = 0;
    double lowerShown = 0;  // the limits as the number boxes show them
    double upperShown = 0;
    int lowerPosition = 0;
    int upperPosition = 0;
};

FilterSliders LoadFilterMeasure(int measure, const _tagOBJFILTER& range, const _tagOBJFILTER& current, double scale);

// Writes a slider position into the limit of `measure` in `limit`.
void StoreFilterPosition(int measure, int position, double scale, _tagOBJRESULT& limit);
