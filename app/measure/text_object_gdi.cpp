// Measuring and drawing the label through the device-context wrapper.
#include <windows.h>

#include "cl_object.h"
#include "dc.h"
#include "log_font_win32.h"
#include "text_object.h"

void CTextObject::Update(const CCLObject& owner, float newX, float newY) {
    x = newX;
    y = newY;
    dirty = 1;
    font = owner.font;
    textColour = owner.drawColour;
    ComposeText(owner);
    Measure(nullptr, owner.font);
}

void CTextObject::Measure(CDC* dc, const LogFont& measureFont) {
    if (text.empty()) {
        width = 0;
        height = 0;
        return;
    }
    CMemoryDC memory(dc, 1, 1);
    CFont gdiFont(ToLogFontW(measureFont));
    CSelectObject select(memory, gdiFont.GetSafeHandle());
    RECT extent{0, 0, 0, 0};
    memory.DrawText(text, extent, DT_CALCRECT);
    width = extent.right - extent.left;
    height = extent.bottom - extent.top;
}

void CTextObject::Draw(CDC& dc, const CCLObject& owner, float zoom, int offsetX, int offsetY) {
    if (dirty != 0) {
        ComposeText(owner);
    }
    if (text.empty()) {
        dirty = 0;
        return;
    }
    const COLORREF oldColour = dc.SetTextColor(textColour);
    const bool selected = owner.state != CCLObject::kIdle;
    if (selected) {
        font.weight = 700;
        font.italic = 0;
        font.underline = 1;
    }
    CFont gdiFont(ToLogFontW(font));
    if (dirty != 0) {
        dirty = 0;
        Measure(&dc, font);
    }
    const PixelRect r = DeviceRect(zoom, offsetX, offsetY);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    if (boxShown != 0 || selected) {
        CPen nullPen(PS_NULL, 1, 0);
        CBrush brush(boxColour);
        CSelectObject selectPen(dc, nullPen.GetSafeHandle());
        CSelectObject selectBrush(dc, brush.GetSafeHandle());
        dc.Rectangle(r.left - 2, r.top - 2, r.right + 2, r.bottom + 2);
    }
    {
        CSelectObject selectFont(dc, gdiFont.GetSafeHandle());
        RECT where{r.left, r.top, r.right + 100, r.bottom};
        dc.DrawText(text, where, 0);
    }
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldColour);
}
