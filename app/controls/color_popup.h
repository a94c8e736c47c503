#pragma once
// The colour button's pop-up palette: 40 named colour cells, an optional
// automatic cell above them and an optional more-colours cell below, which
// opens the system colour dialog. It holds the mouse capture while open and
// tells its owner button about hover (WM_COLOR_CHANGED), the choice
// (WM_COLOR_SELECTED) or cancellation (WM_COLOR_CANCELLED), then destroys
// its window.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "color_palette.h"
#include "gdi_objects.h"
#include "window.h"

class CColorPopup : public CWindow {
public:
    CColorPopup() = default;

    // Opens at the screen point `at` (the button's bottom-left); above the
    // button when it would pass the screen's bottom. Empty captions leave
    // their cells out.
    bool Create(POINT at, int buttonHeight, COLORREF initial, HWND owner, const std::wstring& automaticText,
                const std::wstring& moreColorsText);

    int HoverCell() const { return m_current; }
    int ChosenCell() const { return m_chosen; }
    const color_palette::Layout& Layout() const { return m_layout; }
    bool IsChildDialogOpen() const { return m_childDialogOpen; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Size(POINT at, int buttonHeight);
    void CreateTooltips();
    void ChangeSelection(int index);
    void EndSelection(UINT message);
    void OnKey(UINT key);
    void Paint(HDC dc);
    void DrawColourCell(HDC dc, int index);
    void DrawCaptionCell(HDC dc, int index);
    void InvalidateCell(int index);
    RECT CellRect(int index) const;

    color_palette::Layout m_layout;
    int m_current = color_palette::kNoCell;
    int m_chosen = color_palette::kNoCell;
    std::wstring m_automaticText;
    std::wstring m_moreColorsText;
    COLORREF m_initial = 0;
    COLORREF m_chosenColor = 0;
    HWND m_owner = nullptr;
    HWND m_tooltip = nullptr;
    std::unique_ptr<CFont> m_font;
    UniqueGdiObject<HPALETTE> m_palette;
    bool m_childDialogOpen = false;
    bool m_ending = false;
};
