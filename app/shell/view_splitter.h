#pragma once
// The 2 by 2 splitter around the view: the ruler corner (0,0), the
// horizontal ruler (0,1), the vertical ruler (1,0) and the view (1,1). The
// rulers take 16 pixels when shown and none when hidden.
#include <memory>

#include "ruler_view.h"
#include "static_splitter.h"
#include "view_window.h"

class CViewSplitterWnd : public CStaticSplitter {
public:
    static constexpr int kRulerSize = 16;

    // Builds the panes, the view from its own factory; false when any fails.
    bool Build(HWND parent, std::unique_ptr<CViewWindow> view, CDocument* document);
    CViewWindow* GetView() const { return m_view; }
    // The horizontal bar (pane (0,1)) or the vertical one (pane (1,0)).
    CRulerView* GetRuler(bool horizontal) const { return horizontal ? m_horizontal : m_vertical; }
    // Both bars take the geometry; see CRulerView::Redraw.
    void RedrawRulers(int kind, const RulerBarGeometry& geometry, POINT mouse);

    // Shows or hides the rulers; remember makes it the wanted state.
    void ShowRulers(bool shown, bool remember);
    // After a ruler update: a picture shown smaller than its size hides the
    // rulers (not remembered); otherwise they come back when wanted.
    void AfterRulerUpdate(int imageWidth, int imageHeight, double zoomX, double zoomY);
    bool AreRulersShown() const { return GetRowHeight(0) > 0; }

    int m_bRulersWanted = 0;

private:
    CViewWindow* m_view = nullptr;
    CRulerView* m_horizontal = nullptr;
    CRulerView* m_vertical = nullptr;
};
