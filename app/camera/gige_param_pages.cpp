#include "gige_param_pages.h"

#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <algorithm>
#include <optional>
#include <string>

#include "bound_call.h"
#include "camera_resource.h"
#include "camera_sdk_families.h"

namespace {

template <typename Entry, typename... Args>
int Kq(Entry entry, Args&&... args) {
    return CallBoundOrFail(entry, std::forward<Args>(args)...);
}

std::optional<double> EditNumber(HWND page, int id) {
    wchar_t text[32] = {};
    GetDlgItemTextW(page, id, text, 32);
    wchar_t* end = nullptr;
    const double value = std::wcstod(text, &end);
    if (end == text || *end != L'\0') {
        return std::nullopt;
    }
    return value;
}

void Enable(HWND page, std::initializer_list<int> ids, bool on) {
    for (int id : ids) {
        EnableWindow(GetDlgItem(page, id), on ? TRUE : FALSE);
    }
}

void Fill(HWND combo, const std::vector<std::wstring_view>& items, int selected) {
    for (std::wstring_view item : items) {
        const std::wstring text(item);
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, WPARAM(selected), 0);
}

int Selection(HWND page, int id) { return int(SendMessageW(GetDlgItem(page, id), CB_GETCURSEL, 0, 0)); }

void Select(HWND page, int id, int index) { SendMessageW(GetDlgItem(page, id), CB_SETCURSEL, WPARAM(index), 0); }

bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

void Check(HWND page, int id, int on) { CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED); }

}  // namespace

// ---- Video page ----

CVideoParamPage::CVideoParamPage(GigeVideoParams& params, CCameraDevice& camera)
    : CDialog(IDD_GIGE_VIDEO_PAGE, nullptr), m_params(params), m_found(params), m_camera(camera) {}

