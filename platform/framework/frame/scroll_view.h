#pragma once
// A view whose content may be larger than its window. The scroll sizes give
// the content's size in device pixels (MM_TEXT, the one mapping mode the
// program uses); the scroll bars show while the content is larger than the
// window; the mouse wheel scrolls vertically. Painting goes to OnDraw,
// background erasing to OnEraseBkgnd.
#include <windows.h>

#include "view_window.h"

class CScrollView : public CViewWindow {
public:
    // Page and line sizes of 0 take a tenth of the content and of the
    // window (the defaults).
    void SetScrollSizes(int mapMode, SIZE total, SIZE page = SIZE{0, 0}, SIZE line = SIZE{0, 0});
    SIZE GetTotalSize() const { return m_total; }
    int GetMapMode() const { return m_mapMode; }
    POINT GetScrollPosition() const;

protected:
    void OnDraw(HDC dc) override = 0;
    // True when the background was erased here.
    virtual bool OnEraseBkgnd(HDC dc);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct BarSteps {
        LONG page;
        LONG line;
    };
    void UpdateBars();
    BarSteps StepsOf(int bar, const SCROLLINFO& info) const;
    // Moves the bar to position, kept within its range, and repaints.
    void ScrollTo(int bar, const SCROLLINFO& info, int position);
    void Scroll(int bar, WORD request);
    // The vertical bar by the wheel's lines (or a page) per notch.
    void ScrollWheel(int delta);

    int m_mapMode = MM_TEXT;
    SIZE m_total{0, 0};
    SIZE m_page{0, 0};
    SIZE m_line{0, 0};
};
