#include "cl_text.h"

#include "annotation_record.h"
#include "annotation_geometry.h"
#include "text_object.h"

void CCLText::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        CCLObject::Serialize(ar);
        ar << position.x << position.y << std::u16string_view(text);
        return;
    }
    PointF newPosition;
    std::u16string newText;
    LoadWithBase(*this, ar, [&] {
        ar >> newPosition.x >> newPosition.y;
        ReadBoundedText(ar, newText, CTextObject::kMaxRecordTextChars);
    });
    position = newPosition;
    text = std::move(newText);
}

void CCLText::Move(int x0, int y0, int x1, int y1, float zoom) {
    dragging = 1;
    if (!IsUsableZoom(zoom)) {
        return;
    }
    label.Move(x0, y0, x1, y1, zoom);
    position.x += static_cast<float>(x1 - x0) / zoom;
    position.y += static_cast<float>(y1 - y0) / zoom;
}

bool CCLText::HitRect(const PixelRect& rect, float zoom) {
    return HitRectPoints(std::span<const PointF>(&position, 1), rect, zoom);
}

bool CCLText::HitTest(int x, int y, float zoom) { return HitLabelOrHandle({}, x, y, zoom) != kIdle; }

void CCLText::CycleHandle(bool) {
    state = kLabelActive;
    activeHandle = 0;
}
