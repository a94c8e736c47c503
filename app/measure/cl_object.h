#pragma once
// Base of every measurement object drawn over a picture: identity, style,
// selection state, results, the result label and the record every class's
// stored form begins with. Points are image pixels (float); the controller
// passes mouse positions in zoomed-picture pixels.

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "geometry.h"
#include "log_font.h"
#include "text_object.h"

class CArchive;
class CDC;

class CCLObject {
public:
    // Selection states.
    enum State : std::int32_t {
        kIdle = 0,
        kHandleActive = 1,
        kLabelActive = 2,
        kBodyActive = 3,
        kSelectedWhole = 4,
    };
    // What the label shows.
    enum LabelMode : std::int32_t { kLabelAll = 0, kLabelNameOnly = 1, kLabelNothing = 2, kLabelValuesOnly = 3 };
    // Result slots.
    enum Result : std::size_t {
        kAngle = 0,
        kLength = 1,
        kWidth = 2,
        kHeight = 3,
        kPerimeter = 4,
        kArea = 5,
        kRadius = 6,
        kDistance = 7,
    };
    static constexpr ColourRef kDefaultSelectedColour = 200;  // RGB(200, 0, 0)
    static constexpr std::size_t kMaxUnitChars = 64;
    static constexpr std::size_t kMaxFaceNameChars = 255;
    // A handle is hit within this many pixels, strictly.
    static constexpr int kHandleReach = 4;

    CCLObject();
    // Copies the base part (see CopyBaseFrom); visible, handle size and
    // dragging take their defaults.
    CCLObject(const CCLObject& other);
    // Copies the base part; this object's visible flag, handle size and
    // dragging flag are left as they were.
    CCLObject& operator=(const CCLObject& other);
    virtual ~CCLObject() = default;

    // The record every class's stored form begins with. Throws
    // ArchiveException for a damaged record.
    virtual void Serialize(CArchive& ar);

    // One call per mouse event while the object is created; true when the
    // click completes it. The base takes no points.
    virtual bool Track(CDC* dc, int x, int y, int& step, bool moving, float zoom, int scrollX, int scrollY);
    // Paints the finished object; the base draws nothing and ends the drag.
    virtual void Draw(CDC* dc, float zoom, int scrollX, int scrollY);
    virtual void Move(int x0, int y0, int x1, int y1, float zoom);
    virtual bool HitRect(const PixelRect& rect, float zoom);
    virtual bool HitTest(int x, int y, float zoom);
    virtual void CycleHandle(bool forward);

    // What the label shows for a text annotation (type 13) and a scale bar
    // (type 17); their classes answer, the base has neither.
    virtual const std::u16string* AnnotationText() const { return nullptr; }
    virtual bool ScaleBarValue(float& length, std::u16string& unit) const;

    // The value the next constructed object takes as its id.
    static std::int32_t PeekNextId();

    std::int32_t id;
    std::int32_t type = 0;
    std::int32_t state = kIdle;
    CTextObject label;
    std::int32_t activeHandle = 0;
    ColourRef drawColour = 0;
    ColourRef selectedColour = kDefaultSelectedColour;
    std::int32_t penStyle = 0;
    std::int32_t lineWidth = 1;
    std::int32_t number = -1;
    std::int32_t labelMode = kLabelAll;
    std::int32_t decimals = 2;
    std::u16string unitText = u"μm";
    float scale = 1.0f;
    std::int32_t visible = 1;
    std::array<float, 8> results{};
    LogFont font = SystemLogFont();
    std::int32_t handleSize = 2;
    std::int32_t dragging = 0;

protected:
    // The rules every class with points follows; classes call them from
    // their own overrides.
    //
    // Move by state: 4 moves `points` and the label, 3 the points, 2 the
    // label, 1 the active handle's point. Sets dragging. Returns true when
    // a handle moved (the class then recomputes its results).
    bool MovePoints(std::span<PointF> points, int x0, int y0, int x1, int y1, float zoom);
    // Label first, then the handles in order; sets state and active handle.
    // Returns 0 for no hit, else the state set. The class tests its body
    // when this returns 0.
    std::int32_t HitLabelOrHandle(std::span<const PointF> handles, int x, int y, float zoom);
    // True (and state 4) when any reference point lies inside rect.
    bool HitRectPoints(std::span<const PointF> points, const PixelRect& rect, float zoom);
    // Steps the active handle among 0..handleCount (0 = the body).
    void CycleAmong(int handleCount, bool forward);
    // Device rectangle of handle `index` (1-based) at point p.
    PixelRect HandleSquare(PointF p, int index, float zoom, int scrollX, int scrollY) const;

#ifdef _WIN32
    // Pen colour and width for the current state.
    ColourRef PenColour() const { return state == kIdle ? drawColour : selectedColour; }
    std::int32_t PenWidth() const { return state == kBodyActive && dragging == 0 ? lineWidth + 1 : lineWidth; }
    // Gives the label the pen colour and this object's font, then draws it.
    void DrawLabel(CDC& dc, float zoom, int scrollX, int scrollY);
    // Filled squares on the handles when selected and not dragged.
    void DrawHandles(CDC& dc, std::span<const PointF> handles, float zoom, int scrollX, int scrollY);
#endif

private:
    void CopyBaseFrom(const CCLObject& other);
};
