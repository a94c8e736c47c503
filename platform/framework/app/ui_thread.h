#pragma once
// A second thread with its own message loop, for a window that must stay
// responsive while the main thread is busy. InitInstance runs on the new
// thread; the loop ends with WM_QUIT on that thread; ExitInstance follows.
#include <windows.h>

#include "unique_handle.h"

class CUserInterfaceThread {
public:
    CUserInterfaceThread() = default;
    CUserInterfaceThread(const CUserInterfaceThread&) = delete;
    CUserInterfaceThread& operator=(const CUserInterfaceThread&) = delete;
    // Ends the thread's loop and waits for it.
    virtual ~CUserInterfaceThread();

    bool Start();
    // Asks the loop to end; Wait then waits at most timeoutMs for the thread.
    void PostQuit();
    bool Wait(DWORD timeoutMs);
    bool IsRunning() const;
    DWORD GetThreadId() const { return m_threadId; }
    // Signalled when the thread has ended; null before Start.
    HANDLE GetThreadHandle() const { return m_thread.Get(); }

protected:
    // On the new thread: false ends the thread at once.
    virtual bool InitInstance() = 0;
    virtual void ExitInstance() {}
    // On the new thread, before a message is dispatched: true when it was
    // handled here (a dialog's keyboard navigation).
    virtual bool PreTranslateMessage(MSG&) { return false; }

private:
    static DWORD WINAPI ThreadMain(void* self);

    UniqueKernelHandle m_thread;
    DWORD m_threadId = 0;
};
