#pragma once
// What the undo and redo drop-downs list and which step a chosen line
// restores. Undo lists the undo steps newest first, and a line restores the
// state before its step; redo lists the redo steps oldest first, and a line
// restores the state after its step.

#include <optional>
#include <string>
#include <vector>

#include "history_store.h"

// Lines of the form "<index> <description>".
std::vector<std::u16string> HistoryLines(const CHistoryStore& store, bool undoMode);
// The step index line `line` restores; none for a line outside the list.
std::optional<std::int32_t> HistoryTarget(const CHistoryStore& store, bool undoMode, int line);
