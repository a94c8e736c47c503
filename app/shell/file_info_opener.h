#pragma once
// The file information dialog (161) as the view asks for it, over the
// window the shell names.
#include <windows.h>

#include <string>

#include "file_info_dialog.h"
#include "file_info_dlg.h"

class CFileInfoOpener final : public IFileInfoDialog {
public:
    void SetParentWindow(HWND parent) { m_parent = parent; }
    void ShowFileInfo(const std::u16string& text) override {
        CFileInfoDlg dialog(std::wstring(text.begin(), text.end()), m_parent);
        dialog.DoModal();
    }

private:
    HWND m_parent = nullptr;
};
