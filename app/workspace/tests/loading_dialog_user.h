#pragma once
// The user of the start-up loading dialog in tests: finds the dialog of this
// process and presses one of its buttons from a thread of its own, since
// the view's thread waits for the user's choice.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "resource.h"

// A top-level window of this process that is the loading dialog.
inline HWND FindLoadingDialog() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(hwnd, &process);
            if (process == GetCurrentProcessId() && GetDlgItem(hwnd, IDC_LOAD_PICTURES) && IsWindowVisible(hwnd)) {
                *reinterpret_cast<HWND*>(param) = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Presses a button of the loading dialog from a thread of its own, since the
// view's thread waits for the user's choice.
class LoadingDialogUser {
public:
    explicit LoadingDialogUser(int button) {
        thread_ = std::thread([this, button] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while (!(dialog_ = FindLoadingDialog())) {
                if (std::chrono::steady_clock::now() > deadline) {
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        });
    }
    ~LoadingDialogUser() { thread_.join(); }
    HWND Dialog() const { return dialog_; }

private:
    std::atomic<HWND> dialog_{nullptr};
    std::thread thread_;
};
