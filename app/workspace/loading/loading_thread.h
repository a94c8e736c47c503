#pragma once
// The thread that shows the loading dialog while the view's thread opens
// pictures and files: the dialog stays responsive and its Cancel is seen by
// the loading loop. The view's thread calls every member below; the dialog
// and its flags belong to the loading thread, so only atomics and sent
// messages cross over.
#include <atomic>

#include "loading_dlg.h"
#include "ui_thread.h"
#include "unique_handle.h"

class CUIThread : public CUserInterfaceThread {
public:
    CUIThread(bool picturesToLoad, bool filesToLoad);
    // Ends the thread (and with it the dialog) before the dialog goes.
    ~CUIThread() override;

    // Progress range min..max, step 1; false without a dialog.
    bool SetProgress(int min, int max);
    // One step; reaching the maximum ends the thread.
    void StepProgress();

    // The user pressed Load or Cancel; meaningful once HasDialog.
    bool IsDialogReady() const { return HasDialog() && m_dialog.IsStarted(); }
    bool HasDialog() const { return m_bCreated; }
    bool IsCancelled() const { return HasDialog() && m_dialog.IsCancelled(); }

    // Waits at most timeoutMs for the dialog to exist; false when it does
    // not (the thread failed to make it, ended, or the time passed).
    bool WaitForDialog(DWORD timeoutMs) const;
    // Waits for the user's Load or Cancel, or for the thread to end; true
    // when the user chose.
    bool WaitForChoice() const;

    // The dialog, for its choices and phase text.
    CLoadingDlg& GetDialog() { return m_dialog; }

protected:
    bool InitInstance() override;
    void ExitInstance() override;
    bool PreTranslateMessage(MSG& msg) override;

private:
    HWND ProgressBar() const;

    CLoadingDlg m_dialog;
    std::atomic<bool> m_bCreated{false};
    std::atomic<int> m_nProgressMax{0};
    UniqueKernelHandle m_createdEvent{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};
