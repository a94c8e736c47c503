#pragma once
// The drop-down lists under the undo and redo buttons: the undo list shows
// the undo steps newest first, the redo list the redo steps oldest first,
// each line "<index> <description>". Choosing a line restores its step.

#include <windows.h>

#include <functional>

#include "history_store.h"

class CImageController;

class CHistoryListBox {
public:
    // The controller a chosen line applies to, or null when none may change
    // now (the camera records, or live video is shown without measuring).
    using ControllerSource = std::function<CImageController*()>;

    explicit CHistoryListBox(bool undoMode) : undoMode_(undoMode ? 1 : 0) {}
    CHistoryListBox(const CHistoryListBox&) = delete;
    CHistoryListBox& operator=(const CHistoryListBox&) = delete;
    ~CHistoryListBox();

    // Created hidden: it is shown as a drop-down.
    bool Create(HWND parent, const RECT& rect, int id);
    HWND GetSafeHwnd() const { return hwnd_; }
    bool IsUndoMode() const { return undoMode_ != 0; }

    void SetControllerSource(ControllerSource source) { source_ = std::move(source); }
    // Replaces the lines with the store's current undo or redo steps.
    void Fill(const CHistoryStore& store);
    void Clear();

    // The parent passes its WM_COMMAND here; true when it was this list's
    // selection change and was handled.
    bool OnParentCommand(WPARAM wParam, LPARAM lParam);
    // Restores the step the selected line stands for.
    void OnSelChange();

private:
    int undoMode_;
    HWND hwnd_ = nullptr;
    ControllerSource source_;
};
