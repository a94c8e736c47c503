#pragma once
// The visible popup menu this thread is tracking, if any. Tests drive menus
// from a timer inside the menu loop; a search of the whole desktop could find
// another test process's menu and send it this test's keys.
#include <windows.h>

#include <string>

namespace testing_support {

inline HWND FindThreadPopupMenu() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(hwnd, cls, 16);
            if (std::wstring(cls) == L"#32768" && IsWindowVisible(hwnd)) {
                *reinterpret_cast<HWND*>(param) = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace testing_support
