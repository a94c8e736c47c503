#pragma once
// A static control that shows a bitmap fitted to its client area or at
// actual size with its own scroll bars, with an optional selection of four
// thin green lines whose edges the user drags. The caller owns the bitmaps:
// the control only selects them into its memory context and never deletes
// them; a bitmap must outlive its time in the control.
#include <windows.h>

#include <array>

#include "preview_geometry.h"
#include "unique_handle.h"
#include "window.h"

class CImagePreviewWnd : public CWindow {
public:
    static constexpr UINT kHorizontalBarId = 100;
    static constexpr UINT kVerticalBarId = 101;
    static constexpr UINT kFirstLineId = 200;  // top, bottom, left, right

    CImagePreviewWnd();
    ~CImagePreviewWnd() override;

    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    // Shows the bitmap and lays it out again in the current mode. False (and
    // nothing shown) for a missing or empty bitmap.
    bool SetBitmap(HBITMAP bitmap);
    // Shows a bitmap of the size already laid out, without a new layout.
    bool AttachBitmap(HBITMAP bitmap);
    // 1 actual size with scroll bars, 0 fitted to the window.
    void UpdateLayout(int mode);
    void SetSelection(int left, int top, int right, int bottom);
    // The selection rounded to whole pixels, within the picture.
    RECT GetSelection();
    // The last clicked point in picture pixels, then (0, 0).
    POINT TakeClickPoint();

    const preview::Layout& GetLayout() const { return m_layout; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCreate();
    void OnPaint();
    void Paint(HDC dc);
    void EraseBackground(HDC dc);
    void OnScroll(int bar, int code);
    void OnButtonDown(int x, int y);
    void OnMouseMove(int x, int y);
    void OnButtonUp();
    bool Attach(HBITMAP bitmap);
    void Detach();
    void ApplyLayout(int mode);
    void PlaceLines(bool nearest);
    void MoveLines();
    void SetCursorFor(preview::Edge edge);

    bool m_selectionEnabled = false;
    bool m_dragging = false;
    std::array<HWND, 4> m_lines{};
    RECT m_selectionInt{};
    preview::Selection m_selection;
    preview::Lines m_lineRects{};
    preview::Edge m_grabbed = preview::kNoEdge;
    POINT m_previousDrag{};
    POINT m_currentDrag{};
    UniqueGdiHandle m_greenBrush;
    HBITMAP m_bitmap = nullptr;  // the caller's
    int m_bitmapWidth = 0;
    int m_bitmapHeight = 0;
    HWND m_horizontalBar = nullptr;
    HWND m_verticalBar = nullptr;
    UniqueHandle<HDC, &DeleteDC> m_memoryDc;
    HCURSOR m_cursor = nullptr;
    preview::Layout m_layout;
    int m_mode = 1;
    bool m_valid = false;
    POINT m_click{};
};
