// Live measuring and the windows over the video: the live-measure overlay
// the live controller draws into, the counting-grid overlay and the video
// host window. They are pop-ups the view owns, placed over the displayed
// video and cut to the view's client area.
#include "mikra_view.h"
#include "video_zoom.h"

namespace {

void ShowWindowOf(const CTransparentDlg& window, bool shown) {
    if (window.GetSafeHwnd()) {
        ShowWindow(window.GetSafeHwnd(), shown ? SW_SHOWNA : SW_HIDE);
    }
}

bool IsShown(const CTransparentDlg& window) { return window.GetSafeHwnd() && IsWindowVisible(window.GetSafeHwnd()); }

// Puts the window at its place on the screen, showing only its visible part.
void PlaceOverlay(const CTransparentDlg& window, const OverlayLayout& layout, POINT clientCorner) {
    HWND hwnd = window.GetSafeHwnd();
    SetWindowPos(hwnd, nullptr, clientCorner.x + layout.window.left, clientCorner.y + layout.window.top,
                 layout.window.right - layout.window.left, layout.window.bottom - layout.window.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The window owns the region from here on.
    SetWindowRgn(hwnd,
                 CreateRectRgn(layout.visible.left, layout.visible.top, layout.visible.right, layout.visible.bottom),
                 TRUE);
}

}  // namespace

void CMikraView::CreateOverlays() {
    m_gridOverlay.Create(m_hWnd);
    m_rulerOverlay.Create(m_hWnd);
    m_liveOverlay.Create(m_hWnd);
    m_videoHost.Create(m_hWnd);
}

void CMikraView::ToggleLiveMeasuring() {
    m_bLiveMeasuring = m_bLiveMeasuring ? 0 : 1;
    const bool on = m_bLiveMeasuring != 0;
    if (!m_camera || !m_camera->IsVideoOpen()) {
        return;
    }
    ShowLiveOverlay(on);
    if (m_frame) {
        m_frame->ShowToolBar(ViewToolBar::main, on);
        m_frame->ShowToolBar(ViewToolBar::measure, on);
    }
    if (m_bGridShown) {
        ShowGridOverlay(on);
    }
    ShowRulerOverlayWindow(true);
}

void CMikraView::ShowLiveOverlay(bool shown) {
    ShowWindowOf(m_liveOverlay, shown);
    ShowWindowOf(m_videoHost, !shown);
    if (!shown || !m_camera) {
        // The data bar lists the picture's objects again.
        m_live->SetWorkspaceBar(nullptr);
        ShowCurrentMeasurements();
        LayoutVideoOverlays();
        return;
    }
    m_live->OpenPicture();
    m_live->SetOwnerWindow(m_hWnd);
    m_live->SetOverlayWindow(m_liveOverlay.GetSafeHwnd());
    const CameraFrameSize video = m_camera->GetVideoSize();
    m_live->SetZoom(VideoZoom(m_camera->GetVideoWindowSize().width, video.width).value_or(1.0f));
    m_live->SetFrameSize(video.width, video.height);
    // While measuring on the video the data bar lists the live objects.
    for (const std::unique_ptr<CImageController>& controller : m_controllers) {
        controller->SetWorkspaceBar(nullptr);
    }
    m_current->SetWorkspaceBar(nullptr);
    if (m_frame) {
        m_live->SetWorkspaceBar(m_frame->GetWorkspaceBar());
        m_live->RefreshWorkspaceBar();
    }
    LayoutVideoOverlays();
    m_live->Render(1);
}

void CMikraView::ShowRulerOverlayWindow(bool shown) {
    if (m_measuringRuler) {
        m_measuringRuler->SetTargetWindow(m_rulerOverlay.GetSafeHwnd());
        m_measuringRuler->LoadSettings(1);
    }
    // With the ruler off the window would show only its key colour: it
    // stays hidden, so no idle window lies over the video.
    const bool on = shown && m_measuringRuler && m_measuringRuler->m_bShow;
    ShowWindowOf(m_rulerOverlay, on);
    if (on) {
        LayoutVideoOverlays();
        m_measuringRuler->PaintOnView();
    }
}

void CMikraView::ShowGridOverlay(bool shown) {
    ShowWindowOf(m_gridOverlay, shown);
    LayoutVideoOverlays();
    if (shown && m_gridOverlay.GetSafeHwnd()) {
        m_live->LoadCalibration();
        m_live->SetDrawWindow(m_gridOverlay.GetSafeHwnd());
        m_live->DrawCountingGrid(0);
    }
}

void CMikraView::LayoutVideoOverlays() {
    if (!m_hWnd || !m_camera) {
        return;
    }
    const CameraPoint pos = m_camera->GetVideoPos();
    const POINT scroll = GetScrollPosition();
    RECT client{};
    GetClientRect(m_hWnd, &client);
    POINT corner{0, 0};
    ClientToScreen(m_hWnd, &corner);
    const auto layout = [&](CameraFrameSize shown) {
        return LayoutVideoOverlay({pos.x, pos.y}, {scroll.x, scroll.y}, shown.width, shown.height, client.right,
                                  client.bottom);
    };
    const OverlayLayout displayed = layout(m_camera->GetVideoWindowSize());
    if (IsShown(m_liveOverlay)) {
        PlaceOverlay(m_liveOverlay, displayed, corner);
        // The objects are drawn from the video's corner; the track points
        // count from there with the scroll position.
        CanvasPlacement& place = m_live->GetCanvas().Placement();
        place.centreX = pos.x;
        place.centreY = pos.y;
        m_live->SetScrollPosition(scroll.x, scroll.y);
    }
    if (IsShown(m_gridOverlay)) {
        PlaceOverlay(m_gridOverlay, displayed, corner);
    }
    if (IsShown(m_rulerOverlay)) {
        PlaceOverlay(m_rulerOverlay, displayed, corner);
    }
    if (IsShown(m_videoHost)) {
        const CameraFrameSize video = m_camera->GetVideoSize();
        PlaceOverlay(m_videoHost,
                     layout({static_cast<int>(static_cast<float>(video.width) * m_videoZoom),
                             static_cast<int>(static_cast<float>(video.height) * m_videoZoom)}),
                     corner);
    }
}
