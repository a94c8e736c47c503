#pragma once
// The controller's interaction state while tools draw and the selection is
// edited. Points are track points: zoomed-picture pixels, scroll included.
#include <array>

struct TrackPoint {
    int x = 0;
    int y = 0;
};

struct ToolInteraction {
    static constexpr int kTypeCount = 20;

    int tool = 0;         // also the object type and the document tag
    int step = 0;         // 0: no object in progress
    int drawingMode = 0;  // a tool is chosen
    int selectMode = 0;   // the selection tool is chosen
    int moving = 0;       // the selection follows the mouse
    int nudging = 0;      // a movement key is down
    int bandActive = 0;   // rubber band from `bandFrom` to `bandTo`
    TrackPoint bandFrom;
    TrackPoint bandTo;
    TrackPoint current;
    TrackPoint previous;
    TrackPoint press;
    int replaceSelection = 1;  // 0 while Ctrl is held
    int moved = 0;
    int hoveredPart = 0;       // the state a hover hit gave, for the cursor
    int calibrationShown = 0;  // the calibration line is shown and selected
    int regionSelect = 0;      // a band lifts part of the picture as the floating piece
    int cropMode = 0;          // the next rubber band crops the picture
};
