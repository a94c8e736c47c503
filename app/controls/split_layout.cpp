#include "split_layout.h"

#include <windowsx.h>

#include <algorithm>

#include "controls_resource.h"

namespace {

constexpr const wchar_t* kBarClass = L"ZSplitter";

split_geometry::Box ToBox(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT ToRect(const split_geometry::Box& b) { return {b.left, b.top, b.right, b.bottom}; }

// The bars' cursors, from the program file, loaded once.
HCURSOR CursorFor(split_geometry::Kind kind) {
    static const HCURSOR cursors[3] = {
        LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_SPLIT_MOVE)),
        LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_SPLIT_WE)),
        LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_SPLIT_NS)),
    };
    const int index = kind == split_geometry::kJunction ? 0 : kind == split_geometry::kVerticalBar ? 1 : 2;
    return cursors[index] ? cursors[index] : LoadCursorW(nullptr, IDC_ARROW);
}

}  // namespace

bool ZSplitter::Create(HWND dialog, const RECT& rect, UINT id) {
    if (!RegisterWindowClass(kBarClass, CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE))) {
        return false;
    }
    return CreateEx(0, kBarClass, L"", WS_CHILD | WS_VISIBLE, rect, dialog, id);
}

void ZSplitter::Paint(HDC dc) const {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    m_layout.GetBarPainter()(dc, client);
}

LRESULT ZSplitter::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        if (m_layout.GetBarPainter()) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(m_hWnd, &ps);
            Paint(dc);
            EndPaint(m_hWnd, &ps);
            return 0;
        }
        return Default(message, wParam, lParam);
    case WM_PRINTCLIENT:
        if (m_layout.GetBarPainter()) {
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        }
        return Default(message, wParam, lParam);
    case WM_LBUTTONDOWN:
        Default(message, wParam, lParam);
        m_grab = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        m_dragging = true;
        SetCapture(m_hWnd);
        return 0;
    case WM_MOUSEMOVE:
        if (m_dragging) {
            // Where the bar lies under the pointer stays the grab point: the
            // bar follows the pointer one to one.
            m_layout.MoveSplitter(static_cast<UINT>(GetDlgCtrlID(m_hWnd)), GET_X_LPARAM(lParam) - m_grab.x,
                                  GET_Y_LPARAM(lParam) - m_grab.y);
        }
        return 0;
    case WM_LBUTTONUP:
        if (m_dragging) {
            m_dragging = false;
            ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED: m_dragging = false; return 0;
    case WM_SETCURSOR: SetCursor(CursorFor(m_kind)); return TRUE;
    default: return Default(message, wParam, lParam);
    }
}

CSplitLayout::~CSplitLayout() { DestroyBars(); }