BOOL CVideoParamPage::OnInitDialog() {
    GigeVideoParams& p = m_params;
    const int index = p.cameraIndex;
    const auto& kq = KQGE();
    std::int32_t value = 0;
    if (Kq(kq.KQGE_GetSaturation, index, &value) == 0) {
        p.saturation = value;
    }
    if (Kq(kq.KQGE_GetSharpness, index, &value) == 0) {
        p.sharpness = value;
    }
    m_found.saturation = p.saturation;
    m_found.sharpness = p.sharpness;
    const IntRange globalGain = GigeGlobalGainRange(p.modelCode, p.cmos);
    const IntRange offsetH{0, std::max(p.maxWidth - p.captureWidth, 0)};
    const IntRange offsetV{0, std::max(p.maxHeight - p.captureHeight, 0)};
    m_fields = {
        {IDC_VP_CONTRAST_SLIDER, IDC_VP_CONTRAST, kGigeContrastSliderRange, kGigeContrastEditRange, &p.contrast,
         [index](int v) { Kq(KQGE().KQGE_SetContrast, index, std::uint32_t(v)); }},
        {IDC_VP_GAIN_SLIDER, IDC_VP_GAIN, globalGain, globalGain, &p.gainAll,
         [index](int v) { Kq(KQGE().KQGE_SetGain_A, index, v); }},
        {IDC_VP_RED_SLIDER, IDC_VP_RED, kGigeColourGainRange, kGigeColourGainRange, &p.gainR,
         [index](int v) { Kq(KQGE().KQGE_SetGainR, index, std::uint32_t(v)); }},
        {IDC_VP_GREEN_SLIDER, IDC_VP_GREEN, kGigeColourGainRange, kGigeColourGainRange, &p.gainG,
         [index](int v) { Kq(KQGE().KQGE_SetGainG, index, std::uint32_t(v)); }},
        {IDC_VP_BLUE_SLIDER, IDC_VP_BLUE, kGigeColourGainRange, kGigeColourGainRange, &p.gainB,
         [index](int v) { Kq(KQGE().KQGE_SetGainB, index, std::uint32_t(v)); }},
        {IDC_VP_OFFSET_H_SLIDER, IDC_VP_OFFSET_H, offsetH, offsetH, &p.offsetH,
         [index](int v) { Kq(KQGE().KQGE_SetOffsetH, index, v); }},
        {IDC_VP_OFFSET_V_SLIDER, IDC_VP_OFFSET_V, offsetV, offsetV, &p.offsetV,
         [index](int v) { Kq(KQGE().KQGE_SetOffsetV, index, v); }},
        {IDC_VP_CROSS_X_SLIDER,
         IDC_VP_CROSS_X,
         {0, p.captureWidth},
         {0, p.captureWidth},
         &p.cross.x,
         [this](int) { SendCross(); }},
        {IDC_VP_CROSS_Y_SLIDER,
         IDC_VP_CROSS_Y,
         {0, p.captureHeight},
         {0, p.captureHeight},
         &p.cross.y,
         [this](int) { SendCross(); }},
        {IDC_VP_SATURATION_SLIDER,
         IDC_VP_SATURATION,
         {1, 16},
         {1, 16},
         &p.saturation,
         [index](int v) { Kq(KQGE().KQGE_SetSaturation, index, v); }},
        {IDC_VP_SHARPNESS_SLIDER,
         IDC_VP_SHARPNESS,
         {1, 8},
         {1, 8},
         &p.sharpness,
         [index](int v) { Kq(KQGE().KQGE_SetSharpness, index, v); }},
    };
    for (const Field& field : m_fields) {
        SendMessageW(GetDlgItem(field.slider), TBM_SETRANGE, TRUE,
                     MAKELPARAM(field.sliderRange.lowest, field.sliderRange.highest));
        Show(field);
    }
    const IntRange exposureSlider = ExposureSliderRange(p.exposureRange);
    SendMessageW(GetDlgItem(IDC_VP_EXPOSURE_SLIDER), TBM_SETRANGE, TRUE,
                 MAKELPARAM(exposureSlider.lowest, std::min(exposureSlider.highest, 0x7FFF)));
    SendMessageW(GetDlgItem(IDC_VP_EXPOSURE_SLIDER), TBM_SETRANGEMAX, TRUE, exposureSlider.highest);
    ShowExposure();
    Check(m_hWnd, IDC_VP_CROSS, p.cross.on);
    Check(m_hWnd, IDC_VP_CROSS_CENTRE, p.cross.centred);
    Check(m_hWnd, IDC_VP_LIVE_AE, p.aeLiving);

    const GigeControlsOffered offered = GigeOfferedControls(p.modelCode, p.colourKind, p.cmos, p.zoomAllowed);
    Enable(m_hWnd, {IDC_VP_RED_SLIDER, IDC_VP_RED, IDC_VP_GREEN_SLIDER, IDC_VP_GREEN, IDC_VP_BLUE_SLIDER, IDC_VP_BLUE},
           offered.colourGains);
    Enable(m_hWnd, {IDC_VP_SATURATION_SLIDER, IDC_VP_SATURATION}, offered.saturation);
    Enable(m_hWnd, {IDC_VP_GAIN_SLIDER, IDC_VP_GAIN}, offered.globalGain);
    Enable(m_hWnd, {IDC_VP_OFFSET_H_SLIDER, IDC_VP_OFFSET_H, IDC_VP_OFFSET_V_SLIDER, IDC_VP_OFFSET_V}, p.offsetAllowed);
    return TRUE;
}

void CVideoParamPage::Show(const Field& field) {
    m_writing = true;
    SetDlgItemInt(m_hWnd, field.edit, UINT(*field.value), TRUE);
    m_writing = false;
    SendMessageW(GetDlgItem(field.slider), TBM_SETPOS, TRUE, *field.value);
}

void CVideoParamPage::ShowExposure() {
    const ExposureText shown = ShownExposure(m_params.exposure, m_params.exposureRange);
    m_unit = shown.unit;
    wchar_t text[32] = {};
    std::swprintf(text, 32, shown.unit == ExposureUnit::microseconds ? L"%.0f" : L"%g", shown.value);
    m_writing = true;
    SetDlgItemTextW(m_hWnd, IDC_VP_EXPOSURE, text);
    SetDlgItemTextW(m_hWnd, IDC_VP_EXPOSURE_UNIT, std::wstring(UnitText(shown.unit)).c_str());
    m_writing = false;
    SendMessageW(GetDlgItem(IDC_VP_EXPOSURE_SLIDER), TBM_SETPOS, TRUE,
                 ExposureSliderPosition(m_params.exposure, m_params.exposureRange));
}

void CVideoParamPage::SendExposure(int exposure) {
    const auto& kq = KQGE();
    Kq(kq.KQGE_SetExposure, m_params.cameraIndex, std::uint32_t(exposure));
    std::int32_t readBack = exposure;
    Kq(kq.KQGE_GetExposure, m_params.cameraIndex, &readBack);
    m_params.exposure = readBack;
}

