#include "word_template_dlg.h"

#include <commctrl.h>

#include <cwchar>
#include <vector>

#include "office_resource.h"
#include "stitch_page_frame.h"

CWordTemplateDlg::CWordTemplateDlg(IPictureFileDialogs& dialogs, IOfficeExportHost& host,
                                   std::function<std::optional<std::wstring>()> exportFolder, HWND parent,
                                   OfficeExportPlaces places)
    : CDialog(IDD_WORD_TEMPLATE, parent),
      m_pane(dialogs),
      m_export(host, std::move(places)),
      m_exportFolder(std::move(exportFolder)) {
    BindUInt(IDC_WORD_TEMPLATE_WIDTH, m_nWidth, kMinCentimetres, kMaxCentimetres);
    BindUInt(IDC_WORD_TEMPLATE_HEIGHT, m_nHeight, kMinCentimetres, kMaxCentimetres);
}

CWordTemplateDlg::~CWordTemplateDlg() = default;

std::wstring CWordTemplateDlg::TargetName(const SYSTEMTIME& time) {
    wchar_t name[64] = {};
    std::swprintf(name, std::size(name), L"Word_%4d%02d%02d%02d%02d%02d%04d.doc", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    return name;
}

BOOL CWordTemplateDlg::OnInitDialog() {
    for (int n = 1; n <= kMaxPictures; ++n) {
        SendDlgItemMessageW(m_hWnd, IDC_WORD_TEMPLATE_COUNT, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(std::to_wstring(n).c_str()));
    }
    SendDlgItemMessageW(m_hWnd, IDC_WORD_TEMPLATE_COUNT, CB_SETCURSEL, static_cast<WPARAM>(m_nCount - 1), 0);
    RECT frame{};
    GetWindowRect(GetDlgItem(IDC_WORD_TEMPLATE_FRAME), &frame);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&frame), 2);
    m_pane.Create(m_hWnd, frame, WS_VISIBLE | SS_NOTIFY);
    for (const int spin : {IDC_WORD_TEMPLATE_WIDTH_SPIN, IDC_WORD_TEMPLATE_HEIGHT_SPIN}) {
        SendDlgItemMessageW(m_hWnd, spin, UDM_SETRANGE32, kMinCentimetres, kMaxCentimetres);
    }
    m_nWidth = 8;
    m_nHeight = 7;
    const BOOL result = CDialog::OnInitDialog();
    m_pane.GetGrid().SetGrid(m_nRows, m_nCount);
    m_pane.Relayout();
    Enable(IDC_WORD_TEMPLATE_EXPORT, false);
    Enable(IDC_WORD_TEMPLATE_CLEAR, false);
    Enable(IDC_WORD_TEMPLATE_CLEAR_ALL, false);
    return result;
}

void CWordTemplateDlg::Enable(int id, bool enabled) { EnableWindow(GetDlgItem(id), enabled ? TRUE : FALSE); }

void CWordTemplateDlg::OnCountChosen() {
    const LRESULT chosen = SendDlgItemMessageW(m_hWnd, IDC_WORD_TEMPLATE_COUNT, CB_GETCURSEL, 0, 0);
    if (chosen < 0) return;
    m_nCount = static_cast<int>(chosen) + 1;
    m_pane.GetGrid().SetGrid(m_nRows, m_nCount);
    m_pane.Relayout();
    Enable(IDC_WORD_TEMPLATE_LOAD, true);
    Enable(IDC_WORD_TEMPLATE_EXPORT, false);
    Enable(IDC_WORD_TEMPLATE_CLEAR, false);
    Enable(IDC_WORD_TEMPLATE_CLEAR_ALL, false);
}

void CWordTemplateDlg::OnLoad() {
    CThumbStrip& grid = m_pane.GetGrid();
    if (grid.AddFiles() == 0) return;
    Enable(IDC_WORD_TEMPLATE_CLEAR, true);
    Enable(IDC_WORD_TEMPLATE_CLEAR_ALL, true);
    if (grid.IsFull()) {
        Enable(IDC_WORD_TEMPLATE_EXPORT, true);
        Enable(IDC_WORD_TEMPLATE_LOAD, false);
    }
}

