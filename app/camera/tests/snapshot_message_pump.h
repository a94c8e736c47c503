#pragma once
// Pumps the test thread's messages until a condition holds or the time is
// up, keeping the still paths WM_SNAPSHOT_SAVED hands over to the thread.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "handed_over_text.h"
#include "private_messages.h"

namespace dshow_test {

// The paths WM_SNAPSHOT_SAVED handed over to this thread.
inline std::vector<std::wstring> notices;

inline bool WaitFor(const std::function<bool()>& done,
                    std::chrono::milliseconds patience = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_SNAPSHOT_SAVED) {
                if (auto path = TakeHandedOverText(message.wParam)) notices.push_back(*path);
                continue;
            }
            DispatchMessageW(&message);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace dshow_test
