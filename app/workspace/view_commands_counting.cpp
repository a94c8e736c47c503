// Cell-counting commands of the view: the counting grid over the picture.
#include "mikra_view.h"
#include "resource.h"

void CMikraView::ToggleCountingGrid() {
    // Counting works on pictures only, never on the running video.
    if (IsVideoActive()) {
        return;
    }
    m_bGridShown = m_bGridShown ? 0 : 1;
    if (m_bGridShown) {
        m_current->LoadCalibration();
    }
    m_current->ShowCountingGrid(m_bGridShown);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void RegisterCountingCommands(CMikraView& view) {
    view.OnCommand(ID_COUNT_GRID, [&view] { view.ToggleCountingGrid(); });
}
