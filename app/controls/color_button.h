#pragma once
// An owner-drawn push button showing a colour swatch and a drop-down arrow;
// a click opens the colour pop-up. The button tells its parent about the
// pop-up with the WM_COLOR_* messages (wParam the colour, lParam the
// button's control id). Dialogs bind it with DDX_ColorButton.
#include <windows.h>

#include <memory>
#include <string>

#include "window.h"

inline constexpr UINT WM_COLOR_CHANGED = 0x7E9;
inline constexpr UINT WM_COLOR_DROPDOWN = 0x7EA;
inline constexpr UINT WM_COLOR_CLOSEUP = 0x7EB;
inline constexpr UINT WM_COLOR_SELECTED = 0x7EC;
inline constexpr UINT WM_COLOR_CANCELLED = 0x7ED;

// The colour value that means "automatic": the button shows its default colour.
inline constexpr COLORREF kAutomaticColor = 0xFF000000u;

class CColorPopup;

class CColorButton : public CWindow {
public:
    CColorButton();
    ~CColorButton() override;

    // Takes over a dialog's button, made owner-drawn.
    bool SubclassDlgItem(HWND dialog, int id);
    // Creates the button as a child of parent.
    bool Create(HWND parent, const RECT& rect, int id);

    COLORREF GetColor() const { return m_color; }
    // Stores the colour and redraws the button at once.
    void SetColor(COLORREF color);
    COLORREF GetDefaultColor() const { return m_defaultColor; }
    void SetAutomaticText(std::wstring text) { m_automaticText = std::move(text); }
    void SetMoreColorsText(std::wstring text) { m_moreColorsText = std::move(text); }
    // When on, the button's colour follows the pop-up's hover cell.
    void SetTrackSelection(bool track) { m_trackSelection = track; }
    // While its pop-up is open.
    bool IsActive() const { return m_active; }
    // The open pop-up's window, or null.
    HWND PopupWindow() const;

    bool OnReflectedCommand(WORD code) override;
    bool OnReflectedDrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Open();
    void Notify(UINT message, COLORREF color) const;

    COLORREF m_color = kAutomaticColor;
    COLORREF m_defaultColor;
    std::wstring m_automaticText = L"Automatic";
    std::wstring m_moreColorsText = L"More Colors...";
    bool m_active = false;
    bool m_trackSelection = false;
    // The pop-up of the last click; it ends its own window.
    std::unique_ptr<CColorPopup> m_popup;
};

// Dialog data exchange of a colour button: saving reads the button's
// colour, loading sets it. A control that is not a colour button is left alone.
void DDX_ColorButton(HWND dialog, BOOL saveAndValidate, int id, COLORREF& color);
