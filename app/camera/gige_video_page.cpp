#include "gige_video_page.h"

#include <algorithm>

#include "bound_call.h"
#include "camera_resource.h"
#include "camera_sdk_families.h"
#include "param_page_controls.h"

CVideoParamPage::CVideoParamPage(GigeVideoParams& params, CCameraDevice& camera)
    : CSliderPage(IDD_GIGE_VIDEO_PAGE, params.cross, params.aeLiving, camera), m_params(params), m_found(params) {}

BOOL CVideoParamPage::OnInitDialog() {
    GigeVideoParams& p = m_params;
    const int index = p.cameraIndex;
    const auto& kq = KQGE();
    std::int32_t value = 0;
    if (CallBoundOrFail(kq.KQGE_GetSaturation, index, &value) == 0) {
        p.saturation = value;
    }
    if (CallBoundOrFail(kq.KQGE_GetSharpness, index, &value) == 0) {
        p.sharpness = value;
    }
    m_found.saturation = p.saturation;
    m_found.sharpness = p.sharpness;
    const IntRange globalGain = GigeGlobalGainRange(p.modelCode, p.cmos);
    const IntRange offsetH{0, std::max(p.maxWidth - p.captureWidth, 0)};
    const IntRange offsetV{0, std::max(p.maxHeight - p.captureHeight, 0)};
    const auto send = [index](auto entry) { return [index, entry](int v) { CallBoundOrFail(entry, index, v); }; };
    const auto sendUnsigned = [index](auto entry) {
        return [index, entry](int v) { CallBoundOrFail(entry, index, std::uint32_t(v)); };
    };
    SetFields({
        {IDC_VP_CONTRAST_SLIDER, IDC_VP_CONTRAST, kGigeContrastSliderRange, kGigeContrastEditRange, &p.contrast,
         sendUnsigned(kq.KQGE_SetContrast)},
        {IDC_VP_GAIN_SLIDER, IDC_VP_GAIN, globalGain, globalGain, &p.gainAll, send(kq.KQGE_SetGain_A)},
        {IDC_VP_RED_SLIDER, IDC_VP_RED, kGigeColourGainRange, kGigeColourGainRange, &p.gainR,
         sendUnsigned(kq.KQGE_SetGainR)},
        {IDC_VP_GREEN_SLIDER, IDC_VP_GREEN, kGigeColourGainRange, kGigeColourGainRange, &p.gainG,
         sendUnsigned(kq.KQGE_SetGainG)},
        {IDC_VP_BLUE_SLIDER, IDC_VP_BLUE, kGigeColourGainRange, kGigeColourGainRange, &p.gainB,
         sendUnsigned(kq.KQGE_SetGainB)},
        {IDC_VP_OFFSET_H_SLIDER, IDC_VP_OFFSET_H, offsetH, offsetH, &p.offsetH, send(kq.KQGE_SetOffsetH)},
        {IDC_VP_OFFSET_V_SLIDER, IDC_VP_OFFSET_V, offsetV, offsetV, &p.offsetV, send(kq.KQGE_SetOffsetV)},
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
        {IDC_VP_SATURATION_SLIDER, IDC_VP_SATURATION, {1, 16}, {1, 16}, &p.saturation, send(kq.KQGE_SetSaturation)},
        {IDC_VP_SHARPNESS_SLIDER, IDC_VP_SHARPNESS, {1, 8}, {1, 8}, &p.sharpness, send(kq.KQGE_SetSharpness)},
    });
    SetTimedExposure(p.exposure, p.exposureRange, [index](int exposure) {
        const auto& kq = KQGE();
        CallBoundOrFail(kq.KQGE_SetExposure, index, std::uint32_t(exposure));
        std::int32_t readBack = exposure;
        CallBoundOrFail(kq.KQGE_GetExposure, index, &readBack);
        return int(readBack);
    });
    ShowCrossAndExposureBoxes();

    const GigeControlsOffered offered = GigeOfferedControls(p.modelCode, p.colourKind, p.cmos, p.zoomAllowed);
    EnableControls(m_hWnd,
                   {IDC_VP_RED_SLIDER, IDC_VP_RED, IDC_VP_GREEN_SLIDER, IDC_VP_GREEN, IDC_VP_BLUE_SLIDER, IDC_VP_BLUE},
                   offered.colourGains);
    EnableControls(m_hWnd, {IDC_VP_SATURATION_SLIDER, IDC_VP_SATURATION}, offered.saturation);
    EnableControls(m_hWnd, {IDC_VP_GAIN_SLIDER, IDC_VP_GAIN}, offered.globalGain);
    EnableControls(m_hWnd, {IDC_VP_OFFSET_H_SLIDER, IDC_VP_OFFSET_H, IDC_VP_OFFSET_V_SLIDER, IDC_VP_OFFSET_V},
                   p.offsetAllowed);
    return TRUE;
}

void CVideoParamPage::Restore() {
    const int index = m_found.cameraIndex;
    const auto& kq = KQGE();
    CallBoundOrFail(kq.KQGE_SetExposure, index, std::uint32_t(m_found.exposure));
    CallBoundOrFail(kq.KQGE_SetContrast, index, std::uint32_t(m_found.contrast));
    CallBoundOrFail(kq.KQGE_SetGainR, index, std::uint32_t(m_found.gainR));
    CallBoundOrFail(kq.KQGE_SetGainG, index, std::uint32_t(m_found.gainG));
    CallBoundOrFail(kq.KQGE_SetGainB, index, std::uint32_t(m_found.gainB));
    CallBoundOrFail(kq.KQGE_SetGain_A, index, m_found.gainAll);
    CallBoundOrFail(kq.KQGE_SetOffsetH, index, m_found.offsetH);
    CallBoundOrFail(kq.KQGE_SetOffsetV, index, m_found.offsetV);
    CallBoundOrFail(kq.KQGE_SetSaturation, index, m_found.saturation);
    CallBoundOrFail(kq.KQGE_SetSharpness, index, m_found.sharpness);
    RestoreCrossAndExposure(m_found.cross, m_found.aeLiving);
    m_params = m_found;
}
