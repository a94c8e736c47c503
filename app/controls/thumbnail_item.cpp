#include "thumbnail_item.h"

#include <algorithm>

#include "caption_fit.h"
#include "packed_point.h"
#include "picture_file_dialogs.h"
#include "picture_gdi.h"
#include "thumb_messages.h"
#include "thumb_rules.h"
#include "thumbnail.h"

namespace {

constexpr const wchar_t* kClassName = L"VizcamThumbnailItem";
constexpr const wchar_t* kWindowText = L"OneThumbnail";
constexpr COLORREF kSelectionGreen = RGB(0, 200, 0);
constexpr COLORREF kBackground = RGB(221, 221, 221);
constexpr int kBorder = 2;
constexpr int kFontHeight = 12;
constexpr UINT_PTR kStillTimer = 0;   // shows the caption tip once the pointer rests
constexpr UINT_PTR kSampleTimer = 1;  // hides it once the pointer moves
constexpr UINT kStillMs = 1000;
constexpr UINT kSampleMs = 200;
constexpr BYTE kGhostAlpha = 128;

COLORREF Half(COLORREF c) { return RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2); }

void Line(HDC dc, COLORREF colour, int x0, int y0, int x1, int y1) {
    UniqueGdiHandle pen(CreatePen(PS_SOLID, 1, colour));
    HGDIOBJ old = SelectObject(dc, pen.Get());
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
}

void Frame(HDC dc, const RECT& r, int thickness, COLORREF colour) {
    UniqueGdiHandle brush(CreateSolidBrush(colour));
    for (int i = 0; i < thickness; ++i) {
        const RECT edge{r.left + i, r.top + i, r.right - i, r.bottom - i};
        FrameRect(dc, &edge, static_cast<HBRUSH>(brush.Get()));
    }
}

LOGFONTW ItemFont() {
    LOGFONTW font{};
    font.lfHeight = kFontHeight;
    font.lfWidth = 5;
    font.lfWeight = 100;
    font.lfCharSet = 134;
    font.lfOutPrecision = 3;
    font.lfClipPrecision = 2;
    font.lfQuality = 1;
    font.lfPitchAndFamily = VARIABLE_PITCH;
    return font;
}

std::u16string_view AsUtf16(const std::wstring& text) {
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

}  // namespace

std::unique_ptr<CellPicture> DecodeCellPicture(const std::wstring& path) {
    const int type = ThumbFileType(path);
    if (type == 0) {
        return nullptr;
    }
    vz::picture::Thumbnail thumbnail =
        vz::picture::LoadThumbnail(std::filesystem::path(path), type, &vz::picture::GridThumbnailSize);
    if (!thumbnail.Loaded() || thumbnail.sourceSize.IsEmpty() || !thumbnail.picture.IsValid()) {
        return nullptr;
    }
    return std::make_unique<CellPicture>(CellPicture{path, std::move(thumbnail.picture), thumbnail.sourceSize.width,
                                                     thumbnail.sourceSize.height});
}

CThumbnailItem::~CThumbnailItem() {
    m_ghost.reset();
    DestroyWindow();
}

bool CThumbnailItem::Create(HWND strip, HWND host, IPictureFileDialogs* dialogs, std::uint32_t cellId, int zoom, int x,
                            int y) {
    RegisterWindowClass(kClassName, CS_DBLCLKS, nullptr);
    m_strip = strip;
    m_host = host;
    m_dialogs = dialogs;
    m_cellId = cellId;
    m_zoom = zoom;
    m_width = zoom * kCellWidth;
    m_height = zoom * kCellHeight;
    const LOGFONTW font = ItemFont();
    m_font.Reset(CreateFontIndirectW(&font));
    const RECT rect{x, y, x + m_width, y + m_height};
    return CreateEx(0, kClassName, kWindowText, WS_CHILD | WS_VISIBLE | SS_NOTIFY, rect, strip,
                    static_cast<UINT>(cellId & 0xFFFF));
}

