#include "usb_mode_page.h"

#include <optional>
#include <string_view>

#include "bound_call.h"
#include "camera_resource.h"
#include "param_page_controls.h"

CUsbModePage::CUsbModePage(UsbVideoParams& params, const UsbParamCalls& calls)
    : CDialog(params.facts.ccd ? IDD_CCD_MODE_PAGE : IDD_CMOS_MODE_PAGE, nullptr), m_params(params), m_calls(calls) {}

BOOL CUsbModePage::OnInitDialog() {
    UsbVideoParams& p = m_params;
    const UsbCameraFacts& facts = p.facts;
    constexpr std::wstring_view kFlips[] = {L"Nature", L"H-Flip", L"V-Flip", L"Rotate180"};
    constexpr std::wstring_view kColours[] = {L"RGB", L"RGB24_CLEAR", L"BW24", L"Gray", L"Bayer", L"RGB_COLOR"};
    constexpr std::wstring_view kLevels[] = {L"High", L"Normal", L"Low"};
    constexpr std::wstring_view kCorrections[] = {L"\u65e0\u6821\u6b63", L"\u51b7\u8272\u4f18\u5148",
                                                  L"\u6696\u8272\u4f18\u5148"};
    constexpr std::wstring_view kValidBits[] = {L"High 8 bits", L"Low 8 bits"};
    // A model that takes fewer colour modes shows and sends its own from the start.
    const bool fourEntry = facts.fourEntryModel && !facts.ccd;
    if (const int shown = MappedColourMode(p.colourMode, fourEntry); shown != p.colourMode) {
        SetColour(shown);
        p.colourMode = shown;
    }
    FillCombo(m_hWnd, IDC_MP_FLIP, kFlips, p.flip);
    FillCombo(m_hWnd, IDC_MP_COLOUR, kColours, p.colourMode);
    FillCombo(m_hWnd, IDC_MP_AE_LEVEL, kLevels, p.aeLevel);
    if (facts.ccd) {
        FillCombo(m_hWnd, IDC_MP_VALID_BITS, kValidBits, p.validBits);
    } else {
        FillCombo(m_hWnd, IDC_MP_COLOUR_ADJUST, kCorrections, p.colourAdjust);
        CheckBox(m_hWnd, IDC_MP_APPLY_CORRECTION, p.applyCorrection);
    }
    CheckBox(m_hWnd, IDC_MP_LIGHT_AVERAGE, p.lightAverage);
    CheckBox(m_hWnd, IDC_MP_HDR, p.hdr);

    const HANDLE device = p.device;
    const auto send = [device](auto entry) {
        return [device, entry](int v) { return CallBoundOrFail(entry, device, v); };
    };
    using Control = Choice::Control;
    // In the order Cancel sends them back.
    std::vector<Choice> choices = {
        {IDC_MP_COLOUR, Control::combo, &p.colourMode, [this](int v) { return SendColourMode(v); }, true,
         [this](int v) { return SetColour(v); }, [fourEntry](int v) { return MappedColourMode(v, fourEntry); }},
        {IDC_MP_FLIP, Control::combo, &p.flip, send(m_calls.setFlip)},
        {IDC_MP_AE_LEVEL, Control::combo, &p.aeLevel, send(m_calls.setAeLevel)},
    };
    if (facts.ccd) {
        choices.push_back({IDC_MP_VALID_BITS, Control::combo, &p.validBits, send(m_calls.setValidBits)});
        choices.push_back({IDC_MP_LIGHT_AVERAGE, Control::box, &p.lightAverage, send(m_calls.enableLightAverage)});
    } else {
        choices.push_back({IDC_MP_COLOUR_ADJUST, Control::combo, &p.colourAdjust, send(m_calls.setColourAdjust)});
        choices.push_back({IDC_MP_LIGHT_AVERAGE, Control::box, &p.lightAverage, send(m_calls.enableLightAverage)});
        choices.push_back({IDC_MP_APPLY_CORRECTION, Control::box, &p.applyCorrection, send(m_calls.applyErasure)});
    }
    choices.push_back({IDC_MP_HDR, Control::box, &p.hdr, send(m_calls.setHdr)});
    m_choices.Attach(m_hWnd, std::move(choices));

    const UsbControlsOffered offered = UsbOfferedControls(facts);
    ShowControls(m_hWnd, {IDC_MP_HDR}, offered.hdrShown);
    if (!facts.ccd) {
        ShowControls(m_hWnd, {IDC_MP_APPLY_CORRECTION, IDC_MP_STRIPES}, offered.correctionShown);
        EnableControls(m_hWnd, {IDC_MP_BAD_PIXELS}, offered.badPixel);
    }
    return TRUE;
}

// A mode the library takes may switch HDR with it.
int CUsbModePage::SendColourMode(int mode) {
    const HANDLE device = m_params.device;
    const int code = SetColour(mode);
    if (code != 0) {
        return code;
    }
    if (const std::optional<int> hdr = HdrAfterColourChange(m_params.colourMode, mode)) {
        CallBoundOrFail(m_calls.setHdr, device, *hdr);
        m_params.hdr = *hdr;
        CheckBox(m_hWnd, IDC_MP_HDR, *hdr);
    }
    return 0;
}

int CUsbModePage::SetColour(int mode) {
    return m_params.sendColourMode ? m_params.sendColourMode(mode)
                                   : CallBoundOrFail(m_calls.setColour, m_params.device, mode);
}

BOOL CUsbModePage::OnCommand(WORD id, WORD code) {
    if (m_choices.OnCommand(id, code)) {
        return TRUE;
    }
    const HANDLE device = m_params.device;
    switch (id) {
    case IDC_MP_RESET_LIGHT_AVERAGE: CallBoundOrFail(m_calls.resetLightAverage, device); return TRUE;
    case IDC_MP_BAD_PIXELS:
        if (!m_params.facts.ccd) {
            CallBoundOrFail(m_calls.pixelCalibration, device);
        }
        return TRUE;
    case IDC_MP_STRIPES:
        if (!m_params.facts.ccd) {
            CallBoundOrFail(m_calls.erasureStripe, device);
        }
        return TRUE;
    default: return FALSE;
    }
}

void CUsbModePage::Restore() { m_choices.Restore(true); }
