#include "gige_camera_page.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "bound_call.h"
#include "camera_resource.h"
#include "camera_sdk_families.h"
#include "param_page_controls.h"
#include "video_param_rules.h"

CCameraParamPage::CCameraParamPage(GigeVideoParams& params, CCameraDevice& camera)
    : CDialog(IDD_GIGE_CAMERA_PAGE, nullptr), m_params(params), m_found(params), m_camera(camera) {}

BOOL CCameraParamPage::OnInitDialog() {
    GigeVideoParams& p = m_params;
    constexpr std::wstring_view kFlips[] = {L"\u6b63\u5e38\u6a21\u5f0f", L"\u6c34\u5e73\u7ffb\u8f6c",
                                            L"\u5782\u76f4\u7ffb\u8f6c", L"\u65cb\u8f6c180\u5ea6"};
    constexpr std::wstring_view kSpeeds[] = {L"\u9ad8\u901f", L"\u4e2d\u901f", L"\u4f4e\u901f"};
    constexpr std::wstring_view kZooms[] = {L"\u88c1\u526a\u6a21\u5f0f", L"1/2\u7f29\u653e\u6a21\u5f0f",
                                            L"1/4\u7f29\u653e\u6a21\u5f0f"};
    constexpr std::wstring_view kLevels[] = {L"\u9ad8", L"\u4e2d", L"\u4f4e"};
    FillCombo(m_hWnd, IDC_CP_FLIP, kFlips, p.flip);
    FillCombo(m_hWnd, IDC_CP_SPEED, kSpeeds, p.speedMode);
    FillCombo(m_hWnd, IDC_CP_ZOOM, kZooms, p.zoomMode);
    FillCombo(m_hWnd, IDC_CP_COLOUR, GigeColourModeNames(p.modelCode, p.colourKind), p.colourMode);
    FillCombo(m_hWnd, IDC_CP_VALID_BITS, GigeValidBitsNames(p.modelCode, p.colourKind), p.validBits);
    FillCombo(m_hWnd, IDC_CP_AE_LEVEL, kLevels, p.aeLevel);
    CheckBox(m_hWnd, IDC_CP_HDR, p.hdr);
    CheckBox(m_hWnd, IDC_CP_WATCHDOG, p.watchdog);
    CheckBox(m_hWnd, IDC_CP_CORRECTING, p.correcting);
    SetDlgItemInt(m_hWnd, IDC_CP_DELAY, UINT(p.packetDelay), TRUE);
    SetDlgItemInt(m_hWnd, IDC_CP_SIZE, UINT(p.packetSize), TRUE);

    const int index = p.cameraIndex;
    const auto& kq = KQGE();
    const auto send = [index](auto entry) {
        return [index, entry](int v) { return CallBoundOrFail(entry, index, v); };
    };
    using Control = Choice::Control;
    // In the order Cancel sends them back.
    m_choices.Attach(
        m_hWnd, {
                    {IDC_CP_WATCHDOG, Control::box, &p.watchdog, send(kq.KQGE_SetWatchdogState), true},
                    {IDC_CP_HDR, Control::box, &p.hdr, send(kq.KQGE_HDR_Enable), true},
                    {IDC_CP_FLIP, Control::combo, &p.flip, send(kq.KQGE_SetFlipMode)},
                    {IDC_CP_COLOUR, Control::combo, &p.colourMode, [this](int v) { return SendColourMode(v); }, true,
                     [index](int v) { return CallBoundOrFail(KQGE().KQGE_SetColorMode, index, v); }},
                    {IDC_CP_SPEED, Control::combo, &p.speedMode, send(kq.KQGE_SetSpeedMode)},
                    {IDC_CP_ZOOM, Control::combo, &p.zoomMode, [this](int v) { return m_camera.SetZoomMode(v); }, true},
                    {IDC_CP_VALID_BITS, Control::combo, &p.validBits, send(kq.KQGE_SetValidBitsOff), true},
                    {IDC_CP_AE_LEVEL, Control::combo, &p.aeLevel, [this](int v) { return m_camera.SetAEParamGigE(v); }},
                    {IDC_CP_CORRECTING, Control::box, &p.correcting, send(kq.KQGE_SetDoCorrecting), true},
                });

    const GigeControlsOffered offered = GigeOfferedControls(p.modelCode, p.colourKind, p.cmos, p.zoomAllowed);
    EnableControls(m_hWnd, {IDC_CP_HDR}, offered.hdr);
    EnableControls(m_hWnd, {IDC_CP_VALID_BITS}, offered.validBits);
    EnableControls(m_hWnd, {IDC_CP_ZOOM}, offered.zoom);
    EnableControls(m_hWnd, {IDC_CP_SPEED}, offered.speed);
    ShowControls(m_hWnd, {IDC_CP_CORRECTING, IDC_CP_AUTO_CORRECT}, offered.correction);
    return TRUE;
}

