#include "adjust_preview_dlg.h"

#include <commctrl.h>

#include <cstdio>

#include "picture_gdi.h"
#include "processing_resource.h"
#include "unique_handle.h"
#include "wait_cursor.h"

CAdjustPreviewDlg::CAdjustPreviewDlg(UINT templateId, CPicture& picture, HWND parent, std::span<const Slider> sliders,
                                     int previewCheckId)
    : CDialog(templateId, parent), m_picture(picture), m_sliders(sliders), m_previewCheckId(previewCheckId) {}

BOOL CAdjustPreviewDlg::OnInitDialog() {
    for (const Slider& slider : m_sliders) {
        SendMessageW(GetDlgItem(slider.id), TBM_SETRANGEMIN, FALSE, slider.min);
        SendMessageW(GetDlgItem(slider.id), TBM_SETRANGEMAX, TRUE, slider.max);
        SendMessageW(GetDlgItem(slider.id), TBM_SETPOS, TRUE, 0);
        SetDlgItemTextW(m_hWnd, slider.textId, L"0");
    }
    CheckDlgButton(m_hWnd, m_previewCheckId, m_bPreview ? BST_CHECKED : BST_UNCHECKED);
    MakePreview();
    return TRUE;
}

void CAdjustPreviewDlg::MakePreview() {
    RECT client{};
    GetClientRect(GetDlgItem(IDC_ADJUST_FRAME), &client);
    if (client.right <= 0 || client.bottom <= 0 || !m_picture.IsValid()) {
        return;
    }
    HDC screen = GetDC(m_hWnd);
    UniqueHandle<HDC, &DeleteDC> memory(CreateCompatibleDC(screen));
    picture_gdi::UniqueBitmap bitmap(CreateCompatibleBitmap(screen, client.right, client.bottom));
    ReleaseDC(m_hWnd, screen);
    const HGDIOBJ old = SelectObject(memory.Get(), bitmap.get());
    picture_gdi::Draw(m_picture, memory.Get(), client);
    SelectObject(memory.Get(), old);
    picture_gdi::CreateFromHBITMAP(m_preview, bitmap.get());
    m_working = m_preview;
}

int CAdjustPreviewDlg::SliderPosition(int id) const {
    return static_cast<int>(SendMessageW(GetDlgItem(id), TBM_GETPOS, 0, 0));
}

BOOL CAdjustPreviewDlg::OnMessage(UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_HSCROLL && lParam != 0) {
        OnSliderMoved(reinterpret_cast<HWND>(lParam));
        return TRUE;
    }
    if (message == WM_DRAWITEM) {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlID == IDC_ADJUST_FRAME) {
            DrawFrame(item);
            return TRUE;
        }
    }
    return FALSE;
}

void CAdjustPreviewDlg::OnSliderMoved(HWND slider) {
    ReadSliders();
    m_bPreview = IsDlgButtonChecked(m_hWnd, m_previewCheckId) == BST_CHECKED ? 1 : 0;
    const int id = GetDlgCtrlID(slider);
    for (const Slider& s : m_sliders) {
        if (s.id == id) {
            wchar_t text[16];
            std::swprintf(text, 16, L"%d", SliderPosition(id));
            SetDlgItemTextW(m_hWnd, s.textId, text);
        }
    }
    if (!m_bPreview || !m_preview.IsValid()) {
        return;
    }
    m_working = m_preview;
    ApplyToPreview(m_working);
    InvalidateRect(GetDlgItem(IDC_ADJUST_FRAME), nullptr, FALSE);
}

void CAdjustPreviewDlg::DrawFrame(const DRAWITEMSTRUCT& item) const {
    if (m_working.IsValid()) {
        picture_gdi::Draw(m_working, item.hDC, 0, 0);
    }
}

void CAdjustPreviewDlg::ClosePreview() {
    m_preview.Destroy();
    m_working.Destroy();
}

void CAdjustPreviewDlg::OnOK() {
    ReadSliders();
    {
        WaitCursor wait;
        ApplyToPicture(m_picture);
    }
    ClosePreview();
    EndDialog(IDOK);
}

void CAdjustPreviewDlg::OnCancel() {
    ClosePreview();
    EndDialog(IDCANCEL);
}
