// The bars' places across runs, in Config.ini [BarPlace]: the side each
// docking bar or toolbar is docked on (or 0 for a bar floating in its own
// window, with that window's rectangle); a docking bar's size across its
// side; a toolbar's row on its side and its place in that row. A value that
// is missing or does not fit (a side the bar may not take, a window off
// every screen) leaves the bar where the frame docks it by default.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dock_layout.h"
#include "main_frame.h"
#include "resource.h"

namespace {

constexpr const wchar_t* kBarPlace = L"BarPlace";
constexpr int kFloating = 0;
// Larger than any screen: a size beyond it is not one the user made.
constexpr int kMaxExtent = 8192;
// Rows beyond this many are not ones the user made.
constexpr int kMaxRow = 64;

struct BarKeys {
    std::wstring side, extent, left, top, right, bottom, row, position;
};

BarKeys KeysOf(const wchar_t* name) {
    const std::wstring n = name;
    return {n + L"Side",  n + L"Extent", n + L"Left", n + L"Top",
            n + L"Right", n + L"Bottom", n + L"Row",  n + L"Pos"};
}

bool IsSide(int value) {
    return value == static_cast<int>(DockSide::top) || value == static_cast<int>(DockSide::bottom) ||
           value == static_cast<int>(DockSide::left) || value == static_cast<int>(DockSide::right);
}

// A floating window's rectangle as kept, when it is at least `leastSize`
// across and on a screen.
std::optional<RECT> ReadFloatingPlace(CIniFile& ini, const BarKeys& keys, int leastSize) {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    ini.GetInt(left, kBarPlace, keys.left.c_str(), 0);
    ini.GetInt(top, kBarPlace, keys.top.c_str(), 0);
    ini.GetInt(right, kBarPlace, keys.right.c_str(), 0);
    ini.GetInt(bottom, kBarPlace, keys.bottom.c_str(), 0);
    const RECT place{left, top, right, bottom};
    const bool sized = place.right - place.left >= leastSize && place.bottom - place.top >= leastSize &&
                       place.right - place.left <= kMaxExtent && place.bottom - place.top <= kMaxExtent;
    if (!sized || MonitorFromRect(&place, MONITOR_DEFAULTTONULL) == nullptr) {
        return std::nullopt;
    }
    return place;
}

void WriteFloatingPlace(CIniFile& ini, const BarKeys& keys, HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    ini.WriteInt(place.left, kBarPlace, keys.left.c_str());
    ini.WriteInt(place.top, kBarPlace, keys.top.c_str());
    ini.WriteInt(place.right, kBarPlace, keys.right.c_str());
    ini.WriteInt(place.bottom, kBarPlace, keys.bottom.c_str());
}

}  // namespace

std::array<std::pair<CComboToolBar*, const wchar_t*>, 4> CMainFrame::ToolBarNames() {
    // The names of their [ShowBar] flags.
    return {{{&m_wndToolBar, L"Main"}, {&m_wndVideoBar, L"Video"}, {&m_wndMeasureBar, L"CL"}, {&m_wndPictureBar, L"IMG"}}};
}

void CMainFrame::NameToolBars() {
    HMENU menu = GetMenu(m_hWnd);
    for (auto [toolBar, command] : {std::pair<CComboToolBar*, UINT>{&m_wndToolBar, ID_VIEW_TOOLBAR},
                                    std::pair<CComboToolBar*, UINT>{&m_wndVideoBar, ID_VIEW_VIDEO_TOOLBAR},
                                    std::pair<CComboToolBar*, UINT>{&m_wndMeasureBar, ID_VIEW_MEASURE_TOOLBAR},
                                    std::pair<CComboToolBar*, UINT>{&m_wndPictureBar, ID_VIEW_PICTURE_TOOLBAR}}) {
        wchar_t text[128] = {};
        if (!toolBar->GetSafeHwnd() || !menu || GetMenuStringW(menu, command, text, 128, MF_BYCOMMAND) <= 0) {
            continue;
        }
        // "&Main Toolbar\tkey" or "主工具栏(&M)": the words alone.
        std::wstring name(text);
        name = name.substr(0, name.find(L'\t'));
        if (const std::size_t mnemonic = name.find(L"(&"); mnemonic != std::wstring::npos) {
            name.erase(mnemonic, name.find(L')', mnemonic) + 1 - mnemonic);
        }
        std::erase(name, L'&');
        SetWindowTextW(toolBar->GetSafeHwnd(), name.c_str());
    }
}

