#include "cl_object.h"

#include <atomic>
#include <cstdlib>

#include "archive.h"
#include "truncate.h"

namespace {

// Every construction takes the next id; copies keep their source's.
std::atomic<std::int32_t> g_nextId{0};

}  // namespace

CCLObject::CCLObject() : id(g_nextId.fetch_add(1)) {}

CCLObject::CCLObject(const CCLObject& other) : id(other.id) { CopyBaseFrom(other); }

CCLObject& CCLObject::operator=(const CCLObject& other) {
    if (this != &other) {
        CopyBaseFrom(other);
    }
    return *this;
}

std::int32_t CCLObject::PeekNextId() { return g_nextId.load(); }

void CCLObject::CopyBaseFrom(const CCLObject& other) {
    id = other.id;
    type = other.type;
    state = other.state;
    activeHandle = other.activeHandle;
    drawColour = other.drawColour;
    penStyle = other.penStyle;
    number = other.number;
    labelMode = other.labelMode;
    results = other.results;
    selectedColour = other.selectedColour;
    font = other.font;
    decimals = other.decimals;
    scale = other.scale;
    lineWidth = other.lineWidth;
    unitText = other.unitText;
    label = other.label;
}

bool CCLObject::ScaleBarValue(float&, std::u16string&) const { return false; }

bool CCLObject::Track(CDC*, int, int, int&, bool, float, int, int) { return false; }

void CCLObject::Draw(CDC*, float, int, int) { dragging = 0; }

void CCLObject::Move(int, int, int, int, float) {}

bool CCLObject::HitRect(const PixelRect&, float) { return false; }

bool CCLObject::HitTest(int, int, float) { return false; }

void CCLObject::CycleHandle(bool) {}

bool CCLObject::MovePoints(std::span<PointF> points, int x0, int y0, int x1, int y1, float zoom) {
    dragging = 1;
    if (!(zoom > 0.0f)) {
        return false;
    }
    const float dx = static_cast<float>(x1 - x0) / zoom;
    const float dy = static_cast<float>(y1 - y0) / zoom;
    switch (state) {
    case kSelectedWhole: label.Move(x0, y0, x1, y1, zoom); [[fallthrough]];
    case kBodyActive:
        for (PointF& p : points) {
            p.x += dx;
            p.y += dy;
        }
        return false;
    case kLabelActive: label.Move(x0, y0, x1, y1, zoom); return false;
    case kHandleActive:
        if (activeHandle >= 1 && static_cast<std::size_t>(activeHandle) <= points.size()) {
            PointF& p = points[static_cast<std::size_t>(activeHandle - 1)];
            p.x += dx;
            p.y += dy;
            return true;
        }
        return false;
    default: return false;
    }
}

std::int32_t CCLObject::HitLabelOrHandle(std::span<const PointF> handles, int x, int y, float zoom) {
    if (visible == 0) {
        return kIdle;
    }
    if (label.HitTest(x, y, zoom)) {
        state = kLabelActive;
        activeHandle = 0;
        return state;
    }
    for (std::size_t i = 0; i < handles.size(); ++i) {
        const std::int64_t hx = ZoomedPixel(zoom, handles[i].x);
        const std::int64_t hy = ZoomedPixel(zoom, handles[i].y);
        if (std::llabs(x - hx) < kHandleReach && std::llabs(y - hy) < kHandleReach) {
            state = kHandleActive;
            activeHandle = static_cast<std::int32_t>(i + 1);
            return state;
        }
    }
    return kIdle;
}

bool CCLObject::HitRectPoints(std::span<const PointF> points, const PixelRect& rect, float zoom) {
    if (visible == 0) {
        return false;
    }
    for (const PointF& p : points) {
        const std::int32_t px = ZoomedPixel(zoom, p.x);
        const std::int32_t py = ZoomedPixel(zoom, p.y);
        if (px >= rect.left && px < rect.right && py >= rect.top && py < rect.bottom) {
            state = kSelectedWhole;
            return true;
        }
    }
    return false;
}

