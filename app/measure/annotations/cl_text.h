#pragma once
// A free text placed at a clicked point and shown through the object's label.
#include <string>

#include "cl_object.h"

class CCLText : public CCLObject {
public:
    static constexpr std::int32_t kType = 13;

    CCLText() { type = kType; }

    void Serialize(CArchive& ar) override;
#ifdef _WIN32
    // Every call, click or move, places the text there and completes it.
    bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY) override;
    // Only the label is drawn.
    void Draw(CDC* dc, float zoom, int scrollX, int scrollY) override;
#endif
    // Moves the label and the position together, whatever the state.
    void Move(int x0, int y0, int x1, int y1, float zoom) override;
    bool HitRect(const PixelRect& rect, float zoom) override;
    // Only the label can be hit.
    bool HitTest(int x, int y, float zoom) override;
    // No handles: the label becomes the active part.
    void CycleHandle(bool forward) override;

    const std::u16string* AnnotationText() const override { return &text; }

    PointF position;
    std::u16string text;
};
