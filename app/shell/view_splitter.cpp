#include "view_splitter.h"

#include "frame_window.h"

bool CViewSplitterWnd::Build(HWND parent, std::unique_ptr<CViewWindow> view, CDocument* document) {
    if (!view || !CreateStatic(parent, 2, 2, CFrameWindow::kFirstPaneId)) {
        return false;
    }
    auto corner = std::make_unique<CRulerCornerView>();
    auto horizontal = std::make_unique<CRulerView>(true);
    auto vertical = std::make_unique<CRulerView>(false);
    if (!corner->Create(m_hWnd, PaneId(0, 0)) || !horizontal->Create(m_hWnd, PaneId(0, 1)) ||
        !vertical->Create(m_hWnd, PaneId(1, 0)) || !view->Create(m_hWnd, PaneId(1, 1), document)) {
        return false;
    }
    m_horizontal = horizontal.get();
    m_vertical = vertical.get();
    if (!SetPane(0, 0, std::move(corner)) || !SetPane(0, 1, std::move(horizontal)) ||
        !SetPane(1, 0, std::move(vertical))) {
        return false;
    }
    m_view = view.get();
    if (!SetPane(1, 1, std::move(view))) {
        return false;
    }
    ShowRulers(false, false);
    return true;
}

void CViewSplitterWnd::RedrawRulers(int kind, const RulerBarGeometry& geometry, POINT mouse) {
    for (CRulerView* ruler : {m_horizontal, m_vertical}) {
        if (ruler) {
            ruler->Redraw(kind, geometry, mouse);
        }
    }
}

void CViewSplitterWnd::ShowRulers(bool shown, bool remember) {
    const int size = shown ? kRulerSize : 0;
    SetRowHeight(0, size);
    SetColumnWidth(0, size);
    SetBarWidth(shown ? 3 : 1);
    if (remember) {
        m_bRulersWanted = shown ? 1 : 0;
    }
    RecalcLayout();
}

void CViewSplitterWnd::AfterRulerUpdate(int imageWidth, int imageHeight, double zoomX, double zoomY) {
    if (static_cast<int>(imageWidth * zoomX) < imageWidth || static_cast<int>(imageHeight * zoomY) < imageHeight) {
        ShowRulers(false, false);
    } else if (m_bRulersWanted) {
        ShowRulers(true, false);
    }
}
