#pragma once
// The loading dialog (dialog 250) shown at start while the view opens the
// pictures and files of the last session. It lives on its own thread
// (CUIThread); the view's thread reads its flags, so they are atomic.
#include <atomic>

#include "dialog.h"
#include "unique_handle.h"

class CLoadingDlg : public CDialog {
public:
    // Whether the view has pictures and files to load: each check box starts
    // ticked and enabled only when there is something for it.
    CLoadingDlg(bool picturesToLoad, bool filesToLoad);

    // Label 1163 tells that files are now loading (string 47110). Any thread.
    void SetPhaseText();
    // The dialog's window for other threads; null before it exists and from
    // the moment it is being destroyed.
    HWND GetWindowForOtherThreads() const { return m_window; }

    // The user pressed Load, or Cancel/Stop.
    bool IsStarted() const { return m_bStarted; }
    bool IsCancelled() const { return m_bCancelled; }
    // What the user chose to load.
    bool LoadsPictures() const { return m_bLoadPictures; }
    bool LoadsFiles() const { return m_bLoadFiles; }
    // Signalled once the user pressed Load or Cancel (manual reset).
    HANDLE GetChoiceEvent() const { return m_choiceEvent.Get(); }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    // Cancel or Stop: closes the dialog and ends its thread.
    void OnCancel() override;
    BOOL OnCommand(WORD id, WORD code) override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void TakeCheckBoxes();
    void ShowCheckBoxes();
    void EnableLoad();

    const bool m_bPicturesToLoad;
    const bool m_bFilesToLoad;
    std::atomic<bool> m_bLoadFiles;
    std::atomic<bool> m_bLoadPictures;
    std::atomic<bool> m_bCancelled{false};
    std::atomic<bool> m_bStarted{false};
    std::atomic<HWND> m_window{nullptr};
    UniqueKernelHandle m_choiceEvent{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};
