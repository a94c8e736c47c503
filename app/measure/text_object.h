#pragma once
// The result label every measurement object owns: composes the object's
// name and values, is drawn beside the figure, can be dragged and answers
// hit tests. Composition, geometry and the record build everywhere; Update,
// Measure and Draw need a device context and exist on Windows only.

#include <array>
#include <cstdint>
#include <string>

#include "geometry.h"
#include "log_font.h"

class CArchive;
class CCLObject;
class CDC;

class CTextObject {
public:
    // Longest label text a record may hold; user text annotations are far
    // shorter, so a longer one marks a damaged file.
    static constexpr std::size_t kMaxRecordTextChars = 32768;
    static constexpr ColourRef kDefaultBoxColour = 0x649664;
    // Decimal places are clamped to this range before formatting.
    static constexpr int kMaxDecimals = 10;

    CTextObject() = default;
    CTextObject(const CTextObject&) = default;
    CTextObject& operator=(const CTextObject&) = default;
    virtual ~CTextObject() = default;

    void ComposeText(const CCLObject& owner);
    static std::u16string FormatValue(int decimals, float value);
    // Box colour, box shown and position only.
    void CopyFrom(const CTextObject& other);
    void Move(int x1, int y1, int x2, int y2, float zoom);
    // (x, y) in zoomed-picture pixels; true within 2 pixels of the text.
    bool HitTest(int x, int y, float zoom) const;
    // The text rectangle on the device: (trunc(x * zoom) - offsetX, ...) and
    // the measured size.
    PixelRect DeviceRect(float zoom, int offsetX, int offsetY) const;
    // Throws ArchiveException for a damaged record.
    virtual void Serialize(CArchive& ar);

#ifdef _WIN32
    void Update(const CCLObject& owner, float x, float y);
    // Text extent with `font` on a memory context compatible with dc (the
    // screen when dc is null).
    void Measure(CDC* dc, const LogFont& font);
    void Draw(CDC& dc, const CCLObject& owner, float zoom, int offsetX, int offsetY);
#endif

    float x = 0;
    float y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::u16string text;
    std::int32_t boxShown = 1;
    std::array<std::u16string, 9> captions;
    LogFont font;
    ColourRef textColour = 0;
    ColourRef boxColour = kDefaultBoxColour;
    std::int32_t dirty = 1;
};