bool CThumbnailItem::CreateAsGhost(const CThumbnailItem& source) {
    RegisterWindowClass(kClassName, CS_DBLCLKS, nullptr);
    m_zoom = source.m_zoom;
    m_width = source.m_width;
    m_height = source.m_height;
    m_imageRect = source.m_imageRect;
    m_thumbnail = source.m_thumbnail;
    m_pictureWidth = source.m_pictureWidth;
    m_pictureHeight = source.m_pictureHeight;
    m_focused = true;
    const LOGFONTW font = ItemFont();
    m_font.Reset(CreateFontIndirectW(&font));
    RECT rect{0, 0, m_width, m_height};
    MapWindowPoints(source.m_hWnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    // Shown without activation: the dragged cell keeps the focus and the capture.
    if (!CreateEx(WS_EX_TRANSPARENT, kClassName, kWindowText, WS_POPUP, rect, GetAncestor(source.m_hWnd, GA_ROOT), 0)) {
        return false;
    }
    ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
    SetWindowLongW(m_hWnd, GWL_EXSTYLE, GetWindowLongW(m_hWnd, GWL_EXSTYLE) ^ WS_EX_LAYERED);
    using SetLayered = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    if (HMODULE user = GetModuleHandleW(L"User32.DLL")) {
        if (auto set = reinterpret_cast<SetLayered>(
                reinterpret_cast<void*>(GetProcAddress(user, "SetLayeredWindowAttributes")))) {
            set(m_hWnd, 0, kGhostAlpha, LWA_ALPHA);
        }
    }
    return true;
}

bool CThumbnailItem::LoadImage(const std::wstring& path) {
    std::unique_ptr<CellPicture> picture = DecodeCellPicture(path);
    if (!picture) {
        return false;
    }
    TakePicture(std::move(*picture));
    return true;
}

void CThumbnailItem::TakePicture(CellPicture picture) {
    m_path = std::move(picture.path);
    m_caption = std::wstring(CaptionOf(m_path));
    m_thumbnail = std::move(picture.thumbnail);
    m_pictureWidth = picture.pictureWidth;
    m_pictureHeight = picture.pictureHeight;
    UpdateImageRect();
    CreateCaptionWindow();
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CThumbnailItem::Clear() {
    m_path.clear();
    m_caption.clear();
    m_thumbnail.Destroy();
    m_pictureWidth = 0;
    m_pictureHeight = 0;
    m_imageRect = RECT{};
    m_ghost.reset();
    m_captionWindow.Reset();
    m_captionTruncated = false;
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CThumbnailItem::SetZoom(int zoom) {
    m_zoom = zoom;
    m_width = zoom * kCellWidth;
    m_height = zoom * kCellHeight;
    UpdateImageRect();
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CThumbnailItem::SetDropHighlight(int highlight) {
    if (m_dropHighlight != highlight) {
        m_dropHighlight = highlight;
        InvalidateRect(m_hWnd, nullptr, FALSE);
    }
}

void CThumbnailItem::UpdateImageRect() {
    if (!m_thumbnail.IsValid()) {
        m_imageRect = RECT{};
        return;
    }
    const vz::picture::FitRect fit = vz::picture::PlaceInGridCell(
        m_pictureWidth, m_pictureHeight, static_cast<std::uint32_t>(m_width), static_cast<std::uint32_t>(m_height));
    m_imageRect = RECT{fit.left, fit.top, fit.left + static_cast<int>(fit.size.width),
                       fit.top + static_cast<int>(fit.size.height)};
}

void CThumbnailItem::Paint(HDC target) {
    HDC dc = CreateCompatibleDC(target);
    UniqueGdiHandle buffer(CreateCompatibleBitmap(target, m_width, m_height));
    HGDIOBJ oldBitmap = SelectObject(dc, buffer.Get());
    const RECT cell{0, 0, m_width, m_height};
    UniqueGdiHandle background(CreateSolidBrush(kBackground));
    FillRect(dc, &cell, static_cast<HBRUSH>(background.Get()));

    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const int d = std::max(1, kBorder / 2);
    const int w = m_width;
    const int h = m_height;
    Line(dc, highlight, d, d, d, h - 2);
    Line(dc, highlight, d, d, w - 2, d);
    Line(dc, shadow, w - 2, d, w - 2, h - 1);
    Line(dc, shadow, d, h - 2, w - 1, h - 2);
    Line(dc, Half(shadow), w - 1, 0, w - 1, h);
    Line(dc, Half(shadow), 0, h - 1, w, h - 1);

    const RECT& image = m_imageRect;
    if (image.right > image.left && image.bottom > image.top) {
        FillRect(dc, &image, static_cast<HBRUSH>(background.Get()));
        if (m_focused || m_dragging) {
            Frame(dc, RECT{image.left - 2, image.top - 2, image.right + 2, image.bottom + 2}, 2, kSelectionGreen);
        } else {
            Line(dc, Half(shadow), image.left - 2, image.top - 2, image.right + 1, image.top - 2);
            Line(dc, Half(shadow), image.left - 2, image.top - 2, image.left - 2, image.bottom + 1);
            Line(dc, shadow, image.left - 1, image.top - 1, image.right, image.top - 1);
            Line(dc, shadow, image.left - 1, image.top - 1, image.left - 1, image.bottom);
            Line(dc, highlight, image.left - 1, image.bottom, image.right + 1, image.bottom);
            Line(dc, highlight, image.right, image.top - 1, image.right, image.bottom + 1);
            Line(dc, highlight, image.left - 2, image.bottom + 1, image.right + 2, image.bottom + 1);
            Line(dc, highlight, image.right + 1, image.top - 2, image.right + 1, image.bottom + 2);
        }
    }
    if (m_dropHighlight == kDropWholeCell) {
        Frame(dc, cell, 2, kSelectionGreen);
    }
    if (m_thumbnail.IsValid() && image.right > image.left) {
        picture_gdi::Draw(m_thumbnail, dc, image);
    }
    if (!m_caption.empty()) {
        HGDIOBJ oldFont = SelectObject(dc, m_font.Get());
        SetBkMode(dc, TRANSPARENT);
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, 0, 0, w - 4, h);
        const CaptionFit fit = FitCaption(AsUtf16(m_caption), w, [dc](std::u16string_view text) {
            SIZE size{};
            GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()),
                                  &size);
            return static_cast<int>(size.cx);
        });
        m_captionTruncated = fit.truncated;
        SIZE size{};
        const auto* text = reinterpret_cast<const wchar_t*>(fit.text.data());
        GetTextExtentPoint32W(dc, text, static_cast<int>(fit.text.size()), &size);
        TextOutW(dc, (w - size.cx) / 2, h - kFontHeight / 2 - kFontHeight, text, static_cast<int>(fit.text.size()));
        RestoreDC(dc, saved);
        SelectObject(dc, oldFont);
    }
    BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldBitmap);
    DeleteDC(dc);
}

