#include "docking_frame.h"

#include <algorithm>
#include <map>

#include "dock_layout.h"

bool CDockingFrame::InitStatusBar(std::span<const UINT> indicators) {
    return m_statusBar.Create(m_hWnd, indicators, kStatusBarId);
}

bool CDockingFrame::DockToolBar(CToolBar& toolBar, DockSide side, int row) {
    if (!Allows(m_sides, side) || (side != DockSide::top && side != DockSide::bottom)) {
        return false;
    }
    std::erase_if(m_toolBars, [&toolBar](const ToolBarPlace& place) { return place.toolBar == &toolBar; });
    m_toolBars.push_back({&toolBar, side, row});
    ShowWindow(toolBar.GetSafeHwnd(), SW_SHOWNA);
    RecalcLayout();
    return true;
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
    if (bar.GetSafeHwnd()) {
        ShowWindow(bar.GetSafeHwnd(), show ? SW_SHOWNA : SW_HIDE);
        RecalcLayout();
    }
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

void CDockingFrame::PlaceToolBarRows(RECT& client, DockSide side) {
    std::map<int, std::vector<CToolBar*>> rows;
    for (const ToolBarPlace& place : m_toolBars) {
        if (place.side == side && place.toolBar->IsVisible()) {
            rows[place.row].push_back(place.toolBar);
        }
    }
    auto placeRow = [&client, side](const std::vector<CToolBar*>& row) {
        int height = 0;
        for (CToolBar* toolBar : row) {
            height = std::max<int>(height, toolBar->GetRowSize().cy);
        }
        const int top = side == DockSide::top ? client.top : client.bottom - height;
        int left = client.left + 2;
        for (CToolBar* toolBar : row) {
            const SIZE size = toolBar->GetRowSize();
            MoveWindow(toolBar->GetSafeHwnd(), left, top, size.cx, height, TRUE);
            left += size.cx + 4;
        }
        (side == DockSide::top ? client.top : client.bottom) += side == DockSide::top ? height : -height;
    };
    if (side == DockSide::top) {
        for (const auto& [row, toolBars] : rows) {
            placeRow(toolBars);
        }
    } else {
        for (auto it = rows.begin(); it != rows.end(); ++it) {
            placeRow(it->second);
        }
    }
}

void CDockingFrame::RepositionBars(RECT& client) {
    m_statusBar.Reposition(client);
    PlaceToolBarRows(client, DockSide::top);
    PlaceToolBarRows(client, DockSide::bottom);
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
