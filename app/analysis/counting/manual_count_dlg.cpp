#include "manual_count_dlg.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "counting_resource.h"
#include "dc.h"
#include "resource_module.h"
#include "wait_cursor.h"

namespace {

constexpr int kChannelGrey = 3;

void SetRange(HWND control, UINT message, int low, int high) {
    if (message == TBM_SETRANGEMIN) {
        SendMessageW(control, TBM_SETRANGEMIN, TRUE, low);
        SendMessageW(control, TBM_SETRANGEMAX, TRUE, high);
    } else {
        SendMessageW(control, UDM_SETRANGE32, static_cast<WPARAM>(low), high);
    }
}

}  // namespace

CManualCountDlg::CManualCountDlg(HWND parent) : CDialog(IDD_MANUAL_COUNT, parent) {
    BindUInt(IDC_MANUAL_LOWER_EDIT, m_nLower, 0, 255);
    BindUInt(IDC_MANUAL_UPPER_EDIT, m_nUpper, 0, 255);
    BindText(IDC_MANUAL_SHARE, m_strShare);
}

BOOL CManualCountDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // Setting up the spins writes their buddies: no edit is read meanwhile.
    m_showing = true;
    HWND list = GetDlgItem(IDC_MANUAL_CHANNEL);
    for (const UINT id : {IDS_CHANNEL_GREY, IDS_CHANNEL_RED, IDS_CHANNEL_GREEN, IDS_CHANNEL_BLUE}) {
        const std::wstring text = LoadResourceString(id);
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(list, CB_SETCURSEL, 0, 0);
    SetRange(GetDlgItem(IDC_MANUAL_LOWER_SPIN), UDM_SETRANGE32, 0, 255);
    SetRange(GetDlgItem(IDC_MANUAL_UPPER_SPIN), UDM_SETRANGE32, 0, 255);
    SetRange(GetDlgItem(IDC_MANUAL_LOWER_SLIDER), TBM_SETRANGEMIN, 0, 127);
    SetRange(GetDlgItem(IDC_MANUAL_UPPER_SLIDER), TBM_SETRANGEMIN, 0, 255);
    const RECT panel = PanelRect();
    m_barWidth = (panel.right - panel.left) / 256;
    m_leftMargin = ((panel.right - panel.left) % 256) / 2;
    m_largest = 0;
    if (m_pEngine != nullptr) {
        m_pEngine->getHistogram(m_histogram, m_largest);
        const CountSize valve = m_pEngine->getValve();
        m_nUpper = static_cast<unsigned>(std::clamp(valve.cy, 0, 255));
        m_nLower = valve.cx > 0 ? static_cast<unsigned>(std::min(valve.cx, 255)) : 1u;
        Apply();
    }
    ShowThresholds();
    m_ready = true;
    return TRUE;
}

void CManualCountDlg::RestorePicture() {
    if (m_pPicture != nullptr && m_pCopy && m_pCopy->GetSize() == m_pPicture->GetSize()) {
        std::copy(m_pCopy->Pixels().begin(), m_pCopy->Pixels().end(), m_pPicture->Pixels().begin());
    }
}

void CManualCountDlg::Apply() {
    m_showing = true;
    SetRange(GetDlgItem(IDC_MANUAL_LOWER_SLIDER), TBM_SETRANGEMIN, 0, static_cast<int>(m_nUpper));
    SetRange(GetDlgItem(IDC_MANUAL_UPPER_SLIDER), TBM_SETRANGEMIN, 0, 255);
    SetRange(GetDlgItem(IDC_MANUAL_LOWER_SPIN), UDM_SETRANGE32, 0, static_cast<int>(m_nUpper));
    SetRange(GetDlgItem(IDC_MANUAL_UPPER_SPIN), UDM_SETRANGE32, 0, 255);
    m_nLower = std::min(m_nLower, m_nUpper);
    ShowThresholds();
    if (m_pEngine == nullptr) {
        return;
    }
    RestorePicture();
    m_pEngine->creatEdgeImg(m_nLower == 0 ? -1 : static_cast<int>(m_nLower), static_cast<int>(m_nUpper), 0);
    if (m_pPicture != nullptr) {
        m_pEngine->DrawMarkInSrcIMGAfterEdge(m_pPicture->Pixels(), false);
    }
    if (m_pController != nullptr) {
        m_pController->Render(1);
    }
}

void CManualCountDlg::ShowThresholds() {
    m_showing = true;
    SendMessageW(GetDlgItem(IDC_MANUAL_LOWER_SLIDER), TBM_SETPOS, TRUE, static_cast<LPARAM>(m_nLower));
    SendMessageW(GetDlgItem(IDC_MANUAL_UPPER_SLIDER), TBM_SETPOS, TRUE, static_cast<LPARAM>(m_nUpper));
    if (m_pCopy) {
        wchar_t share[32];
        std::swprintf(share, 32, L"%0.4f%%",
                      WindowShare(m_histogram, static_cast<int>(m_nLower), static_cast<int>(m_nUpper),
                                  m_pCopy->GetWidth(), m_pCopy->GetHeight()));
        m_strShare = share;
    }
    UpdateData(FALSE);
    m_showing = false;
    ShowHistogram();
}

