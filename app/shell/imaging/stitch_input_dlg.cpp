#include "stitch_input_dlg.h"

#include <string>

#include "engine_progress.h"
#include "imaging_resource.h"
#include "stitch_page_frame.h"
#include "wait_progress_dlg.h"

CStitchInputDlg::CStitchInputDlg(IPictureFileDialogs& dialogs) : CDialog(IDD_STITCH_INPUT, nullptr), m_pane(dialogs) {}

CStitchInputDlg::~CStitchInputDlg() = default;

BOOL CStitchInputDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const int list : {IDC_STITCH_ROWS, IDC_STITCH_COLUMNS}) {
        for (int n = 1; n <= kMaxCells; ++n) {
            SendDlgItemMessageW(m_hWnd, list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_wstring(n).c_str()));
        }
    }
    m_shape = StitchGridShape{};
    ShowShape();
    RECT frame{};
    GetWindowRect(GetDlgItem(IDC_STITCH_GRID_FRAME), &frame);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&frame), 2);
    m_pane.Create(m_hWnd, frame, WS_VISIBLE | SS_NOTIFY);
    m_pane.GetGrid().SetGrid(m_shape.rows, m_shape.columns);
    m_pane.Relayout();
    Enable(IDC_STITCH_LOAD, true);
    Enable(IDC_STITCH_CLEAR, false);
    Enable(IDC_STITCH_CLEAR_ALL, false);
    Enable(IDC_STITCH_START, false);
    return TRUE;
}

void CStitchInputDlg::Enable(int id, bool enabled) { EnableWindow(GetDlgItem(id), enabled ? TRUE : FALSE); }

void CStitchInputDlg::ShowShape() {
    SendDlgItemMessageW(m_hWnd, IDC_STITCH_ROWS, CB_SETCURSEL, static_cast<WPARAM>(m_shape.rows - 1), 0);
    SendDlgItemMessageW(m_hWnd, IDC_STITCH_COLUMNS, CB_SETCURSEL, static_cast<WPARAM>(m_shape.columns - 1), 0);
}

void CStitchInputDlg::OnShapeChosen(bool rowsList) {
    const int rows = static_cast<int>(SendDlgItemMessageW(m_hWnd, IDC_STITCH_ROWS, CB_GETCURSEL, 0, 0)) + 1;
    const int columns = static_cast<int>(SendDlgItemMessageW(m_hWnd, IDC_STITCH_COLUMNS, CB_GETCURSEL, 0, 0)) + 1;
    if (rows < 1 || columns < 1) {
        return;
    }
    m_shape = rowsList ? AfterRowsChosen(rows, columns) : AfterColumnsChosen(rows, columns);
    ShowShape();
    m_pane.GetGrid().SetGrid(m_shape.rows, m_shape.columns);
    m_pane.Relayout();
    Enable(IDC_STITCH_LOAD, true);
    Enable(IDC_STITCH_CLEAR, false);
    Enable(IDC_STITCH_CLEAR_ALL, false);
    Enable(IDC_STITCH_START, false);
}

void CStitchInputDlg::OnLoad() {
    CThumbStrip& grid = m_pane.GetGrid();
    if (grid.AddFiles() > 0) {
        Enable(IDC_STITCH_CLEAR, true);
        Enable(IDC_STITCH_CLEAR_ALL, true);
        if (grid.IsFull()) {
            Enable(IDC_STITCH_START, true);
            Enable(IDC_STITCH_LOAD, false);
        }
    }
}

void CStitchInputDlg::OnClear() {
    CThumbStrip& grid = m_pane.GetGrid();
    if (grid.RemoveItem()) {
        Enable(IDC_STITCH_START, false);
        Enable(IDC_STITCH_LOAD, true);
        if (grid.IsEmpty()) {
            Enable(IDC_STITCH_CLEAR, false);
            Enable(IDC_STITCH_CLEAR_ALL, false);
        }
    }
}

void CStitchInputDlg::OnClearAll() {
    m_pane.GetGrid().RemoveAllItems();
    Enable(IDC_STITCH_START, false);
    Enable(IDC_STITCH_CLEAR, false);
    Enable(IDC_STITCH_CLEAR_ALL, false);
    Enable(IDC_STITCH_LOAD, true);
}

void CStitchInputDlg::OnZoom(bool in) {
    m_pane.ZoomGrid(in);
}

void CStitchInputDlg::OnStitch() {
    CThumbStrip& grid = m_pane.GetGrid();
    if (!grid.IsFull()) {
        return;
    }
    m_engine.reset();
    int rows = 0;
    int columns = 0;
    const std::vector<std::vector<std::wstring>>& cells = grid.GetCells(rows, columns);
    if (rows != m_shape.rows || columns != m_shape.columns || cells.size() != static_cast<std::size_t>(rows)) {
        return;
    }
    std::vector<std::vector<std::filesystem::path>> table;
    for (const std::vector<std::wstring>& row : cells) {
        table.emplace_back(row.begin(), row.end());
    }
    m_engine = std::make_unique<CImageStitching>(std::move(table), columns, rows);
    if (m_engine->startProgressing() == 0) {
        return;
    }
    // The tab dialog (the page's grandparent) collects the result.
    HWND tabDialog = GetParent(GetParent(m_hWnd));
    KillTimer(tabDialog, kResultTimer);
    CEngineProgress<CImageStitching> progress(*m_engine);
    CWaitProgressDlg wait(tabDialog);
    wait.SetEngine(&progress, CWaitProgressDlg::kStitching);
    wait.DoModal();
    SetTimer(tabDialog, kResultTimer, 100, nullptr);
}

BOOL CStitchInputDlg::OnCommand(WORD id, WORD code) {
    switch (id) {
    case IDC_STITCH_ROWS:
    case IDC_STITCH_COLUMNS:
        if (code == CBN_SELCHANGE) {
            OnShapeChosen(id == IDC_STITCH_ROWS);
        }
        return TRUE;
    case IDC_STITCH_LOAD: OnLoad(); return TRUE;
    case IDC_STITCH_CLEAR: OnClear(); return TRUE;
    case IDC_STITCH_CLEAR_ALL: OnClearAll(); return TRUE;
    case IDC_STITCH_START: OnStitch(); return TRUE;
    case IDC_STITCH_ZOOM_IN: OnZoom(true); return TRUE;
    case IDC_STITCH_ZOOM_OUT: OnZoom(false); return TRUE;
    default: return CDialog::OnCommand(id, code);
    }
}

void CStitchInputDlg::Layout() { StretchPageFrame(m_hWnd, IDC_STITCH_GRID_FRAME, m_pane.GetSafeHwnd()); }

BOOL CStitchInputDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: Layout(); return TRUE;
    case WM_PAINT: PaintPageFrame(m_hWnd, IDC_STITCH_GRID_FRAME); return TRUE;
    case WM_DESTROY:
        m_pane.DestroyWindow();
        m_engine.reset();
        break;
    default: break;
    }
    return CDialog::OnMessage(message, wParam, lParam);
}
