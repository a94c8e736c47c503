#pragma once
// A frame whose bars dock on its sides: toolbars in rows along the top or
// bottom edge, docking bars on the sides they allow, the status bar at the
// bottom. Showing or hiding a bar lays the frame out again. A docking bar
// the user drags by its title docks on the allowed side nearest to where it
// is released, or floats when released outside the frame; dragging its
// inner edge resizes it (dock_layout.h decides both).
#include <optional>
#include <span>
#include <vector>

#include "dock_side.h"
#include "docking_bar.h"
#include "frame_window.h"
#include "status_bar.h"
#include "tool_bar.h"

class CDockingFrame : public CFrameWindow, private IDockBarHost {
public:
    static constexpr UINT kStatusBarId = 0xE801;

    // The sides the frame accepts bars on.
    void EnableDocking(DockSides sides) { m_sides = sides; }
    // The status bar with one pane per indicator (0 the message pane).
    bool InitStatusBar(std::span<const UINT> indicators);
    CStatusBar& GetStatusBar() { return m_statusBar; }

    // Puts a toolbar into a row along the top or bottom edge, after the
    // toolbars already in that row; shows it. False when the side is not allowed.
    bool DockToolBar(CToolBar& toolBar, DockSide side, int row);
    // Docks a bar on a side both it and the frame allow; the bar keeps its
    // visibility. False when the side is not allowed.
    bool DockControlBar(CDockingBar& bar, DockSide side);
    void ShowControlBar(CWindow& bar, bool show);
    // The side a docked bar is on, or nothing.
    std::optional<DockSide> GetDockSide(const CWindow& bar) const;
    // Takes a bar out of its side into a window of its own at `screen`.
    void FloatControlBar(CDockingBar& bar, const RECT& screen);

protected:
    void RepositionBars(RECT& client) override;

private:
    struct ToolBarPlace {
        CToolBar* toolBar;
        DockSide side;
        int row;
    };
    struct BarPlace {
        CDockingBar* bar;
        DockSide side;
        RECT room{};  // what the bar and the middle shared at the last layout
    };
    void PlaceToolBarRows(RECT& client, DockSide side);
    // The room a docked bar shared with the middle when last laid out.
    std::optional<RECT> RoomOf(const CDockingBar& bar) const;

    // IDockBarHost.
    void BarDropped(CDockingBar& bar, POINT screen, const RECT& moved) override;
    void BarEdgeDragged(CDockingBar& bar, POINT screen) override;

    DockSides m_sides = 0;
    CStatusBar m_statusBar;
    std::vector<ToolBarPlace> m_toolBars;
    std::vector<BarPlace> m_bars;
};
