#pragma once
// A blank layered dialog whose own surface is the colour key, so only what
// is drawn on it shows: the view's overlays over the video (templates 196,
// 101, 254 and 260). They are pop-ups the view owns and places over itself,
// not its children: a colour key on a layered child window is not applied
// under Wine (the key colour shows). The mouse passes through them to the
// view below, which hands it on.
#include "dialog.h"
#include "unique_handle.h"

// Every pixel of this colour is see-through.
inline constexpr COLORREF kTransparentColourKey = RGB(255, 157, 0);

class CTransparentDlg : public CDialog {
public:
    explicit CTransparentDlg(UINT templateId);

    HBRUSH GetBackgroundBrush() const { return static_cast<HBRUSH>(m_brush.Get()); }

protected:
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(UINT message, HDC dc, HWND window) override;

private:
    UniqueGdiHandle m_brush;
};
