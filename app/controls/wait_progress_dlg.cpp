#include "wait_progress_dlg.h"

#include "controls_resource.h"

namespace {

constexpr UINT kTickMs = 10;

// Layered-window opacity, looked up by name: without it the dialog stays opaque.
void MakeAlmostTransparent(HWND hwnd) {
    using SetLayered = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    HMODULE user32 = GetModuleHandleW(L"User32.DLL");
    const auto set = user32 ? reinterpret_cast<SetLayered>(
                                  reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")))
                            : nullptr;
    if (!set) {
        return;
    }
    SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
    set(hwnd, 0, 1, LWA_ALPHA);
}

}  // namespace

CWaitProgressDlg::CWaitProgressDlg(HWND parent) : CDialog(IDD_WAIT_PROGRESS, parent) {}

BOOL CWaitProgressDlg::OnInitDialog() {
    m_mouseProgress = std::make_unique<CMouseProgress>(GetModuleHandleW(nullptr), m_hWnd);
    m_mouseProgress->SetOrientation(busy_progress::kHorizontalBelow);
    m_mouseProgress->SetFillColor(RGB(255, 0, 0));

    if (HWND covered = GetWindow(m_hWnd, GW_OWNER)) {
        RECT rect{};
        GetWindowRect(covered, &rect);
        SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    MakeAlmostTransparent(m_hWnd);
    SetTimer(m_hWnd, static_cast<UINT_PTR>(m_kind), kTickMs, nullptr);
    return TRUE;
}

BOOL CWaitProgressDlg::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_TIMER:
        if (wParam == static_cast<UINT_PTR>(m_kind)) {
            OnTick();
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        KillTimer(m_hWnd, static_cast<UINT_PTR>(m_kind));
        m_mouseProgress.reset();
        return FALSE;
    default: return FALSE;
    }
}

void CWaitProgressDlg::OnTick() {
    bool working = false;
    int percent = 0;
    if (m_engine && m_kind == kCounting) {
        working = m_engine->getResultStation() == 1;
        if (working) {
            percent = busy_progress::CountingPercent(m_engine->getCurrentNum(), m_engine->getObjCounts());
        }
    } else if (m_engine) {
        working = m_engine->IsProgressing() != 0;
        if (working) {
            percent = m_engine->getProgressStep();
        }
    }
    const busy_progress::ProgressRamp::Step step = m_ramp.Tick(working, percent);
    if (step.close) {
        KillTimer(m_hWnd, static_cast<UINT_PTR>(m_kind));
        EndDialog(IDCANCEL);
        return;
    }
    m_mouseProgress->SetPercent(step.percent);
    UpdateWindow(m_mouseProgress->BarWindow());
    m_mouseProgress->FollowPointer();
}
