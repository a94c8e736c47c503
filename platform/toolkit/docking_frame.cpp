#include "docking_frame.h"

#include <algorithm>
#include <map>

bool CDockingFrame::InitStatusBar(std::span<const UINT> indicators) {
    return m_statusBar.Create(m_hWnd, indicators, kStatusBarId);
}

bool CDockingFrame::DockToolBar(CDockingToolBar& toolBar, DockSide side, int row) {
    if (!Allows(m_sides, side) || !Allows(toolBar.GetAllowedSides(), side)) {
        return false;
    }
    if (CFloatingToolFrame* floating = FloatingFrameOf(toolBar)) {
        floating->Release(m_hWnd);
    }
    std::erase_if(m_toolBars, [&toolBar](const ToolBarPlace& place) { return place.toolBar == &toolBar; });
    m_toolBars.push_back({&toolBar, side, row});
    toolBar.SetDockHost(this);
    toolBar.SetDockedLayout(side == DockSide::left || side == DockSide::right, true);
    ShowWindow(toolBar.GetSafeHwnd(), SW_SHOWNA);
    RecalcLayout();
    return true;
}

void CDockingFrame::FloatToolBar(CDockingToolBar& toolBar, POINT screen) {
    CFloatingToolFrame* floating = FloatingFrameOf(toolBar);
    if (floating == nullptr) {
        auto made = std::make_unique<CFloatingToolFrame>();
        if (!made->Create(m_hWnd, toolBar)) {
            return;
        }
        floating = made.get();
        m_floatingFrames.push_back(std::move(made));
    }
    std::erase_if(m_toolBars, [&toolBar](const ToolBarPlace& place) { return place.toolBar == &toolBar; });
    m_toolBars.push_back({&toolBar, std::nullopt, 0});
    toolBar.SetDockHost(this);
    toolBar.SetDockedLayout(false, false);
    floating->Hold(screen);
    RecalcLayout();
}

std::optional<CDockingFrame::ToolBarDock> CDockingFrame::GetToolBarDock(const CDockingToolBar& toolBar) const {
    const auto found = std::ranges::find(m_toolBars, &toolBar, &ToolBarPlace::toolBar);
    if (found == m_toolBars.end() || !found->side) {
        return std::nullopt;
    }
    const auto position = std::count_if(m_toolBars.begin(), found, [&found](const ToolBarPlace& place) {
        return place.side == found->side && place.row == found->row;
    });
    return ToolBarDock{*found->side, found->row, static_cast<int>(position)};
}

HWND CDockingFrame::GetFloatingWindow(const CDockingToolBar& toolBar) const {
    const CFloatingToolFrame* floating = FloatingFrameOf(toolBar);
    return floating != nullptr && !GetDockSide(toolBar) ? floating->GetSafeHwnd() : nullptr;
}

CFloatingToolFrame* CDockingFrame::FloatingFrameOf(const CDockingToolBar& toolBar) const {
    for (const auto& floating : m_floatingFrames) {
        if (&floating->GetToolBar() == &toolBar) {
            return floating.get();
        }
    }
    return nullptr;
}

void CDockingFrame::ToolBarDropped(CDockingToolBar& toolBar, POINT screen, const RECT& moved) {
    ScreenToClient(m_hWnd, &screen);
    const auto thickness = [this, &toolBar](DockSide side) {
        std::vector<int> rows;
        for (const auto& [row, toolBars] : RowsOn(side, &toolBar)) {
            rows.push_back(Thickness(toolBars, side));
        }
        return rows;
    };
    const ToolBarRows rows{thickness(DockSide::top), thickness(DockSide::bottom), thickness(DockSide::left),
                           thickness(DockSide::right)};
    const SIZE size = toolBar.GetDockedSize();
    const DockArea area{m_toolBarArea.left, m_toolBarArea.top, m_toolBarArea.right, m_toolBarArea.bottom};
    const std::optional<ToolBarDrop> drop = ToolBarDropPlace(
        {screen.x, screen.y}, area, m_sides & toolBar.GetAllowedSides(), rows, std::min(size.cx, size.cy));
    if (!drop) {
        FloatToolBar(toolBar, POINT{moved.left, moved.top});
        return;
    }
    const auto existing = RowsOn(drop->side, &toolBar);
    const int row = drop->row < existing.size() ? existing[drop->row].first
                    : existing.empty()           ? 0
                                                 : existing.back().first + 1;
    DockToolBar(toolBar, drop->side, row);
}

bool CDockingFrame::DockControlBar(CDockingBar& bar, DockSide side) {
    if (!Allows(m_sides, side) || !Allows(bar.GetAllowedSides(), side)) {
        return false;
    }
    std::erase_if(m_bars, [&bar](const BarPlace& place) { return place.bar == &bar; });
    bar.AttachTo(m_hWnd);
    bar.SetDockHost(this);
    bar.SetDockedSide(side);
    m_bars.push_back({&bar, side});
    RecalcLayout();
    return true;
}

void CDockingFrame::FloatControlBar(CDockingBar& bar, const RECT& screen) {
    std::erase_if(m_bars, [&bar](const BarPlace& place) { return place.bar == &bar; });
    bar.SetDockHost(this);
    bar.Float(m_hWnd, screen);
    RecalcLayout();
}

