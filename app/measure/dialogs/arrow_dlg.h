#pragma once
// The arrow dialog (229): a modeless panel beside the arrow tool that sets
// the arrow prototype's direction, size and colour; every change is applied
// to the arrow at once. Its owner closes it before the arrow goes away.
#include "color_button.h"
#include "dialog.h"

class CCLArrow;

class CArrowDlg : public CDialog {
public:
    explicit CArrowDlg(HWND parent = nullptr);

    // The arrow edited from now on; null edits none. Shown values are read
    // from it when the dialog is (re)initialised.
    void SetArrow(CCLArrow* arrow) { m_arrow = arrow; }
    CCLArrow* GetArrow() const { return m_arrow; }
    // Shows the arrow's direction, size and colour again (white for the
    // stored off-white), as when the panel opens.
    void ShowArrowValues();

    // Direction 0 to 7 (up, down, left, right, up-left, up-right, down-left,
    // down-right); size in pixels; the colour shown.
    int m_nDirection = 0;
    int m_nWidth = 25;
    int m_nHeight = 25;
    COLORREF m_color = 0;

    // Draws direction button `id` into dc over rect; pressed draws its frame.
    void DrawDirectionButton(HDC dc, int id, const RECT& rect, bool pressed) const;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Enter and Esc do not close the panel.
    void OnOK() override {}
    void OnCancel() override {}

private:
    void ApplyStyle();

    CCLArrow* m_arrow = nullptr;
    CColorButton m_colorButton;
};
