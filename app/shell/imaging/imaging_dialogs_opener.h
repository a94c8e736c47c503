#pragma once
// The fusion and stitching dialogs as the view asks for them: modal over
// the window the shell names, with the system's file dialogs starting in
// the picture folder.
#include <windows.h>

#include <functional>
#include <string>

#include "common_dialogs.h"
#include "fusion_dlg.h"
#include "imaging_dialogs.h"
#include "picture_file_dialogs.h"
#include "stitch_tab_dlg.h"

class CImagingDialogsOpener final : public IImagingDialogs {
public:
    void SetParentWindow(HWND parent) { m_parent = parent; }
    // Where the picture folder is asked for each time a dialog opens.
    void SetPictureFolder(std::function<std::wstring()> folder) { m_folder = std::move(folder); }

    void RunFusion() override {
        CFusionDlg dialog(m_system, Folder(), m_parent);
        dialog.DoModal();
    }
    void RunStitching() override {
        CPictureFileDialogs grid(Folder());
        CStitchTabDlg dialog(grid, m_system, m_parent);
        dialog.DoModal();
    }

private:
    std::wstring Folder() const { return m_folder ? m_folder() : std::wstring(); }

    HWND m_parent = nullptr;
    std::function<std::wstring()> m_folder;
    CSystemDialogs m_system;
};
