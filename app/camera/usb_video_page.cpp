#include "usb_video_page.h"

#include <algorithm>

#include "bound_call.h"
#include "camera_resource.h"
#include "param_page_controls.h"

namespace {

constexpr int kGainsInRecordType = 15;

// A getter's value, or the fallback when the library has none or fails.
template <typename Getter>
int ReadOr(Getter getter, HANDLE device, int fallback) {
    int value = fallback;
    return CallBoundOrFail(getter, device, &value) == 0 ? value : fallback;
}

}  // namespace

CUsbVideoPage::CUsbVideoPage(UsbVideoParams& params, const UsbParamCalls& calls, CCameraDevice& camera)
    : CSliderPage(params.facts.ccd ? IDD_CCD_VIDEO_PAGE : IDD_CMOS_VIDEO_PAGE, params.cross, params.aeLiving, camera),
      m_params(params),
      m_calls(calls),
      m_found(params) {}

void CUsbVideoPage::ReadFoundValues() {
    UsbVideoParams& p = m_params;
    p.contrast = ReadOr(m_calls.getContrast, p.device, p.contrast);
    p.gamma = ReadOr(m_calls.getGamma, p.device, p.gamma);
    p.saturation = ReadOr(m_calls.getSaturation, p.device, p.saturation);
    p.sharpness = ReadOr(m_calls.getSharpness, p.device, p.sharpness);
    if (!p.facts.ccd) {
        p.offCentre = ReadOr(m_calls.getOffCentre, p.device, p.offCentre);
    }
    m_found.contrast = p.contrast;
    m_found.gamma = p.gamma;
    m_found.saturation = p.saturation;
    m_found.sharpness = p.sharpness;
    m_found.offCentre = p.offCentre;
}

std::vector<CSliderPage::Field> CUsbVideoPage::ColourGainFields() {
    const UsbCameraFacts& facts = m_params.facts;
    const IntRange range = ColourGainRange(facts.ccd, facts.deviceType);
    const int sliders[] = {IDC_VP_RED_SLIDER, IDC_VP_GREEN_SLIDER, IDC_VP_BLUE_SLIDER};
    const int edits[] = {IDC_VP_RED, IDC_VP_GREEN, IDC_VP_BLUE};
    std::vector<Field> fields;
    if (facts.ccd || facts.deviceType == kGainsInRecordType) {
        for (std::size_t i = 0; i < 3; ++i) {
            fields.push_back({sliders[i], edits[i], range, range, &m_recordGains[i], [this, i](int v) {
                                  m_record.gain[i] = static_cast<std::uint8_t>(v);
                                  SendCapInfo();
                              }});
        }
        return fields;
    }
    const HANDLE device = m_params.device;
    const decltype(m_calls.setGainR) setters[] = {m_calls.setGainR, m_calls.setGainG, m_calls.setGainB};
    for (std::size_t i = 0; i < 3; ++i) {
        fields.push_back({sliders[i], edits[i], range, range, &m_params.userGains[i],
                          [device, set = setters[i]](int v) { CallBoundOrFail(set, device, v); }});
    }
    return fields;
}

