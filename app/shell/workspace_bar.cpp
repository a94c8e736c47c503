#include "workspace_bar.h"

#include <commctrl.h>

#include <string>

#include "databar_resource.h"
#include "measurement_row.h"
#include "resource_module.h"

namespace {

constexpr UINT kTabsId = 124;

struct Column {
    UINT heading;  // 0: the blank first column
    int width;
};
constexpr Column kColumns[] = {
    {0, 1},
    {IDS_DATA_HEADING_TYPE, 100},
    {IDS_DATA_HEADING_LENGTH, 80},
    {IDS_DATA_HEADING_WIDTH, 80},
    {IDS_DATA_HEADING_HEIGHT, 80},
    {IDS_DATA_HEADING_PERIMETER, 80},
    {IDS_DATA_HEADING_RADIUS, 80},
    {IDS_DATA_HEADING_AREA, 80},
    {IDS_DATA_HEADING_ANGLE, 80},
};

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

void SetCell(HWND list, int row, int column, const std::wstring& text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

int CWorkspaceBar::OnCreate() {
    if (!m_tabs.Create(m_hWnd, kTabsId)) {
        return -1;
    }
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof(icc);
    icc.dwICC = ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&icc);
    m_list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 0, 0, m_tabs.GetSafeHwnd(),
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!m_list || m_tabs.AddTab(m_list, LoadResourceString(IDS_DATA_TAB_RESULTS), -1) < 0) {
        return -1;
    }
    SendMessageW(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES,
                 LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        const std::wstring heading = kColumns[i].heading ? LoadResourceString(kColumns[i].heading) : L" ";
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = kColumns[i].width;
        column.pszText = const_cast<wchar_t*>(heading.c_str());
        column.iSubItem = i;
        if (SendMessageW(m_list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column)) < 0) {
            return -1;
        }
    }
    SetContent(m_tabs.GetSafeHwnd());
    return 0;
}

void CWorkspaceBar::SetMeasurements(std::vector<const CCLObject*> objects) {
    if (!m_list) {
        return;
    }
    // Refilled with redraw off: one repaint for the whole list.
    SendMessageW(m_list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(m_list, LVM_DELETEALLITEMS, 0, 0);
    for (const CCLObject* object : objects) {
        AddMeasurement(object);
    }
    SendMessageW(m_list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_list, nullptr, TRUE);
}

void CWorkspaceBar::SetMeasurements(const ObjectList& objects) {
    std::vector<const CCLObject*> listed;
    listed.reserve(objects.size());
    for (const std::unique_ptr<CCLObject>& object : objects) {
        listed.push_back(object.get());
    }
    SetMeasurements(std::move(listed));
}

void CWorkspaceBar::AddMeasurement(const CCLObject* object) {
    if (!m_list || !object) {
        return;
    }
    const std::optional<MeasurementRow> row = MeasurementRowFor(*object);
    if (!row) {
        return;
    }
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = 0;
    item.pszText = const_cast<wchar_t*>(L"");
    const int index = static_cast<int>(SendMessageW(m_list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (index < 0) {
        return;
    }
    SetCell(m_list, index, 1, LoadResourceString(static_cast<UINT>(row->nameId)) + L"_" + std::to_wstring(row->number));
    for (std::size_t i = 0; i < row->values.size(); ++i) {
        SetCell(m_list, index, static_cast<int>(i) + 2, Wide(row->values[i]));
    }
}
