#pragma once
// Editing a drawing model's selection by mouse and keys: the part of the
// tool interaction that needs no window. Each operation changes the model
// and the interaction state and says whether a history step is due; the
// controller repaints and records it. Points are track points.
#include "drawing_model.h"
#include "tool_interaction.h"

// Counters and arrows keep their place when the selection is dragged.
bool IsDragFixed(const CCLObject& object);

// Selects every object `rect` (zoomed-picture pixels) touches: the first
// hit replaces the selection unless Ctrl is held; an object is listed once.
// True when any object was hit (the moved flag is then cleared).
bool SelectInRect(CDrawingModel& model, ToolInteraction& ui, const PixelRect& rect, float zoom);

// While moving: without `finish` every selected object except counters and
// arrows follows the mouse from the previous to the current point; with
// `finish`, true when something was moved (no calibration line shown).
bool MoveSelection(CDrawingModel& model, ToolInteraction& ui, bool finish, float zoom);

// While nudging: without `finish` every selected object (or only its label,
// with `labelOnly`) moves from (fromX, fromY) to (toX, toY); with `finish`,
// true when there is a selection.
bool NudgeSelection(CDrawingModel& model, const ToolInteraction& ui, TrackPoint from, TrackPoint to, bool finish,
                    bool labelOnly, float zoom);
