#pragma once
// The floating window that holds a pasted or cut-out picture over the view
// before it is merged into the image. It shows the picture stretched to its
// size; the user moves it, or resizes it by eight handles, while an XOR
// focus rectangle on the parent shows the new place; the right button offers
// copy and cut, sent to the main window (the parent's top-level window).
#include <windows.h>

#include "popup_geometry.h"
#include "window.h"

class CPicture;

class CImagePopupWnd : public CWindow {
public:
    static constexpr UINT kControlId = 26130;
    static constexpr UINT kCopyCommand = 32828;
    static constexpr UINT kCutCommand = 32827;

    // Creates the window over rect (parent client coordinates, normalised)
    // showing picture, which the caller owns and keeps alive.
    CImagePopupWnd(const CPicture* picture, const RECT& rect, HWND parent);

    // Set by any move or resize step.
    bool IsChanged() const { return m_changed; }
    // Shows the arrow cursor everywhere until the next button press.
    void SetArrowCursor(bool arrow) { m_arrowCursor = arrow; }
    bool IsMoving() const { return m_moving; }
    // Where it lies in the parent's client area.
    RECT RectInParent() const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnPaint();
    void Paint(HDC dc);
    bool OnSetCursor();
    void OnButtonDown(int x, int y);
    void OnMouseMove(int x, int y);
    void OnButtonUp();
    void OnRightButtonDown(int x, int y);
    void DrawTracker();

    const CPicture* m_picture;
    HWND m_parent;
    bool m_moving = false;
    bool m_arrowCursor = false;
    bool m_onHandle = false;
    bool m_resizing = false;
    popup::Handle m_handle = popup::kNone;
    POINT m_last{};
    popup::Box m_tracking;
    bool m_changed = false;
};
