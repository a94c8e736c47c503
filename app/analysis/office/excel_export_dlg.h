#pragma once
// The Excel export settings (dialog 264): whether the picture goes into the
// workbook, and whether every export goes into one fixed workbook, the
// default one or the user's. It edits the application's options in memory;
// the chosen workbook is neither opened nor tested here.
#include <functional>
#include <optional>
#include <string>

#include "dialog.h"
#include "export_file_names.h"

class CExcelExportDlg : public CDialog {
public:
    // The user's choice of a workbook file; none when cancelled.
    using BrowseWorkbook = std::function<std::optional<std::wstring>(HWND dialog)>;

    CExcelExportDlg(OfficeExportOptions& options, BrowseWorkbook browse, HWND parent);

    static constexpr const wchar_t* kBrowseFilter = L"Excel 97-2003 Files(*.xls)|*.xls|Excel Files(*.xlsx)|*.xlsx|";

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WORD id, WORD code) override;
    void OnOK() override;

private:
    void EnableChoices();
    bool Checked(int id) const;

    OfficeExportOptions& m_options;
    BrowseWorkbook m_browse;
    int m_nRadio = 0;
    std::wstring m_strPath;
};
