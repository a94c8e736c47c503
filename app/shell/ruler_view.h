#pragma once
// `CRulerView`: a ruler bar in the splitter beside the view, horizontal
// (top, pane (0,1)) or vertical (left, pane (1,0)), showing picture
// coordinates at the view's zoom and scroll position, and a marker line at
// the mouse. `CRulerCornerView`: the blank box where the two meet. Neither
// takes input: mouse presses and moves are swallowed and the focus goes back
// to the view in pane (1,1).
//
// A bar draws into a buffer of its own and copies it to the window, so the
// inverted marker is always drawn over the bar shown: a repaint draws the
// bar and the marker afresh, and the next move erases the marker where the
// window really shows it.
#include <memory>
#include <optional>

#include "dc.h"
#include "ruler_bar_ticks.h"
#include "window.h"

// The view's picture (or video frame) as both bars show it.
struct RulerBarGeometry {
    POINT origin{0, 0};  // window position of the picture's corner, unscrolled
    POINT scroll{0, 0};
    int width = 0;  // picture pixels
    int height = 0;
    float zoomX = 1.0f;
    float zoomY = 1.0f;

    bool operator==(const RulerBarGeometry& other) const {
        return origin.x == other.origin.x && origin.y == other.origin.y && scroll.x == other.scroll.x &&
               scroll.y == other.scroll.y && width == other.width && height == other.height && zoomX == other.zoomX &&
               zoomY == other.zoomY;
    }
};

// The splitter's pane windows for the rulers: the focus goes to the view.
class CRulerPane : public CWindow {
public:
    bool Create(HWND splitter, UINT id, const wchar_t* className);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class CRulerCornerView : public CRulerPane {
public:
    static constexpr const wchar_t* kClassName = L"CRulerCornerView";
    bool Create(HWND splitter, UINT id) { return CRulerPane::Create(splitter, id, kClassName); }
};

class CRulerView : public CRulerPane {
public:
    static constexpr const wchar_t* kClassName = L"CRulerView";

    explicit CRulerView(bool horizontal) : m_bHorizontal(horizontal) {}
    bool Create(HWND splitter, UINT id) { return CRulerPane::Create(splitter, id, kClassName); }

    // Stores the geometry. Kind 3 moves the marker to the mouse position
    // (window pixels of the view) when it lies on the picture; kind 2
    // repaints the horizontal bar at once and kind 1 the vertical one; any
    // other kind, and a kind for the other bar, only invalidates the bar.
    void Redraw(int kind, const RulerBarGeometry& geometry, POINT mouse);
    const RulerBarGeometry& GetGeometry() const { return m_geometry; }
    bool IsHorizontal() const { return m_bHorizontal; }
    // The marker's position along the bar; none before the first.
    std::optional<int> GetMarker() const { return m_marker; }

    // The bar into dc of width by height: white, the tick sets, the labels
    // and the marker.
    void OnDraw(CDC& dc, int width, int height) const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    RulerBarAxis Axis() const;
    // Draws the bar into the buffer afresh (a new one at the client size).
    void RebuildBuffer();
    void InvertMarker(int position);
    void CopyBufferTo(HDC dc);

    bool m_bHorizontal;
    RulerBarGeometry m_geometry;
    std::optional<int> m_marker;
    std::unique_ptr<CMemoryDC> m_buffer;
    bool m_bStale = true;
};
