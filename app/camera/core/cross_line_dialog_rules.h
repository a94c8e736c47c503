#pragma once
// What the crosshair dialog accepts: the number of lines, a line position
// within the video, and a chosen colour over the stored entry's value.
#include <optional>

#include "cross_lines.h"

inline constexpr int kMaxCrossLineCount = 100;

// The count when it lies in 0 to kMaxCrossLineCount, else none.
std::optional<int> ValidCrossLineCount(long long typed);
// A typed position clamped into 0 to limit (the video width or height).
int ClampCrossPosition(long long typed, int limit);
// The chosen colour's low 24 bits with the stored value's top byte.
ColourRef ChosenCrossColour(ColourRef stored, ColourRef chosen);
