#include "slider_page.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "camera_resource.h"
#include "param_page_controls.h"

CSliderPage::CSliderPage(UINT templateId, SingleCross& cross, int& aeLiving, CCameraDevice& camera)
    : CDialog(templateId, nullptr), m_camera(camera), m_cross(cross), m_aeLiving(aeLiving) {}

void CSliderPage::SetFields(std::vector<Field> fields) {
    m_fields = std::move(fields);
    for (const Field& field : m_fields) {
        SendMessageW(GetDlgItem(field.slider), TBM_SETRANGE, TRUE,
                     MAKELPARAM(field.sliderRange.lowest, field.sliderRange.highest));
        Show(field);
    }
}

void CSliderPage::SetTimedExposure(int& exposure, ExposureRange range, std::function<int(int)> send) {
    m_exposure = TimedExposure{&exposure, range, std::move(send)};
    const IntRange slider = ExposureSliderRange(range);
    HWND control = GetDlgItem(IDC_VP_EXPOSURE_SLIDER);
    SendMessageW(control, TBM_SETRANGE, TRUE, MAKELPARAM(slider.lowest, std::min(slider.highest, 0x7FFF)));
    SendMessageW(control, TBM_SETRANGEMAX, TRUE, slider.highest);
    ShowExposure();
}

void CSliderPage::ShowCrossAndExposureBoxes() {
    CheckBox(m_hWnd, IDC_VP_CROSS, m_cross.on);
    CheckBox(m_hWnd, IDC_VP_CROSS_CENTRE, m_cross.centred);
    CheckBox(m_hWnd, IDC_VP_LIVE_AE, m_aeLiving);
}

void CSliderPage::RestoreCrossAndExposure(const SingleCross& cross, int aeLiving) {
    m_camera.EnableCrossLine(cross.on, cross.x, cross.y);
    m_camera.SetCrossCenter(cross.centred ? 1 : 0);
    m_camera.SetAEParam(aeLiving);
    m_cross = cross;
    m_aeLiving = aeLiving;
}

void CSliderPage::SendCross() { m_camera.EnableCrossLine(m_cross.on, m_cross.x, m_cross.y); }

void CSliderPage::Show(const Field& field) {
    m_writing = true;
    SetDlgItemInt(m_hWnd, field.edit, UINT(*field.value), TRUE);
    m_writing = false;
    SendMessageW(GetDlgItem(field.slider), TBM_SETPOS, TRUE, *field.value);
}

void CSliderPage::ShowExposure() {
    const TimedExposure& e = *m_exposure;
    const ExposureText shown = ShownExposure(*e.exposure, e.range);
    m_unit = shown.unit;
    wchar_t text[32] = {};
    std::swprintf(text, 32, shown.unit == ExposureUnit::microseconds ? L"%.0f" : L"%g", shown.value);
    m_writing = true;
    SetDlgItemTextW(m_hWnd, IDC_VP_EXPOSURE, text);
    SetDlgItemTextW(m_hWnd, IDC_VP_EXPOSURE_UNIT, std::wstring(UnitText(shown.unit)).c_str());
    m_writing = false;
    SendMessageW(GetDlgItem(IDC_VP_EXPOSURE_SLIDER), TBM_SETPOS, TRUE, ExposureSliderPosition(*e.exposure, e.range));
}

void CSliderPage::SendExposure(int exposure) { *m_exposure->exposure = m_exposure->send(exposure); }

void CSliderPage::OnExposureEdited() {
    const std::optional<double> typed = EditNumber(m_hWnd, IDC_VP_EXPOSURE);
    if (!typed) {
        return;
    }
    const TimedExposure& e = *m_exposure;
    const TypedExposure exposure = ExposureFromTyped(*typed, m_unit, e.range);
    SendExposure(exposure.exposure);
    SendMessageW(GetDlgItem(IDC_VP_EXPOSURE_SLIDER), TBM_SETPOS, TRUE, ExposureSliderPosition(*e.exposure, e.range));
    if (exposure.unit != m_unit) {
        ShowExposure();
    }
}

void CSliderPage::OnEdited(const Field& field) {
    const std::optional<double> typed = EditNumber(m_hWnd, field.edit);
    if (!typed) {
        return;
    }
    const int value = ClampToRange(static_cast<long long>(std::clamp(*typed, -1e12, 1e12)), field.editRange);
    *field.value = value;
    if (value != *typed) {
        Show(field);
    } else {
        SendMessageW(GetDlgItem(field.slider), TBM_SETPOS, TRUE, value);
    }
    field.apply(value);
}

BOOL CSliderPage::OnCommand(WORD id, WORD code) {
    if (code == EN_CHANGE && !m_writing) {
        if (id == IDC_VP_EXPOSURE && m_exposure) {
            OnExposureEdited();
            return TRUE;
        }
        for (const Field& field : m_fields) {
            if (field.edit == id) {
                OnEdited(field);
                return TRUE;
            }
        }
    }
    switch (id) {
    case IDC_VP_CROSS:
        m_cross.on = IsBoxChecked(m_hWnd, IDC_VP_CROSS);
        SendCross();
        return TRUE;
    case IDC_VP_CROSS_CENTRE:
        m_cross.centred = IsBoxChecked(m_hWnd, IDC_VP_CROSS_CENTRE);
        SendCross();
        m_camera.SetCrossCenter(m_cross.centred ? 1 : 0);
        return TRUE;
    case IDC_VP_LIVE_AE:
        m_aeLiving = IsBoxChecked(m_hWnd, IDC_VP_LIVE_AE) ? 1 : 0;
        m_camera.SetAEParam(m_aeLiving);
        return TRUE;
    default: return FALSE;
    }
}

BOOL CSliderPage::OnMessage(UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_HSCROLL || !lParam) {
        return FALSE;
    }
    HWND slider = reinterpret_cast<HWND>(lParam);
    const int position = int(SendMessageW(slider, TBM_GETPOS, 0, 0));
    if (m_exposure && slider == GetDlgItem(IDC_VP_EXPOSURE_SLIDER)) {
        SendExposure(ExposureAtPosition(position, m_exposure->range));
        ShowExposure();
        return TRUE;
    }
    for (const Field& field : m_fields) {
        if (GetDlgItem(field.slider) == slider) {
            *field.value = ClampToRange(position, field.editRange);
            Show(field);
            field.apply(*field.value);
            return TRUE;
        }
    }
    return FALSE;
}
