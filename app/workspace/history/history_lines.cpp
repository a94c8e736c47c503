#include "history_lines.h"

namespace {

std::u16string LineOf(const HistoryStep& step) {
    std::u16string line;
    for (const char c : std::to_string(step.index)) {
        line.push_back(static_cast<char16_t>(c));
    }
    return line + u" " + step.description;
}

}  // namespace

std::vector<std::u16string> HistoryLines(const CHistoryStore& store, bool undoMode) {
    std::vector<std::u16string> lines;
    if (undoMode) {
        const auto undo = store.UndoList();
        for (auto it = undo.rbegin(); it != undo.rend(); ++it) {
            lines.push_back(LineOf(**it));
        }
    } else {
        for (const HistoryStep* step : store.RedoList()) {
            lines.push_back(LineOf(*step));
        }
    }
    return lines;
}

std::optional<std::int32_t> HistoryTarget(const CHistoryStore& store, bool undoMode, int line) {
    const auto list = undoMode ? store.UndoList() : store.RedoList();
    const auto n = static_cast<int>(list.size());
    if (line < 0 || line >= n) {
        return std::nullopt;
    }
    if (undoMode) {
        return list[static_cast<std::size_t>(n - line - 1)]->index - 1;
    }
    return list[static_cast<std::size_t>(line)]->index;
}
