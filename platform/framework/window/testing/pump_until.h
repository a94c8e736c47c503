#pragma once
// Runs the calling thread's messages until a condition holds, for tests
// whose windows answer through posted messages or worker threads.
#include <windows.h>

namespace testing_support {

// Runs the thread's messages until done() or the time has passed; returns done().
template <typename Done>
bool PumpUntil(Done done, ULONGLONG timeoutMs = 10000) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    MSG msg;
    while (!done() && GetTickCount64() < end) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!done()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return done();
}

}  // namespace testing_support
