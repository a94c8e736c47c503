#pragma once
// The system's file and folder dialogs as the view's commands use them,
// behind one interface so that tests can answer in the user's place. Each
// call is modal over its owner and runs on the caller's thread.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// One file dialog: the filter in the "Text|*.ext|...|" form, the OFN_ flags
// and the default extension (none when empty).
struct FileDialogRequest {
    std::wstring filter;
    DWORD flags = 0;
    std::wstring defaultExtension;
};

// The files the user chose in an open dialog, in the dialog's order; empty
// when cancelled. tooMany: the choice did not fit the dialog's buffer, and
// nothing was taken.
struct FileSelection {
    std::vector<std::wstring> paths;
    bool tooMany = false;
};

class ICommonDialogs {
public:
    virtual FileSelection OpenFiles(HWND owner, const FileDialogRequest& request) = 0;
    // The chosen path as the dialog returns it; none when cancelled.
    virtual std::optional<std::wstring> SaveFile(HWND owner, const FileDialogRequest& request) = 0;
    // Only file-system folders can be chosen; the answer is the chosen
    // folder's path, empty when it has none; none when cancelled. start:
    // the folder selected when the dialog opens.
    virtual std::optional<std::wstring> BrowseFolder(HWND owner, const std::wstring& title,
                                                     const std::optional<std::wstring>& start) = 0;

protected:
    ~ICommonDialogs() = default;
};

// The real dialogs: GetOpenFileNameW, GetSaveFileNameW, SHBrowseForFolderW.
class CSystemDialogs final : public ICommonDialogs {
public:
    // Characters of the open dialog's buffer: far beyond what a choice of
    // a few hundred pictures needs.
    static constexpr std::size_t kOpenBufferChars = 65536;

    FileSelection OpenFiles(HWND owner, const FileDialogRequest& request) override;
    std::optional<std::wstring> SaveFile(HWND owner, const FileDialogRequest& request) override;
    std::optional<std::wstring> BrowseFolder(HWND owner, const std::wstring& title,
                                             const std::optional<std::wstring>& start) override;
};

// The folder dialog's callback: on BFFM_INITIALIZED it selects the folder
// whose path `data` points at (a null-terminated wide string), if any.
int CALLBACK BrowseFolderCallback(HWND dialog, UINT message, LPARAM param, LPARAM data);
