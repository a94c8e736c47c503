#include "window_host.h"

#include <utility>

#include "height_trace.h"
#include "twain_device.h"

namespace twain::win32 {

WindowHost::WindowHost(const CTWAIN& windows, HANDLE camera, std::function<void()> exposureTick)
    : windows_(windows), camera_(camera), timer_(std::move(exposureTick)) {}

void WindowHost::Report(std::uint32_t id, std::int32_t value) {
    // Posted: the capture thread must never wait for the dialog's thread,
    // which may be waiting for the capture thread to stop.
    if (windows_.m_settingsDialog != nullptr) {
        PostMessageA(windows_.m_settingsDialog, kParamChangedMessage, id, static_cast<LPARAM>(value));
    }
}

void WindowHost::ResetScrollBars(const ScrollBarLayout& layout) {
    HWND preview = windows_.m_previewWindow;
    if (preview == nullptr) return;
    if (layout.paintBlack) {
        if (HDC dc = GetDC(preview)) {
            RECT client{};
            GetClientRect(preview, &client);
            FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            ReleaseDC(preview, dc);
        }
    }
    if (!layout.enabled) {
        SetScrollPos(preview, SB_HORZ, 0, TRUE);
        SetScrollPos(preview, SB_VERT, 0, TRUE);
        EnableScrollBar(preview, SB_BOTH, ESB_DISABLE_BOTH);
        return;
    }
    EnableScrollBar(preview, SB_BOTH, ESB_ENABLE_BOTH);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMax = layout.horizontalRange;
    info.nPage = kZoomDisplayWidth;
    SetScrollInfo(preview, SB_HORZ, &info, TRUE);
    info.nMax = layout.verticalRange;
    info.nPage = kZoomDisplayHeight;
    SetScrollInfo(preview, SB_VERT, &info, TRUE);
}

void WindowHost::FocusPreview() {
    if (windows_.m_previewWindow != nullptr) SetFocus(windows_.m_previewWindow);
}

void WindowHost::ShowError(const char* text) { MessageBoxA(windows_.m_settingsDialog, text, "Error", MB_OK); }

void WindowHost::StartExposureTimer(std::int32_t periodMs) { timer_.Start(periodMs); }

void WindowHost::StopExposureTimer() { timer_.Stop(); }

void WindowHost::TraceHeightChange() { AppendHeightTrace(camera_); }

}  // namespace twain::win32
