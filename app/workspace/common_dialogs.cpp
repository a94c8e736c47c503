#include "common_dialogs.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>

#include "picture_file_names.h"

namespace {

// The dialog's filter: every "|" becomes a null, the whole ends in two.
std::wstring DialogFilter(const std::wstring& filter) {
    std::wstring converted = filter;
    std::replace(converted.begin(), converted.end(), L'|', L'\0');
    converted.push_back(L'\0');
    converted.push_back(L'\0');
    return converted;
}

// The view's folders do not follow what the user browsed to.
constexpr DWORD kAlwaysFlags = OFN_EXPLORER | OFN_NOCHANGEDIR;

struct ItemIdListFree {
    void operator()(ITEMIDLIST* list) const { CoTaskMemFree(list); }
};

class ComApartment {
public:
    ComApartment() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(m_result)) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT m_result;
};

// The dialog's structure over the caller's filter and buffer, which must
// outlive it.
OPENFILENAMEW DialogFor(HWND owner, const FileDialogRequest& request, const std::wstring& filter, std::wstring& buffer,
                        DWORD flags) {
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.Flags = flags | kAlwaysFlags;
    dialog.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    return dialog;
}

}  // namespace

FileSelection CSystemDialogs::OpenFiles(HWND owner, const FileDialogRequest& request) {
    const std::wstring filter = DialogFilter(request.filter);
    std::wstring buffer(kOpenBufferChars, L'\0');
    OPENFILENAMEW dialog = DialogFor(owner, request, filter, buffer, request.flags);
    FileSelection selection;
    if (!GetOpenFileNameW(&dialog)) {
        selection.tooMany = CommDlgExtendedError() == FNERR_BUFFERTOOSMALL;
        return selection;
    }
    if ((request.flags & OFN_ALLOWMULTISELECT) != 0) {
        selection.paths = SplitFileSelection(buffer);
    } else {
        selection.paths.emplace_back(buffer.c_str());
    }
    return selection;
}

std::optional<std::wstring> CSystemDialogs::SaveFile(HWND owner, const FileDialogRequest& request) {
    const std::wstring filter = DialogFilter(request.filter);
    std::wstring buffer(MAX_PATH * 4, L'\0');
    // One file is saved, whatever the request shares with the open dialog.
    OPENFILENAMEW dialog =
        DialogFor(owner, request, filter, buffer, request.flags & ~static_cast<DWORD>(OFN_ALLOWMULTISELECT));
    if (!GetSaveFileNameW(&dialog)) {
        return std::nullopt;
    }
    return std::wstring(buffer.c_str());
}

int CALLBACK BrowseFolderCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data != 0) {
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    }
    return 0;
}

std::optional<std::wstring> CSystemDialogs::BrowseFolder(HWND owner, const std::wstring& title,
                                                         const std::optional<std::wstring>& start) {
    const ComApartment apartment;
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = &BrowseFolderCallback;
    info.lParam = start ? reinterpret_cast<LPARAM>(start->c_str()) : 0;
    const std::unique_ptr<ITEMIDLIST, ItemIdListFree> chosen(SHBrowseForFolderW(&info));
    if (!chosen) {
        return std::nullopt;
    }
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(chosen.get(), path)) {
        return std::wstring();
    }
    return std::wstring(path);
}
