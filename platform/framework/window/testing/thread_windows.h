#pragma once
// Finding this thread's own top-level windows. Tests drive dialogs and menus
// from a timer inside their modal loops; a search of the whole desktop could
// find another test process's window and send it this test's keys.
#include <windows.h>

#include <string_view>

namespace testing_support {

// The first visible top-level window of this thread of class `className`
// (and enabled, when asked).
inline HWND FindThreadWindow(std::wstring_view className, bool enabledOnly = false) {
    struct Search {
        std::wstring_view className;
        bool enabledOnly;
        HWND found = nullptr;
    } search{className, enabledOnly};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            wchar_t cls[16] = {};
            GetClassNameW(hwnd, cls, 16);
            if (s.className == cls && (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) &&
                (!s.enabledOnly || IsWindowEnabled(hwnd))) {
                s.found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The popup menu this thread is tracking, if any.
inline HWND FindThreadPopupMenu() { return FindThreadWindow(L"#32768"); }

}  // namespace testing_support