BOOL CUsbVideoPage::OnInitDialog() {
    UsbVideoParams& p = m_params;
    const UsbCameraFacts& facts = p.facts;
    ReadFoundValues();
    m_record = p.capInfo;
    m_exposure = int(m_record.exposure);
    m_analogueGain = facts.ccd ? int(m_record.columnStart) : m_record.gain[0];
    m_recordGains = {m_record.gain[0], m_record.gain[1], m_record.gain[2]};
    m_offsetH = int(m_record.columnStart);
    m_offsetV = int(m_record.rowStart);

    const HANDLE device = p.device;
    const auto send = [device](auto entry) { return [device, entry](int v) { CallBoundOrFail(entry, device, v); }; };
    const IntRange analogue = AnalogueGainRange(facts.ccd, facts.deviceType);
    const IntRange sharpness = SharpnessRange(facts.ccd, facts.deviceType);
    std::vector<Field> fields = ColourGainFields();
    fields.push_back({IDC_VP_GAIN_SLIDER, facts.ccd ? IDC_VP_AD_GAIN : IDC_VP_GAIN, analogue, analogue, &m_analogueGain,
                      [this](int v) {
                          if (m_params.facts.ccd) {
                              m_record.columnStart = std::uint32_t(v);
                          } else {
                              m_record.gain[0] = static_cast<std::uint8_t>(v);
                          }
                          SendCapInfo();
                      }});
    fields.push_back(
        {IDC_VP_CONTRAST_SLIDER, IDC_VP_CONTRAST, {1, 32}, {1, 32}, &p.contrast, send(m_calls.setContrast)});
    fields.push_back({IDC_VP_GAMMA_SLIDER, IDC_VP_GAMMA, {1, 32}, {1, 32}, &p.gamma, send(m_calls.setGamma)});
    fields.push_back(
        {IDC_VP_SATURATION_SLIDER, IDC_VP_SATURATION, {1, 16}, {1, 16}, &p.saturation, send(m_calls.setSaturation)});
    fields.push_back(
        {IDC_VP_SHARPNESS_SLIDER, IDC_VP_SHARPNESS, sharpness, sharpness, &p.sharpness, send(m_calls.setSharpness)});
    if (!facts.ccd) {
        const IntRange offsetH{0, std::max(facts.maxWidth - facts.captureWidth, 0)};
        const IntRange offsetV{0, std::max(facts.maxHeight - facts.captureHeight, 0)};
        fields.push_back({IDC_VP_OFFSET_H_SLIDER, IDC_VP_OFFSET_H, offsetH, offsetH, &m_offsetH, [this](int v) {
                              m_record.columnStart = std::uint32_t(v);
                              SendCapInfo();
                          }});
        fields.push_back({IDC_VP_OFFSET_V_SLIDER, IDC_VP_OFFSET_V, offsetV, offsetV, &m_offsetV, [this](int v) {
                              m_record.rowStart = std::uint32_t(v);
                              SendCapInfo();
                          }});
    }
    const IntRange crossX{0, facts.captureWidth};
    const IntRange crossY{0, facts.captureHeight};
    fields.push_back({IDC_VP_CROSS_X_SLIDER, IDC_VP_CROSS_X, crossX, crossX, &p.cross.x, [this](int) { SendCross(); }});
    fields.push_back({IDC_VP_CROSS_Y_SLIDER, IDC_VP_CROSS_Y, crossY, crossY, &p.cross.y, [this](int) { SendCross(); }});
    const auto sendExposure = [this](int exposure) {
        m_record.exposure = std::uint32_t(exposure);
        SendCapInfo();
        return int(m_record.exposure);
    };
    if (p.exposureRange) {
        SetTimedExposure(m_exposure, *p.exposureRange, sendExposure);
    } else {
        const IntRange lines = LineExposureRange(facts.ccd, facts.deviceType);
        fields.push_back({IDC_VP_EXPOSURE_SLIDER, IDC_VP_EXPOSURE, lines, lines, &m_exposure,
                          [sendExposure](int v) { sendExposure(v); }});
        ShowControls(m_hWnd, {IDC_VP_EXPOSURE_UNIT}, false);
    }
    SetFields(std::move(fields));
    ShowCrossAndExposureBoxes();

    const UsbControlsOffered offered = UsbOfferedControls(facts);
    EnableControls(m_hWnd, {IDC_VP_RED_SLIDER, IDC_VP_RED}, offered.colourGains);
    EnableControls(m_hWnd, {IDC_VP_GREEN_SLIDER, IDC_VP_GREEN, IDC_VP_BLUE_SLIDER, IDC_VP_BLUE}, offered.colourGains);
    ShowControls(
        m_hWnd,
        {IDC_VP_GREEN_SLIDER, IDC_VP_GREEN, IDC_VP_GREEN_LABEL, IDC_VP_BLUE_SLIDER, IDC_VP_BLUE, IDC_VP_BLUE_LABEL},
        offered.greenBlueShown);
    EnableControls(m_hWnd, {IDC_VP_SATURATION_SLIDER, IDC_VP_SATURATION}, offered.saturation);
    EnableControls(m_hWnd, {IDC_VP_GAIN_SLIDER, IDC_VP_GAIN}, offered.analogueGain);
    if (!facts.ccd) {
        CheckBox(m_hWnd, IDC_VP_OFF_CENTRE, p.offCentre);
        EnableControls(
            m_hWnd,
            {IDC_VP_OFFSET_H_SLIDER, IDC_VP_OFFSET_H, IDC_VP_OFFSET_V_SLIDER, IDC_VP_OFFSET_V, IDC_VP_OFF_CENTRE},
            offered.offsets);
    }
    return TRUE;
}

void CUsbVideoPage::SendCapInfo() {
    CallBoundOrFail(m_calls.setCapInfo, m_params.device, &m_record);
    KQ_CAPINFO readBack = m_record;
    if (CallBoundOrFail(m_calls.getCapInfo, m_params.device, &readBack) == 0) {
        m_record = readBack;
    }
}

BOOL CUsbVideoPage::OnCommand(WORD id, WORD code) {
    if (id == IDC_VP_OFF_CENTRE && !m_params.facts.ccd) {
        m_params.offCentre = IsBoxChecked(m_hWnd, IDC_VP_OFF_CENTRE) ? 1 : 0;
        CallBoundOrFail(m_calls.setOffCentre, m_params.device, m_params.offCentre);
        if (m_params.offCentre == 0) {
            m_record.columnStart = std::uint32_t(m_offsetH);
            m_record.rowStart = std::uint32_t(m_offsetV);
            SendCapInfo();
        }
        return TRUE;
    }
    return CSliderPage::OnCommand(id, code);
}

void CUsbVideoPage::Restore() {
    const UsbVideoParams& f = m_found;
    const HANDLE device = f.device;
    if (!f.facts.ccd) {
        CallBoundOrFail(m_calls.setOffCentre, device, f.offCentre);
    }
    KQ_CAPINFO record = f.capInfo;
    CallBoundOrFail(m_calls.setCapInfo, device, &record);
    CallBoundOrFail(m_calls.setContrast, device, f.contrast);
    if (!f.facts.ccd) {
        CallBoundOrFail(m_calls.setGainR, device, f.userGains[0]);
        CallBoundOrFail(m_calls.setGainG, device, f.userGains[1]);
        CallBoundOrFail(m_calls.setGainB, device, f.userGains[2]);
    }
    CallBoundOrFail(m_calls.setGamma, device, f.gamma);
    CallBoundOrFail(m_calls.setSaturation, device, f.saturation);
    CallBoundOrFail(m_calls.setSharpness, device, f.sharpness);
    RestoreCrossAndExposure(f.cross, f.aeLiving);
    m_params.contrast = f.contrast;
    m_params.userGains = f.userGains;
    m_params.gamma = f.gamma;
    m_params.saturation = f.saturation;
    m_params.sharpness = f.sharpness;
    m_params.offCentre = f.offCentre;
}
