// The view's video commands: open and close video, record, stop, snapshot,
// timed and fixed-size snapshots.
#include "program_folders.h"
#include "handover_resource.h"
#include "mikra_view.h"
#include "prompt_dlg.h"
#include "resource.h"
#include "resource_module.h"
#include "timed_interval.h"

namespace {
// User naming asks for the name after the snapshot; the camera saves it
// under this name meanwhile.
constexpr const wchar_t* kTemporaryShotName = L"ShotPictemp_0";
}  // namespace

void CMikraView::SetVideoScrollSizes() {
    if (!m_camera->IsStretched()) {
        const CameraFrameSize frame = m_camera->GetVideoSize();
        SetScrollSizes(frame.width, frame.height);
    }
}

void CMikraView::ShowPictureToolBars(bool shown) {
    m_frame->ShowToolBar(ViewToolBar::main, shown);
    m_frame->ShowToolBar(ViewToolBar::measure, shown);
    m_frame->ShowToolBar(ViewToolBar::picture, shown);
    m_frame->RepaintFrame();
}

void CMikraView::FillResolutionCombo() {
    m_frame->FillResolutionCombo(m_camera->GetResolutionList(), m_camera->GetVideoSize());
}

void CMikraView::OpenVideo() {
    if (m_frame) {
        m_frame->ClearBackgroundPicture();
    }
    if (!m_camera || !m_frame || IsVideoActive()) {
        return;
    }
    m_current->CancelInteraction();
    SetScrollSizes(0, 0);
    m_current->SetScrollPosition(0, 0);
    m_current->Render(1);
    m_camera->StartPreview(m_hWnd);
    SetVideoScrollSizes();
    if (!IsVideoActive()) {
        SetScrollSizes(0, 0);
        SetFocus(m_hWnd);
        return;
    }
    m_bFitPending = 1;
    FillResolutionCombo();
    m_frame->SelectBrowserPicture(-1);
    m_frame->ShowToolBar(ViewToolBar::picture, false);
    m_frame->RepaintFrame();
    ShowLiveOverlay(true);
    if (!m_bLiveMeasuring) {
        m_frame->ShowToolBar(ViewToolBar::main, false);
        m_frame->ShowToolBar(ViewToolBar::measure, false);
        ShowLiveOverlay(false);
    }
    if (m_bPenDrawing && m_bLiveMeasuring) {
        ShowGridOverlay(true);
    }
    ShowRulerOverlayWindow(true);
    SetFocus(m_hWnd);
}