void CDockingFrame::BarDropped(CDockingBar& bar, POINT screen, const RECT& moved) {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    ScreenToClient(m_hWnd, &screen);
    const DockSides allowed = m_sides & bar.GetAllowedSides();
    if (const auto side = DropSide({screen.x, screen.y}, {client.left, client.top, client.right, client.bottom},
                                   allowed)) {
        DockControlBar(bar, *side);
        return;
    }
    FloatControlBar(bar, moved);
}

void CDockingFrame::BarEdgeDragged(CDockingBar& bar, POINT screen) {
    const std::optional<DockSide> side = GetDockSide(bar);
    const std::optional<RECT> room = RoomOf(bar);
    if (!side || !room) {
        return;
    }
    ScreenToClient(m_hWnd, &screen);
    const bool across = *side == DockSide::left || *side == DockSide::right;
    bar.SetExtent(DraggedExtent(*side, across ? screen.x : screen.y,
                                {room->left, room->top, room->right, room->bottom}));
    RecalcLayout();
}

std::optional<RECT> CDockingFrame::RoomOf(const CDockingBar& bar) const {
    for (const BarPlace& place : m_bars) {
        if (place.bar == &bar) {
            return place.room;
        }
    }
    return std::nullopt;
}

void CDockingFrame::ShowControlBar(CWindow& bar, bool show) {
    if (!bar.GetSafeHwnd()) {
        return;
    }
    ShowWindow(bar.GetSafeHwnd(), show ? SW_SHOWNA : SW_HIDE);
    for (const ToolBarPlace& place : m_toolBars) {
        if (static_cast<const CWindow*>(place.toolBar) == &bar && !place.side) {
            if (HWND floating = GetFloatingWindow(*place.toolBar)) {
                ShowWindow(floating, show ? SW_SHOWNA : SW_HIDE);
            }
        }
    }
    RecalcLayout();
}

std::optional<DockSide> CDockingFrame::GetDockSide(const CWindow& bar) const {
    for (const BarPlace& place : m_bars) {
        if (place.bar == &bar) {
            return place.side;
        }
    }
    for (const ToolBarPlace& place : m_toolBars) {
        if (place.toolBar == &bar) {
            return place.side;
        }
    }
    return std::nullopt;
}

std::vector<std::pair<int, std::vector<CDockingToolBar*>>> CDockingFrame::RowsOn(
    DockSide side, const CDockingToolBar* except) const {
    std::map<int, std::vector<CDockingToolBar*>> rows;
    for (const ToolBarPlace& place : m_toolBars) {
        if (place.side == side && place.toolBar != except && place.toolBar->IsVisible()) {
            rows[place.row].push_back(place.toolBar);
        }
    }
    return {rows.begin(), rows.end()};
}

int CDockingFrame::Thickness(const std::vector<CDockingToolBar*>& row, DockSide side) {
    const bool across = side == DockSide::left || side == DockSide::right;
    int thickness = 0;
    for (const CDockingToolBar* toolBar : row) {
        const SIZE size = toolBar->GetDockedSize();
        thickness = std::max<int>(thickness, across ? size.cx : size.cy);
    }
    return thickness;
}

// Rows from the edge inward, each toolbar after the one before it along the row.
void CDockingFrame::PlaceToolBarRows(RECT& client, DockSide side) {
    const bool across = side == DockSide::left || side == DockSide::right;
    for (const auto& [row, toolBars] : RowsOn(side, nullptr)) {
        const int thickness = Thickness(toolBars, side);
        int along = (across ? client.top : client.left) + 2;
        for (CDockingToolBar* toolBar : toolBars) {
            const SIZE size = toolBar->GetDockedSize();
            RECT place{};
            switch (side) {
            case DockSide::top: place = {along, client.top, along + size.cx, client.top + thickness}; break;
            case DockSide::bottom: place = {along, client.bottom - thickness, along + size.cx, client.bottom}; break;
            case DockSide::left: place = {client.left, along, client.left + thickness, along + size.cy}; break;
            case DockSide::right: place = {client.right - thickness, along, client.right, along + size.cy}; break;
            }
            MoveWindow(toolBar->GetSafeHwnd(), place.left, place.top, place.right - place.left,
                       place.bottom - place.top, TRUE);
            along += (across ? size.cy : size.cx) + 4;
        }
        switch (side) {
        case DockSide::top: client.top += thickness; break;
        case DockSide::bottom: client.bottom -= thickness; break;
        case DockSide::left: client.left += thickness; break;
        case DockSide::right: client.right -= thickness; break;
        }
    }
}

void CDockingFrame::RepositionBars(RECT& client) {
    m_statusBar.Reposition(client);
    m_toolBarArea = client;
    for (DockSide side : {DockSide::top, DockSide::bottom, DockSide::left, DockSide::right}) {
        PlaceToolBarRows(client, side);
    }
    // Docking bars in docking order, each taking its extent off its side.
    for (BarPlace& place : m_bars) {
        if (!place.bar->IsVisible()) {
            continue;
        }
        place.room = client;
        const int extent = place.bar->GetExtent();
        RECT area = client;
        switch (place.side) {
        case DockSide::left:
            area.right = std::min(client.right, client.left + extent);
            client.left = area.right;
            break;
        case DockSide::right:
            area.left = std::max(client.left, client.right - extent);
            client.right = area.left;
            break;
        case DockSide::top:
            area.bottom = std::min(client.bottom, client.top + extent);
            client.top = area.bottom;
            break;
        case DockSide::bottom:
            area.top = std::max(client.top, client.bottom - extent);
            client.bottom = area.top;
            break;
        }
        MoveWindow(place.bar->GetSafeHwnd(), area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    }
}
