#pragma once
// The small window a floating toolbar lives in: a title strip over the
// toolbar. The user drags the title strip to move the window, or onto a
// side of the frame to dock the toolbar there; the toolbar's frame decides.
// Owned by the frame (above it, minimised and closed with it), it does not
// take the activation from it, and what the toolbar's controls report goes
// on to the frame.
#include <windows.h>

#include "bar_drag.h"
#include "docking_tool_bar.h"
#include "window.h"

class CFloatingToolFrame : public CWindow {
public:
    static constexpr const wchar_t* kClassName = L"VizcamFloatingBar";

    // Creates the window, hidden, owned by `owner`, for `toolBar`.
    bool Create(HWND owner, CDockingToolBar& toolBar);
    CDockingToolBar& GetToolBar() const { return *m_toolBar; }
    // Takes the toolbar in and fits itself around it with its top-left
    // corner at `topLeft` (screen); shown while the toolbar is.
    void Hold(POINT topLeft);
    // Gives the toolbar back to `frame`, a child there again, and hides.
    void Release(HWND frame);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();

    CDockingToolBar* m_toolBar = nullptr;
    CBarDrag m_drag;
};