void CThumbnailItem::OnPaint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(m_hWnd, &ps);
    Paint(dc);
    EndPaint(m_hWnd, &ps);
}

POINT CThumbnailItem::ScreenPoint(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(m_hWnd, &p);
    return p;
}

void CThumbnailItem::StopTimers() {
    KillTimer(m_hWnd, kStillTimer);
    KillTimer(m_hWnd, kSampleTimer);
    m_timerRunning = false;
}

void CThumbnailItem::HideCaptionWindow() {
    if (m_captionWindow) {
        ShowWindow(m_captionWindow.Get(), SW_HIDE);
    }
}

void CThumbnailItem::CreateCaptionWindow() {
    m_captionWindow.Reset();
    if (!m_host) {
        return;
    }
    HDC dc = GetDC(m_host);
    HGDIOBJ old = SelectObject(dc, m_font.Get());
    SIZE size{};
    GetTextExtentPoint32W(dc, m_caption.c_str(), static_cast<int>(m_caption.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(m_host, dc);
    m_captionWindow.Reset(CreateWindowExW(0, L"STATIC", m_caption.c_str(), WS_CHILD | WS_VISIBLE | SS_CENTER, 200, 200,
                                          size.cx + 4, size.cy + 4, m_host, nullptr, GetModuleHandleW(nullptr),
                                          nullptr));
    SendMessageW(m_captionWindow.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), FALSE);
    ShowWindow(m_captionWindow.Get(), SW_HIDE);
}

void CThumbnailItem::ShowCaptionWindow() {
    if (!m_captionWindow || !m_host) {
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(m_host, &cursor);
    RECT tip{};
    GetWindowRect(m_captionWindow.Get(), &tip);
    const int width = tip.right - tip.left;
    const int height = tip.bottom - tip.top;
    RECT host{};
    GetClientRect(m_host, &host);
    int x = cursor.x + 10;
    int y = cursor.y + 20;
    if (x + width > host.right) {
        x = cursor.x + 10 - width;
    }
    if (y + height > host.bottom) {
        y = cursor.y - height;
        x -= 10;
    }
    SetWindowPos(m_captionWindow.Get(), HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CThumbnailItem::CreateGhost() {
    m_ghost = std::make_unique<CThumbnailItem>();
    if (!m_ghost->CreateAsGhost(*this)) {
        m_ghost.reset();
    }
}

void CThumbnailItem::OnButtonDown(int x, int y) {
    StopTimers();
    HideCaptionWindow();
    SetFocus(m_hWnd);
    SetCapture(m_hWnd);
    if (HasPicture()) {
        m_press = POINT{x, y};
        m_dragging = true;
    }
}

void CThumbnailItem::OnMouseMove(int x, int y) {
    if (m_dragging) {
        if (!m_ghost) {
            CreateGhost();
        }
        const POINT screen = ScreenPoint(x, y);
        if (m_ghost) {
            SetWindowPos(m_ghost->GetSafeHwnd(), nullptr, screen.x - m_press.x, screen.y - m_press.y, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        PostMessageW(m_strip, WM_THUMB_DRAG_OVER, PackPoint(screen.x, screen.y), m_cellId);
        InvalidateRect(m_hWnd, nullptr, FALSE);
        return;
    }
    if (!m_captionTruncated) {
        return;
    }
    const POINT point{x, y};
    if (!PtInRect(&m_imageRect, point)) {
        StopTimers();
        HideCaptionWindow();
        return;
    }
    if (!m_timerRunning) {
        SetTimer(m_hWnd, kSampleTimer, kSampleMs, nullptr);
        m_timerRunning = true;
    }
    if (!m_captionWindow || !IsWindowVisible(m_captionWindow.Get())) {
        SetTimer(m_hWnd, kStillTimer, kStillMs, nullptr);
    }
}

void CThumbnailItem::OnButtonUp(int x, int y) {
    SetDropHighlight(-1);
    if (GetCapture() == m_hWnd) {
        ReleaseCapture();
    }
    m_ghost.reset();
    if (m_dragging) {
        m_dragging = false;
        const POINT screen = ScreenPoint(x, y);
        PostMessageW(m_strip, WM_THUMB_DROP, PackPoint(screen.x, screen.y), m_cellId);
    }
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CThumbnailItem::OnDoubleClick() {
    if (!HasPicture() || !m_dialogs) {
        return;
    }
    const std::wstring path = m_dialogs->ChoosePicture(m_hWnd);
    if (path.empty()) {
        return;
    }
    SendMessageW(m_strip, WM_THUMB_CHECK_DUPLICATE, reinterpret_cast<WPARAM>(&path), m_cellId);
    // The old picture stays until the new one has loaded.
    if (m_accept && LoadImage(path)) {
        SendMessageW(m_strip, WM_THUMB_SET_PATH, reinterpret_cast<WPARAM>(&path), m_cellId);
    }
    m_accept = true;
}

void CThumbnailItem::OnTimer(UINT_PTR id) {
    POINT cursor{};
    GetCursorPos(&cursor);
    const bool shown = m_captionWindow && IsWindowVisible(m_captionWindow.Get());
    if (id == kStillTimer) {
        if (shown) {
            StopTimers();
        } else if (!m_ghost && (cursor.x == m_lastSample.x || cursor.y == m_lastSample.y)) {
            ShowCaptionWindow();
        }
        return;
    }
    if (shown && (cursor.x != m_lastSample.x || cursor.y != m_lastSample.y)) {
        HideCaptionWindow();
        KillTimer(m_hWnd, kStillTimer);
    } else {
        m_lastSample = cursor;
    }
}

LRESULT CThumbnailItem::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const PackedPoint point = UnpackMousePoint(static_cast<std::uint64_t>(lParam));
    switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_PRINTCLIENT: Paint(reinterpret_cast<HDC>(wParam)); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SIZE:
        if (LOWORD(lParam) != m_width || HIWORD(lParam) != m_height) {
            SetWindowPos(m_hWnd, nullptr, 0, 0, m_width, m_height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
    case WM_LBUTTONDOWN: OnButtonDown(point.x, point.y); return 0;
    case WM_MOUSEMOVE: OnMouseMove(point.x, point.y); return 0;
    case WM_LBUTTONUP: OnButtonUp(point.x, point.y); return 0;
    case WM_LBUTTONDBLCLK: OnDoubleClick(); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_SETFOCUS:
        m_focused = true;
        if (m_strip) {
            PostMessageW(m_strip, WM_THUMB_SELECT, 0, m_cellId);
        }
        InvalidateRect(m_hWnd, nullptr, FALSE);
        return 0;
    case WM_KILLFOCUS:
        m_focused = false;
        InvalidateRect(m_hWnd, nullptr, FALSE);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != m_hWnd) {
            m_ghost.reset();
        }
        return 0;
    default: break;
    }
    return Default(message, wParam, lParam);
}
