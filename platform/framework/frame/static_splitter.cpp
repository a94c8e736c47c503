#include "static_splitter.h"

#include <algorithm>

bool CStaticSplitter::CreateStatic(HWND parent, int rows, int columns, UINT id) {
    if (rows < 1 || columns < 1 || rows > 16 || columns > 16) {
        return false;
    }
    if (!RegisterWindowClass(kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)) ||
        !RegisterWindowClass(kBlankPaneClassName, 0, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1))) {
        return false;
    }
    m_rows = rows;
    m_columns = columns;
    m_rowHeights.assign(static_cast<std::size_t>(rows), 0);
    m_columnWidths.assign(static_cast<std::size_t>(columns), 0);
    m_panes.resize(static_cast<std::size_t>(rows * columns));
    return CreateEx(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, RECT{0, 0, 0, 0}, parent, id);
}

bool CStaticSplitter::SetPane(int row, int column, std::unique_ptr<CWindow> pane) {
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns || !pane || !pane->GetSafeHwnd() ||
        GetParent(pane->GetSafeHwnd()) != m_hWnd) {
        return false;
    }
    SetWindowLongPtrW(pane->GetSafeHwnd(), GWLP_ID, PaneId(row, column));
    m_panes[static_cast<std::size_t>(row * m_columns + column)] = std::move(pane);
    return true;
}

bool CStaticSplitter::CreateBlankPane(int row, int column) {
    auto pane = std::make_unique<CWindow>();
    if (!pane->CreateEx(0, kBlankPaneClassName, L"", WS_CHILD | WS_VISIBLE, RECT{0, 0, 0, 0}, m_hWnd,
                        PaneId(row, column))) {
        return false;
    }
    return SetPane(row, column, std::move(pane));
}

CWindow* CStaticSplitter::GetPane(int row, int column) const {
    if (row < 0 || row >= m_rows || column < 0 || column >= m_columns) {
        return nullptr;
    }
    return m_panes[static_cast<std::size_t>(row * m_columns + column)].get();
}

void CStaticSplitter::SetRowHeight(int row, int height) {
    m_rowHeights.at(static_cast<std::size_t>(row)) = std::max(0, height);
}

void CStaticSplitter::SetColumnWidth(int column, int width) {
    m_columnWidths.at(static_cast<std::size_t>(column)) = std::max(0, width);
}

void CStaticSplitter::SetBarWidth(int width) { m_barWidth = std::max(0, width); }

void CStaticSplitter::RecalcLayout() {
    if (!m_hWnd) {
        return;
    }
    RECT client{};
    GetClientRect(m_hWnd, &client);
    // Every row and column but the last has its set size; the last takes
    // what is left after the bars between them.
    auto extents = [this](const std::vector<int>& sizes, int total) {
        std::vector<std::pair<int, int>> result;
        int position = 0;
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            const bool last = i + 1 == sizes.size();
            const int size = last ? std::max(0, total - position) : std::min(sizes[i], std::max(0, total - position));
            result.emplace_back(position, size);
            position += size + (last ? 0 : m_barWidth);
        }
        return result;
    };
    const auto rows = extents(m_rowHeights, client.bottom);
    const auto columns = extents(m_columnWidths, client.right);
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < m_columns; ++c) {
            if (CWindow* pane = GetPane(r, c); pane && pane->GetSafeHwnd()) {
                MoveWindow(pane->GetSafeHwnd(), columns[c].first, rows[r].first, columns[c].second, rows[r].second,
                           TRUE);
            }
        }
    }
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT CStaticSplitter::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE) {
        RecalcLayout();
        return 0;
    }
    // Commands and notifications of the panes go on to the frame.
    if (message == WM_COMMAND || message == WM_NOTIFY) {
        return SendMessageW(GetParent(m_hWnd), message, wParam, lParam);
    }
    return Default(message, wParam, lParam);
}
