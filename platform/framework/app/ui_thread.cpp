#include "ui_thread.h"

CUserInterfaceThread::~CUserInterfaceThread() {
    // A derived object has already gone: the thread must have been ended by
    // its owner; this is the last guard against a thread outliving us.
    if (IsRunning()) {
        PostQuit();
        Wait(INFINITE);
    }
}

bool CUserInterfaceThread::Start() {
    if (m_thread) {
        return false;
    }
    m_thread.Reset(CreateThread(nullptr, 0, &CUserInterfaceThread::ThreadMain, this, 0, &m_threadId));
    return static_cast<bool>(m_thread);
}

void CUserInterfaceThread::PostQuit() {
    // The thread may not have its queue yet: retry until it has or is gone.
    while (IsRunning() && !PostThreadMessageW(m_threadId, WM_QUIT, 0, 0)) {
        Sleep(1);
    }
}

bool CUserInterfaceThread::Wait(DWORD timeoutMs) {
    return !m_thread || WaitForSingleObject(m_thread.Get(), timeoutMs) == WAIT_OBJECT_0;
}

bool CUserInterfaceThread::IsRunning() const {
    return m_thread && WaitForSingleObject(m_thread.Get(), 0) == WAIT_TIMEOUT;
}

DWORD WINAPI CUserInterfaceThread::ThreadMain(void* param) {
    auto* self = static_cast<CUserInterfaceThread*>(param);
    MSG msg{};
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists from here on
    if (self->InitInstance()) {
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (self->PreTranslateMessage(msg)) {
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    self->ExitInstance();
    return 0;
}
