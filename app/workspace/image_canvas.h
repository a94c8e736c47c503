#pragma once
// Where an image controller paints: a 1:1 picture buffer, a screen-sized
// back buffer into which the visible part of the picture is stretched and
// the objects drawn, and one copy of the back buffer to the window. Holds
// the zoom, centring and scroll placement. Windows only.
#include <windows.h>

#include <memory>

#include "dc.h"
#include "picture.h"

// What the controller asks of its view's scroll bars.
class IScrollSizeSink {
public:
    virtual ~IScrollSizeSink() = default;
    // Scroll range in zoomed pixels (0, 0: no scroll bars).
    virtual void SetScrollSizes(int width, int height) = 0;
};

// How the picture lies in the window; all in window pixels.
struct CanvasPlacement {
    float zoom = 1.0f;
    int zoomedWidth = 0;
    int zoomedHeight = 0;
    int centreX = 0;
    int centreY = 0;
    // The view keeps these at its scroll bar positions (zoomed pixels).
    int scrollX = 0;
    int scrollY = 0;
};

class CImageCanvas {
public:
    CImageCanvas() = default;
    CImageCanvas(const CImageCanvas&) = delete;
    CImageCanvas& operator=(const CImageCanvas&) = delete;

    // The window painted into; nothing is painted without one.
    void SetWindow(HWND window) { window_ = window; }
    void SetScrollSizeSink(IScrollSizeSink* sink) { scrollSink_ = sink; }
    // Tells the view's scroll bars the range (0, 0: none).
    void SetScrollSizes(int width, int height);

    CanvasPlacement& Placement() { return place_; }
    const CanvasPlacement& Placement() const { return place_; }
    // The window's client rectangle; empty without a window.
    RECT ClientRect() const;

    // Makes both buffers for `picture`: the picture drawn 1:1 on white, and
    // a grey back buffer at least the screen's and the window's size. Frees
    // them without window or picture.
    void Rebuild(const CPicture* picture);
    void Free();
    // The picture layer into the back buffer: with `redrawPicture` the
    // zoomed size and centring are worked out again and the picture redrawn
    // into its buffer; the visible part is stretched onto the grey margin and
    // the back buffer clipped to the picture.
    void DrawPicture(const CPicture& picture, bool redrawPicture);
    // The back buffer to the window.
    void Present();
    // Counting grid lines of cells `cellWidth` by `cellHeight` picture
    // pixels (each raised to at least 1, as stored back) over the picture.
    void DrawGrid(const CPicture& picture, float& cellWidth, float& cellHeight, COLORREF colour);
    // XOR focus rectangle over `zoomed` (zoomed-picture pixels, scroll
    // included) on the window; drawing it twice erases it.
    void DrawFocusRect(RECT zoomed);

    // The composed frame; null before Rebuild.
    CMemoryDC* BackBuffer() const { return backBuffer_.get(); }

private:
    HWND window_ = nullptr;
    IScrollSizeSink* scrollSink_ = nullptr;
    CanvasPlacement place_;
    std::unique_ptr<CMemoryDC> pictureBuffer_;
    std::unique_ptr<CMemoryDC> backBuffer_;
};
