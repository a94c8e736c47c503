#include "mikra_view.h"

#include "command_line.h"
#include "copy_data.h"

void CMikraView::OnCopyData(const COPYDATASTRUCT* record) {
    const std::optional<std::wstring> text = ReadCopyDataText(record);
    // Only drawing documents come this way; anything else is dropped.
    if (!text || text->empty() || !NamesDrawingDocument(*text)) {
        return;
    }
    m_requestedDocument = ExtractDocumentPath(*text);
    SetWindowTextW(m_hWnd, m_requestedDocument.c_str());
}

LRESULT CMikraView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return TRUE;
    }
    return CViewWindow::WindowProc(message, wParam, lParam);
}
