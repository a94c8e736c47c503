#pragma once
// One cell of the thumbnail grid: a child window that shows a fitted
// thumbnail and the file name, is dragged onto another cell to swap them,
// and takes another picture on a double click. It talks to its grid only by
// the messages of thumb_messages.h.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "picture.h"
#include "unique_handle.h"
#include "window.h"

class IPictureFileDialogs;

// A decoded thumbnail, the size of the picture it shows and the path it came
// from, ready for a cell. The cell is fitted from the picture's own size: the
// thumbnail's whole-pixel size is rounded and would skew the fit.
struct CellPicture {
    std::wstring path;
    CPicture thumbnail;
    std::uint32_t pictureWidth = 0;
    std::uint32_t pictureHeight = 0;
};

// Reads a file for a cell: the grid's file rule, then a thumbnail at four
// times the zoom-1 fit. Any thread. Empty when refused or unreadable
// (including a picture of no pixels).
std::unique_ptr<CellPicture> DecodeCellPicture(const std::wstring& path);

class CThumbnailItem : public CWindow {
public:
    static constexpr int kCellWidth = 100;
    static constexpr int kCellHeight = 120;
    static constexpr int kDropWholeCell = 4;

    CThumbnailItem() = default;
    ~CThumbnailItem() override;

    // A cell of the grid `strip` at (x, y) in it; host is the window the
    // caption tip lives in. Visible unless ghost (the drag copy).
    bool Create(HWND strip, HWND host, IPictureFileDialogs* dialogs, std::uint32_t cellId, int zoom, int x, int y);

    // Loads a file (decoding it here); false leaves the cell as it was.
    bool LoadImage(const std::wstring& path);
    // Shows a picture decoded elsewhere.
    void TakePicture(CellPicture picture);
    void Clear();

    void SetZoom(int zoom);
    void SetCellId(std::uint32_t id) { m_cellId = id; }
    std::uint32_t GetCellId() const { return m_cellId; }
    void SetDropHighlight(int highlight);
    int GetDropHighlight() const { return m_dropHighlight; }
    void SetAccept(bool accept) { m_accept = accept; }
    const std::wstring& GetPath() const { return m_path; }
    bool HasPicture() const { return m_thumbnail.IsValid(); }
    const RECT& GetImageRect() const { return m_imageRect; }
    // The half-transparent copy that follows the mouse while dragging, or null.
    HWND GetGhostWindow() const { return m_ghost ? m_ghost->GetSafeHwnd() : nullptr; }
    HWND GetCaptionWindow() const { return m_captionWindow.Get(); }
    bool IsCaptionTruncated() const { return m_captionTruncated; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc);
    void OnPaint();
    void OnButtonDown(int x, int y);
    void OnMouseMove(int x, int y);
    void OnButtonUp(int x, int y);
    void OnDoubleClick();
    void OnTimer(UINT_PTR id);
    void CreateGhost();
    void CreateCaptionWindow();
    void ShowCaptionWindow();
    void HideCaptionWindow();
    void StopTimers();
    void UpdateImageRect();
    POINT ScreenPoint(int x, int y) const;
    bool CreateAsGhost(const CThumbnailItem& source);

    HWND m_strip = nullptr;
    HWND m_host = nullptr;
    IPictureFileDialogs* m_dialogs = nullptr;
    int m_zoom = 1;
    bool m_accept = true;
    int m_width = kCellWidth;
    int m_height = kCellHeight;
    RECT m_imageRect{};
    bool m_focused = false;
    std::wstring m_path;
    std::wstring m_caption;
    CPicture m_thumbnail;
    std::uint32_t m_pictureWidth = 0;  // of the picture the thumbnail shows
    std::uint32_t m_pictureHeight = 0;
    std::uint32_t m_cellId = 0;
    std::unique_ptr<CThumbnailItem> m_ghost;
    bool m_dragging = false;
    POINT m_press{};
    int m_dropHighlight = -1;
    UniqueHandle<HWND, &::DestroyWindow> m_captionWindow;
    bool m_captionTruncated = false;
    bool m_timerRunning = false;
    POINT m_lastSample{};
    UniqueGdiHandle m_font;
};
