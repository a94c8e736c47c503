#pragma once
// The kinds of change a history step records, their texts in the step lists
// and what each saves besides the object list.

#include <cstdint>
#include <string_view>

enum HistoryAction : std::int32_t {
    kHistoryLoad = 0,
    kHistoryCreate = 1,
    kHistoryDelete = 2,
    kHistoryModify = 3,
    kHistorySave = 4,
    kHistoryPaste = 5,
    kHistoryCut = 6,
    kHistoryBlur = 7,
    kHistorySharpen = 8,
    kHistoryEmboss = 9,
    kHistoryMirror = 10,
    kHistoryNegative = 11,
    kHistoryEdges = 12,
    kHistoryRotate = 13,
    kHistoryAdjust = 14,
    kHistoryAdjustRgb = 15,
    kHistoryAutoCount = 16,
    kHistoryManualCount = 17,
    kHistorySingleCount = 18,
    kHistoryFillHoles = 19,
    kHistoryCellEraser = 20,
    kHistoryCellPen = 21,
    kHistoryDeleteCell = 22,
    kHistorySplitCells = 23,
    kHistoryCountRegion = 24,
};

struct HistoryActionSaves {
    bool picture = false;        // "~TImg" is written
    bool resetCounter = false;   // the counting engine takes the step's picture first
    bool countingState = false;  // edge image and "~TCounts" are written
};

HistoryActionSaves SavesFor(std::int32_t action);

// String-table id and text of an action (empty for an unknown action).
int HistoryActionStringId(std::int32_t action);
std::u16string_view HistoryActionText(std::int32_t action);