void CWordTemplateDlg::OnClear() {
    CThumbStrip& grid = m_pane.GetGrid();
    if (!grid.RemoveItem()) return;
    Enable(IDC_WORD_TEMPLATE_EXPORT, false);
    Enable(IDC_WORD_TEMPLATE_LOAD, true);
    if (grid.IsEmpty()) {
        Enable(IDC_WORD_TEMPLATE_CLEAR, false);
        Enable(IDC_WORD_TEMPLATE_CLEAR_ALL, false);
    }
}

void CWordTemplateDlg::OnClearAll() {
    m_pane.GetGrid().RemoveAllItems();
    Enable(IDC_WORD_TEMPLATE_EXPORT, false);
    Enable(IDC_WORD_TEMPLATE_LOAD, true);
    Enable(IDC_WORD_TEMPLATE_CLEAR, false);
    Enable(IDC_WORD_TEMPLATE_CLEAR_ALL, false);
}

void CWordTemplateDlg::OnZoom(bool in) {
    m_pane.ZoomGrid(in);
}

void CWordTemplateDlg::OnExport() {
    CThumbStrip& grid = m_pane.GetGrid();
    if (!grid.IsFull()) return;
    if (!UpdateData(TRUE)) return;
    int rows = 0;
    int columns = 0;
    const std::vector<std::vector<std::wstring>>& cells = grid.GetCells(rows, columns);
    if (rows != m_nRows || columns != m_nCount || cells.size() != static_cast<std::size_t>(rows)) return;
    m_export.SetPictureSize(static_cast<int>(m_nWidth), static_cast<int>(m_nHeight));
    m_export.SetPicturePaths(cells.front());
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::optional<std::wstring> folder = m_exportFolder ? m_exportFolder() : std::wstring();
    if (!folder) return;
    m_export.ExportPicturesToWord(*folder + TargetName(now));
}

BOOL CWordTemplateDlg::OnCommand(WORD id, WORD code) {
    switch (id) {
    case IDC_WORD_TEMPLATE_COUNT:
        if (code == CBN_SELCHANGE) OnCountChosen();
        return TRUE;
    case IDC_WORD_TEMPLATE_LOAD: OnLoad(); return TRUE;
    case IDC_WORD_TEMPLATE_EXPORT: OnExport(); return TRUE;
    case IDC_WORD_TEMPLATE_CLEAR: OnClear(); return TRUE;
    case IDC_WORD_TEMPLATE_CLEAR_ALL: OnClearAll(); return TRUE;
    case IDC_WORD_TEMPLATE_ZOOM_IN: OnZoom(true); return TRUE;
    case IDC_WORD_TEMPLATE_ZOOM_OUT: OnZoom(false); return TRUE;
    default: return CDialog::OnCommand(id, code);
    }
}

// The pane paints the frame's area itself; erasing it first would flicker.
void CWordTemplateDlg::EraseOutsideFrame(HDC dc) {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    RECT frame{};
    GetWindowRect(GetDlgItem(IDC_WORD_TEMPLATE_FRAME), &frame);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&frame), 2);
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, frame.left, frame.top, frame.right, frame.bottom);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    RestoreDC(dc, saved);
}

BOOL CWordTemplateDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        StretchPageFrame(m_hWnd, IDC_WORD_TEMPLATE_FRAME, m_pane.GetSafeHwnd());
        return TRUE;
    case WM_PAINT: PaintPageFrame(m_hWnd, IDC_WORD_TEMPLATE_FRAME); return TRUE;
    case WM_ERASEBKGND:
        EraseOutsideFrame(reinterpret_cast<HDC>(wParam));
        SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_DESTROY: m_pane.DestroyWindow(); break;
    default: break;
    }
    return CDialog::OnMessage(message, wParam, lParam);
}