void CCLObject::CycleAmong(int handleCount, bool forward) {
    if (state == kSelectedWhole || handleCount < 0) {
        return;
    }
    int next = activeHandle + (forward ? 1 : -1);
    if (next > handleCount) {
        next = 0;
    } else if (next < 0) {
        next = handleCount;
    }
    activeHandle = next;
    state = next == 0 ? kBodyActive : kHandleActive;
}

PixelRect CCLObject::HandleSquare(PointF p, int index, float zoom, int scrollX, int scrollY) const {
    const std::int32_t half = handleSize + lineWidth + (state == kHandleActive && index == activeHandle ? 1 : 0);
    const std::int32_t cx = ZoomedPixel(zoom, p.x) - scrollX;
    const std::int32_t cy = ZoomedPixel(zoom, p.y) - scrollY;
    return {cx - half, cy - half, cx + half, cy + half};
}

void CCLObject::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << id << type << state << activeHandle << std::uint32_t{drawColour} << penStyle << number << labelMode
           << visible;
        for (std::size_t i = 0; i < 7; ++i) {
            ar << results[i];
        }
        ar << std::uint32_t{selectedColour} << font.FaceName();
        ar << font.height << font.width << font.escapement << font.orientation << font.weight;
        ar << font.italic << font.underline << font.strikeOut << font.charSet << font.outPrecision << font.clipPrecision
           << font.quality << font.pitchAndFamily;
        ar << decimals << scale << lineWidth << TruncateToInt(label.x) << TruncateToInt(label.y);
        ar << std::u16string_view(unitText) << results[7];
        label.Serialize(ar);
        return;
    }
    // Read into locals so that a damaged record leaves this object as it was.
    std::int32_t newId = 0, newType = 0, newState = 0, newActive = 0, newPenStyle = 0, newNumber = 0, newLabelMode = 0,
                 newVisible = 0, newDecimals = 0, newLineWidth = 0, anchorX = 0, anchorY = 0;
    std::uint32_t newDrawColour = 0, newSelectedColour = 0;
    std::array<float, 8> newResults{};
    std::u16string faceName;
    LogFont newFont;
    float newScale = 0;
    std::u16string newUnit;
    ar >> newId >> newType >> newState >> newActive >> newDrawColour >> newPenStyle >> newNumber >> newLabelMode >>
        newVisible;
    for (std::size_t i = 0; i < 7; ++i) {
        ar >> newResults[i];
    }
    ar >> newSelectedColour >> faceName;
    if (faceName.size() > kMaxFaceNameChars) {
        throw ArchiveException(ArchiveException::tooLarge);
    }
    newFont.SetFaceName(faceName);
    ar >> newFont.height >> newFont.width >> newFont.escapement >> newFont.orientation >> newFont.weight;
    ar >> newFont.italic >> newFont.underline >> newFont.strikeOut >> newFont.charSet >> newFont.outPrecision >>
        newFont.clipPrecision >> newFont.quality >> newFont.pitchAndFamily;
    ar >> newDecimals >> newScale >> newLineWidth >> anchorX >> anchorY;
    ar >> newUnit;
    if (newUnit.size() > kMaxUnitChars) {
        throw ArchiveException(ArchiveException::tooLarge);
    }
    ar >> newResults[7];
    CTextObject newLabel = label;
    newLabel.x = static_cast<float>(anchorX);
    newLabel.y = static_cast<float>(anchorY);
    newLabel.Serialize(ar);

    id = newId;
    type = newType;
    state = newState;
    activeHandle = newActive;
    drawColour = newDrawColour;
    penStyle = newPenStyle;
    number = newNumber;
    labelMode = newLabelMode;
    visible = newVisible;
    results = newResults;
    selectedColour = newSelectedColour;
    font = newFont;
    decimals = newDecimals;
    scale = newScale;
    lineWidth = newLineWidth;
    unitText = std::move(newUnit);
    label = std::move(newLabel);
}