void CVideoParamPage::OnExposureEdited() {
    const std::optional<double> typed = EditNumber(m_hWnd, IDC_VP_EXPOSURE);
    if (!typed) {
        return;
    }
    const TypedExposure exposure = ExposureFromTyped(*typed, m_unit, m_params.exposureRange);
    SendExposure(exposure.exposure);
    SendMessageW(GetDlgItem(IDC_VP_EXPOSURE_SLIDER), TBM_SETPOS, TRUE,
                 ExposureSliderPosition(m_params.exposure, m_params.exposureRange));
    if (exposure.unit != m_unit) {
        ShowExposure();
    }
}

void CVideoParamPage::SendCross() { m_camera.EnableCrossLine(m_params.cross.on, m_params.cross.x, m_params.cross.y); }

void CVideoParamPage::OnEdited(const Field& field) {
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

BOOL CVideoParamPage::OnCommand(WORD id, WORD code) {
    if (code == EN_CHANGE && !m_writing) {
        if (id == IDC_VP_EXPOSURE) {
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
        m_params.cross.on = Checked(m_hWnd, IDC_VP_CROSS);
        SendCross();
        return TRUE;
    case IDC_VP_CROSS_CENTRE:
        m_params.cross.centred = Checked(m_hWnd, IDC_VP_CROSS_CENTRE);
        SendCross();
        m_camera.SetCrossCenter(m_params.cross.centred ? 1 : 0);
        return TRUE;
    case IDC_VP_LIVE_AE:
        m_params.aeLiving = Checked(m_hWnd, IDC_VP_LIVE_AE) ? 1 : 0;
        m_camera.SetAEParam(m_params.aeLiving);
        return TRUE;
    default: return FALSE;
    }
}

BOOL CVideoParamPage::OnMessage(UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_HSCROLL || !lParam) {
        return FALSE;
    }
    HWND slider = reinterpret_cast<HWND>(lParam);
    const int position = int(SendMessageW(slider, TBM_GETPOS, 0, 0));
    if (slider == GetDlgItem(IDC_VP_EXPOSURE_SLIDER)) {
        SendExposure(ExposureAtPosition(position, m_params.exposureRange));
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

void CVideoParamPage::Restore() {
    const int index = m_found.cameraIndex;
    const auto& kq = KQGE();
    Kq(kq.KQGE_SetExposure, index, std::uint32_t(m_found.exposure));
    Kq(kq.KQGE_SetContrast, index, std::uint32_t(m_found.contrast));
    Kq(kq.KQGE_SetGainR, index, std::uint32_t(m_found.gainR));
    Kq(kq.KQGE_SetGainG, index, std::uint32_t(m_found.gainG));
    Kq(kq.KQGE_SetGainB, index, std::uint32_t(m_found.gainB));
    Kq(kq.KQGE_SetGain_A, index, m_found.gainAll);
    Kq(kq.KQGE_SetOffsetH, index, m_found.offsetH);
    Kq(kq.KQGE_SetOffsetV, index, m_found.offsetV);
    Kq(kq.KQGE_SetSaturation, index, m_found.saturation);
    Kq(kq.KQGE_SetSharpness, index, m_found.sharpness);
    m_camera.EnableCrossLine(m_found.cross.on, m_found.cross.x, m_found.cross.y);
    m_camera.SetCrossCenter(m_found.cross.centred ? 1 : 0);
    m_camera.SetAEParam(m_found.aeLiving);
    m_params = m_found;
}

// ---- Camera page ----

CCameraParamPage::CCameraParamPage(GigeVideoParams& params, CCameraDevice& camera)
    : CDialog(IDD_GIGE_CAMERA_PAGE, nullptr), m_params(params), m_found(params), m_camera(camera) {}

BOOL CCameraParamPage::OnInitDialog() {
    const GigeVideoParams& p = m_params;
    Fill(GetDlgItem(IDC_CP_FLIP),
         {L"\u6b63\u5e38\u6a21\u5f0f", L"\u6c34\u5e73\u7ffb\u8f6c", L"\u5782\u76f4\u7ffb\u8f6c",
          L"\u65cb\u8f6c180\u5ea6"},
         p.flip);
    Fill(GetDlgItem(IDC_CP_SPEED), {L"\u9ad8\u901f", L"\u4e2d\u901f", L"\u4f4e\u901f"}, p.speedMode);
    Fill(GetDlgItem(IDC_CP_ZOOM),
         {L"\u88c1\u526a\u6a21\u5f0f", L"1/2\u7f29\u653e\u6a21\u5f0f", L"1/4\u7f29\u653e\u6a21\u5f0f"}, p.zoomMode);
    Fill(GetDlgItem(IDC_CP_COLOUR), GigeColourModeNames(p.modelCode, p.colourKind), p.colourMode);
    Fill(GetDlgItem(IDC_CP_VALID_BITS), GigeValidBitsNames(p.modelCode, p.colourKind), p.validBits);
    Fill(GetDlgItem(IDC_CP_AE_LEVEL), {L"\u9ad8", L"\u4e2d", L"\u4f4e"}, p.aeLevel);
    Check(m_hWnd, IDC_CP_HDR, p.hdr);
    Check(m_hWnd, IDC_CP_WATCHDOG, p.watchdog);
    Check(m_hWnd, IDC_CP_CORRECTING, p.correcting);
    SetDlgItemInt(m_hWnd, IDC_CP_DELAY, UINT(p.packetDelay), TRUE);
    SetDlgItemInt(m_hWnd, IDC_CP_SIZE, UINT(p.packetSize), TRUE);

    const GigeControlsOffered offered = GigeOfferedControls(p.modelCode, p.colourKind, p.cmos, p.zoomAllowed);
    Enable(m_hWnd, {IDC_CP_HDR}, offered.hdr);
    Enable(m_hWnd, {IDC_CP_VALID_BITS}, offered.validBits);
    Enable(m_hWnd, {IDC_CP_ZOOM}, offered.zoom);
    Enable(m_hWnd, {IDC_CP_SPEED}, offered.speed);
    for (int id : {IDC_CP_CORRECTING, IDC_CP_AUTO_CORRECT}) {
        ShowWindow(GetDlgItem(id), offered.correction ? SW_SHOW : SW_HIDE);
    }
    return TRUE;
}

int CCameraParamPage::EditValue(int id) const {
    const std::optional<double> typed = EditNumber(m_hWnd, id);
    return typed ? static_cast<int>(std::clamp(*typed, -1e9, 1e9)) : -1;
}

// A refused delay puts the last accepted one back in the edit.
void CCameraParamPage::SendPacketDelay() {
    const int delay = ClampToRange(EditValue(IDC_CP_DELAY), kGigePacketDelayRange);
    if (Kq(KQGE().KQGE_SetPackageDelayTime, m_params.cameraIndex, delay) == 0) {
        m_params.packetDelay = delay;
    }
    SetDlgItemInt(m_hWnd, IDC_CP_DELAY, UINT(m_params.packetDelay), TRUE);
}

// The edit shows what the camera reports after the change.
void CCameraParamPage::SendPacketSize() {
    const auto& kq = KQGE();
    const int size = ClampToRange(EditValue(IDC_CP_SIZE), kGigePacketSizeRange);
    Kq(kq.KQGE_SetPackageSize, m_params.cameraIndex, size);
    std::uint16_t reported = 0;
    if (Kq(kq.KQGE_GetPackageSize, m_params.cameraIndex, &reported) == 0) {
        m_params.packetSize = reported;
    }
    SetDlgItemInt(m_hWnd, IDC_CP_SIZE, UINT(m_params.packetSize), TRUE);
}

void CCameraParamPage::OnCombo(int id) {
    const int index = m_params.cameraIndex;
    const int chosen = Selection(m_hWnd, id);
    const auto& kq = KQGE();
    switch (id) {
    case IDC_CP_FLIP:
        Kq(kq.KQGE_SetFlipMode, index, chosen);
        m_params.flip = chosen;
        break;
    case IDC_CP_SPEED:
        Kq(kq.KQGE_SetSpeedMode, index, chosen);
        m_params.speedMode = chosen;
        break;
    case IDC_CP_AE_LEVEL:
        m_camera.SetAEParamGigE(chosen);
        m_params.aeLevel = chosen;
        break;
    case IDC_CP_COLOUR: {
        if (Kq(kq.KQGE_SetColorMode, index, chosen) != 0) {
            Select(m_hWnd, id, m_params.colourMode);
            break;
        }
        if (const std::optional<int> hdr = HdrAfterColourChange(m_params.colourMode, chosen)) {
            if (Kq(kq.KQGE_HDR_Enable, index, *hdr) == 0) {
                m_params.hdr = *hdr;
                Check(m_hWnd, IDC_CP_HDR, *hdr);
            }
        }
        m_params.colourMode = chosen;
        break;
    }
    case IDC_CP_ZOOM:
        if (m_camera.SetZoomMode(chosen) != 0) {
            Select(m_hWnd, id, m_params.zoomMode);
        } else {
            m_params.zoomMode = chosen;
        }
        break;
    case IDC_CP_VALID_BITS:
        if (Kq(kq.KQGE_SetValidBitsOff, index, chosen) != 0) {
            Select(m_hWnd, id, m_params.validBits);
        } else {
            m_params.validBits = chosen;
        }
        break;
    default: break;
    }
}

void CCameraParamPage::OnBox(int id) {
    const int index = m_params.cameraIndex;
    const int on = Checked(m_hWnd, id) ? 1 : 0;
    const auto& kq = KQGE();
    int* kept = nullptr;
    int code = 0;
    switch (id) {
    case IDC_CP_HDR:
        code = Kq(kq.KQGE_HDR_Enable, index, on);
        kept = &m_params.hdr;
        break;
    case IDC_CP_WATCHDOG:
        code = Kq(kq.KQGE_SetWatchdogState, index, on);
        kept = &m_params.watchdog;
        break;
    case IDC_CP_CORRECTING:
        code = Kq(kq.KQGE_SetDoCorrecting, index, on);
        kept = &m_params.correcting;
        break;
    default: return;
    }
    if (code != 0) {
        Check(m_hWnd, id, *kept);
    } else {
        *kept = on;
    }
}

BOOL CCameraParamPage::OnCommand(WORD id, WORD code) {
    switch (id) {
    case IDC_CP_FLIP:
    case IDC_CP_SPEED:
    case IDC_CP_AE_LEVEL:
    case IDC_CP_COLOUR:
    case IDC_CP_ZOOM:
    case IDC_CP_VALID_BITS:
        if (code == CBN_SELCHANGE) {
            OnCombo(id);
        }
        return TRUE;
    case IDC_CP_HDR:
    case IDC_CP_WATCHDOG:
    case IDC_CP_CORRECTING: OnBox(id); return TRUE;
    case IDC_CP_DELAY_SET: SendPacketDelay(); return TRUE;
    case IDC_CP_SIZE_SET: SendPacketSize(); return TRUE;
    case IDC_CP_AUTO_CORRECT:
        if (Kq(KQGE().KQGE_SetDoAutoCorrection, m_params.cameraIndex) != 0) {
            Check(m_hWnd, IDC_CP_CORRECTING, 0);
        }
        return TRUE;
    default: return FALSE;
    }
}

void CCameraParamPage::Restore() {
    const int index = m_found.cameraIndex;
    const auto& kq = KQGE();
    Kq(kq.KQGE_SetPackageDelayTime, index, m_found.packetDelay);
    Kq(kq.KQGE_SetPackageSize, index, m_found.packetSize);
    Kq(kq.KQGE_SetWatchdogState, index, m_found.watchdog);
    Kq(kq.KQGE_HDR_Enable, index, m_found.hdr);
    Kq(kq.KQGE_SetFlipMode, index, m_found.flip);
    Kq(kq.KQGE_SetColorMode, index, m_found.colourMode);
    Kq(kq.KQGE_SetSpeedMode, index, m_found.speedMode);
    m_camera.SetZoomMode(m_found.zoomMode);
    Kq(kq.KQGE_SetValidBitsOff, index, m_found.validBits);
    m_camera.SetAEParamGigE(m_found.aeLevel);
    Kq(kq.KQGE_SetDoCorrecting, index, m_found.correcting);
    m_params.packetDelay = m_found.packetDelay;
    m_params.packetSize = m_found.packetSize;
    m_params.watchdog = m_found.watchdog;
    m_params.hdr = m_found.hdr;
    m_params.flip = m_found.flip;
    m_params.colourMode = m_found.colourMode;
    m_params.speedMode = m_found.speedMode;
    m_params.zoomMode = m_found.zoomMode;
    m_params.validBits = m_found.validBits;
    m_params.aeLevel = m_found.aeLevel;
    m_params.correcting = m_found.correcting;
}
