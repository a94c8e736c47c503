#pragma once
// Drives modal dialogs in tests the way a user would: a thread timer runs
// one step at a time inside whatever modal loop is active, against the
// topmost enabled dialog of the thread (a message box over a dialog is the
// message box). Dialogs the thread already had when the script started are
// never its target: a modeless dialog (such as a window laid over the video)
// would otherwise be taken for the modal one while that is not yet shown.
// Steps that find no dialog wait for the next tick; a script that cannot
// finish ends every dialog it drives so a test never hangs.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "thread_windows.h"

namespace testing_support {

class ModalScript {
public:
    using Step = std::function<void(HWND dialog)>;

    explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps)), earlier_(ThreadDialogs()) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 40, &ModalScript::Tick);
    }
    ~ModalScript() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    bool Finished() const { return next_ == steps_.size(); }

    // The topmost visible, enabled dialog that appeared after the script started.
    HWND TopDialog() const {
        for (HWND dialog : ThreadDialogs()) {
            if (!IsEarlier(dialog) && (GetWindowLongW(dialog, GWL_STYLE) & WS_VISIBLE) && IsWindowEnabled(dialog)) {
                return dialog;
            }
        }
        return nullptr;
    }

    // Common steps.
    // Selects (and focuses) row `row` of the dialog's first list view.
    static void SelectListRow(HWND dialog, int row) {
        HWND list = FindWindowExW(dialog, nullptr, WC_LISTVIEWW, nullptr);
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    }
    static void SetText(HWND dialog, int id, const wchar_t* text) { SetDlgItemTextW(dialog, id, text); }
    static std::wstring Text(HWND window) {
        wchar_t buffer[512] = {};
        GetWindowTextW(window, buffer, 512);
        return buffer;
    }
    static std::wstring ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }
    static void Press(HWND dialog, int id) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    // Chooses, in the dialog's first combo box, the first item whose text
    // `wanted` accepts, as a user's pick does (the combo's owner hears of the
    // change); the item's text, empty when none was accepted.
    static std::wstring ChooseComboItem(HWND dialog, const std::function<bool(const std::wstring&)>& wanted) {
        HWND combo = nullptr;
        EnumChildWindows(
            dialog,
            [](HWND child, LPARAM param) -> BOOL {
                wchar_t cls[16] = {};
                GetClassNameW(child, cls, 16);
                if (std::wstring(cls) != L"ComboBox") return TRUE;
                *reinterpret_cast<HWND*>(param) = child;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&combo));
        const auto count = combo ? static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)) : 0;
        for (int i = 0; i < count; ++i) {
            const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
            if (length <= 0) continue;
            std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<std::size_t>(length));
            if (!wanted(text)) continue;
            SendMessageW(combo, CB_SETCURSEL, i, 0);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(combo));
            return text;
        }
        return {};
    }
    // The text of a message box (its static control).
    static std::wstring MessageText(HWND box) {
        std::wstring text;
        EnumChildWindows(
            box,
            [](HWND child, LPARAM param) -> BOOL {
                wchar_t cls[16] = {};
                GetClassNameW(child, cls, 16);
                const std::wstring t = Text(child);
                if (std::wstring(cls) == L"Static" && !t.empty()) {
                    *reinterpret_cast<std::wstring*>(param) += t;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&text));
        return text;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        ModalScript* self = current_;
        if (!self) {
            return;
        }
        // A handle of a dialog since destroyed may name a new one.
        std::erase_if(self->earlier_, [](HWND earlier) { return !IsWindow(earlier); });
        HWND dialog = self->TopDialog();
        if (!dialog) {
            // A modal dialog that never became visible and enabled must not
            // hold the test either: after about 30 s end every dialog.
            if (++self->idleTicks_ > 750) {
                self->EndEveryDialog();
            }
            return;
        }
        if (++self->ticks_ > 500) {  // about 20 s: give up rather than hang
            EndDialog(dialog, IDABORT);
            return;
        }
        if (self->next_ < self->steps_.size()) {
            Step step = self->steps_[self->next_++];
            step(dialog);
        }
    }

    // The thread's top-level dialogs, topmost first.
    static std::vector<HWND> ThreadDialogs() {
        std::vector<HWND> dialogs;
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM param) -> BOOL {
                wchar_t cls[16] = {};
                GetClassNameW(hwnd, cls, 16);
                if (std::wstring(cls) == L"#32770") {
                    reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&dialogs));
        return dialogs;
    }

    bool IsEarlier(HWND dialog) const { return std::find(earlier_.begin(), earlier_.end(), dialog) != earlier_.end(); }

    void EndEveryDialog() const {
        for (HWND dialog : ThreadDialogs()) {
            if (!IsEarlier(dialog)) {
                EndDialog(dialog, IDABORT);
            }
        }
    }

    static inline ModalScript* current_ = nullptr;
    std::vector<Step> steps_;
    std::vector<HWND> earlier_;
    std::size_t next_ = 0;
    int ticks_ = 0;
    int idleTicks_ = 0;
    UINT_PTR timer_ = 0;
};

}  // namespace testing_support
