// The view's zoom, scrolling, wheel, resize and layout, video stretch and
// capture format, and the folder commands. The view's own scroll bars are
// kept at zero sizes by every zoom and layout: the current controller sets
// them to its zoomed picture when it needs them. A scroll moves the bar
// first and the picture or video follows it to the bar's final position.
#include <utility>

#include "mikra_view.h"
#include "picture_file_names.h"
#include "resource.h"
#include "resource_module.h"
#include "video_zoom.h"
#include "wait_cursor.h"

void CMikraView::UpdateRulerBars(int mode, POINT position) {
    if (!m_frame) {
        return;
    }
    RulerGeometry geometry;
    if (IsVideoActive()) {
        const CameraFrameSize video = m_camera->GetVideoSize();
        const CameraFrameSize shown = m_camera->GetVideoWindowSize();
        geometry.width = video.width;
        geometry.height = video.height;
        geometry.zoomX = VideoZoom(shown.width, video.width).value_or(1.0f);
        geometry.zoomY = VideoZoom(shown.height, video.height).value_or(1.0f);
        const CameraPoint origin = m_camera->GetVideoPos();
        geometry.origin = POINT{origin.x, origin.y};
    } else {
        m_current->GetImageSize(geometry.width, geometry.height);
        geometry.zoomX = geometry.zoomY = m_current->GetZoom();
        geometry.origin = POINT{m_current->GetCentringX(), m_current->GetCentringY()};
    }
    m_frame->UpdateRulerBars(mode, position, geometry);
}

RulerSizes CMikraView::GetRulerSizes() const {
    RulerSizes sizes;
    if (IsVideoActive()) {
        const CameraFrameSize frame = m_camera->GetVideoSize();
        const CameraFrameSize shown = m_camera->GetVideoWindowSize();
        return {frame.width, frame.height, shown.width, shown.height};
    }
    if (m_current->HasWindow()) {
        m_current->GetImageSize(sizes.frameWidth, sizes.frameHeight);
        m_current->GetZoomedSize(sizes.displayWidth, sizes.displayHeight);
    }
    return sizes;
}

int CMikraView::GetCalibrationIndex() const { return m_frame ? m_frame->GetCalibrationSelection() : -1; }

void CMikraView::RedrawRuler() {
    if (!IsVideoActive()) {
        m_current->Render(1);
    } else if (m_measuringRuler && m_camera->IsVideoOpen()) {
        ShowRulerOverlayWindow(true);
    }
}

void CMikraView::ReloadRuler() {
    if (m_measuringRuler) {
        m_measuringRuler->LoadSettings(1);
        InvalidateRect(m_hWnd, nullptr, TRUE);
    }
}

void CMikraView::ShowRulerSettings() {
    const bool videoOpen = m_camera && m_camera->IsVideoOpen();
    if (m_measuringRuler && (m_current->HasWindow() || videoOpen)) {
        m_measuringRuler->ShowSettingsDlg(m_hWnd);
    }
}

void CMikraView::Zoom(ZoomCommand command) {
    if (IsVideoActive()) {
        return;
    }
    m_current->CancelInteraction();
    {
        WaitCursor wait;
        switch (command) {
        case ZoomCommand::in: m_current->ZoomIn(); break;
        case ZoomCommand::out: m_current->ZoomOut(); break;
        case ZoomCommand::fit: m_current->ZoomToFit(); break;
        case ZoomCommand::actualSize: m_current->ZoomActualSize(); break;
        }
        UpdateRulerBars(3, GetScrollPosition());
    }
    if (m_measuringRuler) {
        // Its lines keep their place on the picture at the new zoom.
        m_measuringRuler->LoadSettings(1);
        m_current->Render(1);
    }
    if (m_frame) {
        m_frame->RepaintFrame();
    }
}

