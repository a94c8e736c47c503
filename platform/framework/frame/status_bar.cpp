#include "status_bar.h"

#include <commctrl.h>

#include "resource_module.h"

namespace {
constexpr int kDefaultPaneWidth = 80;
}

bool CStatusBar::Create(HWND parent, std::span<const UINT> indicators, UINT id) {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_BAR_CLASSES;
    InitCommonControlsEx(&icc);
    if (indicators.empty() ||
        !CreateEx(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE, RECT{0, 0, 0, 0},
                  parent, id)) {
        return false;
    }
    m_widths.assign(indicators.size(), kDefaultPaneWidth);
    ApplyWidths();
    for (std::size_t i = 0; i < indicators.size(); ++i) {
        SetPaneText(static_cast<int>(i), LoadResourceString(indicators[i]));
    }
    return true;
}

void CStatusBar::SetPaneWidth(int index, int width) {
    if (index >= 0 && index < GetPaneCount()) {
        m_widths[static_cast<std::size_t>(index)] = width;
        ApplyWidths();
    }
}

void CStatusBar::SetPaneText(int index, const std::wstring& text) {
    if (index >= 0 && index < GetPaneCount()) {
        SendMessageW(m_hWnd, SB_SETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    }
}

std::wstring CStatusBar::GetPaneText(int index) const {
    if (index < 0 || index >= GetPaneCount()) {
        return {};
    }
    const LRESULT length = LOWORD(SendMessageW(m_hWnd, SB_GETTEXTLENGTHW, static_cast<WPARAM>(index), 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(m_hWnd, SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void CStatusBar::Reposition(RECT& client) {
    if (!m_hWnd || !IsWindowVisible(m_hWnd)) {
        return;
    }
    RECT own{};
    GetWindowRect(m_hWnd, &own);
    int height = own.bottom - own.top;
    if (height <= 0) {
        height = GetSystemMetrics(SM_CYMENU) + 6;
    }
    client.bottom -= height;
    MoveWindow(m_hWnd, client.left, client.bottom, client.right - client.left, height, TRUE);
    ApplyWidths();
}

void CStatusBar::ApplyWidths() {
    if (!m_hWnd) {
        return;
    }
    RECT own{};
    GetClientRect(m_hWnd, &own);
    // Parts are given by their right edges: the fixed panes sit at the right.
    std::vector<int> edges(m_widths.size());
    int right = own.right;
    for (std::size_t i = m_widths.size(); i-- > 1;) {
        edges[i] = right;
        right -= m_widths[i];
    }
    edges[0] = std::max(0, right);
    SendMessageW(m_hWnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}
