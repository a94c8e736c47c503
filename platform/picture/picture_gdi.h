#pragma once
// Drawing a picture through GDI (Windows only).

#include <windows.h>

#include <memory>
#include <type_traits>

#include "picture.h"

namespace picture_gdi {

struct BitmapDeleter {
    void operator()(HBITMAP bitmap) const { ::DeleteObject(bitmap); }
};
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

// The picture stretched into (x, y, width, height) with COLORONCOLOR
// stretching; width or height -1 means the picture's own size.
bool Draw(const CPicture& picture, HDC dc, int x, int y, int width = -1, int height = -1);
bool Draw(const CPicture& picture, HDC dc, const RECT& rect);
bool Draw2(const CPicture& picture, HDC dc, int x, int y, int width, int height);
// As Draw, with a raster operation (thumbnails).
bool Stretch(const CPicture& picture, HDC dc, int x, int y, int width, int height, DWORD rop);
// A device bitmap compatible with dc holding the picture.
UniqueBitmap MakeBitmap(const CPicture& picture, HDC dc);
// The bitmap's pixels as a 24-bit picture (for example a screen capture).
bool CreateFromHBITMAP(CPicture& picture, HBITMAP bitmap);

}  // namespace picture_gdi