RECT CManualCountDlg::PanelRect() const {
    RECT rect{};
    GetWindowRect(GetDlgItem(IDC_MANUAL_HISTOGRAM), &rect);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void CManualCountDlg::PaintPanel(HDC dc) {
    const RECT rect = PanelRect();
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, rect.left, rect.top, nullptr);
    PaintHistogram(dc, rect.right - rect.left, rect.bottom - rect.top);
    RestoreDC(dc, saved);
}

void CManualCountDlg::ShowHistogram() {
    if (m_pEngine == nullptr || GetDlgItem(IDC_MANUAL_HISTOGRAM) == nullptr) {
        return;
    }
    HDC dc = GetDC(m_hWnd);
    PaintPanel(dc);
    ReleaseDC(m_hWnd, dc);
}

void CManualCountDlg::PaintHistogram(HDC target, int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    CDC reference(target);
    CMemoryDC memory(&reference, width, height);
    HDC dc = memory.GetSafeHdc();
    memory.FillSolidRect(RECT{0, 0, width, height}, RGB(255, 255, 255));
    const auto bar = [&](int level, int top, COLORREF colour) {
        const int x = m_leftMargin + level * m_barWidth;
        memory.FillSolidRect(RECT{x, top, x + std::max(m_barWidth, 1), height}, colour);
    };
    for (int level = 0; level < 256; ++level) {
        const int barHeight = BarHeight(m_histogram[static_cast<std::size_t>(level)], m_largest, height);
        if (barHeight > 0) {
            bar(level, height - barHeight, RGB(0, 0, 0));
        }
    }
    SetBkMode(dc, TRANSPARENT);
    const auto label = [&](int level, COLORREF colour) {
        bar(level, 0, colour);
        const std::wstring text = std::to_wstring(level);
        SetTextColor(dc, colour);
        TextOutW(dc, m_leftMargin + (level + 1) * std::max(m_barWidth, 1), 2, text.c_str(),
                 static_cast<int>(text.size()));
    };
    label(static_cast<int>(m_nLower), RGB(0, 255, 0));
    label(static_cast<int>(m_nUpper), RGB(0, 0, 255));
    for (const int level : {0, 255}) {
        const int x = m_leftMargin + level * m_barWidth;
        memory.FillSolidRect(RECT{x, 0, x + std::max(m_barWidth, 1), 10}, RGB(255, 0, 0));
    }
    BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
}

void CManualCountDlg::ChangeChannel(int channel) {
    if (channel == m_nChannel || m_pEngine == nullptr) {
        m_nChannel = channel;
        return;
    }
    WaitCursor wait;
    m_nChannel = channel;
    m_pEngine->creatGrayImg(channel == 0 ? kChannelGrey : channel - 1);
    m_pEngine->getHistogram(m_histogram, m_largest);
    ShowThresholds();
    // The picture starts from the copy, as Apply does: outlines of the
    // old channel must not stay under the new ones.
    RestorePicture();
    m_pEngine->creatEdgeImg(static_cast<int>(m_nLower), static_cast<int>(m_nUpper), 0);
    if (m_pPicture != nullptr) {
        m_pEngine->DrawMarkInSrcIMGAfterEdge(m_pPicture->Pixels(), false);
    }
    if (m_pController != nullptr) {
        m_pController->Render(1);
    }
}

void CManualCountDlg::OnSliderMoved(HWND slider) {
    const auto position = static_cast<unsigned>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    if (slider == GetDlgItem(IDC_MANUAL_LOWER_SLIDER)) {
        m_nLower = position;
    } else if (slider == GetDlgItem(IDC_MANUAL_UPPER_SLIDER)) {
        m_nUpper = position;
    } else {
        return;
    }
    Apply();
}

void CManualCountDlg::OnEditChanged() {
    if (!m_ready || m_showing || !UpdateData(TRUE)) {
        return;
    }
    Apply();
}

BOOL CManualCountDlg::OnCommand(WORD id, WORD code) {
    if (id == IDC_MANUAL_CHANNEL && code == CBN_SELCHANGE) {
        const LRESULT index = SendMessageW(GetDlgItem(IDC_MANUAL_CHANNEL), CB_GETCURSEL, 0, 0);
        if (index >= 0) {
            ChangeChannel(static_cast<int>(index));
        }
        return TRUE;
    }
    if ((id == IDC_MANUAL_LOWER_EDIT || id == IDC_MANUAL_UPPER_EDIT) && (code == EN_CHANGE || code == EN_UPDATE)) {
        if (code == EN_CHANGE) {
            OnEditChanged();
        }
        return TRUE;
    }
    return CDialog::OnCommand(id, code);
}

BOOL CManualCountDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HSCROLL: OnSliderMoved(reinterpret_cast<HWND>(lParam)); return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_hWnd, &paint);
        if (m_pEngine != nullptr) {
            PaintPanel(dc);
        }
        EndPaint(m_hWnd, &paint);
        return TRUE;
    }
    default: return CDialog::OnMessage(message, wParam, lParam);
    }
}

void CManualCountDlg::OnCancel() {
    RestorePicture();
    m_pCopy.reset();
    CDialog::OnCancel();
}
