#include "work_tab_ctrl.h"

#include <commctrl.h>

LRESULT CWorkTabCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND && SendMessageW(m_hWnd, TCM_GETITEMCOUNT, 0, 0) > 0) {
        RECT tab{};
        SendMessageW(m_hWnd, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
        RECT client{};
        GetClientRect(m_hWnd, &client);
        HDC dc = reinterpret_cast<HDC>(wParam);
        ExcludeClipRect(dc, client.left, tab.bottom + 2, client.right, client.bottom);
        const LRESULT result = Default(message, wParam, lParam);
        // The exclusion must not outlast this erase on a shared context.
        SelectClipRgn(dc, nullptr);
        return result;
    }
    return Default(message, wParam, lParam);
}
