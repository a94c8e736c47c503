// The drawing rules every measurement class shares.
#include <windows.h>

#include "cl_object.h"
#include "dc.h"

void CCLObject::DrawLabel(CDC& dc, float zoom, int scrollX, int scrollY) {
    label.textColour = PenColour();
    label.font = font;
    label.Draw(dc, *this, zoom, scrollX, scrollY);
}

void CCLObject::DrawHandles(CDC& dc, std::span<const PointF> handles, float zoom, int scrollX, int scrollY) {
    if (state == kIdle || dragging != 0) {
        return;
    }
    CPen nullPen(PS_NULL, 1, 0);
    CBrush brush(selectedColour);
    CSelectObject selectPen(dc, nullPen.GetSafeHandle());
    CSelectObject selectBrush(dc, brush.GetSafeHandle());
    for (std::size_t i = 0; i < handles.size(); ++i) {
        const PixelRect r = HandleSquare(handles[i], static_cast<int>(i + 1), zoom, scrollX, scrollY);
        dc.Rectangle(r.left, r.top, r.right, r.bottom);
    }
}
