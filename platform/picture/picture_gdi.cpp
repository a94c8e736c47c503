#include "picture_gdi.h"

#include <cstring>

namespace picture_gdi {
namespace {

struct DibHeader {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

void FillHeader(const CPicture& picture, DibHeader& dib) {
    std::memset(&dib, 0, sizeof dib);
    dib.header.biSize = sizeof(BITMAPINFOHEADER);
    dib.header.biWidth = picture.GetWidth();
    dib.header.biHeight = picture.GetHeight();
    dib.header.biPlanes = 1;
    dib.header.biBitCount = static_cast<WORD>(picture.GetBpp());
    dib.header.biCompression = BI_RGB;
    dib.header.biSizeImage = static_cast<DWORD>(picture.GetSize());
    const auto palette = picture.GetPalette();
    dib.header.biClrUsed = static_cast<DWORD>(palette.size());
    for (std::size_t i = 0; i < palette.size() && i < 256; ++i) {
        dib.colours[i] = {palette[i].blue, palette[i].green, palette[i].red, 0};
    }
}

}  // namespace

bool Stretch(const CPicture& picture, HDC dc, int x, int y, int width, int height, DWORD rop) {
    if (!picture.IsValid() || dc == nullptr) {
        return false;
    }
    if (width < 0) {
        width = picture.GetWidth();
    }
    if (height < 0) {
        height = picture.GetHeight();
    }
    DibHeader dib;
    FillHeader(picture, dib);
    const int oldMode = ::SetStretchBltMode(dc, COLORONCOLOR);
    const int lines =
        ::StretchDIBits(dc, x, y, width, height, 0, 0, picture.GetWidth(), picture.GetHeight(), picture.GetBits(0),
                        reinterpret_cast<const BITMAPINFO*>(&dib), DIB_RGB_COLORS, rop);
    if (oldMode != 0) {
        ::SetStretchBltMode(dc, oldMode);
    }
    return lines > 0;
}

bool Draw(const CPicture& picture, HDC dc, int x, int y, int width, int height) {
    return Stretch(picture, dc, x, y, width, height, SRCCOPY);
}

bool Draw(const CPicture& picture, HDC dc, const RECT& rect) {
    return Stretch(picture, dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, SRCCOPY);
}

bool Draw2(const CPicture& picture, HDC dc, int x, int y, int width, int height) {
    return Stretch(picture, dc, x, y, width, height, SRCCOPY);
}

UniqueBitmap MakeBitmap(const CPicture& picture, HDC dc) {
    if (!picture.IsValid() || dc == nullptr) {
        return nullptr;
    }
    DibHeader dib;
    FillHeader(picture, dib);
    return UniqueBitmap(::CreateDIBitmap(dc, &dib.header, CBM_INIT, picture.GetBits(0),
                                         reinterpret_cast<const BITMAPINFO*>(&dib), DIB_RGB_COLORS));
}

bool CreateFromHBITMAP(CPicture& picture, HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof info, &info) == 0) {
        return false;
    }
    CPicture result(info.bmWidth, info.bmHeight, 24, kPictureBmp);
    if (!result.IsValid()) {
        return false;
    }
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = info.bmWidth;
    header.bmiHeader.biHeight = info.bmHeight;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 24;
    header.bmiHeader.biCompression = BI_RGB;
    HDC screen = ::GetDC(nullptr);
    const int lines =
        ::GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), result.GetBits(0), &header, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (lines != info.bmHeight) {
        return false;
    }
    picture = std::move(result);
    return true;
}

}  // namespace picture_gdi
