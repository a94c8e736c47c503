#pragma once
// Which of the program's cursors the image controller shows for its mode.
#include <functional>
#include <optional>

struct CursorModes {
    bool regionOrCrop = false;  // region or crop selection
    int cursorStyle = 0;        // the view's drawing cursor style: 0 arrow, 1 cross
    bool regionKind = false;    // the region-kind flag of region selection
    bool selecting = false;     // object-selection mode
    int hitState = 0;           // what the hover hit test gave
    int countingMode = 0;       // 0: not counting
    int countingTool = 0;
};

// The cursor resource id; none when the current cursor stays. `loads` tells
// whether a cursor resource can be loaded: region selection falls back to
// the cross when its own cursor cannot.
std::optional<int> ModeCursorId(const CursorModes& modes, const std::function<bool(int id)>& loads);
