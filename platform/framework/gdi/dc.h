#pragma once
// A device context and the drawing calls the program makes on it. CDC does
// not own its HDC; CMemoryDC, CClientDC and CScreenDC do. Objects selected
// with CSelectObject are put back when the selector leaves scope, so a
// context never holds an object that is being deleted.

#include <windows.h>

#include <string_view>

#include "gdi_objects.h"

class CDC {
public:
    explicit CDC(HDC dc) : dc_(dc) {}
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() = default;

    HDC GetSafeHdc() const { return dc_; }

    COLORREF SetTextColor(COLORREF colour) { return ::SetTextColor(dc_, colour); }
    int SetBkMode(int mode) { return ::SetBkMode(dc_, mode); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(dc_, mode); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(dc_, index); }

    void FillSolidRect(const RECT& rect, COLORREF colour);
    BOOL Rectangle(int left, int top, int right, int bottom) { return ::Rectangle(dc_, left, top, right, bottom); }
    BOOL Ellipse(int left, int top, int right, int bottom) { return ::Ellipse(dc_, left, top, right, bottom); }
    BOOL MoveTo(int x, int y) { return ::MoveToEx(dc_, x, y, nullptr); }
    BOOL LineTo(int x, int y) { return ::LineTo(dc_, x, y); }
    void DrawFocusRect(const RECT& rect) { ::DrawFocusRect(dc_, &rect); }
    // UTF-16 text: wchar_t is 16 bits on this platform.
    int DrawText(std::u16string_view text, RECT& rect, UINT format);

    BOOL BitBlt(int x, int y, int width, int height, const CDC& source, int sx, int sy, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, const CDC& source, int sx, int sy, int sw, int sh, DWORD rop);
    // Clip region: a copy of the region is selected; nullptr removes it.
    int SelectClipRgn(const CRgn* region);

protected:
    void Attach(HDC dc) { dc_ = dc; }

private:
    HDC dc_;
};

// Selects an object into a context for the selector's lifetime.
class CSelectObject {
public:
    CSelectObject(CDC& dc, HGDIOBJ object) : dc_(dc.GetSafeHdc()), old_(::SelectObject(dc_, object)) {}
    CSelectObject(const CSelectObject&) = delete;
    CSelectObject& operator=(const CSelectObject&) = delete;
    ~CSelectObject() {
        if (old_ != nullptr && old_ != HGDI_ERROR) {
            ::SelectObject(dc_, old_);
        }
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A memory context with its own bitmap selected. The bitmap is compatible
// with `reference` (nullptr: the screen), or a 32-bit top-down DIB section
// whose pixels can be read back.
class CMemoryDC : public CDC {
public:
    enum class Kind { compatible, dibSection };
    CMemoryDC(const CDC* reference, int width, int height, Kind kind = Kind::compatible);
    ~CMemoryDC() override;

    bool IsValid() const { return GetSafeHdc() != nullptr && bitmap_ != nullptr; }
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    // Pixel of a DIB section as 0x00RRGGBB; 0 otherwise or outside.
    std::uint32_t GetPixelRGB(int x, int y) const;

private:
    UniqueGdiObject<HBITMAP> bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
    std::uint32_t* dibBits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// A window's client-area context, released on destruction.
class CClientDC : public CDC {
public:
    explicit CClientDC(HWND window) : CDC(::GetDC(window)), window_(window) {}
    ~CClientDC() override {
        if (GetSafeHdc() != nullptr) {
            ::ReleaseDC(window_, GetSafeHdc());
        }
    }

private:
    HWND window_;
};
