#include "browser_cell.h"

#include "picture_gdi.h"
#include "thumbnail.h"

UniqueGdiHandle MakeBrowserCell(const CPicture* thumbnail) {
    constexpr int side = static_cast<int>(vz::picture::kBrowserCellSide);
    HDC screen = GetDC(nullptr);
    UniqueGdiHandle bitmap(CreateCompatibleBitmap(screen, side, side));
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (!bitmap || !dc) {
        if (dc) DeleteDC(dc);
        return {};
    }
    HGDIOBJ previous = SelectObject(dc, bitmap.Get());
    const RECT cell{0, 0, side, side};
    UniqueGdiHandle white(CreateSolidBrush(RGB(255, 255, 255)));
    FillRect(dc, &cell, static_cast<HBRUSH>(white.Get()));
    if (thumbnail && thumbnail->IsValid()) {
        const vz::picture::FitRect place = vz::picture::PlaceInBrowserCell(
            static_cast<std::uint32_t>(thumbnail->GetWidth()), static_cast<std::uint32_t>(thumbnail->GetHeight()));
        if (!place.size.IsEmpty()) {
            picture_gdi::Stretch(*thumbnail, dc, place.left, place.top, static_cast<int>(place.size.width),
                                 static_cast<int>(place.size.height), SRCCOPY);
        }
    }
    UniqueGdiHandle frame(CreateSolidBrush(GetSysColor(COLOR_GRAYTEXT)));
    FrameRect(dc, &cell, static_cast<HBRUSH>(frame.Get()));
    SelectObject(dc, previous);
    DeleteDC(dc);
    return bitmap;
}
