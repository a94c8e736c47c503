#pragma once
// Owned GDI objects: each handle is deleted by its owner, never by hand.

#include <windows.h>

#include <memory>
#include <type_traits>

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};

template <typename Handle>
using UniqueGdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

class CPen {
public:
    CPen(int style, int width, COLORREF colour) : pen_(::CreatePen(style, width, colour)) {}
    HPEN GetSafeHandle() const { return pen_.get(); }

private:
    UniqueGdiObject<HPEN> pen_;
};

class CBrush {
public:
    explicit CBrush(COLORREF colour) : brush_(::CreateSolidBrush(colour)) {}
    HBRUSH GetSafeHandle() const { return brush_.get(); }

private:
    UniqueGdiObject<HBRUSH> brush_;
};

class CFont {
public:
    explicit CFont(const LOGFONTW& font) : font_(::CreateFontIndirectW(&font)) {}
    HFONT GetSafeHandle() const { return font_.get(); }

private:
    UniqueGdiObject<HFONT> font_;
};

class CRgn {
public:
    CRgn(int left, int top, int right, int bottom) : region_(::CreateRectRgn(left, top, right, bottom)) {}
    HRGN GetSafeHandle() const { return region_.get(); }

private:
    UniqueGdiObject<HRGN> region_;
};
