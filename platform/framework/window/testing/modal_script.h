#pragma once
// Drives modal dialogs in tests the way a user would: a thread timer runs
// one step at a time inside whatever modal loop is active, against the
// topmost enabled dialog of the thread (a message box over a dialog is the
// message box). Steps that find no dialog wait for the next tick; a script
// that cannot finish ends every dialog of the thread so a test never hangs.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "thread_windows.h"

namespace testing_support {

class ModalScript {
public:
    using Step = std::function<void(HWND dialog)>;

    explicit ModalScript(std::vector<Step> steps) : steps_(std::move(steps)) {
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

    static HWND TopDialog() { return FindThreadWindow(L"#32770", true); }

    // Common steps.
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
        HWND dialog = TopDialog();
        if (!dialog) {
            // A modal dialog that never became visible and enabled must not
            // hold the test either: after about 30 s end every dialog.
            if (++self->idleTicks_ > 750) {
                EndEveryDialog();
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

    static void EndEveryDialog() {
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM) -> BOOL {
                wchar_t cls[16] = {};
                GetClassNameW(hwnd, cls, 16);
                if (std::wstring(cls) == L"#32770") {
                    EndDialog(hwnd, IDABORT);
                }
                return TRUE;
            },
            0);
    }

    static inline ModalScript* current_ = nullptr;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    int ticks_ = 0;
    int idleTicks_ = 0;
    UINT_PTR timer_ = 0;
};

}  // namespace testing_support
