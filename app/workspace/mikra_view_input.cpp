// The view's mouse and key input: handed to the target controller (the
// picture, or the live video while live measuring), else to a region drag
// on the video; the status bar's cursor position and colour; the cursor;
// the pre-translation of keys and of mouse points of the video's windows.
#include <windowsx.h>

#include <cstdio>

#include "mikra_view.h"
#include "resource.h"
#include "resource_module.h"

namespace {

ViewPoint PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

bool MovesIntoView(UINT message) {
    return message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP;
}

}  // namespace

bool CMikraView::OnInputMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const UINT flags = static_cast<UINT>(wParam);
    switch (message) {
    case WM_MOUSEMOVE: OnMouseMove(flags, PointOf(lParam)); return false;
    case WM_LBUTTONDOWN: OnLButtonDown(flags, PointOf(lParam)); return false;
    case WM_LBUTTONUP: OnLButtonUp(flags, PointOf(lParam)); return false;
    case WM_LBUTTONDBLCLK:
        if (CImageController* target = GetTargetController()) {
            target->OnLButtonDblClk(flags, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        }
        return false;
    case WM_RBUTTONDOWN: OnRButtonDown(flags, PointOf(lParam)); return false;
    case WM_RBUTTONUP:
        if (CImageController* target = GetTargetController()) {
            target->ShowContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<int>(flags));
        }
        return false;
    case WM_KEYDOWN:
        if (CImageController* target = GetTargetController()) {
            target->OnKeyDown(static_cast<UINT>(wParam));
        }
        return false;
    case WM_KEYUP:
        if (CImageController* target = GetTargetController()) {
            target->OnKeyUp(static_cast<UINT>(wParam));
        }
        return false;
    case WM_SETCURSOR: {
        CImageController* target = GetTargetController();
        if (LOWORD(lParam) != HTCLIENT || target == nullptr) {
            return false;
        }
        target->SetCursorStyle(m_cursorStyle);
        target->SetModeCursor();
        result = TRUE;
        return true;
    }
    default: return false;
    }
}

void CMikraView::OnMouseMove(UINT flags, ViewPoint point) {
    if (!IsVideoActive()) {
        m_current->OnMouseMove(flags, point.x, point.y);
        ShowCursorStatus(point);
        MoveRulerMarker(point);
        return;
    }
    if (m_camera->IsVideoOpen() && m_bLiveMeasuring) {
        m_live->OnMouseMove(flags, point.x, point.y);
        MoveRulerMarker(point);
        return;
    }
    if (m_regionMode != RegionMode::none && m_regionDragging) {
        DrawRegionBand();
        m_bandTo = ClampToDisplayedVideo(point, GetVideoDisplay());
        DrawRegionBand();
    }
}

void CMikraView::OnLButtonDown(UINT flags, ViewPoint point) {
    if (CImageController* target = GetTargetController()) {
        target->OnLButtonDown(flags, point.x, point.y);
        return;
    }
    if (m_regionMode == RegionMode::none) {
        return;
    }
    m_bandFrom = m_bandTo = ClampToDisplayedVideo(point, GetVideoDisplay());
    DrawRegionBand();
    m_regionDragging = true;
}

void CMikraView::OnLButtonUp(UINT flags, ViewPoint point) {
    if (CImageController* target = GetTargetController()) {
        int width = 0;
        int height = 0;
        target->GetImageSize(width, height);
        target->OnLButtonUp(flags, point.x, point.y);
        // A crop changes the picture's size, which the status bar shows.
        int newWidth = 0;
        int newHeight = 0;
        target->GetImageSize(newWidth, newHeight);
        if (target == m_current && (newWidth != width || newHeight != height)) {
            ShowPictureSizeStatus();
            InvalidateRect(m_hWnd, nullptr, TRUE);
        }
        return;
    }
    // A release without a press in region mode is no drag.
    if (!m_camera || !m_camera->IsVideoOpen() || m_regionMode == RegionMode::none || !m_regionDragging) {
        return;
    }
    // Erased where it was drawn, then ended at the release point.
    DrawRegionBand();
    m_bandTo = ClampToDisplayedVideo(point, GetVideoDisplay());
    m_regionDragging = false;
    RunRegionOperation();
    m_regionMode = RegionMode::none;
}

void CMikraView::OnRButtonDown(UINT flags, ViewPoint point) {
    if (CImageController* target = GetTargetController()) {
        target->ShowContextMenu(point.x, point.y, static_cast<int>(flags));
        return;
    }
    ShowRegionMenu(point);
}

void CMikraView::ShowCursorStatus(ViewPoint point) {
    if (!m_frame) {
        return;
    }
    const TrackPoint at = m_current->GetPicturePoint();
    wchar_t text[64] = {};
    std::swprintf(text, 64, L"(%d,%d)", at.x, at.y);
    m_frame->SetStatusPane(2, LoadResourceString(IDS_CURSOR_POSITION) + text);

    HDC dc = GetDC(m_hWnd);
    const COLORREF colour = GetPixel(dc, point.x, point.y);
    ReleaseDC(m_hWnd, dc);
    std::swprintf(text, 64, L"(R,G,B):(%d,%d,%d)", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    m_frame->SetStatusPane(1, text);
}

bool CMikraView::PreTranslateMessage(MSG& message) {
    if (message.hwnd != m_hWnd && !IsChild(m_hWnd, message.hwnd)) {
        return false;
    }
    // A key the controller took with Ctrl held is not dispatched again: the
    // key handler would run twice (two nudges, a second paste).
    int taken = 0;
    if (!IsVideoActive()) {
        taken = m_current->FilterKey(message);
    } else if (m_camera->IsVideoOpen()) {
        taken = m_live->FilterKey(message);
    }
    if (taken != 0) {
        return true;
    }
    const auto kind = m_camera ? static_cast<CameraFamily>(m_camera->GetCameraKind()) : CameraFamily::directShow;
    if (m_camera && m_camera->IsVideoOpen() && (kind == CameraFamily::directShow || kind == CameraFamily::uvc) &&
        message.hwnd != m_hWnd && MovesIntoView(message.message)) {
        const CameraPoint pos = m_camera->GetVideoPos();
        const POINT scroll = GetScrollPosition();
        message.lParam = static_cast<LPARAM>(
            MoveMousePointIntoView(static_cast<std::uint32_t>(message.lParam), {pos.x, pos.y}, {scroll.x, scroll.y}));
    }
    return false;
}
