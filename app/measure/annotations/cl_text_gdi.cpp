// Placing and drawing a text annotation.
#include "cl_text.h"
#include "dc.h"
#include "annotation_geometry.h"

bool CCLText::Track(CDC*, int x, int y, int& step, bool, float zoom, int, int) {
    dragging = 0;
    if (!IsUsableZoom(zoom)) {
        return false;
    }
    position = ToImagePoint(x, y, zoom);
    label.Update(*this, position.x, position.y);
    step = 0;
    return true;
}

void CCLText::Draw(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (visible != 0 && dc != nullptr) {
        DrawLabel(*dc, zoom, scrollX, scrollY);
    }
    dragging = 0;
}
