#include "program_folders.h"

#include <filesystem>

#include "handover_resource.h"
#include "prompt_dlg.h"
#include "resource_module.h"

bool MakeProgramFolder(const std::wstring& folder) {
    if (folder.empty()) {
        return false;
    }
    std::error_code error;
    const std::filesystem::path path(folder);
    std::filesystem::create_directories(path, error);
    return std::filesystem::is_directory(path, error);
}

bool EnsureProgramFolder(HWND owner, const std::wstring& folder) {
    if (MakeProgramFolder(folder)) {
        return true;
    }
    CPromptDlg prompt(LoadResourceString(IDS_FOLDER_NOT_MADE) + L"\n" + folder, L"Vizcam", 0, owner);
    prompt.DoModal();
    return false;
}
