// Drawing an arrow: its picture from the program's resources, recoloured
// and stretched to the arrow's size with white left transparent.
#include <windows.h>

#include <cstdlib>
#include <span>

#include "arrow_pictures.h"
#include "cl_arrow.h"
#include "dc.h"
#include "annotation_geometry.h"

namespace {

// A memory context holding one bitmap for the context's lifetime.
class BitmapSource {
public:
    explicit BitmapSource(HBITMAP bitmap)
        : dc_(::CreateCompatibleDC(nullptr)), old_(dc_ != nullptr ? ::SelectObject(dc_, bitmap) : nullptr) {}
    BitmapSource(const BitmapSource&) = delete;
    BitmapSource& operator=(const BitmapSource&) = delete;
    ~BitmapSource() {
        if (dc_ != nullptr) {
            if (old_ != nullptr && old_ != HGDI_ERROR) {
                ::SelectObject(dc_, old_);
            }
            ::DeleteDC(dc_);
        }
    }
    HDC Get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

void DrawPicture(CDC& dc, int bitmapId, ColourRef colour, int x, int y, int width, int height) {
    // A DIB section, so the bits are the resource's own 24-bit layout.
    UniqueGdiObject<HBITMAP> bitmap(static_cast<HBITMAP>(::LoadImageW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    DIBSECTION section{};
    if (!bitmap || ::GetObjectW(bitmap.get(), sizeof section, &section) != sizeof section ||
        section.dsBm.bmBits == nullptr) {
        return;
    }
    const BITMAP& bm = section.dsBm;
    const std::size_t bytes =
        static_cast<std::size_t>(std::abs(bm.bmHeight)) * static_cast<std::size_t>(bm.bmWidthBytes);
    ::GdiFlush();
    RecolourArrowPixels(std::span<std::uint8_t>(static_cast<std::uint8_t*>(bm.bmBits), bytes), bm.bmWidth,
                        std::abs(bm.bmHeight), bm.bmWidthBytes, bm.bmBitsPixel / 8, colour);
    BitmapSource source(bitmap.get());
    if (source.Get() == nullptr) {
        return;
    }
    dc.SetStretchBltMode(COLORONCOLOR);
    ::GdiTransparentBlt(dc.GetSafeHdc(), x, y, width, height, source.Get(), 0, 0, bm.bmWidth, std::abs(bm.bmHeight),
                        RGB(255, 255, 255));
}

}  // namespace

void CCLArrow::Draw(CDC* dc, float zoom, int scrollX, int scrollY) {
    if (visible != 0 && dc != nullptr && IsUsableZoom(zoom)) {
        PlaceForZoom(zoom);
        const PixelRect r = PictureRect(zoom);
        const int x = r.left - scrollX;
        const int y = r.top - scrollY;
        if (const std::optional<ArrowPicture> picture = ArrowPictureFor(direction)) {
            DrawPicture(*dc, picture->bitmapId, arrowColour, x, y, width, height);
        }
        if (state != kIdle) {
            CPen pen(penStyle, lineWidth, selectedColour);
            CSelectObject selectPen(*dc, pen.GetSafeHandle());
            CSelectObject selectBrush(*dc, ::GetStockObject(NULL_BRUSH));
            dc->Rectangle(x - 1, y - 1, x + width + 1, y + height + 1);
        }
    }
    dragging = 0;
}
