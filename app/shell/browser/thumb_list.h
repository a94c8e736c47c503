#pragma once
// `CThumbList`: the export folder's Word and Excel documents, one icon per
// document type, each opened with the shell's default program on a double
// click. The exporters add each document they have just written.
#include <functional>
#include <string>

#include "file_kinds.h"
#include "icon_list.h"

class CThumbList : public CIconList {
public:
    static constexpr int kIconSide = 40;

    // folder: the export folder, with its trailing backslash. excelVersion
    // gives the installed spreadsheet version; it is asked only for names
    // that are not Word documents.
    explicit CThumbList(std::wstring folder, std::function<std::wstring()> excelVersion);

    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);
    // Every file of the folder into the paths, newest first; the list empties.
    // The caller takes the paths, clears them and adds the files back.
    void Reload();
    void ClearPaths() { m_paths.clear(); }
    // False when the file does not exist, is already listed or is no
    // document of a known type.
    bool AddFile(const std::wstring& path, int position, const std::wstring& caption = {});
    // Opens item n with the shell; a failure is told in a notice.
    void OpenItem(int n);

    DocumentType GetDocumentType(const std::wstring& name) const;

    bool OnReflectedNotify(NMHDR& header, LRESULT& result) override;

private:
    std::wstring m_strFolder;
    std::function<std::wstring()> m_excelVersion;
};

// The notice's string for a failed shell "open" result (2: missing file,
// 31: no program for the type, anything else up to 32: an error); 0 for a
// success above 32.
unsigned OpenFailureMessage(INT_PTR shellResult);
