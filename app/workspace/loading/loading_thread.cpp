#include "loading_thread.h"

#include <commctrl.h>

#include "resource.h"

CUIThread::CUIThread(bool picturesToLoad, bool filesToLoad) : m_dialog(picturesToLoad, filesToLoad) {}

CUIThread::~CUIThread() {
    if (IsRunning()) {
        PostQuit();
        Wait(INFINITE);
    }
}

bool CUIThread::InitInstance() {
    if (!m_dialog.Create(GetDesktopWindow())) {
        return false;
    }
    ShowWindow(m_dialog.GetSafeHwnd(), SW_SHOW);
    m_bCreated = true;
    SetEvent(m_createdEvent.Get());
    return true;
}

namespace {
// Waits for the event or the thread's end, whichever comes first.
bool WaitForEventOrEnd(HANDLE event, HANDLE thread, DWORD timeoutMs) {
    if (!thread) {
        return false;
    }
    const HANDLE handles[] = {event, thread};
    return WaitForMultipleObjects(2, handles, FALSE, timeoutMs) == WAIT_OBJECT_0;
}
}  // namespace

bool CUIThread::WaitForDialog(DWORD timeoutMs) const {
    return WaitForEventOrEnd(m_createdEvent.Get(), GetThreadHandle(), timeoutMs) && HasDialog();
}

bool CUIThread::WaitForChoice() const {
    return WaitForEventOrEnd(m_dialog.GetChoiceEvent(), GetThreadHandle(), INFINITE) && IsDialogReady();
}

void CUIThread::ExitInstance() { m_dialog.DestroyWindow(); }

bool CUIThread::PreTranslateMessage(MSG& msg) {
    // Tab, Enter and Esc work in the dialog as in any other.
    HWND window = m_dialog.GetSafeHwnd();
    return window && IsDialogMessageW(window, &msg);
}

HWND CUIThread::ProgressBar() const {
    HWND window = m_dialog.GetWindowForOtherThreads();
    return window ? GetDlgItem(window, IDC_LOADING_PROGRESS) : nullptr;
}

bool CUIThread::SetProgress(int min, int max) {
    HWND progress = HasDialog() ? ProgressBar() : nullptr;
    if (!progress) {
        return false;
    }
    SendMessageW(progress, PBM_SETRANGE32, static_cast<WPARAM>(min), static_cast<LPARAM>(max));
    SendMessageW(progress, PBM_SETSTEP, 1, 0);
    m_nProgressMax = max;
    return true;
}

void CUIThread::StepProgress() {
    HWND progress = HasDialog() ? ProgressBar() : nullptr;
    if (!progress) {
        return;
    }
    SendMessageW(progress, PBM_STEPIT, 0, 0);
    if (static_cast<int>(SendMessageW(progress, PBM_GETPOS, 0, 0)) == m_nProgressMax) {
        PostQuit();
    }
}
