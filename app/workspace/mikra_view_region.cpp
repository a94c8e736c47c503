// Region white balance and exposure: the user drags a band on the video and
// the camera adjusts once over that region. No region is armed while the
// camera's continuous auto exposure runs, and GigE cameras offer no menu.
#include <algorithm>

#include "mikra_view.h"
#include "resource.h"
#include "resource_module.h"
#include "unique_handle.h"

VideoDisplay CMikraView::GetVideoDisplay() const {
    const CameraPoint pos = m_camera->GetVideoPos();
    const CameraFrameSize video = m_camera->GetVideoSize();
    return {{pos.x, pos.y}, video.width, video.height, m_videoZoom};
}

void CMikraView::StartRegionMode(RegionMode mode) {
    m_regionMode = RegionMode::none;
    if (m_camera && m_camera->GetAELiving() == 0) {
        m_regionMode = mode;
    }
}

// An XOR focus rectangle on the window the video is drawn in: drawn twice
// at the same place it is gone.
void CMikraView::DrawRegionBand() {
    HWND target =
        m_videoHost.GetSafeHwnd() && IsWindowVisible(m_videoHost.GetSafeHwnd()) ? m_videoHost.GetSafeHwnd() : m_hWnd;
    POINT corners[2] = {{std::min(m_bandFrom.x, m_bandTo.x), std::min(m_bandFrom.y, m_bandTo.y)},
                        {std::max(m_bandFrom.x, m_bandTo.x), std::max(m_bandFrom.y, m_bandTo.y)}};
    MapWindowPoints(m_hWnd, target, corners, 2);
    const RECT band{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    HDC dc = GetDC(target);
    DrawFocusRect(dc, &band);
    ReleaseDC(target, dc);
}

void CMikraView::RunRegionOperation() {
    const POINT scroll = GetScrollPosition();
    const std::optional<PixelRect> region = CameraRegion(m_bandFrom, m_bandTo, GetVideoDisplay(), {scroll.x, scroll.y});
    if (!region) {
        return;
    }
    if (m_regionMode == RegionMode::whiteBalance) {
        m_camera->DoWhiteBalanceOnce(region->left, region->top, region->right, region->bottom);
    } else {
        m_camera->DoExposureOnce(region->left, region->top, region->right, region->bottom);
    }
    // The camera's settings no longer match a parameter file.
    if (m_frame) {
        m_frame->SetParamFileSelection(-1);
    }
    m_camera->SetParamFileIndex(-1);
}

void CMikraView::ShowRegionMenu(ViewPoint point) {
    if (!IsVideoActive() || m_camera->GetAELiving() != 0 ||
        m_camera->GetCameraKind() == static_cast<int>(CameraFamily::gigE)) {
        return;
    }
    const UniqueMenu menu(LoadMenuW(GetResourceModule(), MAKEINTRESOURCEW(IDR_REGION_MENU)));
    HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : nullptr;
    if (!popup) {
        return;
    }
    POINT screen{point.x, point.y};
    ClientToScreen(m_hWnd, &screen);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, screen.x, screen.y, 0, GetParent(m_hWnd), nullptr);
}
