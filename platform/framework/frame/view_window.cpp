#include "view_window.h"

bool CViewWindow::Create(HWND parent, UINT id, CDocument* document) {
    m_document = document;
    if (!RegisterWindowClass(kClassName, CS_DBLCLKS, reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1))) {
        return false;
    }
    return CreateEx(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, RECT{0, 0, 0, 0},
                    parent, id);
}
