#pragma once
// A frame whose bars dock on its sides: toolbars in rows along any side it
// allows (columns on the left and right) or floating in small windows of
// their own, docking bars on the sides they allow, the status bar at the
// bottom. Showing or hiding a bar lays the frame out again. A docking bar
// the user drags by its title docks on the allowed side nearest to where it
// is released, or floats when released outside the frame; dragging its
// inner edge resizes it. A toolbar dragged by its gripper (or, floating, by
// its title) joins the row it is released over or starts one beside them,
// and floats anywhere else (dock_layout.h decides all three).
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "dock_layout.h"
#include "dock_side.h"
#include "docking_bar.h"
#include "docking_tool_bar.h"
#include "floating_tool_frame.h"
#include "frame_window.h"
#include "status_bar.h"

class CDockingFrame : public CFrameWindow, private IDockBarHost, private IToolBarDockHost {
public:
    static constexpr UINT kStatusBarId = 0xE801;

    // Where a docked toolbar is: its side, its row there (rows with smaller
    // numbers lie nearer the edge) and its place in that row, from the start.
    struct ToolBarDock {
        DockSide side = DockSide::top;
        int row = 0;
        int position = 0;
    };

    // The sides the frame accepts bars on.
    void EnableDocking(DockSides sides) { m_sides = sides; }
    // The status bar with one pane per indicator (0 the message pane).
    bool InitStatusBar(std::span<const UINT> indicators);
    CStatusBar& GetStatusBar() { return m_statusBar; }

    // Puts a toolbar into a row along a side, after the toolbars already in
    // that row; shows it. False when the frame or the toolbar does not allow the side.
    bool DockToolBar(CDockingToolBar& toolBar, DockSide side, int row);
    // Takes a toolbar out of its row into a floating window whose top-left
    // corner is at `screen`; the toolbar keeps its visibility.
    void FloatToolBar(CDockingToolBar& toolBar, POINT screen);
    // The place of a docked toolbar, or nothing.
    std::optional<ToolBarDock> GetToolBarDock(const CDockingToolBar& toolBar) const;
    // The window a floating toolbar lives in, or null.
    HWND GetFloatingWindow(const CDockingToolBar& toolBar) const;
    // Docks a bar on a side both it and the frame allow; the bar keeps its
    // visibility. False when the side is not allowed.
    bool DockControlBar(CDockingBar& bar, DockSide side);
    // Shows or hides a bar, with the floating window of a floating toolbar.
    void ShowControlBar(CWindow& bar, bool show);
    // The side a docked bar or toolbar is on, or nothing.
    std::optional<DockSide> GetDockSide(const CWindow& bar) const;
    // Takes a bar out of its side into a window of its own at `screen`.
    void FloatControlBar(CDockingBar& bar, const RECT& screen);

protected:
    void RepositionBars(RECT& client) override;

private:
    struct ToolBarPlace {
        CDockingToolBar* toolBar;
        std::optional<DockSide> side;  // nothing while it floats
        int row = 0;
    };
    struct BarPlace {
        CDockingBar* bar;
        DockSide side;
        RECT room{};  // what the bar and the middle shared at the last layout
    };
    // The shown toolbars docked on `side` by row, each row in its order,
    // leaving out `except`.
    std::vector<std::pair<int, std::vector<CDockingToolBar*>>> RowsOn(DockSide side,
                                                                     const CDockingToolBar* except) const;
    static int Thickness(const std::vector<CDockingToolBar*>& row, DockSide side);
    void PlaceToolBarRows(RECT& client, DockSide side);
    CFloatingToolFrame* FloatingFrameOf(const CDockingToolBar& toolBar) const;
    // The room a docked bar shared with the middle when last laid out.
    std::optional<RECT> RoomOf(const CDockingBar& bar) const;

    // IDockBarHost.
    void BarDropped(CDockingBar& bar, POINT screen, const RECT& moved) override;
    void BarEdgeDragged(CDockingBar& bar, POINT screen) override;
    // IToolBarDockHost.
    void ToolBarDropped(CDockingToolBar& toolBar, POINT screen, const RECT& moved) override;

    DockSides m_sides = 0;
    CStatusBar m_statusBar;
    std::vector<ToolBarPlace> m_toolBars;
    std::vector<BarPlace> m_bars;
    std::vector<std::unique_ptr<CFloatingToolFrame>> m_floatingFrames;
    // The client area the toolbars dock in (all but the status bar), as
    // last laid out.
    RECT m_toolBarArea{};
};
