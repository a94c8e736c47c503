#include "rendered_picture.h"

#include <cstdint>

#include "picture_gdi.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// The pixels of a 32-bit DIB section as a 24-bit picture.
CPicture PictureOf(const CMemoryDC& bitmap) {
    const int width = bitmap.GetWidth();
    const int height = bitmap.GetHeight();
    CPicture picture(width, height, 24, kPictureBmp);
    for (int y = 0; y < height; ++y) {
        // Picture rows count from the bottom.
        std::uint8_t* row = picture.GetBits(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = bitmap.GetPixelRGB(x, y);
            row[3 * x] = static_cast<std::uint8_t>(rgb & 0xFF);
            row[3 * x + 1] = static_cast<std::uint8_t>((rgb >> 8) & 0xFF);
            row[3 * x + 2] = static_cast<std::uint8_t>((rgb >> 16) & 0xFF);
        }
    }
    return picture;
}

}  // namespace

bool DrawPictureWithObjects(CDC& dc, const CPicture* picture, ZoomedSize size, float zoom, ObjectList& objects,
                            const ObjectPainter& paint) {
    if (picture != nullptr && !picture_gdi::Draw(*picture, dc.GetSafeHdc(), 0, 0, size.width, size.height)) {
        return false;
    }
    if (paint) {
        for (const auto& object : objects) {
            if (object->visible != 0) {
                paint(*object, dc, zoom);
            }
        }
    }
    return true;
}

std::optional<CPicture> RenderPicture(ZoomedSize size, const std::function<bool(CDC& dc)>& draw) {
    if (size.width <= 0 || size.height <= 0 || !CPicture::IsSizeAllowed(size.width, size.height)) {
        return std::nullopt;
    }
    CMemoryDC bitmap(nullptr, size.width, size.height, CMemoryDC::Kind::dibSection);
    if (!bitmap.IsValid()) {
        return std::nullopt;
    }
    bitmap.FillSolidRect(RECT{0, 0, size.width, size.height}, kWhite);
    if (!draw(bitmap)) {
        return std::nullopt;
    }
    ::GdiFlush();
    return PictureOf(bitmap);
}