void CMikraView::OnScrolled(int bar) {
    const POINT position = GetScrollPosition();
    const bool horizontal = bar == SB_HORZ;
    if (!IsVideoActive()) {
        m_current->SetScrollPosition(position.x, position.y);
        m_current->Render(1);
        UpdateRulerBars(horizontal ? 2 : 1, position);
        return;
    }
    if (m_bLiveMeasuring) {
        m_live->SetScrollPosition(position.x, position.y);
        m_live->Render(1);
    }
    if (m_measuringRuler) {
        m_measuringRuler->PaintOnView();
    }
    if (horizontal) {
        m_camera->SetVideoWindowPos(position.x);
    } else {
        m_camera->SetScrollOffset(position.y);
    }
    UpdateRulerBars(horizontal ? 2 : 1, position);
    LayoutVideoOverlays();
}

void CMikraView::OnWheelScrolled() {
    CImageController* target = GetTargetController();
    if (!target) {
        return;
    }
    target->SetScrollPosition(m_current->GetCanvas().Placement().scrollX, GetScrollPosition().y);
    target->Render(1);
}

void CMikraView::UpdateLayout() {
    // Zero scroll sizes and a render change the client area, which sends
    // WM_SIZE again: that one only lays out the bars.
    if (m_layingOut) {
        return;
    }
    m_layingOut = true;
    if (!IsVideoActive()) {
        if (m_current->HasWindow()) {
            SetScrollSizes(0, 0);
            m_current->SetScrollPosition(0, 0);
            m_current->Render(1);
            UpdateRulerBars(3, POINT{0, 0});
            if (m_frame) {
                m_frame->RepaintFrame();
            }
        }
    } else {
        RefitVideo(m_camera->IsStretched());
        LayoutVideoOverlays();
        if (m_measuringRuler && m_camera->IsVideoOpen()) {
            m_measuringRuler->LoadSettings(1);
            m_measuringRuler->PaintOnView();
        }
    }
    m_layingOut = false;
}

void CMikraView::RefitVideo(int stretched) {
    // The bars coming or going send WM_SIZE, whose layout would refit again.
    const bool nested = std::exchange(m_layingOut, true);
    SetScrollSizes(0, 0);
    m_camera->FitVideoWindow(stretched);
    // Video at its own size scrolls over the video frame.
    SetVideoScrollSizes();
    InvalidateRect(m_hWnd, nullptr, TRUE);
    const POINT position = GetScrollPosition();
    UpdateRulerBars(1, position);
    UpdateRulerBars(2, position);
    if (m_frame) {
        m_frame->RepaintFrame();
    }
    if (m_bLiveMeasuring) {
        const CameraFrameSize video = m_camera->GetVideoSize();
        m_videoZoom = VideoZoom(m_camera->GetVideoWindowSize().width, video.width).value_or(1.0f);
        m_live->SetScrollPosition(0, 0);
        m_live->SetZoom(m_videoZoom);
        m_live->Render(1);
    }
    m_layingOut = nested;
}

void CMikraView::ToggleStretch() {
    if (m_camera && m_camera->IsVideoOpen()) {
        RefitVideo(m_camera->IsStretched() ? 0 : 1);
    }
}

void CMikraView::ChooseCaptureFormat() {
    if (!m_camera) {
        return;
    }
    if (m_camera->IsVideoOpen()) {
        m_camera->SetCaptureFormat();
    }
    RefitVideo(m_camera->IsStretched());
}

void CMikraView::ChooseFolder(ViewFolder folder) {
    if (!m_frame) {
        return;
    }
    const std::wstring current = folder == ViewFolder::pictures ? m_frame->GetPictureFolder()
                                 : folder == ViewFolder::videos ? m_frame->GetVideoFolder()
                                                                : m_frame->GetFilesFolder();
    const std::optional<std::wstring> chosen =
        m_dialogs->BrowseFolder(m_hWnd, LoadResourceString(IDS_CHOOSE_FOLDER), FolderDialogStart(current));
    const std::optional<std::wstring> stored = chosen ? StoredFolder(*chosen) : std::nullopt;
    if (!stored) {
        return;
    }
    m_frame->StoreFolder(folder, *stored);
    if (!m_camera) {
        return;
    }
    if (folder == ViewFolder::pictures) {
        m_camera->SetShotFolder(m_frame->GetPictureFolder());
    } else if (folder == ViewFolder::videos) {
        m_camera->SetVideoFolder(m_frame->GetVideoFolder());
    }
}
