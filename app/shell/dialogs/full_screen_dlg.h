#pragma once
// The full-screen video dialog (dialog 138, no caption): the view shows it
// for full-screen video and it turns keys into the view's video commands.
// Created once, modeless, with the view as parent; Esc leaves full screen
// and hides it.
#include <string>

#include "dialog.h"
#include "full_screen_host.h"

class CFullScreenDlg : public CDialog {
public:
    explicit CFullScreenDlg(IFullScreenHost& host);

    // A key pressed while the dialog has the focus; true when it was one of
    // the dialog's commands or moved the cross line.
    bool OnKeyDown(unsigned key);

    // The notice drawn after a snapshot (string 45000).
    const std::wstring& GetNoticeText() const { return m_strNotice; }

protected:
    BOOL OnInitDialog() override;
    // Enter and Esc as the dialog manager reports them.
    void OnOK() override;
    void OnCancel() override;
    BOOL OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The background control around the video is black.
    HBRUSH OnCtlColor(UINT message, HDC dc, HWND window) override;

private:
    void Snapshot();
    void LeaveFullScreen();
    // Runs a panel with the video window out of its place.
    template <typename Panel>
    void WithVideoWindowAside(Panel panel);
    void DrawNotice();

    IFullScreenHost& m_host;
    std::wstring m_strNotice;
};
