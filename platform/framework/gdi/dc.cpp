#include "dc.h"

#include <cstdint>

void CDC::FillSolidRect(const RECT& rect, COLORREF colour) {
    const COLORREF old = ::SetBkColor(dc_, colour);
    ::ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(dc_, old);
}

int CDC::DrawText(std::u16string_view text, RECT& rect, UINT format) {
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    return ::DrawTextW(dc_, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &rect,
                       format);
}

BOOL CDC::BitBlt(int x, int y, int width, int height, const CDC& source, int sx, int sy, DWORD rop) {
    return ::BitBlt(dc_, x, y, width, height, source.GetSafeHdc(), sx, sy, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, const CDC& source, int sx, int sy, int sw, int sh,
                     DWORD rop) {
    return ::StretchBlt(dc_, x, y, width, height, source.GetSafeHdc(), sx, sy, sw, sh, rop);
}

int CDC::SelectClipRgn(const CRgn* region) {
    return ::SelectClipRgn(dc_, region != nullptr ? region->GetSafeHandle() : nullptr);
}

CMemoryDC::CMemoryDC(const CDC* reference, int width, int height, Kind kind)
    : CDC(::CreateCompatibleDC(reference != nullptr ? reference->GetSafeHdc() : nullptr)) {
    if (GetSafeHdc() == nullptr || width <= 0 || height <= 0) {
        return;
    }
    if (kind == Kind::dibSection) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.reset(::CreateDIBSection(GetSafeHdc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        dibBits_ = static_cast<std::uint32_t*>(bits);
    } else {
        HDC screen = ::GetDC(nullptr);
        bitmap_.reset(::CreateCompatibleBitmap(reference != nullptr ? reference->GetSafeHdc() : screen, width, height));
        ::ReleaseDC(nullptr, screen);
    }
    if (bitmap_) {
        oldBitmap_ = ::SelectObject(GetSafeHdc(), bitmap_.get());
        width_ = width;
        height_ = height;
    }
}

CMemoryDC::~CMemoryDC() {
    if (GetSafeHdc() == nullptr) {
        return;
    }
    if (oldBitmap_ != nullptr) {
        ::SelectObject(GetSafeHdc(), oldBitmap_);
    }
    bitmap_.reset();
    ::DeleteDC(GetSafeHdc());
}

std::uint32_t CMemoryDC::GetPixelRGB(int x, int y) const {
    if (dibBits_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    ::GdiFlush();
    return dibBits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] &
           0xFFFFFFu;
}