void CMikraView::CloseVideo() {
    if (!m_camera || !m_frame) {
        return;
    }
    if (m_camera->IsTimedCapture()) {
        m_camera->SetTimedCapture(0, 0.0f);
    }
    m_camera->StopPreview();
    m_frame->ClearResolutionCombo();
    SetScrollSizes(0, 0);
    RefreshVideoStatus();
    ShowPictureToolBars(true);
    m_live->ClearAll();
    // Nothing lies over the picture.
    for (const CTransparentDlg* overlay : {&m_liveOverlay, &m_gridOverlay, &m_rulerOverlay, &m_videoHost}) {
        if (overlay->GetSafeHwnd()) {
            ShowWindow(overlay->GetSafeHwnd(), SW_HIDE);
        }
    }
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CMikraView::StartRecording() {
    if (!m_camera || !m_frame || m_camera->IsRecording()) {
        return;
    }
    if (!EnsureProgramFolder(m_hWnd, m_camera->GetVideoFolder())) {
        return;
    }
    SetScrollSizes(0, 0);
    m_current->SetScrollPosition(0, 0);
    m_current->Render(1);
    m_camera->StartRecord(m_hWnd);
    SetVideoScrollSizes();
    if (!m_camera->IsRecording()) {
        ShowMessage(IDS_RECORDING_FAILED);
    }
    if (!IsVideoActive()) {
        SetScrollSizes(0, 0);
        return;
    }
    m_bFitPending = 1;
    FillResolutionCombo();
    ShowPictureToolBars(false);
}

void CMikraView::StopRecording() {
    if (!m_camera || !m_frame) {
        return;
    }
    m_camera->StopRecord(m_hWnd);
    const bool videoOpen = m_camera->IsVideoOpen() != 0;
    if (!videoOpen) {
        m_frame->ClearResolutionCombo();
        SetScrollSizes(0, 0);
    }
    RefreshVideoStatus();
    if (!videoOpen) {
        ShowPictureToolBars(true);
    }
    m_frame->RepaintFrame();
}

void CMikraView::OnCameraPlugged(bool back) {
    m_cameraUnplugged = !back;
    // The library finished the recording's file when the camera went; the
    // view leaves recording as when the user stops it.
    if (!back && m_camera && m_camera->IsRecording()) {
        StopRecording();
    }
    RefreshVideoStatus();
}

void CMikraView::TakeSnapshot(bool userAsked) {
    if (!m_camera || !m_camera->IsVideoOpen()) {
        return;
    }
    // A timed shot tells nothing: a message box each tick would stack up;
    // its folder was settled when timed capture started.
    if (userAsked && !EnsureProgramFolder(m_hWnd, m_camera->GetShotFolder())) {
        return;
    }
    m_camera->SetOpenAfterSave(1);
    if (m_camera->GetNameType() == 1 && !m_camera->IsTimedCapture()) {
        m_camera->SetShotName(kTemporaryShotName);
    }
    if (m_camera->SaveSnapshot() == 0 && userAsked) {
        ShowMessage(IDS_SNAPSHOT_FAILED);
    }
}

void CMikraView::TakeFixedSnapshot() {
    if (!m_camera || !m_camera->IsVideoOpen() || m_camera->IsRecording()) {
        return;
    }
    if (!EnsureProgramFolder(m_hWnd, m_camera->GetShotFolder())) {
        return;
    }
    if (m_camera->GetNameType() == 1) {
        m_camera->SetShotName(kTemporaryShotName);
    }
    if (m_camera->CaptureStillAtSize() == 0) {
        ShowMessage(IDS_SNAPSHOT_FAILED);
    }
}

void CMikraView::ShowMessage(UINT stringId) {
    CPromptDlg prompt(LoadResourceString(stringId), L"Vizcam", 0, m_hWnd);
    prompt.DoModal();
}

std::optional<float> CMikraView::GetTimedInterval() {
    const TimedInterval interval = ParseTimedInterval(m_frame->GetIntervalText());
    switch (interval.status) {
    case TimedIntervalStatus::ok: return interval.seconds;
    case TimedIntervalStatus::empty: ShowMessage(IDS_ENTER_INTERVAL); break;
    case TimedIntervalStatus::invalid: ShowMessage(IDS_INVALID_INTERVAL); break;
    }
    return std::nullopt;
}

void CMikraView::ToggleTimedSnapshot() {
    if (!m_camera || !m_frame || !m_camera->IsVideoOpen()) {
        return;
    }
    const bool starting = !m_camera->IsTimedCapture();
    if (starting && !EnsureProgramFolder(m_hWnd, m_camera->GetShotFolder())) {
        return;
    }
    if (const std::optional<float> seconds = GetTimedInterval()) {
        m_camera->SetTimedCapture(m_camera->IsTimedCapture() ? 0 : 1, *seconds);
    }
}

void CMikraView::ShowFullScreenVideo() {
    if (!m_camera || !m_frame || !m_camera->IsVideoOpen() || m_camera->IsRecording() || m_bLiveMeasuring ||
        m_bFullScreen) {
        return;
    }
    HWND screen = m_frame->ShowFullScreenVideo();
    if (!screen) {
        return;
    }
    CloseVideo();
    m_camera->SetFillWindow(1);
    m_camera->StartPreview(screen);
    ::SetFocus(screen);
    m_bFullScreen = 1;
    if (m_measuringRuler) {
        m_measuringRuler->LoadSettings(1);
    }
}

void CMikraView::SetFullScreenVideo(bool on) {
    m_bFullScreen = on ? 1 : 0;
    if (!on && m_camera) {
        m_camera->SetFillWindow(0);
    }
}