RECT CSplitLayout::ClientRectOf(HWND window) const {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, m_dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<split_geometry::Group> CSplitLayout::CurrentGroups() const {
    std::vector<split_geometry::Group> groups;
    for (const std::vector<int>& ids : m_groupIds) {
        split_geometry::Group group;
        for (int id : ids) {
            HWND control = GetDlgItem(m_dialog, id);
            if (!control) {
                continue;
            }
            const auto index = std::find(m_controlIds.begin(), m_controlIds.end(), id) - m_controlIds.begin();
            group.push_back({static_cast<int>(index), ToBox(ClientRectOf(control))});
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

bool CSplitLayout::Init(std::span<const int> groups) {
    DestroyBars();
    m_groupIds.clear();
    m_controlIds.clear();
    for (std::size_t i = 0; i < groups.size();) {
        const int count = groups[i++];
        if (count < 0 || static_cast<std::size_t>(count) > groups.size() - i) {
            m_groupIds.clear();
            m_controlIds.clear();
            return false;
        }
        m_groupIds.emplace_back(groups.begin() + static_cast<std::ptrdiff_t>(i),
                                groups.begin() + static_cast<std::ptrdiff_t>(i) + count);
        m_controlIds.insert(m_controlIds.end(), m_groupIds.back().begin(), m_groupIds.back().end());
        i += static_cast<std::size_t>(count);
    }
    m_bars = split_geometry::PlaceBars(CurrentGroups());
    for (std::size_t i = 0; i < m_bars.size(); ++i) {
        auto bar = std::make_unique<ZSplitter>(*this, m_bars[i].kind);
        if (!bar->Create(m_dialog, ToRect(m_bars[i].box), kFirstSplitterId + static_cast<UINT>(i))) {
            DestroyBars();
            return false;
        }
        m_windows.push_back(std::move(bar));
    }
    // The junction lies on the bars it joins.
    for (const auto& window : m_windows) {
        if (window->Kind() == split_geometry::kJunction) {
            SetWindowPos(window->GetSafeHwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    return true;
}

void CSplitLayout::Relayout() {
    std::vector<split_geometry::Box> controls;
    for (int id : m_controlIds) {
        HWND control = GetDlgItem(m_dialog, id);
        controls.push_back(control ? ToBox(ClientRectOf(control)) : split_geometry::Box{});
    }
    const std::vector<split_geometry::Box> boxes = split_geometry::BarBoxes(m_bars, controls);
    for (std::size_t i = 0; i < m_bars.size() && i < m_windows.size(); ++i) {
        m_bars[i].box = boxes[i];
        const RECT r = ToRect(boxes[i]);
        SetWindowPos(m_windows[i]->GetSafeHwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

bool CSplitLayout::MoveSplitter(UINT id, int dx, int dy) {
    std::size_t index = m_windows.size();
    for (std::size_t i = 0; i < m_windows.size(); ++i) {
        const bool match =
            id ? static_cast<UINT>(GetDlgCtrlID(m_windows[i]->GetSafeHwnd())) == id : m_windows[i]->IsDragging();
        if (match) {
            index = i;
            break;
        }
    }
    if (index == m_windows.size()) {
        return false;
    }
    const split_geometry::Bar& bar = m_bars[index];
    std::vector<HWND> controls;
    std::vector<split_geometry::Box> boxes;
    std::vector<unsigned> edges;
    for (const split_geometry::ControlEdges& move : bar.moves) {
        HWND control = GetDlgItem(m_dialog, m_controlIds[static_cast<std::size_t>(move.control)]);
        controls.push_back(control);
        boxes.push_back(ToBox(ClientRectOf(control)));
        edges.push_back(move.edges);
    }
    RECT client{};
    GetClientRect(m_dialog, &client);
    const auto step = split_geometry::PlanStep(ToBox(ClientRectOf(m_windows[index]->GetSafeHwnd())), bar.kind, dx, dy,
                                               client.right, client.bottom, boxes, edges);
    if (!step || (step->dx == 0 && step->dy == 0)) {
        return false;
    }
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const split_geometry::Box& b = step->controls[i];
        if (b == boxes[i]) {
            continue;
        }
        SetWindowPos(controls[i], nullptr, b.left, b.top, b.right - b.left, b.bottom - b.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        PostMessageW(m_dialog, WM_LAYOUT_SPLIT, 0, reinterpret_cast<LPARAM>(controls[i]));
        InvalidateRect(controls[i], nullptr, TRUE);
    }
    Relayout();
    return true;
}

void CSplitLayout::OnParentMoved(int x, int y) {
    if (m_hasReference) {
        for (std::size_t i = 0; i < m_windows.size(); ++i) {
            if (m_windows[i]->Kind() == split_geometry::kJunction) {
                MoveSplitter(static_cast<UINT>(GetDlgCtrlID(m_windows[i]->GetSafeHwnd())), x - m_reference.x,
                             y - m_reference.y);
            }
        }
    }
    m_reference = {x, y};
    m_hasReference = true;
}

void CSplitLayout::DestroyBars() {
    m_windows.clear();
    m_bars.clear();
}
