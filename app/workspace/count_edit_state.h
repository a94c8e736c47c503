#pragma once
// What the mouse does to the counting engine's targets, as the view's
// counting commands chose it.
#include "tool_interaction.h"

enum CountEditMode : int {
    kCountEditNone = 0,
    kCountEditGrow = 3,    // a press grows targets from its point
    kCountEditEraser = 4,  // a drag erases target pixels
    kCountEditPen = 5,     // a drag draws target pixels
    kCountEditSplit = 6,   // a drag draws a line the release cuts along
    kCountEditDelete = 7,  // a press deletes the target under it
};

struct CountEditState {
    int mode = kCountEditNone;
    int penSize = 3;  // half the pen's side, less its centre pixel
    int erase = 1;    // 1 erase, 0 draw
    int pixelDrag = 0;
    int pixelsChanged = 0;
    // The cut line last drawn on the window, to erase it again.
    int cutLineShown = 0;
    TrackPoint cutLineEnd;
};
