#pragma once
// The picture grid pane: a static control over a dialog's frame that hosts
// the thumbnail grid, centres it when it is smaller than the pane and shows
// its own scroll bars when it is larger. The dialogs change the grid
// through GetGrid and then call Relayout.
#include <windows.h>

#include "stitch_pane_layout.h"
#include "thumb_strip.h"
#include "window.h"

class CStitchPreviewWnd : public CWindow {
public:
    static constexpr UINT kHorizontalBarId = 100;
    static constexpr UINT kVerticalBarId = 101;
    static constexpr UINT kInnerFrameId = 102;
    static constexpr COLORREF kBackground = RGB(255, 255, 255);

    // dialogs runs the grid's file dialogs; it outlives the pane.
    explicit CStitchPreviewWnd(IPictureFileDialogs& dialogs) : m_grid(dialogs) {}

    // The pane as a child of `parent` over `rect`, with its bars (hidden),
    // the inner frame and the grid.
    bool Create(HWND parent, const RECT& rect, DWORD style);
    CThumbStrip& GetGrid() { return m_grid; }
    void Relayout();
    // Zooms the grid's thumbnails in or out and lays the pane out again.
    void ZoomGrid(bool in);

    const stitch_pane::Layout& GetLayout() const { return m_layout; }
    HWND GetHorizontalBar() const { return m_horizontalBar; }
    HWND GetVerticalBar() const { return m_verticalBar; }
    HWND GetInnerFrame() const { return m_inner; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnScroll(int bar, int code);
    void EraseBackground(HDC dc);
    void MoveGrid();

    CThumbStrip m_grid;
    HWND m_horizontalBar = nullptr;
    HWND m_verticalBar = nullptr;
    HWND m_inner = nullptr;
    stitch_pane::Layout m_layout;
    RECT m_lastClient{};
};
