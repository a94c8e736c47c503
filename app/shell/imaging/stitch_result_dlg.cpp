#include "stitch_result_dlg.h"

#include "engine_result.h"
#include "imaging_resource.h"
#include "stitch_page_frame.h"
#include "picture_filter.h"

CStitchResultDlg::CStitchResultDlg(ICommonDialogs& fileDialogs)
    : CDialog(IDD_STITCH_RESULT, nullptr), m_fileDialogs(fileDialogs) {}

CStitchResultDlg::~CStitchResultDlg() = default;

BOOL CStitchResultDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    RECT frame{};
    GetWindowRect(GetDlgItem(IDC_STITCH_RESULT_FRAME), &frame);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&frame), 2);
    m_view.Create(WS_CHILD | WS_VISIBLE | SS_NOTIFY, frame, m_hWnd, kViewId);
    m_view.UpdateLayout(0);
    EnableWindow(GetDlgItem(IDC_STITCH_SAVE), FALSE);
    return TRUE;
}

int CStitchResultDlg::SetImage(const CPicture* picture) {
    if (picture == nullptr || !picture->IsValid()) {
        return 0;
    }
    auto copy = std::make_unique<CPicture>(*picture);
    HDC screen = GetDC(m_hWnd);
    picture_gdi::UniqueBitmap bitmap = picture_gdi::MakeBitmap(*copy, screen);
    ReleaseDC(m_hWnd, screen);
    if (!bitmap) {
        return 0;
    }
    m_view.UpdateLayout(0);
    m_view.SetBitmap(bitmap.get());
    m_bitmap = std::move(bitmap);
    m_picture = std::move(copy);
    EnableWindow(GetDlgItem(IDC_STITCH_SAVE), TRUE);
    InvalidateRect(m_view.GetSafeHwnd(), nullptr, TRUE);
    return 1;
}

void CStitchResultDlg::OnSave() {
    if (!m_picture) {
        return;
    }
    const RECT selection = m_view.GetSelection();
    const std::optional<std::wstring> path = m_fileDialogs.SaveFile(m_hWnd, ResultPictureRequest(false));
    if (!path) {
        return;
    }
    CPicture part;
    if (m_picture->Crop(selection.left, selection.top, selection.right, selection.bottom, part)) {
        part.Save(std::filesystem::path(*path), ResultPictureType(*path));
    }
}

BOOL CStitchResultDlg::OnCommand(WORD id, WORD code) {
    switch (id) {
    case IDC_STITCH_SAVE: OnSave(); return TRUE;
    case IDC_STITCH_FIT: m_view.UpdateLayout(0); return TRUE;
    case IDC_STITCH_ACTUAL_SIZE: m_view.UpdateLayout(1); return TRUE;
    default: return CDialog::OnCommand(id, code);
    }
}

void CStitchResultDlg::Layout() { StretchPageFrame(m_hWnd, IDC_STITCH_RESULT_FRAME, m_view.GetSafeHwnd()); }

BOOL CStitchResultDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE: Layout(); return TRUE;
    case WM_PAINT: PaintPageFrame(m_hWnd, IDC_STITCH_RESULT_FRAME); return TRUE;
    case WM_DESTROY:
        m_view.SetBitmap(nullptr);
        m_bitmap.reset();
        m_picture.reset();
        break;
    default: break;
    }
    return CDialog::OnMessage(message, wParam, lParam);
}