void CMainFrame::RestoreBarPlaces() {
    for (auto [bar, name] : {std::pair<CDockingBar*, const wchar_t*>{&m_wndBrowserBar, L"Server"},
                             std::pair<CDockingBar*, const wchar_t*>{&m_wndDataBar, L"Output"}}) {
        const BarKeys keys = KeysOf(name);
        int extent = 0;
        m_ini.GetInt(extent, kBarPlace, keys.extent.c_str(), 0);
        if (extent >= kMinDockExtent && extent <= kMaxExtent) {
            bar->SetExtent(extent);
        }
        int side = -1;
        m_ini.GetInt(side, kBarPlace, keys.side.c_str(), -1);
        if (IsSide(side)) {
            DockControlBar(*bar, static_cast<DockSide>(side));
            continue;
        }
        if (side != kFloating) {
            continue;
        }
        if (const std::optional<RECT> place = ReadFloatingPlace(m_ini, keys, kMinDockExtent)) {
            FloatControlBar(*bar, *place);
        }
    }
    RestoreToolBarPlaces();
}

// Toolbars dock in the order of their places in their rows, so that each
// row comes back in its order.
void CMainFrame::RestoreToolBarPlaces() {
    struct Saved {
        CComboToolBar* toolBar;
        int side;
        int row;
        int position;
        std::optional<RECT> floating;
    };
    std::vector<Saved> saved;
    for (auto [toolBar, name] : ToolBarNames()) {
        if (!toolBar->GetSafeHwnd()) {
            continue;
        }
        const BarKeys keys = KeysOf(name);
        Saved place{toolBar, -1, 0, 0, std::nullopt};
        m_ini.GetInt(place.side, kBarPlace, keys.side.c_str(), -1);
        m_ini.GetInt(place.row, kBarPlace, keys.row.c_str(), 0);
        m_ini.GetInt(place.position, kBarPlace, keys.position.c_str(), 0);
        if (place.side == kFloating) {
            place.floating = ReadFloatingPlace(m_ini, keys, 1);
        }
        saved.push_back(place);
    }
    std::ranges::stable_sort(saved, {}, &Saved::position);
    for (const Saved& place : saved) {
        if (IsSide(place.side) && place.row >= 0 && place.row <= kMaxRow) {
            DockToolBar(*place.toolBar, static_cast<DockSide>(place.side), place.row);
        } else if (place.floating) {
            FloatToolBar(*place.toolBar, POINT{place.floating->left, place.floating->top});
        }
    }
}

void CMainFrame::SaveBarPlaces() {
    for (auto [bar, name] : {std::pair<CDockingBar*, const wchar_t*>{&m_wndBrowserBar, L"Server"},
                             std::pair<CDockingBar*, const wchar_t*>{&m_wndDataBar, L"Output"}}) {
        if (!bar->GetSafeHwnd()) {
            continue;
        }
        const BarKeys keys = KeysOf(name);
        m_ini.WriteInt(bar->GetExtent(), kBarPlace, keys.extent.c_str());
        const std::optional<DockSide> side = GetDockSide(*bar);
        m_ini.WriteInt(side ? static_cast<int>(*side) : kFloating, kBarPlace, keys.side.c_str());
        if (!side) {
            WriteFloatingPlace(m_ini, keys, bar->GetSafeHwnd());
        }
    }
    for (auto [toolBar, name] : ToolBarNames()) {
        if (!toolBar->GetSafeHwnd()) {
            continue;
        }
        const BarKeys keys = KeysOf(name);
        if (const std::optional<ToolBarDock> dock = GetToolBarDock(*toolBar)) {
            m_ini.WriteInt(static_cast<int>(dock->side), kBarPlace, keys.side.c_str());
            m_ini.WriteInt(dock->row, kBarPlace, keys.row.c_str());
            m_ini.WriteInt(dock->position, kBarPlace, keys.position.c_str());
        } else if (HWND floating = GetFloatingWindow(*toolBar)) {
            m_ini.WriteInt(kFloating, kBarPlace, keys.side.c_str());
            WriteFloatingPlace(m_ini, keys, floating);
        }
    }
}
