#include "capture_folders.h"

#include <filesystem>

#include "handover_resource.h"
#include "prompt_dlg.h"
#include "resource_module.h"

bool MakeCaptureFolder(const std::wstring& folder) {
    if (folder.empty()) {
        return false;
    }
    std::error_code error;
    const std::filesystem::path path(folder);
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

bool EnsureCaptureFolder(HWND owner, const std::wstring& folder) {
    if (MakeCaptureFolder(folder)) {
        return true;
    }
    CPromptDlg prompt(LoadResourceString(IDS_FOLDER_NOT_MADE) + L"\n" + folder, L"Vizcam", 0, owner);
    prompt.DoModal();
    return false;
}
