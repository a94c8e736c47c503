#include "calibration_list.h"

#include <commctrl.h>

#include <array>

#include "calibration_store.h"
#include "ini_profile.h"
#include "measure_resource.h"
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

HWND CreateCalibrationList(HWND dialog, int id, const RECT& place) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&classes);
    HWND list = ::CreateWindowExW(
        0, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, place.left,
        place.top, place.right - place.left, place.bottom - place.top, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (!list) {
        return nullptr;
    }
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES,
                   LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        const std::wstring title = kColumns[i].textId != 0 ? LoadResourceString(kColumns[i].textId) : L" ";
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(title.c_str());
        column.cx = kColumns[i].width;
        column.iSubItem = static_cast<int>(i);
        ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    return list;
}

void FillCalibrationList(HWND list, const std::wstring& path) {
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    IniProfile file(path);
    const CalibrationStore store(file);
    int row = 0;
    for (const Calibration& c : store.List()) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = row;
        item.pszText = const_cast<wchar_t*>(L"");
        item.lParam = c.section;
        row = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        SetCell(list, row, 1, Wide(c.name));
        SetCell(list, row, 2, Wide(c.resolution));
        SetCell(list, row, 3, Wide(CalibrationStore::FormatValue(c.value)));
        SetCell(list, row, 4, Wide(c.unit));
        ++row;
    }
}

std::optional<int> SelectedCalibrationSection(HWND list) {
    const LRESULT row = ::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    if (row < 0) {
        return std::nullopt;
    }
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = static_cast<int>(row);
    if (!::SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) {
        return std::nullopt;
    }
    return static_cast<int>(item.lParam);
}
