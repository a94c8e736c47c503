#include "thumb_list.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "browser_resource.h"
#include "folder_files.h"
#include "prompt_dlg.h"
#include "resource_module.h"

namespace {

bool IsExistingFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool AnyFile(std::wstring_view) { return true; }

}  // namespace

unsigned OpenFailureMessage(INT_PTR shellResult) {
    if (shellResult > 32) return 0;
    if (shellResult == ERROR_FILE_NOT_FOUND) return IDS_FILE_MISSING;
    if (shellResult == SE_ERR_NOASSOC) return IDS_NO_OFFICE_PROGRAM;
    return IDS_OPEN_FILE_FAILED;
}

CThumbList::CThumbList(std::wstring folder, std::function<std::wstring()> excelVersion)
    : CIconList(kIconSide), m_strFolder(std::move(folder)), m_excelVersion(std::move(excelVersion)) {}

bool CThumbList::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
    if (!CIconList::Create(style, rect, parent, id)) {
        return false;
    }
    m_nCurrent = -1;
    m_strCurrentPath.clear();
    return true;
}

DocumentType CThumbList::GetDocumentType(const std::wstring& name) const {
    if (::GetDocumentType(name, L"") == DocumentType::word) {
        return DocumentType::word;
    }
    return ::GetDocumentType(name, m_excelVersion());
}

void CThumbList::Reload() {
    m_paths = NewestFirst(ListFolderFiles(m_strFolder, &AnyFile));
    ClearItems();
}

bool CThumbList::AddFile(const std::wstring& path, int position, const std::wstring& caption) {
    const DocumentType type = GetDocumentType(path);
    if (type == DocumentType::none || !IsExistingFile(path) || IsListed(path)) {
        return false;
    }
    const UINT iconId = type == DocumentType::word ? IDB_WORD_DOCUMENT : IDB_WORKBOOK;
    UniqueGdiHandle icon(LoadImageW(GetResourceModule(), MAKEINTRESOURCEW(iconId), IMAGE_BITMAP, 0, 0, 0));
    InsertFile(path, position, caption, static_cast<HBITMAP>(icon.Get()));
    return true;
}

void CThumbList::OpenItem(int n) {
    if (!MakeCurrent(n)) {
        return;
    }
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", m_strCurrentPath.c_str(), nullptr, nullptr, SW_RESTORE));
    if (const unsigned message = OpenFailureMessage(result)) {
        CPromptDlg notice(LoadResourceString(message), L"Vizcam", 0);
        notice.DoModal();
    }
}

bool CThumbList::OnReflectedNotify(NMHDR& header, LRESULT& result) {
    if (header.code == static_cast<UINT>(NM_DBLCLK)) {
        // Every double click acts: the list sends one notification for each.
        const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
        if (activate.iItem >= 0) {
            OpenItem(activate.iItem);
        }
        result = 0;
        return true;
    }
    return CIconList::OnReflectedNotify(header, result);
}
