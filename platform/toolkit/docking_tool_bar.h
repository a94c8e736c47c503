#pragma once
// A toolbar that docks in the rows along a docking frame's sides or floats
// in a small window of its own. Docked, it has a gripper, a strip before its
// first button (at the left in a row, at the top in a column), by which the
// user drags it; the frame decides where a released toolbar goes. In a
// column its buttons stand one below the other, without separators.
#include <windows.h>

#include "bar_drag.h"
#include "dock_side.h"
#include "tool_bar.h"

class CDockingToolBar;

// What a toolbar asks of its frame when the user lets it go. The frame
// outlives its toolbars, so no virtual destructor.
class IToolBarDockHost {
public:
    // Released at `screen`; `moved` is the dragged window's rectangle (the
    // docked toolbar's, or its floating window's) moved along with the drag.
    virtual void ToolBarDropped(CDockingToolBar& toolBar, POINT screen, const RECT& moved) = 0;

protected:
    ~IToolBarDockHost() = default;
};

class CDockingToolBar : public CToolBar {
public:
    // Width of the gripper strip.
    static constexpr int kGripper = 8;

    void EnableDocking(DockSides sides) { m_allowedSides = sides; }
    DockSides GetAllowedSides() const { return m_allowedSides; }
    void SetDockHost(IToolBarDockHost* host) { m_host = host; }
    IToolBarDockHost* GetDockHost() const { return m_host; }

    // Lays the buttons out in a column (vertical) or a row, with the gripper
    // when the toolbar is docked.
    void SetDockedLayout(bool vertical, bool gripper);
    bool IsVertical() const { return m_vertical; }
    // The window size the toolbar needs in its layout, gripper included.
    SIZE GetDockedSize() const;

protected:
    // After the buttons were laid out anew: a derived toolbar places or
    // hides the controls that sit on it.
    virtual void OnLayoutChanged(bool vertical) { (void)vertical; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    RECT GripperRect() const;  // in window coordinates
    void PaintGripper();

    DockSides m_allowedSides = kDockAny;
    IToolBarDockHost* m_host = nullptr;
    bool m_vertical = false;
    bool m_gripper = false;
    CBarDrag m_drag;
};
