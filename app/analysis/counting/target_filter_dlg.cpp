#include "target_filter_dlg.h"

#include <commctrl.h>

#include <cstdio>

#include "counting_resource.h"
#include "resource_module.h"

namespace {

void SetSliderRange(HWND slider, int low, int high) {
    SendMessageW(slider, TBM_SETRANGEMIN, FALSE, low);
    SendMessageW(slider, TBM_SETRANGEMAX, TRUE, high);
}

std::wstring NumberText(double value) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%g", value);
    return text;
}

}  // namespace

CTargetFilterDlg::CTargetFilterDlg(HWND parent) : CDialog(IDD_TARGET_FILTER, parent) {}

BOOL CTargetFilterDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    HWND list = GetDlgItem(IDC_FILTER_MEASURE);
    for (int measure = 0; measure < kFilterMeasures; ++measure) {
        const std::wstring name = LoadResourceString(static_cast<UINT>(IDS_MEASURE_FIRST + measure));
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    SendMessageW(list, CB_SETCURSEL, 0, 0);
    m_measure = 0;
    LoadMeasure();
    return TRUE;
}

void CTargetFilterDlg::LoadMeasure() {
    m_sliders = LoadFilterMeasure(m_measure, m_range, m_filter, m_scale);
    SetSliderRange(GetDlgItem(IDC_FILTER_LOWER_SLIDER), m_sliders.low, m_sliders.high);
    SetSliderRange(GetDlgItem(IDC_FILTER_UPPER_SLIDER), m_sliders.low, m_sliders.high);
    ShowPositions();
}

void CTargetFilterDlg::ShowPositions() {
    SendMessageW(GetDlgItem(IDC_FILTER_UPPER_SLIDER), TBM_SETPOS, TRUE, m_sliders.upperPosition);
    SendMessageW(GetDlgItem(IDC_FILTER_LOWER_SLIDER), TBM_SETPOS, TRUE, m_sliders.lowerPosition);
    wchar_t text[32];
    for (const auto& [id, position] : {std::pair{IDC_FILTER_LOWER_HIDDEN, m_sliders.lowerPosition},
                                       std::pair{IDC_FILTER_UPPER_HIDDEN, m_sliders.upperPosition}}) {
        if (m_measure == kRoundnessMeasure) {
            std::swprintf(text, 32, L"%.2f", position * 0.01);
        } else {
            std::swprintf(text, 32, L"%d", position);
        }
        SetDlgItemTextW(m_hWnd, id, text);
    }
    SetDlgItemTextW(m_hWnd, IDC_FILTER_LOWER_BOX, NumberText(m_sliders.lowerShown).c_str());
    SetDlgItemTextW(m_hWnd, IDC_FILTER_UPPER_BOX, NumberText(m_sliders.upperShown).c_str());
}

void CTargetFilterDlg::OnSliderMoved(HWND slider) {
    const int position = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    if (slider == GetDlgItem(IDC_FILTER_LOWER_SLIDER)) {
        m_sliders.lowerPosition = position;
    } else if (slider == GetDlgItem(IDC_FILTER_UPPER_SLIDER)) {
        m_sliders.upperPosition = position;
    } else {
        return;
    }
    StoreFilterPosition(m_measure, m_sliders.lowerPosition, m_scale, m_filter.lower);
    StoreFilterPosition(m_measure, m_sliders.upperPosition, m_scale, m_filter.upper);
    const bool roundness = m_measure == kRoundnessMeasure;
    m_sliders.lowerShown = roundness ? m_sliders.lowerPosition * 0.01 : m_sliders.lowerPosition;
    m_sliders.upperShown = roundness ? m_sliders.upperPosition * 0.01 : m_sliders.upperPosition;
    // The lower limit cannot pass the upper one, nor the upper the lower.
    SetSliderRange(GetDlgItem(IDC_FILTER_LOWER_SLIDER), m_sliders.low, m_sliders.upperPosition);
    SetSliderRange(GetDlgItem(IDC_FILTER_UPPER_SLIDER), m_sliders.lowerPosition, m_sliders.high);
    ShowPositions();
}

BOOL CTargetFilterDlg::OnCommand(WORD id, WORD code) {
    if (id == IDC_FILTER_MEASURE && code == CBN_SELCHANGE) {
        const LRESULT index = SendMessageW(GetDlgItem(IDC_FILTER_MEASURE), CB_GETCURSEL, 0, 0);
        if (index >= 0 && index < kFilterMeasures && index != m_measure) {
            m_measure = static_cast<int>(index);
            LoadMeasure();
        }
        return TRUE;
    }
    return CDialog::OnCommand(id, code);
}

BOOL CTargetFilterDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HSCROLL) {
        OnSliderMoved(reinterpret_cast<HWND>(lParam));
        return TRUE;
    }
    return CDialog::OnMessage(message, wParam, lParam);
}

void CTargetFilterDlg::OnOK() {
    m_filter.enabled = 1;
    EndDialog(IDOK);
}

void CTargetFilterDlg::OnCancel() {
    m_filter.enabled = 0;
    EndDialog(IDCANCEL);
}
