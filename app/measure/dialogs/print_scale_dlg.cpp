#include "print_scale_dlg.h"

#include <commctrl.h>

#include <array>

#include "calibration_store.h"
#include "ini_profile.h"
#include "measure_resource.h"
#include "prompt_dlg.h"
#include "resource_module.h"

namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

struct Column {
    UINT textId;  // 0: no title
    int width;
};
constexpr std::array<Column, 5> kColumns{{{0, 5},
                                          {IDS_CALIBRATION_COLUMN_NAME, 80},
                                          {IDS_CALIBRATION_COLUMN_SIZE, 100},
                                          {IDS_CALIBRATION_COLUMN_VALUE, 80},
                                          {IDS_CALIBRATION_COLUMN_UNIT, 50}}};

void SetCell(HWND list, int row, int column, const std::wstring& text) {
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
}

}  // namespace

CPrintScaleDlg::CPrintScaleDlg(HWND parent) : CDialog(IDD_PRINT_SCALE, parent), m_strScalePath(ScaleIniPath()) {
    BindUInt(IDC_PRINT_MAGNIFICATION, m_nMagnification, 1, kMaxMagnification);
}

BOOL CPrintScaleDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CreateList();
    FillList();
    UpdateData(FALSE);
    return TRUE;
}

void CPrintScaleDlg::CreateList() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&classes);
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    m_list = ::CreateWindowExW(
        0, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, 13, 10,
        client.right - 20, client.bottom - 110, m_hWnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PRINT_CALIBRATIONS)), ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        const std::wstring title = kColumns[i].textId != 0 ? LoadResourceString(kColumns[i].textId) : L" ";
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(title.c_str());
        column.cx = kColumns[i].width;
        column.iSubItem = static_cast<int>(i);
        ::SendMessageW(m_list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

void CPrintScaleDlg::FillList() {
    IniProfile file(m_strScalePath);
    const CalibrationStore store(file);
    int row = 0;
    // Each row keeps the section it shows, so a gap in the sections never
    // shifts the calibration taken.
    for (const Calibration& c : store.List()) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = row;
        item.pszText = const_cast<wchar_t*>(L"");
        item.lParam = c.section;
        row = static_cast<int>(::SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        SetCell(m_list, row, 1, Wide(c.name));
        SetCell(m_list, row, 2, Wide(c.resolution));
        SetCell(m_list, row, 3, Wide(CalibrationStore::FormatValue(c.value)));
        SetCell(m_list, row, 4, Wide(c.unit));
        ++row;
    }
}

void CPrintScaleDlg::OnOK() { TakeCalibration(0); }

BOOL CPrintScaleDlg::OnCommand(WORD id, WORD code) {
    if (id == IDC_PRINT_PREVIEW && code == BN_CLICKED) {
        TakeCalibration(1);
        return TRUE;
    }
    return FALSE;
}

void CPrintScaleDlg::TakeCalibration(int preview) {
    m_nPreview = preview;
    const LRESULT row = ::SendMessageW(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    if (row < 0) {
        CPromptDlg notice(LoadResourceString(IDS_CHOOSE_CALIBRATION_TO_PRINT), L"Vizcam", 0, m_hWnd);
        notice.DoModal();
        return;
    }
    if (!UpdateData(TRUE)) {
        return;
    }
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = static_cast<int>(row);
    ::SendMessageW(m_list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    IniProfile file(m_strScalePath);
    const CalibrationStore store(file);
    const auto calibration = store.Read(static_cast<int>(item.lParam));
    if (!calibration) {
        return;
    }
    m_fValue = calibration->value;
    m_strUnit = Wide(calibration->unit);
    EndDialog(IDOK);
}
