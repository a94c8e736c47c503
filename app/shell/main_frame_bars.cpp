// The docking bars' places across runs: the side each bar is docked on (or
// 0 for a bar floating in its own window, with that window's rectangle) and
// its size across the side, in Config.ini [BarPlace]. A value that is
// missing or does not fit (a side the bar may not take, a window off every
// screen) leaves the bar where the frame docks it by default.
#include <optional>
#include <string>
#include <utility>

#include "dock_layout.h"
#include "main_frame.h"

namespace {

constexpr const wchar_t* kBarPlace = L"BarPlace";
constexpr int kFloating = 0;
// Larger than any screen: a size beyond it is not one the user made.
constexpr int kMaxExtent = 8192;

struct BarKeys {
    std::wstring side, extent, left, top, right, bottom;
};

BarKeys KeysOf(const wchar_t* name) {
    const std::wstring n = name;
    return {n + L"Side", n + L"Extent", n + L"Left", n + L"Top", n + L"Right", n + L"Bottom"};
}

bool IsSide(int value) {
    return value == static_cast<int>(DockSide::top) || value == static_cast<int>(DockSide::bottom) ||
           value == static_cast<int>(DockSide::left) || value == static_cast<int>(DockSide::right);
}

}  // namespace

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
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        m_ini.GetInt(left, kBarPlace, keys.left.c_str(), 0);
        m_ini.GetInt(top, kBarPlace, keys.top.c_str(), 0);
        m_ini.GetInt(right, kBarPlace, keys.right.c_str(), 0);
        m_ini.GetInt(bottom, kBarPlace, keys.bottom.c_str(), 0);
        const RECT place{left, top, right, bottom};
        const bool sized = place.right - place.left >= kMinDockExtent && place.bottom - place.top >= kMinDockExtent &&
                           place.right - place.left <= kMaxExtent && place.bottom - place.top <= kMaxExtent;
        if (sized && MonitorFromRect(&place, MONITOR_DEFAULTTONULL) != nullptr) {
            FloatControlBar(*bar, place);
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
        if (side) {
            continue;
        }
        RECT place{};
        GetWindowRect(bar->GetSafeHwnd(), &place);
        m_ini.WriteInt(place.left, kBarPlace, keys.left.c_str());
        m_ini.WriteInt(place.top, kBarPlace, keys.top.c_str());
        m_ini.WriteInt(place.right, kBarPlace, keys.right.c_str());
        m_ini.WriteInt(place.bottom, kBarPlace, keys.bottom.c_str());
    }
}