// A mode the library takes may switch HDR with it.
int CCameraParamPage::SendColourMode(int mode) {
    const int index = m_params.cameraIndex;
    const auto& kq = KQGE();
    const int code = CallBoundOrFail(kq.KQGE_SetColorMode, index, mode);
    if (code != 0) {
        return code;
    }
    if (const std::optional<int> hdr = HdrAfterColourChange(m_params.colourMode, mode)) {
        if (CallBoundOrFail(kq.KQGE_HDR_Enable, index, *hdr) == 0) {
            m_params.hdr = *hdr;
            CheckBox(m_hWnd, IDC_CP_HDR, *hdr);
        }
    }
    return 0;
}

int CCameraParamPage::EditValue(int id) const {
    const std::optional<double> typed = EditNumber(m_hWnd, id);
    return typed ? static_cast<int>(std::clamp(*typed, -1e9, 1e9)) : -1;
}

// A refused delay puts the last accepted one back in the edit.
void CCameraParamPage::SendPacketDelay() {
    const int delay = ClampToRange(EditValue(IDC_CP_DELAY), kGigePacketDelayRange);
    if (CallBoundOrFail(KQGE().KQGE_SetPackageDelayTime, m_params.cameraIndex, delay) == 0) {
        m_params.packetDelay = delay;
    }
    SetDlgItemInt(m_hWnd, IDC_CP_DELAY, UINT(m_params.packetDelay), TRUE);
}

// The edit shows what the camera reports after the change.
void CCameraParamPage::SendPacketSize() {
    const auto& kq = KQGE();
    const int size = ClampToRange(EditValue(IDC_CP_SIZE), kGigePacketSizeRange);
    CallBoundOrFail(kq.KQGE_SetPackageSize, m_params.cameraIndex, size);
    std::uint16_t reported = 0;
    if (CallBoundOrFail(kq.KQGE_GetPackageSize, m_params.cameraIndex, &reported) == 0) {
        m_params.packetSize = reported;
    }
    SetDlgItemInt(m_hWnd, IDC_CP_SIZE, UINT(m_params.packetSize), TRUE);
}

BOOL CCameraParamPage::OnCommand(WORD id, WORD code) {
    if (m_choices.OnCommand(id, code)) {
        return TRUE;
    }
    switch (id) {
    case IDC_CP_DELAY_SET: SendPacketDelay(); return TRUE;
    case IDC_CP_SIZE_SET: SendPacketSize(); return TRUE;
    case IDC_CP_AUTO_CORRECT:
        if (CallBoundOrFail(KQGE().KQGE_SetDoAutoCorrection, m_params.cameraIndex) != 0) {
            CheckBox(m_hWnd, IDC_CP_CORRECTING, 0);
        }
        return TRUE;
    default: return FALSE;
    }
}

void CCameraParamPage::Restore() {
    const int index = m_found.cameraIndex;
    const auto& kq = KQGE();
    CallBoundOrFail(kq.KQGE_SetPackageDelayTime, index, m_found.packetDelay);
    CallBoundOrFail(kq.KQGE_SetPackageSize, index, m_found.packetSize);
    m_params.packetDelay = m_found.packetDelay;
    m_params.packetSize = m_found.packetSize;
    m_choices.Restore(false);
}
